// The container file: writer, reader and the field rules of its line formats.
#include "general/container.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <functional>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "general/document.h"
#include "general/errors.h"
#include "general/kinds.h"
#include "general/money.h"
#include "general/workcodec.h"
#include "general/workfiles.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/outputs.h"

namespace zantro {
namespace {

constexpr std::string_view kFullWidthSemicolon = "\x81\x47";  // "；" in CP932

// ---------------------------------------------------------------------------------------
// Line iteration over a whole file in memory (CR LF or LF, as SplitLines splits).

class LineReader {
 public:
  LineReader(std::string_view text, const std::string& name) : text_(text), name_(name) {}

  // The next line, or false at the end. number() is its 1-based line number.
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t lf = text_.find('\n', pos_);
    size_t end = lf == std::string_view::npos ? text_.size() : lf;
    size_t cut = end;
    if (lf != std::string_view::npos && cut > pos_ && text_[cut - 1] == '\r') --cut;
    line = text_.substr(pos_, cut - pos_);
    pos_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    ++number_;
    return true;
  }
  int64_t number() const { return number_; }
  bool AtEnd() const { return pos_ >= text_.size(); }

  // The next line must be marker: the sections come in one order, each right after the last.
  void Expect(std::string_view marker) {
    std::string_view line;
    if (!Next(line)) Fail(number_ + 1, "the file ends where " + std::string(marker) + " should follow (the file is cut short)");
    if (line != marker) Fail(number_, std::string(marker) + " expected, found '" + QuoteText(line) + "'");
  }
  // The next line of the section that ends with endMarker; false at that marker. The end of
  // the file or another section's marker inside the section is a damaged file.
  bool NextInSection(std::string_view& line, std::string_view endMarker) {
    if (!Next(line)) Fail(number_ + 1, "the file ends before " + std::string(endMarker) + " (the file is cut short)");
    if (line == endMarker) return false;
    if (IsMarker(line)) Fail(number_, std::string(line) + " inside the section that " + std::string(endMarker) + " should end");
    return true;
  }
  [[noreturn]] void Fail(int64_t line, const std::string& reason) const {
    throw FileError(name_ + ": line " + std::to_string(line) + ": " + reason);
  }

 private:
  static bool IsMarker(std::string_view line) {
    static constexpr std::string_view kMarkers[] = {"<TITLE>",  "</TITLE>",  "<ITEM>",   "</ITEM>",
                                                    "<DATA>",   "</DATA>",   "<PICKUP>", "</PICKUP>",
                                                    "<CONFIG>", "</CONFIG>", "</EOF>"};
    if (line.empty() || line.front() != '<') return false;  // every line of data
    return std::find(std::begin(kMarkers), std::end(kMarkers), line) != std::end(kMarkers);
  }
  std::string_view text_;
  const std::string& name_;
  size_t pos_ = 0;
  int64_t number_ = 0;
};

// Damage the writer never makes, found before any line is read: a NUL byte, or a line end
// other than CR LF (LF alone is read as CR LF; a CR alone, or LF CR, is not a line end).
void CheckBytes(std::string_view text, const std::string& name) {
  size_t nul = text.find('\0');
  size_t cr = text.find('\r');
  while (cr != std::string_view::npos && cr + 1 < text.size() && text[cr + 1] == '\n') cr = text.find('\r', cr + 2);
  size_t at = std::min(nul, cr);
  if (at == std::string_view::npos) return;
  int64_t line = 1 + std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(at), '\n');
  throw FileError(name + ": line " + std::to_string(line) + ": " +
                  (at == nul ? "a NUL byte (not a text file)" : "a CR without LF (line ends must be CR LF)"));
}

// A line must hold every field of its format, each ended by ";": a line cut short would
// otherwise take its missing fields from the last one read.
void RequireFields(std::string_view line, size_t count, const FieldSource& at) {
  size_t found = static_cast<size_t>(std::count(line.begin(), line.end(), ';'));
  if (found < count)
    ThrowFieldError(at, static_cast<int>(found) + 1, "",
                    "the line has " + std::to_string(found) + " of its " + std::to_string(count) + " fields");
}

// Field 1 of a data or takeoff line: an item of the list, so that no work file is written
// for an item the document does not have.
void RequireItem(int32_t n, const ParsedDocument& doc, ContainerForm form, const FieldSource& at) {
  if (n < 1 || (n > doc.ItemCount() && form == ContainerForm::Document))
    ThrowFieldError(at, 1, "item number",
                    "no item has the number " + std::to_string(n) + " (the document has " +
                        std::to_string(doc.ItemCount()) + ")");
}

// The fields of a line that must hold every field of its format, found in one scan: the line
// is refused as RequireFields refuses it, and the fields are those TakeFields gives.
template <size_t Count>
void SplitFields(std::string_view line, std::array<std::string_view, Count>& fields, const FieldSource& at) {
  const char* data = line.data();
  size_t found = 0, start = 0, i = 0;
  auto take = [&](size_t end) {
    fields[found++] = std::string_view(data + start, end - start);
    start = end + 1;
    return found == Count;
  };
#ifdef __SSE2__
  // Sixteen bytes at a time: the fields are short, a line holds one ";" in every few bytes.
  const __m128i semicolon = _mm_set1_epi8(';');
  for (; i + 16 <= line.size(); i += 16) {
    __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, semicolon))); mask != 0;
         mask &= mask - 1)
      if (take(i + static_cast<size_t>(__builtin_ctz(mask)))) return;
  }
#endif
  for (; i < line.size(); ++i)
    if (data[i] == ';' && take(i)) return;
  RequireFields(line, Count, at);  // raises: the line has fewer fields
}

// Fields as TakeField hands them out: up to the next ";", and once no ";" remains every
// further field is the last piece again.
std::vector<std::string_view> TakeFields(std::string_view rest, size_t count) {
  std::vector<std::string_view> fields;
  fields.reserve(count);
  while (fields.size() < count) {
    size_t at = rest.find(';');
    if (at == std::string_view::npos) {
      fields.push_back(rest);
      continue;
    }
    fields.push_back(rest.substr(0, at));
    rest.remove_prefix(at + 1);
  }
  return fields;
}

