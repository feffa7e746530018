// The version-1 import: fixed records at 4-byte alignment, copied field by field into the
// current records.
#include "general/version1.h"

#include "general/document.h"

#include <cstring>

#include "general/errors.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace zantro {
namespace {

constexpr size_t kTitleSize = 464;
constexpr size_t kItemSize = 140;
constexpr size_t kLineSize = 228;
constexpr int32_t kEndOfLines = 999;

// Reads the fields of one record of the file; every offset is relative to the record.
class RecordView {
 public:
  RecordView(std::string_view bytes, size_t base, const std::string* name = nullptr)
      : bytes_(bytes), base_(base), name_(name) {}

  int32_t Int(size_t off) const {
    int32_t v;
    std::memcpy(&v, bytes_.data() + base_ + off, sizeof v);
    return v;
  }
  Money Value(size_t off) const {
    int64_t raw;
    std::memcpy(&raw, bytes_.data() + base_ + off, sizeof raw);
    return Money::FromRaw(raw);
  }
  // A ShortText of the given capacity: a length byte above it (a damaged file) reads as it.
  // The text must be Shift-JIS. A lead byte alone at the end of a field it fills is the half of
  // a character the record cut there: it is dropped, since the field it goes to may be longer
  // and a half character inside a field is no text.
  std::string_view Text(size_t off, size_t capacity, std::string_view field) const {
    size_t len = static_cast<unsigned char>(bytes_[base_ + off]);
    std::string_view text = bytes_.substr(base_ + off + 1, std::min(len, capacity));
    if (size_t fault = Cp932Fault(text, capacity); fault != std::string_view::npos && name_)
      Fail(*name_, base_ + off + 1 + fault, field, Cp932FaultText(text, fault));
    if (!text.empty() && Cp932Fault(text) == text.size() - 1) text.remove_suffix(1);
    return text;
  }

 private:
  [[noreturn]] static void Fail(const std::string& name, size_t offset, std::string_view field,
                                std::string_view reason) {
    throw FileError(name + ": byte offset " + std::to_string(offset) + ", " + std::string(field) + ": " +
                    std::string(reason));
  }

  std::string_view bytes_;
  size_t base_;
  const std::string* name_;
};

[[noreturn]] void Fail(const std::string& name, size_t offset, std::string_view field, std::string_view reason) {
  throw FileError(name + ": byte offset " + std::to_string(offset) + ", " + std::string(field) + ": " +
                  std::string(reason));
}

TitleRecord TitleFrom(const RecordView& r) {
  // Fields version 1 lacks keep the empty document's values; the date comes from the file.
  TitleRecord t = EmptyDocumentTitle();
  t.id.set(r.Text(0, 12, "title id"));
  t.ATESAKI_1.set(r.Text(13, 40, "title ATESAKI_1"));
  t.CONSTRACT_1.set(r.Text(54, 40, "title CONSTRACT_1"));
  t.ALLGTOTAL = r.Value(96);
  t.ALLNTOTAL = r.Value(104);
  t.WHERE.set(r.Text(112, 30, "title WHERE"));
  t.MLIMIT.set(r.Text(143, 20, "title MLIMIT"));
  t.ULIMIT.set(r.Text(164, 20, "title ULIMIT"));
  t.TRADE.set(r.Text(185, 30, "title TRADE"));
  t.NUMBER.set(r.Text(216, 10, "title NUMBER"));
  t.DY = r.Int(228);
  t.DM = r.Int(232);
  t.DD = r.Int(236);
  t.INTANTO.set(r.Text(240, 20, "title INTANTO"));
  t.OUTTANTO.set(r.Text(261, 20, "title OUTTANTO"));
  t.DATALEVEL = r.Int(284);
  t.KEYCODE = r.Int(288);
  t.Opt1Str.set(r.Text(292, 80, "title Opt1Str"));
  t.Opt2Str.set(r.Text(373, 80, "title Opt2Str"));
  t.Opt1Int = r.Int(456);
  t.Opt2Int = r.Int(460);
  return t;
}

ItemRecord ItemFrom(const RecordView& r) {
  ItemRecord item{};
  item.ItemKind = r.Int(0);
  item.ItemName.set(r.Text(4, 40, "item ItemName"));
  item.ALLGTOTAL = r.Value(48);
  item.ALLNTOTAL = r.Value(56);
  item.LineRoundAddend = r.Value(64);
  item.Opt4RoundAddend = r.Value(72);
  item.QuantityScale = r.Value(80);
  item.Opt3Unit = r.Value(88);
  item.ItemNote.set(r.Text(96, 40, "item ItemNote"));
  return item;
}

// Amounts stay 0: loading the sheet recomputes them.
LineRecord LineFrom(const RecordView& r) {
  LineRecord line{};
  line.ItemNo = r.Int(0);
  line.NameSpec.set(r.Text(4, 83, "line NameSpec"));
  line.LabourFactor = r.Value(88);
  line.sort = r.Value(96);
  line.Unit.set(r.Text(104, 7, "line Unit"));
  line.FLAG = r.Int(112);
  line.CostQty = r.Value(116);
  line.SubQty = r.Value(124);
  line.CostPrice = r.Value(132);
  line.SubPrice = r.Value(140);
  line.CostExtraPrice = r.Value(148);
  line.SubExtraPrice = r.Value(156);
  line.RefA = r.Int(180);
  line.Remarks.set(r.Text(184, 40, "line Remarks"));
  return line;
}

int32_t ItemCountOf(std::string_view bytes, const std::string& name) {
  if (bytes.size() < kTitleSize) Fail(name, 0, "title", "the file ends inside the title");
  if (bytes.size() < kTitleSize + 4) Fail(name, kTitleSize, "item count", "the file ends inside the item count");
  int32_t count = RecordView(bytes, kTitleSize).Int(0);
  size_t room = (bytes.size() - kTitleSize - 4) / kItemSize;
  if (count < 0) Fail(name, kTitleSize, "item count", std::to_string(count) + " is below 0");
  if (static_cast<size_t>(count) > room)
    Fail(name, kTitleSize, "item count",
         std::to_string(count) + " items do not fit, the file ends inside the items (room for " +
             std::to_string(room) + ")");
  return count;
}

}  // namespace

