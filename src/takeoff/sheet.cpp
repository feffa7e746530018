#include "takeoff/sheet.h"

#include <cstring>

#include "general/errors.h"
#include "general/workfiles.h"
#include "platform/files.h"
#include "takeoff/expression.h"

namespace zantro::takeoff {
namespace {

// The value 2 × (W + H) ÷ 1000: the perimeter in metres of a duct W × H millimetres.
Fraction Perimeter(const Row& row) {
  Fraction w = FromMoney(row.Width), h = FromMoney(row.Height), sum;
  // W and H are at most 14 digits, so the sum over the common denominator cannot overflow.
  sum.Num = w.Num * h.Den + h.Num * w.Den;
  sum.Den = w.Den * h.Den;
  Fraction factor{2, 1000}, out;
  Multiply(sum, factor, out);
  return out;
}

std::string Field(std::string_view file, size_t record, const char* field, const std::string& why) {
  return std::string(file) + ": " + std::to_string(record) + "件目のレコード（" + field + "）: " + why;
}

bool TooLong(uint8_t len, size_t capacity) { return len > capacity; }

}  // namespace

std::optional<Money> Compute(const Row& row, std::string* error) {
  Evaluation e = Evaluate(row.Expression);
  if (!e.Ok) {
    if (error) *error = e.Error;
    return std::nullopt;
  }
  Fraction v;
  bool fits = Multiply(e.Value, FromMoney(row.Multiplier), v);
  if (fits && row.IsDuct()) fits = Multiply(v, Perimeter(row), v);
  Money out;
  if (!fits || !ToMoney(v, out)) {
    if (error) *error = "桁があふれました";
    return std::nullopt;
  }
  return out;
}

std::string DefaultUnit(Mode mode) { return mode == Mode::Duct ? "m2" : mode == Mode::Pipe ? "m" : "\x8c\xc2"; }  // 個

void PackText(std::string_view text, int32_t* ints, size_t count) {
  unsigned char bytes[64] = {};
  std::memcpy(bytes, text.data(), std::min(text.size(), count * 4));
  for (size_t i = 0; i < count; ++i) {
    uint32_t v = 0;
    for (int b = 3; b >= 0; --b) v = (v << 8) | bytes[i * 4 + static_cast<size_t>(b)];
    ints[i] = static_cast<int32_t>(v);
  }
}

std::string UnpackText(const int32_t* ints, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    uint32_t v = static_cast<uint32_t>(ints[i]);
    for (int b = 0; b < 4; ++b, v >>= 8) {
      if ((v & 0xFF) == 0) return out;
      out.push_back(static_cast<char>(v & 0xFF));
    }
  }
  return out;
}

TakeoffRecord ToRecord(const Row& row, int32_t item, int32_t order) {
  TakeoffRecord r{};
  r.ItemNo = item;
  r.Int1 = order;
  r.Int2 = row.IsDuct() ? 2 : 1;
  r.NameSpec.set(row.Name + ";" + row.Spec);
  r.Value1_2[0] = row.Multiplier;
  r.Value1_2[1] = row.Result;
  r.Unit.set(row.Unit);
  r.Int3_4[0] = row.WrittenBy;
  r.Value3_8[0] = row.Width;
  r.Value3_8[1] = row.Height;
  r.Text1.set(row.Expression);
  r.Text2.set(row.Floor);
  PackText(row.Drawing, r.Int5_11, 7);
  PackText(row.System, r.Int12_19, 8);
  return r;
}

Row FromRecord(const TakeoffRecord& r) {
  Row row;
  std::string_view ns = r.NameSpec.view();
  size_t semi = ns.find(';');
  row.Name = std::string(ns.substr(0, semi));
  if (semi != std::string_view::npos) row.Spec = std::string(ns.substr(semi + 1));
  row.Multiplier = r.Value1_2[0];
  row.Result = r.Value1_2[1];
  row.Unit = r.Unit.str();
  row.WrittenBy = r.Int3_4[0];
  row.Width = r.Value3_8[0];
  row.Height = r.Value3_8[1];
  row.Expression = r.Text1.str();
  row.Floor = r.Text2.str();
  row.Drawing = UnpackText(r.Int5_11, 7);
  row.System = UnpackText(r.Int12_19, 8);
  return row;
}

std::vector<Row> DecodeRows(std::string_view bytes, const std::string& fileName, int32_t item) {
  constexpr size_t kSize = sizeof(TakeoffRecord);
  if (bytes.size() % kSize != 0)
    throw FileError(Field(fileName, bytes.size() / kSize + 1, "長さ",
                          "レコードが途中で切れています（" + std::to_string(bytes.size()) + "バイト）"));
  // The records are checked as they are: a text longer than its field refuses the file.
  const std::vector<TakeoffRecord> records = DecodeRawRecords<TakeoffRecord>(bytes);
  std::vector<Row> rows;
  rows.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const TakeoffRecord& r = records[i];
    size_t n = i + 1;
    if (r.ItemNo != item)
      throw FileError(Field(fileName, n, "項目番号", std::to_string(r.ItemNo) + "は" + std::to_string(item) + "ではありません"));
    if (TooLong(r.NameSpec.len, 100)) throw FileError(Field(fileName, n, "名称・仕様", "文字数が欄を越えています"));
    if (TooLong(r.Unit.len, 4)) throw FileError(Field(fileName, n, "単位", "文字数が欄を越えています"));
    if (TooLong(r.Text1.len, 40)) throw FileError(Field(fileName, n, "計算式", "文字数が欄を越えています"));
    if (TooLong(r.Text2.len, 12)) throw FileError(Field(fileName, n, "階", "文字数が欄を越えています"));
    Row row = FromRecord(r);
    std::string why;
    auto result = Compute(row, &why);
    if (!result) throw FileError(Field(fileName, n, "計算式", why));
    if (*result != row.Result)
      throw FileError(Field(fileName, n, "結果", MoneyToPlainText(row.Result) + "は計算式の値" + MoneyToPlainText(*result) + "と違います"));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<Row> LoadRows(const std::string& folder, int32_t item) {
  std::string name = TakeoffFile(item);
  auto path = FindNoCase(folder, name);
  if (!path) return {};
  std::string error;
  auto bytes = ReadFileBytes(*path, &error);
  if (!bytes) throw FileError(name + ": " + error);
  return DecodeRows(*bytes, name, item);
}

std::string EncodeRows(const std::vector<Row>& rows, int32_t item) {
  std::vector<TakeoffRecord> records;
  records.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) records.push_back(ToRecord(rows[i], item, static_cast<int32_t>(i + 1)));
  return std::string(EncodeRecords<TakeoffRecord>(records));
}

void SaveRows(const std::string& folder, int32_t item, const std::vector<Row>& rows) {
  std::string error;
  std::string name = TakeoffFile(item);
  if (!WriteFileAtomic(ResolveNoCase(folder, name), EncodeRows(rows, item), &error)) throw FileError(name + ": " + error);
}

}  // namespace zantro::takeoff
