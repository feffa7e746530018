// The launch argument strings the window starts its companions with, each as a struct the
// window's launcher builds and the companion program decodes. A companion "x.exe" of the
// documents is the program "x" in the program folder; the argument string is its one argument.
// Texts are Shift-JIS bytes; Encode refuses a text field holding ";" (MessageError).
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "general/money.h"
#include "messages/fields.h"

namespace zantro {

using GroupNames = std::array<std::string, 6>;  // price groups A..F
using LevelNames = std::array<std::string, 5>;  // the entries of Level_box

// pickdata_dlg (TfPICKDATA_Dlg): "0;0;" + list file + ";" + reply command + ";". The list file
// is note.dat or KEITO.DAT of the program folder, named by its full path (Shift-JIS, as every
// text of an argument string), so the companion opens it wherever it was started.
struct PickDataLaunch {
  std::string ListFile;
  std::string ReplyCommand;
  std::string Encode() const;
  static PickDataLaunch Decode(std::string_view args);
  static PickDataLaunch Notes(std::string_view folder) { return {std::string(folder) + "/note.dat", "WM_DATAWRITE"}; }
  static PickDataLaunch BreakdownNames(std::string_view folder) {
    return {std::string(folder) + "/KEITO.DAT", "WM_KEITO"};
  }
  static PickDataLaunch ItemNotes(std::string_view folder) { return {std::string(folder) + "/note.dat", "WM_ITEMNOTE"}; }
};

// scheme_dlg (TFScheme_Dlg). Sheet: ";" + the five settings, each followed by ";" (empty first
// field; the reply is WM_PLAN). Breakdown list: "1;" + the five settings + [CUTLEVEL] + ";" +
// [KETA] + ";" (the reply is WM_ITEMPLAN).
struct SchemeLaunch {
  bool Breakdown = false;
  CalcSettings Settings;
  Money CutLevel;       // breakdown list only
  int32_t Keta = 0;     // breakdown list only
  std::string Encode() const;
  static SchemeLaunch Decode(std::string_view args);
};

// cover_dlg (TFCover_Dlg): "0;" + edition + ";" + [Title_Dir] + ";".
struct CoverLaunch {
  int Edition = 1;
  std::string TitleDir;
  std::string Encode() const;
  static CoverLaunch Decode(std::string_view args);
};

// rowedit_dlg (TFRowedit_Dlg): CurrentItem + ";" + the text of grid cell (0, top row) + ";" +
// the six group names, each followed by ";".
struct RowEditLaunch {
  int32_t Item = 0;
  std::string Row;      // the line number as the grid shows it
  GroupNames Groups;
  std::string Encode() const;
  static RowEditLaunch Decode(std::string_view args);
};

// docsave_dlg (Tfdocsave_Dlg): the document-name box + ";" + mode + ";" (0 save, 1 save when
// the window closes).
struct DocSaveLaunch {
  std::string DocumentName;
  int Mode = 0;
  std::string Encode() const;
  static DocSaveLaunch Decode(std::string_view args);
};

// docpick_dlg (Tfdocpick_Dlg): "0;" + edition + ";" + the class to answer + ";".
struct DocPickLaunch {
  int Edition = 1;
  std::string ReplyClass = "TFZANTRO";
  std::string Encode() const;
  static DocPickLaunch Decode(std::string_view args);
};

// setup_dlg ("0;"), overhead_dlg and docfetch_dlg ("1;"): that first field + edition + ";".
struct EditionLaunch {
  int First = 0;
  int Edition = 1;
  std::string Encode() const;
  static EditionLaunch Decode(std::string_view args);
  static EditionLaunch Setup(int edition) { return {0, edition}; }
  static EditionLaunch Overhead(int edition) { return {1, edition}; }
  static EditionLaunch DocFetch(int edition) { return {1, edition}; }
};

// The price pickers: folder + ";" + library + ";" + level number (1-5) + ";" + caption + ";" +
// group names (CODE and tree prices, not sequence prices) + level names.
struct PricePickLaunch {
  std::string Folder;
  int Library = 1;
  int Level = 1;
  std::string Caption;
  std::optional<GroupNames> Groups;
  LevelNames Levels;
  std::string Encode() const;
  static PricePickLaunch Decode(std::string_view args, bool withGroups);
};

// calcprice_dlg (Tfcalcprice_Dlg): folder word ("Calc_Dir", empty for the normal prices of
// tag 4) + ";" + mode + ";" + top + ";" + bottom + ";" + group names [+ group tag + ";"].
struct CalcPriceLaunch {
  std::string Folder = "Calc_Dir";
  int Mode = 1;
  int Top = 0, Bottom = 0;
  GroupNames Groups;
  std::optional<int> GroupTag;
  std::string Encode() const;
  static CalcPriceLaunch Decode(std::string_view args);
  // The launch of a menu item by its tag: 1-3 and 51-56 are the mode itself, 61-66 mode 2 and
  // 71-76 mode 3 with the tag as a last field, 4 the normal prices without folder word.
  static CalcPriceLaunch ForTag(int tag, int top, int bottom, const GroupNames& groups);
};

// pipemat_dlg (TFPIPEMAT): "0;" + level index + ";0;;" + ";2;" + pipe network folder + ";".
struct PipeMaterialLaunch {
  int LevelIndex = 0;
  std::string NetworkFolder;
  std::string Encode() const;
  static PipeMaterialLaunch Decode(std::string_view args);
};

// pipefit_dlg (TH_PIPEFIT): "0;" + fitting number + ";" + level index + ";0;;" + folder + ";".
struct PipeFittingLaunch {
  int Fitting = 1;
  int LevelIndex = 0;
  std::string NetworkFolder;
  std::string Encode() const;
  static PipeFittingLaunch Decode(std::string_view args);
};

// The duct dialogs: "0;" + level index + ";0;;" + variant (1, or 2 for duct fittings 2) + ";"
// + duct network folder (empty from the menu item of duct fittings 2) + ";".
struct DuctLaunch {
  int LevelIndex = 0;
  int Variant = 1;
  std::string NetworkFolder;
  std::string Encode() const;
  static DuctLaunch Decode(std::string_view args);
};

// codestore, seqstore, treestore: library file + ";" + library + ";" + caption + ";", then for
// CODE and sequence prices the level names each followed by ";" and one more ";".
struct LibraryEditorLaunch {
  std::string LibraryFile;
  int Library = 1;
  std::string Caption;
  std::optional<LevelNames> Levels;
  std::string Encode() const;
  static LibraryEditorLaunch Decode(std::string_view args, bool withLevels);
};

// prnview: [GENGAKU] + ";" + style folder + ";" (printing the whole list passes no argument).
struct PrintViewerLaunch {
  std::string Option;
  std::string StyleFolder;
  std::string Encode() const;
  static PrintViewerLaunch Decode(std::string_view args);
};

// takeoff: CurrentItem + ";" + breakdown name + ";" + mode + ";" (1 duct, 2 pipe, 3 toolbar).
struct TakeoffLaunch {
  int32_t Item = 0;
  std::string BreakdownName;
  int Mode = 3;
  std::string Encode() const;
  static TakeoffLaunch Decode(std::string_view args);
};

// TAKESUM: the bare item number, no ";".
struct TakeoffSumLaunch {
  int32_t Item = 0;
  std::string Encode() const { return std::to_string(Item); }
  static TakeoffSumLaunch Decode(std::string_view args);
};

}  // namespace zantro