bool IsVersion1Path(std::string_view path) {
  return path.ends_with(".znt") || path.ends_with(".ZNT");
}

bool LooksLikeVersion1(std::string_view bytes) {
  if (bytes.size() < kTitleSize + 4) return false;
  // Every text of the title within its field (a container starts with "<", far above 12).
  static constexpr std::pair<size_t, size_t> kTexts[] = {{0, 12},   {13, 40},  {54, 40},  {112, 30},
                                                         {143, 20}, {164, 20}, {185, 30}, {216, 10},
                                                         {240, 20}, {261, 20}, {292, 80}, {373, 80}};
  for (auto [off, capacity] : kTexts)
    if (static_cast<unsigned char>(bytes[off]) > capacity) return false;
  int32_t count = RecordView(bytes, kTitleSize).Int(0);
  return count >= 0 && static_cast<size_t>(count) <= (bytes.size() - kTitleSize - 4) / kItemSize;
}

ParsedDocument ParseVersion1Bytes(std::string_view bytes, const std::string& name) {
  ParsedDocument doc;
  doc.WithTakeoffFiles = false;
  int32_t count = ItemCountOf(bytes, name);
  doc.Title = TitleFrom(RecordView(bytes, 0, &name));
  size_t off = kTitleSize + 4;
  for (int32_t i = 0; i < count; ++i, off += kItemSize) doc.Items.push_back(ItemFrom(RecordView(bytes, off, &name)));

  // Lines run to a kind-999 line or to the last whole line of the file.
  for (; off + kLineSize <= bytes.size(); off += kLineSize) {
    RecordView r(bytes, off, &name);
    if (r.Int(112) == kEndOfLines) break;
    LineRecord line = LineFrom(r);
    // A line of an item the list does not have would leave a work file nothing reads.
    if (line.ItemNo < 1 || line.ItemNo > count)
      Fail(name, off, "line item number",
           "no item has the number " + std::to_string(line.ItemNo) + " (the document has " + std::to_string(count) +
               ")");
    doc.Lines[line.ItemNo].push_back(line);
  }
  return doc;
}

ParsedDocument ParseVersion1(const std::string& path) {
  std::string why;
  auto bytes = ReadFileBytes(path, &why, kMaxDocumentBytes);
  if (!bytes) throw FileError(path + ": the file cannot be read: " + why);
  return ParseVersion1Bytes(*bytes, path);
}

int32_t ImportVersion1(const std::string& path, const std::string& folder) {
  ParsedDocument doc = ParseVersion1(path);
  WriteWorkFiles(doc, folder);
  return doc.ItemCount();
}

}  // namespace zantro
