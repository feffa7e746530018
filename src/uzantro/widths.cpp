// Column widths of StrColGrid1: saved by the user per layout, with fallback files installed
// for 1024- and 1280-pixel screens.
#include <QLabel>
#include <QPushButton>

#include "platform/conffile.h"
#include "platform/files.h"
#include "uzantro/fzantro.h"
#include "uzantro/widths.h"

namespace zantro {

std::string WidthFileFor(const std::string& folder, WidthLayout layout, int screenWidth) {
  static const char* saved[] = {"ZNT_display_1.conf", "ZNT_display_2.conf", "ZNT_display_3.conf"};
  static const char* narrow[] = {"ZNT_display_1024_1.conf", "ZNT_display_1024_2.conf", "item_display_1024_3.conf"};
  static const char* wide[] = {"ZNT_display_1280_1.conf", "ZNT_display_1280_2.conf", "item_display_1280_3.conf"};
  int i = static_cast<int>(layout);
  if (auto found = FindNoCase(folder, saved[i]); found && FileExists(*found)) return *found;
  const char* fallback = screenWidth > 1024 ? wide[i] : narrow[i];
  if (auto found = FindNoCase(folder, fallback); found && FileExists(*found)) return *found;
  return {};
}

std::map<int, int> ReadWidthLines(const std::vector<std::string>& lines, int columns) {
  std::map<int, int> widths;
  for (const auto& line : lines) {
    auto [key, value] = SplitConfLine(line);
    for (int c = 0; c < columns; ++c)
      if (key == "[StrColGrid1_Colwidths[" + std::to_string(c) + "]]") {
        int w = ConfInt(value, kFallbackColumnWidth);
        widths[c] = w < 0 || w > kMaxColumnWidth ? kFallbackColumnWidth : w;
      }
  }
  return widths;
}

std::vector<std::string> WidthLines(const std::vector<int>& widths) {
  std::vector<std::string> lines = {"[Version]=2.00"};
  for (size_t c = 0; c < widths.size(); ++c)
    lines.push_back("[StrColGrid1_Colwidths[" + std::to_string(c) + "]]=" + std::to_string(widths[c]));
  return lines;
}

namespace {

void ApplyWidths(TStrColGrid* grid, const std::string& file, int columns) {
  if (file.empty()) return;  // no file: the widths stay as they are
  auto lines = ReadTextLines(file);
  if (!lines) return;
  for (auto [c, w] : ReadWidthLines(*lines, columns))
    if (c < grid->ColCount()) grid->SetColWidths(c, w);
}

}  // namespace

void TFZANTRO::SaveSheetWidths() {
  int columns = doc_.Layout == ColumnLayout::Ten ? 10 : 9;
  std::vector<int> widths;
  for (int c = 0; c < columns; ++c) widths.push_back(grid_->ColWidths(c));
  const char* name = columns == 10 ? "ZNT_display_2.conf" : "ZNT_display_1.conf";
  std::string error;
  if (!WriteTextLines(ResolveNoCase(programFolder_, name), WidthLines(widths), &error))
    return dialogs_->ShowError(QString::fromStdString(error));
  dialogs_->ShowNotice("セル幅の設定を保存しました。");
}

void TFZANTRO::SaveBreakdownWidths() {
  std::vector<int> widths;
  for (int c = 0; c < 8; ++c) widths.push_back(grid_->ColWidths(c));
  std::string error;
  if (!WriteTextLines(ResolveNoCase(programFolder_, "ZNT_display_3.conf"), WidthLines(widths), &error))
    return dialogs_->ShowError(QString::fromStdString(error));
  dialogs_->ShowNotice("セル幅の設定を保存しました。");
}

void TFZANTRO::ApplySheetLayout() {
  for (const char* name : {"GradBtn6", "GradBtn15", "GradBtn17", "GradBtn9", "gbtn01", "gbtn02", "gbtn03", "gbtn04",
                           "gbtn05", "gbtn06", "gbtn07", "GradBtn16", "GradBtn13", "GradBtn14", "netbt", "GradBtn23"})
    Button(name)->setEnabled(true);
  bool ten = doc_.Layout == ColumnLayout::Ten;
  grid_->SetColCount(ten ? 10 : 9);
  WidthLayout layout = ten ? WidthLayout::SheetTen : WidthLayout::SheetNine;
  ApplyWidths(grid_, WidthFileFor(programFolder_, layout, screenSize_.width()), ten ? 10 : 9);
}

void TFZANTRO::ApplyBreakdownWidths() {
  ApplyWidths(grid_, WidthFileFor(programFolder_, WidthLayout::Breakdown, screenSize_.width()), 8);
}

}  // namespace zantro