// Fields as FieldOf reads them: only ";"-terminated pieces count; a field past the last one is
// the last one; without any ";" every field is empty.
std::vector<std::string_view> TerminatedFields(std::string_view text, size_t count) {
  std::vector<std::string_view> fields;
  fields.reserve(count);
  while (fields.size() < count) {
    size_t at = text.find(';');
    if (at == std::string_view::npos) break;
    fields.push_back(text.substr(0, at));
    text.remove_prefix(at + 1);
  }
  std::string_view last = fields.empty() ? std::string_view() : fields.back();
  while (fields.size() < count) fields.push_back(last);
  return fields;
}

// ---------------------------------------------------------------------------------------
// Conversions that name the field of a bad value.

Money StrictMoney(std::string_view text, const FieldSource& at, int field, std::string_view name) {
  try {
    return StrToCurr(text);
  } catch (const ConversionError& e) {
    ThrowFieldError(at, field, name, e.what());
  }
}

int32_t StrictInt(std::string_view text, const FieldSource& at, int field, std::string_view name) {
  try {
    return StrToInt(text);
  } catch (const ConversionError& e) {
    ThrowFieldError(at, field, name, e.what());
  }
}

// TextToMoney: an empty text or "" is 0, any other text must be a number.
Money MoneyOrEmpty(std::string_view text, const FieldSource& at, int field) {
  try {
    return TextToMoney(text);
  } catch (const ConversionError& e) {
    ThrowFieldError(at, field, "", e.what());
  }
}

// A text field must be Shift-JIS: text of another encoding would be shown and printed as
// garbage. capacity is that of the record field it goes to, which may end in half a character.
void RequireShiftJis(std::string_view text, size_t capacity, const FieldSource& at, int field, std::string_view name) {
  size_t fault = Cp932Fault(text, capacity);
  if (fault != std::string_view::npos) ThrowFieldError(at, field, name, Cp932FaultText(text, fault));
}

// The name and the specification fields of a NameSpec of capacity N: the name fills the record
// when it is as long, the specification when both and the ";" between them are.
template <size_t N>
void RequireShiftJisNameSpec(std::string_view name, std::string_view spec, const FieldSource& at, int field) {
  RequireShiftJis(name, N, at, field, "name");
  RequireShiftJis(spec, name.size() + 1 < N ? N - name.size() - 1 : 0, at, field + 1, "specification");
}

// "name;spec" from the two fields that carry it.
template <size_t N>
void SetNameSpec(ShortText<N>& target, std::string_view name, std::string_view spec) {
  // ShortText::set of the joined text, without building it.
  size_t n = std::min(name.size(), N);
  if (n > 0) std::memcpy(target.bytes, name.data(), n);
  if (n < N) target.bytes[n++] = ';';
  size_t s = std::min(spec.size(), N - n);
  if (s > 0) std::memcpy(target.bytes + n, spec.data(), s);
  n += s;
  std::memset(target.bytes + n, 0, N - n);
  target.len = static_cast<uint8_t>(n);
}

// The numbers of a field are written into a buffer on the stack and appended once: a
// document of 100 000 lines has two million of them.
void AppendMoney(std::string& out, Money v) {
  char buffer[kPlainTextMax + 1];
  char* end = PlainTextAt(v, buffer);
  *end++ = ';';
  out.append(buffer, end);
}

void AppendInt(std::string& out, int64_t v) {
  char buffer[24];
  char* end = std::to_chars(buffer, buffer + sizeof buffer - 1, v).ptr;
  *end++ = ';';
  out.append(buffer, end);
}

// Kinds whose quantities the container writes in the quantity format.
bool HasQuantityText(int32_t flag) {
  switch (flag) {
    case 20: case 21: case 22: case 25: case 26: case 27: case 28:
    case 120: case 125: case 126: case 127: case 128: case 140: case 150:
      return true;
    default:
      return false;
  }
}

// A text field of the data lines needs no change in nearly every line: no ";", CR, LF or NUL,
// and within its capacity.
bool IsPlainField(std::string_view text, size_t capacity) {
  if (text.size() > capacity) return false;
  for (char c : text)
    if (c == ';' || c == '\r' || c == '\n' || c == '\0') return false;
  return true;
}

// One detail line written field by field straight into memory with room for the longest line
// (a document of 100 000 lines has two million fields), not appended piece by piece. Every
// field is bounded: numbers by their type, texts by their record capacity.
class LineText {
 public:
  // Writes at out, which has room for kMax bytes.
  explicit LineText(char* out) : p_(out) {}
  static constexpr size_t kIntMax = 12;                   // "-2147483648;"
  static constexpr size_t kMoneyMax = kPlainTextMax + 1;  // a value or a quantity, ";"
  // The item number, three integers, twelve numbers, four texts, CR LF.
  static constexpr size_t kMax = kIntMax + 3 * kIntMax + 12 * kMoneyMax + (decltype(LineRecord::NameSpec)::kCapacity + 2) +
                                 (decltype(LineRecord::Unit)::kCapacity + 1) +
                                 (decltype(LineRecord::AmountText)::kCapacity + 1) +
                                 (decltype(LineRecord::Remarks)::kCapacity + 1) + 2;

