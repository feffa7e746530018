// The command strings companions send the window, each as a small struct: Encode writes the
// field layout, Decode reads it and converts every field before the caller stores anything,
// so a number that is not a number refuses the whole message (ConversionError naming the
// field). Texts stay Shift-JIS bytes, as records hold them.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "general/money.h"
#include "general/records.h"
#include "messages/fields.h"

namespace zantro {

// The control strings the window sends to a companion.
inline constexpr std::string_view kCloseText = "WM_CLOSE;";
inline constexpr std::string_view kRestoreText = "WM_Restore;";

// The 23 commands, in the order the window tests their names.
enum class Command {
  DataDisp, Plan, DataWrite, DataWriteDisp, MultiWrite, CalcData, FileSelect, Title, Keito,
  UndoWrite, AutoUp, Close, SaveComp, Initialize, SaveRecord, UndoRecord, FileAdd, KeihiWrite,
  ItemUndoSave, AutoDown, ItemNote, ItemDataDisp, ItemPlan,
};
inline constexpr int kCommandCount = 23;

std::string_view CommandName(Command c);
// The command of a text by its first field (exact, case-sensitive); nullopt for a name the
// window does not know, which it ignores.
std::optional<Command> CommandOf(std::string_view text);
// A command without fields: its name and ";" ("WM_DATADISP;").
std::string EncodeBare(Command c);

// WM_PLAN: the open sheet's five calculation settings (fields 2-6, no empty-text rule).
struct PlanMessage {
  CalcSettings Settings;
  std::string Encode() const;
  static PlanMessage Decode(std::string_view text);
};

// WM_DATAWRITE, WM_DATAWRITE_DISP, WM_MULTIWRITE, WM_CALCDATA: one detail line (fields 2-21).
struct DetailLineMessage {
  Command Kind = Command::DataWrite;
  std::string Name, Spec, Unit;                      // fields 2, 3, 4
  Money CostPrice, SubPrice;                         // 5, 6
  Money CostExtraPrice, SubExtraPrice;               // 7, 8
  Money CostQty, SubQty;                             // 9, 10
  Money CostAmount, SubAmount;                       // 11, 12: taken when a line is overwritten
  int32_t FLAG = 0;                                  // 13, the line kind
  Money sort;                                        // 14
  std::string Remarks;                               // 15
  int32_t RefA = 0;                                  // 16
  Money LabourFactor;                                // 17
  int32_t ItemNo = 0;                                // 18
  int32_t RefB = 0;                                  // 19
  Money SecondRoundMode;                             // 20
  std::string AmountText;                            // 21

  std::string Encode() const;
  // Refuses (MessageError) a text whose first field is not one of the four commands.
  static DetailLineMessage Decode(std::string_view text);
  // The fields of an existing line, name and specification split at the first ";".
  static DetailLineMessage FromLine(const LineRecord& line, Command kind);
  // Writes the fields into line, texts cut to their field. withAmounts takes fields 11 and 12
  // (a line overwritten in place); otherwise the amounts become 0. SpareMoney becomes 0.
  void FillLine(LineRecord& line, bool withAmounts) const;
};

// WM_FILESELECT and WM_SAVECOMP: a document path (field 2). Without a second field the
// path is the last terminated field, as the window's field reader gives it.
struct PathMessage {
  Command Kind = Command::FileSelect;
  std::string Path;
  std::string Encode() const;
  static PathMessage Decode(std::string_view text);
};

// WM_KEITO: the breakdown name chosen from the list (field 2).
struct KeitoMessage {
  std::string Name;
  std::string Encode() const;
  static KeitoMessage Decode(std::string_view text);
};

// WM_FILEADD: item k (field 3) of the document at Path (field 2) is taken over.
struct FileAddMessage {
  std::string Path;
  int32_t ItemNumber = 0;
  std::string Encode() const;
  static FileAddMessage Decode(std::string_view text);
};

// WM_KEIHIWRITE: an overhead item of the breakdown list (fields 2-10).
struct KeihiWriteMessage {
  int32_t Kind = 81;          // 81..84; any other kind refuses the message
  std::string Name, Remarks;  // 3, 4
  Money SubAmount, CostAmount, CostRate, SubRate, RoundMode, Opt3Unit;  // 5..10
  std::string Encode() const;
  static KeihiWriteMessage Decode(std::string_view text);
};

// WM_ITEMNOTE: a note row of the breakdown list, sent in the detail-line layout; only the
// name (field 2), the kind of the source line (13) and the note (21) are read.
struct ItemNoteMessage {
  std::string Name;
  int32_t Flag = 0;
  std::string Note;
  std::string Encode() const;
  static ItemNoteMessage Decode(std::string_view text);
};

// WM_ITEMPLAN: the title's [CUTLEVEL] (field 2, money) and [KETA] (field 3, strict integer).
struct ItemPlanMessage {
  Money CutLevel;
  int32_t Keta = 0;
  std::string Encode() const;
  static ItemPlanMessage Decode(std::string_view text);
};

}  // namespace zantro
