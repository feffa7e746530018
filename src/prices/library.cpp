#include "prices/library.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/files.h"
#include "prices/csvtext.h"

namespace zantro {
namespace {

enum class Col {
  Category1, Category2, SetName, Ratio, Code, Name, Spec, Unit, Labour, Cost,
  Price1, Price2, Price3, Price4, Price5, CostExtra, Extra1, Extra2, Extra3, Extra4, Extra5, Group, Remarks,
};

struct ColumnDef {
  Col Id;
  const char* Caption;  // UTF-8
};

constexpr ColumnDef kCommon[] = {
    {Col::Code, "コード"},         {Col::Name, "名称"},          {Col::Spec, "仕様"},
    {Col::Unit, "単位"},           {Col::Labour, "歩掛"},        {Col::Cost, "原価単価"},
    {Col::Price1, "単価1"},        {Col::Price2, "単価2"},       {Col::Price3, "単価3"},
    {Col::Price4, "単価4"},        {Col::Price5, "単価5"},       {Col::CostExtra, "原価付帯単価"},
    {Col::Extra1, "付帯単価1"},    {Col::Extra2, "付帯単価2"},   {Col::Extra3, "付帯単価3"},
    {Col::Extra4, "付帯単価4"},    {Col::Extra5, "付帯単価5"},   {Col::Group, "グループ"},
    {Col::Remarks, "備考"},
};
constexpr ColumnDef kTreeFront[] = {{Col::Category1, "大分類"}, {Col::Category2, "中分類"}};
constexpr ColumnDef kSequenceFront[] = {{Col::SetName, "セット名"}, {Col::Ratio, "比率"}};

std::vector<ColumnDef> MakeColumns(PriceFamily f) {
  std::vector<ColumnDef> cols;
  if (f == PriceFamily::Tree) cols.assign(std::begin(kTreeFront), std::end(kTreeFront));
  if (f == PriceFamily::Sequence) cols.assign(std::begin(kSequenceFront), std::end(kSequenceFront));
  cols.insert(cols.end(), std::begin(kCommon), std::end(kCommon));
  return cols;
}

const std::vector<ColumnDef>& ColumnsOf(PriceFamily f) {
  static const std::vector<ColumnDef> code = MakeColumns(PriceFamily::Code), sequence = MakeColumns(PriceFamily::Sequence),
                                      tree = MakeColumns(PriceFamily::Tree);
  return f == PriceFamily::Code ? code : f == PriceFamily::Sequence ? sequence : tree;
}

Money* MoneyField(PriceEntry& e, Col c) {
  switch (c) {
    case Col::Ratio: return &e.Ratio;
    case Col::Labour: return &e.LabourFactor;
    case Col::Cost: return &e.CostPrice;
    case Col::Price1: case Col::Price2: case Col::Price3: case Col::Price4: case Col::Price5:
      return &e.Prices[static_cast<int>(c) - static_cast<int>(Col::Price1)];
    case Col::CostExtra: return &e.CostExtra;
    case Col::Extra1: case Col::Extra2: case Col::Extra3: case Col::Extra4: case Col::Extra5:
      return &e.Extras[static_cast<int>(c) - static_cast<int>(Col::Extra1)];
    default: return nullptr;
  }
}

std::string* TextField(PriceEntry& e, Col c) {
  switch (c) {
    case Col::Category1: return &e.Category1;
    case Col::Category2: return &e.Category2;
    case Col::SetName: return &e.SetName;
    case Col::Code: return &e.Code;
    case Col::Name: return &e.Name;
    case Col::Spec: return &e.Spec;
    case Col::Unit: return &e.Unit;
    case Col::Remarks: return &e.Remarks;
    default: return nullptr;
  }
}

std::string Trimmed(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// Why a library number is refused, or empty. Empty text is 0, as in every number field of
// the program; the ratio of a set member is 1 when left empty.
std::string ReadNumber(std::string_view text, Col c, Money& out) {
  std::string t = Trimmed(text);
  if (t.empty()) {
    out = c == Col::Ratio ? kOne : kZero;
    return {};
  }
  if (ParsePlainCurrency(t, out)) return {};
  try {
    out = StrToCurr(t);
  } catch (const std::exception&) {
    return "数値ではありません: " + QuoteText(t);
  }
  return {};
}

std::string ReadGroup(std::string_view text, int& out) {
  std::string t = Trimmed(text);
  if (t.empty()) {
    out = 0;
    return {};
  }
  if (t.size() == 1) {
    char c = static_cast<char>(t[0] & ~0x20);
    if (c >= 'A' && c <= 'F') {
      out = c - 'A';
      return {};
    }
  }
  return "グループはAからFのいずれかです: " + QuoteText(t);
}

// A fault of the texts as the window would store them, or empty.
std::string TextFault(const PriceEntry& e, Col c) {
  const std::string* t = TextField(const_cast<PriceEntry&>(e), c);
  if (t->find(';') != std::string::npos) return "「;」は使えません（送信の区切りです）";
  if (t->find_first_of("\r\n") != std::string::npos) return "改行は使えません";
  switch (c) {
    case Col::Name:
      if (Trimmed(e.Name).empty()) return "名称がありません";
      if (e.Name.size() + 1 + e.Spec.size() > kNameSpecBytes) return "名称と仕様で99バイトを超えています";
      break;
    case Col::Spec:
      if (e.Name.size() + 1 + e.Spec.size() > kNameSpecBytes) return "名称と仕様で99バイトを超えています";
      break;
    case Col::Unit:
      if (t->size() > kUnitBytes) return "単位は4バイト（全角2文字）以内です";
      break;
    case Col::Remarks:
      if (t->size() > kRemarksBytes) return "備考は40バイト（全角20文字）以内です";
      break;
    case Col::Category1:
      if (Trimmed(*t).empty()) return "大分類がありません";
      break;
    case Col::SetName:
      if (Trimmed(*t).empty()) return "セット名がありません";
      break;
    default:
      break;
  }
  return {};
}

bool BlankRecord(const CsvRecord& r) {
  for (const auto& f : r.Fields)
    if (f.find_first_not_of(' ') != std::string::npos) return false;
  return true;
}

std::string CaptionSjis(const ColumnDef& d) { return ToCp932(d.Caption); }

}  // namespace

std::string LibraryFileName(PriceFamily f, int n) {
  const char* stem = f == PriceFamily::Code ? "codedata" : f == PriceFamily::Sequence ? "multidata" : "treedata";
  return stem + std::to_string(n) + ".dat";
}

std::vector<std::string> LibraryColumns(PriceFamily f) {
  std::vector<std::string> out;
  for (const auto& d : ColumnsOf(f)) out.emplace_back(d.Caption);
  return out;
}

LibraryError::LibraryError(std::string file, int line, int column, std::string columnName, std::string why)
    : FileError(file + ": " + std::to_string(line) + "行目" +
                (column > 0 ? " " + std::to_string(column) + "列目（" + columnName + "）" : std::string()) + ": " + why),
      File(std::move(file)),
      Line(line),
      Column(column),
      ColumnName(std::move(columnName)),
      Why(std::move(why)) {}

char GroupLetterOf(int group) { return static_cast<char>('A' + std::clamp(group, 0, 5)); }

EntryFault CheckEntry(const PriceEntry& e, PriceFamily f) {
  const auto& cols = ColumnsOf(f);
  for (size_t i = 0; i < cols.size(); ++i) {
    if (!TextField(const_cast<PriceEntry&>(e), cols[i].Id)) continue;
    std::string why = TextFault(e, cols[i].Id);
    if (!why.empty()) return {static_cast<int>(i + 1), why};
  }
  if (f == PriceFamily::Sequence && e.Ratio <= kZero) return {2, "比率は0より大きい数です"};
  return {};
}

PriceLibrary ParseLibrary(std::string_view bytes, PriceFamily f, const std::string& fileName) {
  PriceLibrary lib;
  lib.Family = f;
  const auto& cols = ColumnsOf(f);
  lib.Entries.reserve(static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
  CsvReader reader(bytes);
  CsvRecord rec;
  bool header = false;
  auto fail = [&](int line, int col, std::string why) -> LibraryError {
    return LibraryError(fileName, line, col, col > 0 ? cols[col - 1].Caption : "", std::move(why));
  };
  while (reader.Next(rec)) {
    // A quote left open swallows the rest of the file into one field: that is the fault to
    // name, not whatever the swallowed text breaks.
    if (reader.UnclosedQuote())
      throw LibraryError(fileName, rec.Line, static_cast<int>(rec.Fields.size()),
                         rec.Fields.size() <= cols.size() ? cols[rec.Fields.size() - 1].Caption : "",
                         "引用符「\"」が閉じられていません");
    if (!header) {
      if (BlankRecord(rec)) continue;
      if (!rec.Fields[0].empty() && rec.Fields[0][0] == '#') {
        // A note: the whole line as the spreadsheet kept it, without the "#".
        std::string note = rec.Fields[0].substr(1);
        for (size_t i = 1; i < rec.Fields.size(); ++i)
          if (!rec.Fields[i].empty()) note += "," + rec.Fields[i];
        lib.Notes.push_back(note);
        continue;
      }
      for (size_t i = 0; i < cols.size(); ++i) {
        std::string got = i < rec.Fields.size() ? Trimmed(rec.Fields[i]) : std::string();
        if (got != CaptionSjis(cols[i]))
          throw fail(rec.Line, static_cast<int>(i + 1), "見出しは「" + std::string(cols[i].Caption) + "」のはずです: " + QuoteText(got));
      }
      if (rec.Fields.size() > cols.size())
        throw LibraryError(fileName, rec.Line, static_cast<int>(cols.size() + 1), "", "見出しの列が多すぎます");
      header = true;
      continue;
    }
    if (BlankRecord(rec)) continue;
    if (rec.Fields.size() > cols.size())
      throw LibraryError(fileName, rec.Line, static_cast<int>(cols.size() + 1), "",
                         "列が多すぎます（" + std::to_string(cols.size()) + "列まで）");
    PriceEntry e;
    // Spreadsheets drop the empty fields at the end of a line: they read as empty.
    for (size_t i = 0; i < cols.size(); ++i) {
      std::string_view text = i < rec.Fields.size() ? std::string_view(rec.Fields[i]) : std::string_view();
      Col c = cols[i].Id;
      std::string why;
      if (Money* m = MoneyField(e, c)) {
        why = ReadNumber(text, c, *m);
      } else if (c == Col::Group) {
        why = ReadGroup(text, e.Group);
      } else {
        // Codes, units and categories are compared and looked up: blanks around them are noise.
        *TextField(e, c) = c == Col::Name || c == Col::Spec || c == Col::Remarks ? std::string(text) : Trimmed(text);
      }
      if (!why.empty()) throw fail(rec.Line, static_cast<int>(i + 1), why);
    }
    EntryFault fault = CheckEntry(e, f);
    if (fault.Column) throw fail(rec.Line, fault.Column, fault.Why);
    lib.Entries.push_back(std::move(e));
  }
  if (!header) throw LibraryError(fileName, 1, 0, "", "見出し行がありません");
  return lib;
}

PriceLibrary ReadLibrary(const std::string& path, PriceFamily f) {
  std::string error;
  auto bytes = ReadFileBytes(path, &error, kMaxDocumentBytes);
  if (!bytes) throw FileError(path + ": " + error);
  return ParseLibrary(*bytes, f, path);
}

std::string EncodeLibrary(const PriceLibrary& lib) {
  const auto& cols = ColumnsOf(lib.Family);
  std::string out;
  out.reserve(64 + lib.Entries.size() * 120);
  for (const auto& note : lib.Notes) {
    AppendCsvField(out, "#" + note);
    out += "\r\n";
  }
  std::vector<std::string> fields;
  for (const auto& d : cols) fields.push_back(CaptionSjis(d));
  AppendCsvRecord(out, fields);
  char buf[kPlainTextMax];
  for (const PriceEntry& entry : lib.Entries) {
    PriceEntry& e = const_cast<PriceEntry&>(entry);
    for (size_t i = 0; i < cols.size(); ++i) {
      if (i) out += ',';
      Col c = cols[i].Id;
      if (Money* m = MoneyField(e, c)) {
        out.append(buf, PlainTextAt(*m, buf));
      } else if (c == Col::Group) {
        out += GroupLetterOf(e.Group);
      } else {
        AppendCsvField(out, *TextField(e, c));
      }
    }
    out += "\r\n";
  }
  return out;
}

std::vector<std::string> EntryFields(const PriceEntry& entry, PriceFamily f) {
  PriceEntry& e = const_cast<PriceEntry&>(entry);
  std::vector<std::string> out;
  for (const auto& d : ColumnsOf(f)) {
    if (Money* m = MoneyField(e, d.Id)) out.push_back(MoneyToPlainText(*m));
    else if (d.Id == Col::Group) out.push_back(std::string(1, GroupLetterOf(e.Group)));
    else out.push_back(*TextField(e, d.Id));
  }
  return out;
}

void WriteLibrary(const std::string& path, const PriceLibrary& lib) {
  std::string error;
  if (!WriteFileAtomic(path, EncodeLibrary(lib), &error, true)) throw FileError(path + ": " + error);
}

}  // namespace zantro