  void Int(int32_t v) {
    p_ = std::to_chars(p_, p_ + kIntMax, v).ptr;
    *p_++ = ';';
  }
  void Value(Money v) {
    p_ = PlainTextAt(v, p_);
    *p_++ = ';';
  }
  void Quantity(Money q, Money scale) {
    // Rounding to the format may carry a value at the very edge of the money range past it, and
    // such a text would not read back: there the exact value is written instead.
    constexpr int64_t kEdge = INT64_MAX - Money::kScale;
    if (q.raw > kEdge || q.raw < -kEdge) return Value(q);
    // The container knows three formats: two and three decimals for 100 and 1000, one otherwise.
    Money format = scale == Money::Units(100) || scale == Money::Units(1000) ? scale : Money::Units(10);
    p_ = QuantityTextAt(q, format, p_);
    *p_++ = ';';
  }
  void Field(std::string_view text, size_t capacity) {
    if (IsPlainField(text, capacity)) {
      Put(text.data(), text.data() + text.size());
    } else {
      std::string field = FieldText(text, capacity);
      Put(field.data(), field.data() + field.size());
    }
  }
  // The name and the specification of a NameSpec as two fields, each cut so that "name;spec"
  // still fits the record when it is read back.
  void NameSpec(std::string_view nameSpec, size_t capacity) {
    size_t at = nameSpec.find(';');
    char* nameStart = p_;
    Field(nameSpec.substr(0, at), capacity);
    size_t name = static_cast<size_t>(p_ - nameStart) - 1;
    std::string_view spec = at == std::string_view::npos ? std::string_view() : nameSpec.substr(at + 1);
    Field(spec, name + 1 < capacity ? capacity - name - 1 : 0);
  }
  void EndLine() {
    *p_++ = '\r';
    *p_++ = '\n';
  }
  char* end() const { return p_; }

 private:
  // Appends [start, end) and the ";" that ends the field.
  void Put(const char* start, const char* end) {
    if (start != end) std::memcpy(p_, start, static_cast<size_t>(end - start));
    p_ += end - start;
    *p_++ = ';';
  }
  char* p_;
};

// LineText::NameSpec appended to a string.
void AppendNameSpec(std::string& out, std::string_view nameSpec, size_t capacity) {
  size_t start = out.size();
  out.resize(start + 2 * capacity + 2);  // two fields of at most capacity bytes, each with its ";"
  LineText text(out.data() + start);
  text.NameSpec(nameSpec, capacity);
  out.resize(static_cast<size_t>(text.end() - out.data()));
}

// Fields 2..21 of a detail line.
void PutLineFields(LineText& out, const LineRecord& r, std::optional<Money> quantityScale) {
  out.NameSpec(r.NameSpec.view(), r.NameSpec.kCapacity);
  out.Value(r.LabourFactor);
  out.Value(r.sort);
  out.Field(r.Unit.view(), r.Unit.kCapacity);
  out.Int(r.FLAG);
  if (quantityScale && HasQuantityText(r.FLAG)) {
    out.Quantity(r.CostQty, *quantityScale);
    out.Quantity(r.SubQty, *quantityScale);
  } else {
    out.Value(r.CostQty);
    out.Value(r.SubQty);
  }
  for (Money v : {r.CostPrice, r.SubPrice, r.SpareMoney, r.CostExtraPrice, r.SubExtraPrice, r.CostAmount,
                  r.SubAmount})
    out.Value(v);
  out.Int(r.RefA);
  out.Int(r.RefB);
  out.Value(r.SecondRoundMode);
  out.Field(r.AmountText.view(), r.AmountText.kCapacity);
  out.Field(r.Remarks.view(), r.Remarks.kCapacity);
}

// The data line of item n, as the container holds it.
void PutDataLine(LineText& out, int32_t n, const ItemRecord& item, const LineRecord& line) {
  out.Int(n);
  if (line.FLAG == LineKinds::TotalLine) {
    // A total line carries the item's totals, which printing puts there.
    LineRecord total = line;
    total.CostAmount = item.ALLNTOTAL;
    total.SubAmount = item.ALLGTOTAL;
    PutLineFields(out, total, item.QuantityScale);
  } else {
    PutLineFields(out, line, item.QuantityScale);
  }
  out.EndLine();
}

// ---------------------------------------------------------------------------------------
// Title lines.

// One title key: its line text and how a value read for it is stored.
struct TitleKey {
  std::string_view Key;
  std::function<std::string(const TitleRecord&)> Write;
  std::function<void(TitleRecord&, std::string_view, const FieldSource&)> Read;
};

template <size_t N>
TitleKey TextKey(std::string_view key, ShortText<N> TitleRecord::*field) {
  return {key, [field](const TitleRecord& t) { return (t.*field).str(); },
          [field, key](TitleRecord& t, std::string_view v, const FieldSource& at) {
            RequireShiftJis(v, N, at, 0, key);
            (t.*field).set(v);
          }};
}

TitleKey MoneyKey(std::string_view key, Money TitleRecord::*field) {
  return {key, [field](const TitleRecord& t) { return MoneyToPlainText(t.*field); },
          [field, key](TitleRecord& t, std::string_view v, const FieldSource& at) {
            t.*field = StrictMoney(v, at, 0, key);
          }};
}

TitleKey IntKey(std::string_view key, int32_t TitleRecord::*field) {
  return {key, [field](const TitleRecord& t) { return std::to_string(t.*field); },
          [field, key](TitleRecord& t, std::string_view v, const FieldSource& at) {
            t.*field = StrictInt(v, at, 0, key);
          }};
}

