#include "messages/launches.h"

namespace zantro {
namespace {

template <size_t N>
std::array<std::string, N> TextsFrom(const FieldReader& f, int first) {
  std::array<std::string, N> out;
  for (size_t i = 0; i < N; ++i) out[i] = f.Text(first + static_cast<int>(i));
  return out;
}

FieldWriter& WriteSettings(FieldWriter& w, const CalcSettings& s) {
  return w.Number(s.LineRoundAddend).Number(s.Opt4RoundAddend).Number(s.QuantityScale).Number(s.Opt3Unit)
      .Number(s.Opt6RoundAddend);
}

}  // namespace

std::string PickDataLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(int64_t{0}).Text(ListFile, "一覧ファイル").Text(ReplyCommand, "返信").str();
}

PickDataLaunch PickDataLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return PickDataLaunch{f.Text(3), f.Text(4)};
}

std::string SchemeLaunch::Encode() const {
  FieldWriter w;
  w.Text(Breakdown ? "1" : "", "mode");
  WriteSettings(w, Settings);
  if (Breakdown) w.Number(CutLevel).Number(Keta);
  return w.str();
}

SchemeLaunch SchemeLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  SchemeLaunch m;
  m.Breakdown = f.Text(1) == "1";
  m.Settings = CalcSettings{f.MoneyField(2), f.MoneyField(3), f.MoneyField(4), f.MoneyField(5), f.MoneyField(6)};
  if (m.Breakdown) m.CutLevel = f.MoneyField(7), m.Keta = f.Integer(8);
  return m;
}

std::string CoverLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(Edition).Text(TitleDir, "表紙フォルダー").str();
}

CoverLaunch CoverLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return CoverLaunch{f.Integer(2), f.Text(3)};
}

std::string RowEditLaunch::Encode() const {
  return FieldWriter().Number(Item).Text(Row, "行").Texts(Groups, "グループ名").str();
}

RowEditLaunch RowEditLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return RowEditLaunch{f.Integer(1), f.Text(2), TextsFrom<6>(f, 3)};
}

std::string DocSaveLaunch::Encode() const {
  return FieldWriter().Text(DocumentName, "ファイル名").Number(Mode).str();
}

DocSaveLaunch DocSaveLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return DocSaveLaunch{f.Text(1), f.Integer(2)};
}

std::string DocPickLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(Edition).Text(ReplyClass, "クラス名").str();
}

DocPickLaunch DocPickLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return DocPickLaunch{f.Integer(2), f.Text(3)};
}

std::string EditionLaunch::Encode() const { return FieldWriter().Number(First).Number(Edition).str(); }

EditionLaunch EditionLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return EditionLaunch{f.Integer(1), f.Integer(2)};
}

std::string PricePickLaunch::Encode() const {
  FieldWriter w;
  w.Text(Folder, "単価フォルダー").Number(Library).Number(Level).Text(Caption, "見出し");
  if (Groups) w.Texts(*Groups, "グループ名");
  return w.Texts(Levels, "レベル名").str();
}

PricePickLaunch PricePickLaunch::Decode(std::string_view args, bool withGroups) {
  FieldReader f(args);
  PricePickLaunch m{f.Text(1), f.Integer(2), f.Integer(3), f.Text(4), std::nullopt, {}};
  if (withGroups) m.Groups = TextsFrom<6>(f, 5);
  m.Levels = TextsFrom<5>(f, withGroups ? 11 : 5);
  return m;
}

std::string CalcPriceLaunch::Encode() const {
  FieldWriter w;
  w.Text(Folder, "単価フォルダー").Number(Mode).Number(Top).Number(Bottom).Texts(Groups, "グループ名");
  if (GroupTag) w.Number(*GroupTag);
  return w.str();
}

CalcPriceLaunch CalcPriceLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  CalcPriceLaunch m{f.Text(1), f.Integer(2), f.Integer(3), f.Integer(4), TextsFrom<6>(f, 5), std::nullopt};
  if (f.Count() >= 11) m.GroupTag = f.Integer(11);
  return m;
}

CalcPriceLaunch CalcPriceLaunch::ForTag(int tag, int top, int bottom, const GroupNames& groups) {
  CalcPriceLaunch m{"Calc_Dir", tag, top, bottom, groups, std::nullopt};
  if (tag == 4) m.Folder.clear();
  if (tag >= 61 && tag <= 66) m.Mode = 2, m.GroupTag = tag;
  if (tag >= 71 && tag <= 76) m.Mode = 3, m.GroupTag = tag;
  return m;
}

std::string PipeMaterialLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(LevelIndex).Number(int64_t{0}).Text("", "").Text("", "")
      .Number(int64_t{2}).Text(NetworkFolder, "ネットワークフォルダー").str();
}

PipeMaterialLaunch PipeMaterialLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return PipeMaterialLaunch{f.Integer(2), f.Text(7)};
}

std::string PipeFittingLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(Fitting).Number(LevelIndex).Number(int64_t{0}).Text("", "")
      .Text(NetworkFolder, "ネットワークフォルダー").str();
}

PipeFittingLaunch PipeFittingLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return PipeFittingLaunch{f.Integer(2), f.Integer(3), f.Text(6)};
}

std::string DuctLaunch::Encode() const {
  return FieldWriter().Number(int64_t{0}).Number(LevelIndex).Number(int64_t{0}).Text("", "").Number(Variant)
      .Text(NetworkFolder, "ネットワークフォルダー").str();
}

DuctLaunch DuctLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return DuctLaunch{f.Integer(2), f.Integer(5), f.Text(6)};
}

std::string LibraryEditorLaunch::Encode() const {
  FieldWriter w;
  w.Text(LibraryFile, "単価ファイル").Number(Library).Text(Caption, "見出し");
  if (Levels) w.Texts(*Levels, "レベル名").Text("", "");
  return w.str();
}

LibraryEditorLaunch LibraryEditorLaunch::Decode(std::string_view args, bool withLevels) {
  FieldReader f(args);
  LibraryEditorLaunch m{f.Text(1), f.Integer(2), f.Text(3), std::nullopt};
  if (withLevels) m.Levels = TextsFrom<5>(f, 4);
  return m;
}

std::string PrintViewerLaunch::Encode() const {
  return FieldWriter().Text(Option, "[GENGAKU]").Text(StyleFolder, "印刷スタイルフォルダー").str();
}

PrintViewerLaunch PrintViewerLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return PrintViewerLaunch{f.Text(1), f.Text(2)};
}

std::string TakeoffLaunch::Encode() const {
  return FieldWriter().Number(Item).Text(BreakdownName, "内訳名").Number(Mode).str();
}

TakeoffLaunch TakeoffLaunch::Decode(std::string_view args) {
  FieldReader f(args);
  return TakeoffLaunch{f.Integer(1), f.Text(2), f.Integer(3)};
}

TakeoffSumLaunch TakeoffSumLaunch::Decode(std::string_view args) { return TakeoffSumLaunch{StrToIntDef(args, 0)}; }

}  // namespace zantro