// Title lines 2..30 in the order the file holds them; [NUMBER_ID] and [ItemMax] are handled
// by the writer and the reader themselves.
const std::vector<TitleKey>& TitleKeys() {
  static const std::vector<TitleKey> keys = {
      TextKey("[id]", &TitleRecord::id),
      TextKey("[ATESAKI_1]", &TitleRecord::ATESAKI_1),
      TextKey("[ATESAKI_2]", &TitleRecord::ATESAKI_2),
      TextKey("[CONSTRACT_1]", &TitleRecord::CONSTRACT_1),
      TextKey("[CONSTRACT_2]", &TitleRecord::CONSTRACT_2),
      MoneyKey("[ALLGTOTAL]", &TitleRecord::ALLGTOTAL),
      MoneyKey("[ALLNTOTAL]", &TitleRecord::ALLNTOTAL),
      MoneyKey("[TAXGTOTAL]", &TitleRecord::TAXGTOTAL),
      MoneyKey("[TAXNTOTAL]", &TitleRecord::TAXNTOTAL),
      TextKey("[WHERE]", &TitleRecord::WHERE),
      TextKey("[MLIMIT]", &TitleRecord::MLIMIT),
      TextKey("[ULIMIT]", &TitleRecord::ULIMIT),
      TextKey("[TRADE]", &TitleRecord::TRADE),
      TextKey("[NUMBER]", &TitleRecord::NUMBER),
      IntKey("[DY]", &TitleRecord::DY),
      IntKey("[DM]", &TitleRecord::DM),
      IntKey("[DD]", &TitleRecord::DD),
      TextKey("[INTANTO]", &TitleRecord::INTANTO),
      TextKey("[OUTTANTO]", &TitleRecord::OUTTANTO),
      IntKey("[DATALEVEL]", &TitleRecord::DATALEVEL),
      IntKey("[KEYCODE]", &TitleRecord::KEYCODE),
      TextKey("[Opt1Str]", &TitleRecord::Opt1Str),
      TextKey("[Opt2Str]", &TitleRecord::Opt2Str),
      TextKey("[Opt3Str]", &TitleRecord::Opt3Str),
      IntKey("[Opt1Int]", &TitleRecord::Opt1Int),
      IntKey("[Opt2Int]", &TitleRecord::Opt2Int),
      IntKey("[Opt3Int]", &TitleRecord::Opt3Int),
      IntKey("[KETA]", &TitleRecord::KETA),
      MoneyKey("[CUTLEVEL]", &TitleRecord::CUTLEVEL),
  };
  return keys;
}

bool IsTotalKey(std::string_view key) {
  return key == "[ALLGTOTAL]" || key == "[ALLNTOTAL]" || key == "[TAXGTOTAL]" || key == "[TAXNTOTAL]";
}

// The title as the single-item form writes it: the item's totals instead of the document's.
// Without a chosen item the single-item form leaves the four total lines out.
void AppendTitle(std::string& out, TitleRecord title, bool single, const ItemRecord* chosen) {
  if (chosen) {
    title.ALLGTOTAL = chosen->ALLGTOTAL;
    title.ALLNTOTAL = chosen->ALLNTOTAL;
    title.TAXGTOTAL = chosen->TAXGTOTAL;
    title.TAXNTOTAL = chosen->TAXNTOTAL;
  }
  out += "<TITLE>\r\n[NUMBER_ID]=";
  AppendValue(out, title.id.view());
  out += "\r\n";
  for (const auto& key : TitleKeys()) {
    if (single && !chosen && IsTotalKey(key.Key)) continue;
    out.append(key.Key).append("=");
    AppendValue(out, key.Write(title));
    out += "\r\n";
  }
}

void ReadTitleLine(TitleRecord& title, std::string_view line, const FieldSource& at) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return;
  std::string_view key = line.substr(0, eq);
  std::string_view value = line.substr(eq + 1);
  if (key == "[ALLTOTAL]") key = "[ALLGTOTAL]";
  if (key == "[ItemMax]") {
    // Checked as the format says; the item lines themselves decide how many items there are.
    StrictInt(value, at, 0, key);
    return;
  }
  for (const auto& k : TitleKeys()) {
    if (k.Key == key) {
      k.Read(title, value, at);
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Item lines.

void AppendItemLine(std::string& out, const ItemRecord& item) {
  AppendInt(out, item.ItemKind);
  AppendField(out, item.ItemName.view(), item.ItemName.kCapacity);
  AppendMoney(out, item.ALLGTOTAL);
  AppendMoney(out, item.ALLNTOTAL);
  AppendMoney(out, item.LineRoundAddend);
  AppendMoney(out, item.Opt4RoundAddend);
  AppendMoney(out, item.QuantityScale);
  AppendMoney(out, item.Opt3Unit);
  AppendMoney(out, item.Opt6RoundAddend);
  AppendInt(out, item.ItemFlag);
  AppendMoney(out, item.ItemValue);
  AppendField(out, item.ItemNote.view(), item.ItemNote.kCapacity);
  AppendMoney(out, item.TAXGTOTAL);
  AppendMoney(out, item.TAXNTOTAL);
  out += "\r\n";
}

ItemRecord ParseItemLine(std::string_view line, const FieldSource& at) {
  auto f = TakeFields(line, 14);
  ItemRecord item{};
  item.ItemKind = StrToIntDef(f[0], 1);
  RequireShiftJis(f[1], item.ItemName.kCapacity, at, 2, "ItemName");
  item.ItemName.set(f[1]);
  item.ALLGTOTAL = StrictMoney(f[2], at, 3, "ALLGTOTAL");
  item.ALLNTOTAL = StrictMoney(f[3], at, 4, "ALLNTOTAL");
  item.LineRoundAddend = StrictMoney(f[4], at, 5, "LineRoundAddend");
  item.Opt4RoundAddend = StrictMoney(f[5], at, 6, "Opt4RoundAddend");
  item.QuantityScale = StrictMoney(f[6], at, 7, "QuantityScale");
  item.Opt3Unit = StrictMoney(f[7], at, 8, "Opt3Unit");
  item.Opt6RoundAddend = StrictMoney(f[8], at, 9, "Opt6RoundAddend");
  item.ItemFlag = StrToIntDef(f[9], 0);
  // Whole values only, as the format has always been read: a fraction makes the value 0.
  item.ItemValue = Money::Units(StrToIntDef(f[10], 0));
  RequireShiftJis(f[11], item.ItemNote.kCapacity, at, 12, "ItemNote");
  item.ItemNote.set(f[11]);
  item.TAXGTOTAL = MoneyOrEmpty(f[12], at, 13);
  item.TAXNTOTAL = MoneyOrEmpty(f[13], at, 14);
  return item;
}

// ---------------------------------------------------------------------------------------
// Takeoff lines: 40 fields in record order.

void AppendTakeoffLine(std::string& out, int32_t n, const TakeoffRecord& t) {
  AppendInt(out, n);
  AppendInt(out, t.Int1);
  AppendInt(out, t.Int2);
  AppendNameSpec(out, t.NameSpec.view(), t.NameSpec.kCapacity);
  for (Money v : t.Value1_2) AppendMoney(out, v);
  AppendField(out, t.Unit.view(), t.Unit.kCapacity);
  for (int32_t v : t.Int3_4) AppendInt(out, v);
  for (Money v : t.Value3_8) AppendMoney(out, v);
  AppendField(out, t.Text1.view(), t.Text1.kCapacity);
  for (Money v : t.Value9_13) AppendMoney(out, v);
  AppendField(out, t.Text2.view(), t.Text2.kCapacity);
  for (int32_t v : t.Int5_11) AppendInt(out, v);
  for (Money v : t.Value14_15) AppendMoney(out, v);
  for (int32_t v : t.Int12_19) AppendInt(out, v);
  out += "\r\n";
}

TakeoffRecord ParseTakeoffLine(std::string_view line, const FieldSource& at) {
  auto f = TerminatedFields(line, 40);
  auto integer = [&](int k) { return StrToIntDef(f[k - 1], 0); };
  auto money = [&](int k) { return MoneyOrEmpty(f[k - 1], at, k); };
  // Fields 19-22 were once read as integers, which turned every fraction into 0; they are
  // money like their neighbours. A text that is no number still reads as 0, as it did.
  auto wideMoney = [&](int k) { return StrToCurrDef(f[k - 1], kZero); };
  TakeoffRecord t{};
  t.ItemNo = integer(1);
  t.Int1 = integer(2);
  t.Int2 = integer(3);
  RequireShiftJisNameSpec<decltype(t.NameSpec)::kCapacity>(f[3], f[4], at, 4);
  SetNameSpec(t.NameSpec, f[3], f[4]);
  for (int i = 0; i < 2; ++i) t.Value1_2[i] = money(6 + i);
  RequireShiftJis(f[7], t.Unit.kCapacity, at, 8, "Unit");
  t.Unit.set(f[7]);
  for (int i = 0; i < 2; ++i) t.Int3_4[i] = integer(9 + i);
  for (int i = 0; i < 6; ++i) t.Value3_8[i] = money(11 + i);
  RequireShiftJis(f[16], t.Text1.kCapacity, at, 17, "Text1");
  t.Text1.set(f[16]);
  t.Value9_13[0] = money(18);
  for (int i = 1; i < 5; ++i) t.Value9_13[i] = wideMoney(18 + i);
  RequireShiftJis(f[22], t.Text2.kCapacity, at, 23, "Text2");
  t.Text2.set(f[22]);
  for (int i = 0; i < 7; ++i) t.Int5_11[i] = integer(24 + i);
  for (int i = 0; i < 2; ++i) t.Value14_15[i] = money(31 + i);
  for (int i = 0; i < 8; ++i) t.Int12_19[i] = integer(33 + i);
  return t;
}

// ---------------------------------------------------------------------------------------
// Reading the sections.

void ReadTitle(LineReader& in, ParsedDocument& doc, const std::string& name) {
  in.Expect("<TITLE>");
  std::string_view line;
  while (in.NextInSection(line, "</TITLE>")) ReadTitleLine(doc.Title, line, FieldSource{name, in.number(), "title"});
  if (doc.Title.CUTLEVEL > kOne) doc.Title.CUTLEVEL = kHalf;
}

void ReadItems(LineReader& in, ParsedDocument& doc, const std::string& name) {
  in.Expect("<ITEM>");
  std::string_view line;
  while (in.NextInSection(line, "</ITEM>")) {
    FieldSource at{name, in.number(), "item"};
    RequireFields(line, 14, at);
    doc.Items.push_back(ParseItemLine(line, at));
  }
}

// The number of data lines of each item number, counted ahead of the reading so that a sink
// knows when an item's lines are all there. Lines whose item number is no number count under 0
// (the reading itself refuses them).
std::map<int32_t, int64_t> CountDataLines(LineReader ahead) {
  std::map<int32_t, int64_t> counts;
  std::string_view line;
  // An item's lines usually come together: the count of the last item is kept at hand.
  int32_t last = 0;
  int64_t* count = nullptr;
  while (ahead.Next(line) && line != "</DATA>") {
    int32_t n = StrToIntDef(line.substr(0, line.find(';')), 0);
    if (!count || n != last) count = &counts[last = n];
    ++*count;
  }
  return counts;
}

// Keeps the lines in ParsedDocument::Lines: lines of one item that are not consecutive are
// appended, never written over each other.
class CollectLines : public DataLineSink {
 public:
  explicit CollectLines(ParsedDocument& doc) : doc_(doc) {}
  void Begin(const ParsedDocument&, const std::map<int32_t, int64_t>& counts) override { counts_ = counts; }
  void Line(int32_t item, LineRecord line) override {
    if (!lines_ || item != item_) {
      lines_ = &doc_.Lines[item_ = item];
      auto count = counts_.find(item);
      if (lines_->empty() && count != counts_.end()) lines_->reserve(static_cast<size_t>(count->second));
    }
    lines_->push_back(line);
  }

 private:
  ParsedDocument& doc_;
  std::map<int32_t, int64_t> counts_;
  int32_t item_ = 0;
  std::vector<LineRecord>* lines_ = nullptr;
};

void ReadData(LineReader& in, const ParsedDocument& doc, const std::string& name, ContainerForm form,
              DataLineSink& sink) {
  in.Expect("<DATA>");
  sink.Begin(doc, CountDataLines(in));
  std::string_view line;
  while (in.NextInSection(line, "</DATA>")) {
    FieldSource at{name, in.number(), "data"};
    std::array<std::string_view, 21> f;
    SplitFields(line, f, at);
    int32_t n = StrictInt(f[0], at, 1, "item number");
    RequireItem(n, doc, form, at);
    LineRecord rec = LineFromFields(f, at);
    rec.ItemNo = n;
    sink.Line(n, rec);
  }
}

void ReadTakeoffs(LineReader& in, ParsedDocument& doc, const std::string& name, ContainerForm form) {
  in.Expect("<PICKUP>");
  std::string_view line;
  while (in.NextInSection(line, "</PICKUP>")) {
    FieldSource at{name, in.number(), "takeoff"};
    RequireFields(line, 40, at);
    TakeoffRecord t = ParseTakeoffLine(line, at);
    RequireItem(t.ItemNo, doc, form, at);
    doc.Takeoffs[t.ItemNo].push_back(t);
  }
}

void ReadSortLines(LineReader& in, ParsedDocument& doc, const std::string& name, ContainerForm form) {
  in.Expect("<CONFIG>");
  std::string_view line;
  while (in.NextInSection(line, "</CONFIG>")) {
    // The line of the sort file is opaque: everything after the first ";" is kept as it is.
    size_t at = line.find(';');
    std::string_view number = line.substr(0, at);
    std::string_view rest = at == std::string_view::npos ? line : line.substr(at + 1);
    int32_t n = StrToIntDef(number, 0);
    RequireItem(n, doc, form, FieldSource{name, in.number(), "sort"});
    doc.SortLines[n].emplace_back(rest);
  }
}

// The writer ends every file with "</EOF>": without it the file was cut short.
void ReadEnd(LineReader& in) {
  in.Expect("</EOF>");
  if (!in.AtEnd()) in.Fail(in.number() + 1, "text after </EOF>");
}

// ---------------------------------------------------------------------------------------
// Writing.

// A work file of folder found without regard to case (the file layer keeps the folder's names,
// so a document of many items does not list the folder for every file it lacks).
struct WorkFolder {
  const std::string& Path;
  std::optional<std::string> Find(const std::string& name) const { return FindNoCase(Path, name); }
  std::string Resolve(const std::string& name) const { return ResolveNoCase(Path, name); }
};

HeadImage ReadHeadFile(const WorkFolder& folder) {
  std::string path = folder.Resolve(HeadFile("WRK"));
  auto bytes = ReadFileBytes(path);
  auto head = bytes ? DecodeHead(*bytes) : std::nullopt;
  if (!head) throw FileError(path + ": the work file cannot be read (" + (bytes ? "too short" : "missing") + ")");
  return std::move(*head);
}

template <typename Record>
std::vector<Record> ReadWorkRecords(const WorkFolder& folder, const std::string& name) {
  auto path = folder.Find(name);
  if (!path) return {};
  auto bytes = ReadFileBytes(*path);
  if (!bytes) throw FileError(*path + ": the work file cannot be read");
  return DecodeRecords<Record>(*bytes);
}

std::vector<std::string> ReadSortFile(const WorkFolder& folder, int32_t n) {
  auto path = folder.Find(SortFile(n));
  if (!path) return {};
  auto lines = ReadTextLines(*path);
  if (!lines) throw FileError(*path + ": the work file cannot be read");
  return std::move(*lines);
}

void AppendTakeoffLines(std::string& out, int32_t n, const std::vector<TakeoffRecord>& records) {
  for (const auto& t : records) AppendTakeoffLine(out, n, t);
}

void AppendSortLines(std::string& out, int32_t n, const std::vector<std::string>& lines) {
  for (const auto& l : lines) {
    out += std::to_string(n);
    out += ';';
    AppendValue(out, l);
    out += "\r\n";
  }
}

void WriteOrThrow(const std::string& path, std::string_view bytes) {
  std::string error;
  if (!WriteFileAtomic(path, bytes, &error)) throw FileError(error);
}

}  // namespace

// ---------------------------------------------------------------------------------------

std::string FieldText(std::string_view text, size_t capacity) {
  std::string field;
  field.reserve(text.size());
  for (char c : text) {
    if (c == ';')
      field += kFullWidthSemicolon;
    else
      field += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
  }
  if (field.size() <= capacity) return field;
  // The full-width "；" is a byte longer than ";": a text that now exceeds its field is cut
  // here, between characters, so that what the file holds is exactly what reads back.
  size_t end = 0;
  while (end < field.size()) {
    size_t next = end + (IsLeadByte(static_cast<unsigned char>(field[end])) ? 2 : 1);
    if (next > capacity) break;
    end = next;
  }
  field.resize(end);
  return field;
}

void AppendField(std::string& out, std::string_view text, size_t capacity) {
  if (IsPlainField(text, capacity)) {
    out += text;
  } else {
    out += FieldText(text, capacity);
  }
  out += ';';
}

void AppendValue(std::string& out, std::string_view text) {
  for (char c : text) out += (c == '\r' || c == '\n' || c == '\0') ? ' ' : c;
}

void ThrowFieldError(const FieldSource& at, int field, std::string_view name, std::string_view reason) {
  std::string where = at.File + ": line " + std::to_string(at.Line) + ", ";
  if (field > 0) {
    if (*at.Section) where += std::string(at.Section) + " ";
    where += "field " + std::to_string(field);
    if (!name.empty()) where += " (" + std::string(name) + ")";
  } else {
    where += std::string(at.Section) + " " + std::string(name);
  }
  throw FileError(where + ": " + std::string(reason));
}

LineRecord LineFromFields(std::span<const std::string_view> f, const FieldSource& at) {
  LineRecord r{};
  RequireShiftJisNameSpec<decltype(r.NameSpec)::kCapacity>(f[1], f[2], at, 2);
  SetNameSpec(r.NameSpec, f[1], f[2]);
  r.LabourFactor = StrictMoney(f[3], at, 4, "LabourFactor");
  r.sort = StrictMoney(f[4], at, 5, "sort");
  RequireShiftJis(f[5], r.Unit.kCapacity, at, 6, "Unit");
  r.Unit.set(f[5]);
  r.FLAG = StrictInt(f[6], at, 7, "FLAG");
  r.CostQty = StrictMoney(f[7], at, 8, "CostQty");
  r.SubQty = StrictMoney(f[8], at, 9, "SubQty");
  r.CostPrice = StrictMoney(f[9], at, 10, "CostPrice");
  r.SubPrice = StrictMoney(f[10], at, 11, "SubPrice");
  r.SpareMoney = StrictMoney(f[11], at, 12, "SpareMoney");
  r.CostExtraPrice = StrictMoney(f[12], at, 13, "CostExtraPrice");
  r.SubExtraPrice = StrictMoney(f[13], at, 14, "SubExtraPrice");
  r.CostAmount = StrictMoney(f[14], at, 15, "CostAmount");
  r.SubAmount = StrictMoney(f[15], at, 16, "SubAmount");
  r.RefA = StrictInt(f[16], at, 17, "RefA");
  r.RefB = StrictInt(f[17], at, 18, "RefB");
  r.SecondRoundMode = StrictMoney(f[18], at, 19, "SecondRoundMode");
  RequireShiftJis(f[19], r.AmountText.kCapacity, at, 20, "AmountText");
  r.AmountText.set(f[19]);
  RequireShiftJis(f[20], r.Remarks.kCapacity, at, 21, "Remarks");
  r.Remarks.set(f[20]);
  return r;
}

void AppendLineFields(std::string& out, const LineRecord& r, std::optional<Money> quantityScale) {
  char buffer[LineText::kMax];
  LineText text(buffer);
  PutLineFields(text, r, quantityScale);
  out.append(buffer, text.end());
}

ParsedDocument ParseContainerText(std::string_view text, const std::string& name, DataLineSink* data,
                                  ContainerForm form) {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.KETA = 0;
  CollectLines collect(doc);
  CheckBytes(text, name);
  LineReader in(text, name);
  ReadTitle(in, doc, name);
  ReadItems(in, doc, name);
  ReadData(in, doc, name, form, data ? *data : collect);
  ReadTakeoffs(in, doc, name, form);
  ReadSortLines(in, doc, name, form);
  ReadEnd(in);
  return doc;
}

TitleRecord ParseContainerTitle(std::string_view text, const std::string& name) {
  ParsedDocument doc;
  doc.Title = EmptyDocumentTitle();
  doc.Title.KETA = 0;
  CheckBytes(text, name);
  LineReader in(text, name);
  ReadTitle(in, doc, name);
  return doc.Title;
}

ParsedDocument ParseContainer(const std::string& path, DataLineSink* data, ContainerForm form) {
  std::string why;
  auto bytes = ReadFileBytes(path, &why, kMaxDocumentBytes);
  if (!bytes) throw FileError(path + ": the file cannot be read: " + why);
  return ParseContainerText(*bytes, path, data, form);
}

void WriteWorkFiles(const ParsedDocument& doc, const std::string& folder, Progress& progress) {
  // Sheets first and HEAD.WRK last: a document whose files are incomplete has no head.
  // Item 1 always has its files, possibly empty. Every name is spelled as the folder has it,
  // all in one look at the folder's names.
  std::vector<std::string> names;
  if (!doc.Lines.count(1)) names.push_back(SheetFile(1, "WRK"));
  for (const auto& [n, records] : doc.Lines) names.push_back(SheetFile(n, "WRK"));
  if (doc.WithTakeoffFiles) {
    if (!doc.Takeoffs.count(1)) names.push_back(TakeoffFile(1));
    for (const auto& [n, records] : doc.Takeoffs) names.push_back(TakeoffFile(n));
    if (!doc.SortLines.count(1)) names.push_back(SortFile(1));
    for (const auto& [n, text] : doc.SortLines) names.push_back(SortFile(n));
  }
  names.push_back(HeadFile("WRK"));
  const std::vector<std::string> paths = ResolveAllNoCase(folder, names);
  // Without a head the folder holds no document yet, and no reader takes its sheets for one
  // until the head is written: a new sheet can be written in place, which spares a rename per
  // item. A sheet of that name already there is still replaced atomically.
  const bool building = !FileExists(paths.back());
  const auto files = static_cast<int64_t>(paths.size());
  int64_t written = 0;
  auto put = [&](const std::string& path, std::string_view bytes) {
    progress.Step(written++, files);
    std::string error;
    bool existed = false;
    if (building && WriteNewFile(path, bytes, &error, &existed)) return;
    if (building && !existed) throw FileError(error);
    WriteOrThrow(path, bytes);
  };
  auto path = paths.begin();
  if (!doc.Lines.count(1)) put(*path++, {});
  for (const auto& [n, records] : doc.Lines) put(*path++, EncodeRecords<LineRecord>(records));
  if (doc.WithTakeoffFiles) {
    if (!doc.Takeoffs.count(1)) put(*path++, {});
    for (const auto& [n, records] : doc.Takeoffs) put(*path++, EncodeRecords<TakeoffRecord>(records));
    if (!doc.SortLines.count(1)) put(*path++, {});
    for (const auto& [n, text] : doc.SortLines) {
      progress.Step(written++, files);
      std::string error;
      if (!WriteTextLines(*path++, text, &error)) throw FileError(error);
    }
  }
  progress.Step(written, files);
  WriteOrThrow(*path, EncodeHead(doc.Title, doc.Items));
  progress.Step(files, files);
}

void StageWorkFiles(const ParsedDocument& doc, const std::string& folder, Progress& progress) {
  RemoveStagedSet(folder);
  const std::string staging = StagingFolder(folder);
  if (::mkdir(staging.c_str(), 0700) != 0)
    throw FileError(staging + ": the folder cannot be made (" + std::strerror(errno) + ")");
  try {
    WriteWorkFiles(doc, staging, progress);
  } catch (const FileError&) {
    RemoveStagedSet(folder);
    throw;
  }
}

int32_t ReadContainer(const std::string& path, const std::string& folder) {
  ParsedDocument doc = ParseContainer(path);
  WriteWorkFiles(doc, folder);
  return doc.ItemCount();
}

std::string ContainerHead(const TitleRecord& title, std::span<const ItemRecord> items, bool singleItem,
                          int32_t itemNumber) {
  const int32_t count = static_cast<int32_t>(items.size());
  const bool chosenExists = itemNumber >= 1 && itemNumber <= count;
  const ItemRecord* chosen = singleItem && chosenExists ? &items[itemNumber - 1] : nullptr;
  std::string out;
  AppendTitle(out, title, singleItem, chosen);
  out += "[ItemMax]=" + std::to_string(singleItem ? 1 : count) + "\r\n</TITLE>\r\n<ITEM>\r\n";
  for (int32_t n = 1; n <= count; ++n)
    if (!singleItem || n == itemNumber) AppendItemLine(out, items[n - 1]);
  out += "</ITEM>\r\n<DATA>\r\n";
  return out;
}

void AppendDataLines(std::string& out, int32_t n, const ItemRecord& item, std::span<const LineRecord> lines) {
  for (const LineRecord& line : lines) {
    char buffer[LineText::kMax];
    LineText text(buffer);
    PutDataLine(text, n, item, line);
    out.append(buffer, text.end());
  }
}

void AppendDataLines(TextBlocks& out, int32_t n, const ItemRecord& item, std::span<const LineRecord> lines) {
  for (const LineRecord& line : lines) {
    LineText text(out.Room(LineText::kMax));
    PutDataLine(text, n, item, line);
    out.Commit(text.end());
  }
}

std::string ContainerTail(const ParsedDocument& doc, int32_t itemCount) {
  std::string out = "</DATA>\r\n<PICKUP>\r\n";
  for (const auto& [n, records] : doc.Takeoffs)
    if (n >= 1 && n <= itemCount) AppendTakeoffLines(out, n, records);
  out += "</PICKUP>\r\n<CONFIG>\r\n";
  for (const auto& [n, lines] : doc.SortLines)
    if (n >= 1 && n <= itemCount) AppendSortLines(out, n, lines);
  out += "</CONFIG>\r\n</EOF>\r\n";
  return out;
}

std::string ContainerText(const ParsedDocument& doc, bool singleItem, int32_t itemNumber) {
  std::string out = ContainerHead(doc.Title, doc.Items, singleItem, itemNumber);
  for (int32_t n = 1; n <= doc.ItemCount(); ++n) {
    if (singleItem && n != itemNumber) continue;
    const ItemRecord& item = doc.Items[n - 1];
    auto lines = doc.Lines.find(n);
    if (ItemHasSheet(item.ItemKind) && lines != doc.Lines.end()) AppendDataLines(out, n, item, lines->second);
  }
  return out + ContainerTail(doc, doc.ItemCount());
}

namespace {

// The takeoff and sort files of items 1..count, for ContainerTail; the second half of steps.
ParsedDocument TakeoffAndSortFiles(const WorkFolder& folder, int32_t count, Progress& progress, int64_t steps) {
  ParsedDocument rest;
  for (int32_t n = 1; n <= count; ++n) {
    StepOrCancel(progress, count + n - 1, steps);
    if (auto takeoffs = ReadWorkRecords<TakeoffRecord>(folder, TakeoffFile(n)); !takeoffs.empty())
      rest.Takeoffs[n] = std::move(takeoffs);
    if (auto sortLines = ReadSortFile(folder, n); !sortLines.empty()) rest.SortLines[n] = std::move(sortLines);
  }
  StepOrCancel(progress, steps, steps);
  return rest;
}

}  // namespace

std::string ContainerText(const std::string& folderPath, bool singleItem, int32_t itemNumber, Progress& progress) {
  // Item by item from the files, so that only one sheet is held at a time.
  const WorkFolder folder{folderPath};
  HeadImage head = ReadHeadFile(folder);
  const int32_t count = static_cast<int32_t>(head.Items.size());
  std::string out = ContainerHead(head.Title, head.Items, singleItem, itemNumber);
  const int64_t steps = 2 * int64_t{count};
  for (int32_t n = 1; n <= count; ++n) {
    StepOrCancel(progress, n - 1, steps);
    if (singleItem && n != itemNumber) continue;
    const ItemRecord& item = head.Items[n - 1];
    if (ItemHasSheet(item.ItemKind)) AppendDataLines(out, n, item, ReadWorkRecords<LineRecord>(folder, SheetFile(n, "WRK")));
  }
  return out + ContainerTail(TakeoffAndSortFiles(folder, count, progress, steps), count);
}

std::string ContainerText(const std::string& folderPath, const Document& doc) {
  const WorkFolder folder{folderPath};
  std::span<const ItemRecord> items(doc.ItemList.data() + 1, doc.ItemList.size() - 1);
  const int32_t count = static_cast<int32_t>(items.size());
  std::string out = ContainerHead(doc.Title, items, false, 0);
  for (int32_t n = 1; n <= count; ++n) {
    const ItemRecord& item = items[n - 1];
    if (!ItemHasSheet(item.ItemKind)) continue;
    if (n == doc.CurrentItem && !doc.LineList.empty())
      AppendDataLines(out, n, item, std::span<const LineRecord>(doc.LineList).subspan(1));
    else
      AppendDataLines(out, n, item, ReadWorkRecords<LineRecord>(folder, SheetFile(n, "WRK")));
  }
  return out + ContainerTail(TakeoffAndSortFiles(folder, count, NoProgress(), 2 * int64_t{count}), count);
}

void WriteContainerText(const std::string& path, std::span<const std::string_view> pieces, OutputRules rules) {
  rules.Sync = true;
  std::string error;
  if (!WriteOutput(path, pieces, &error, rules)) throw FileError(error);
}

void WriteContainer(const std::string& folder, const Document& doc, const std::string& path) {
  OutputPlace place;
  if (std::string error; !PlaceOutput(path, {}, &place, &error)) throw FileError(error);
  std::string text = ContainerText(folder, doc);
  std::string_view piece = text;
  WriteContainerText(path, {&piece, 1});
}

void WriteContainer(const std::string& folder, const std::string& path, bool singleItem, int32_t itemNumber,
                    Progress& progress) {
  // The target is checked before the work files are read, as a save has always done.
  OutputPlace place;
  if (std::string error; !PlaceOutput(path, {}, &place, &error)) throw FileError(error);
  std::string text = ContainerText(folder, singleItem, itemNumber, progress);
  std::string_view piece = text;
  WriteContainerText(path, {&piece, 1});
}

}  // namespace zantro
