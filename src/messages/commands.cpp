#include "messages/commands.h"

namespace zantro {
namespace {

constexpr std::array<std::string_view, kCommandCount> kNames = {
    "WM_DATADISP", "WM_PLAN",       "WM_DATAWRITE",  "WM_DATAWRITE_DISP", "WM_MULTIWRITE",     "WM_CALCDATA",
    "WM_FILESELECT", "WM_TITLE",    "WM_KEITO",      "WM_UNDOWRITE",      "WM_AUTOUP",         "WM_CLOSE",
    "WM_SAVECOMP", "WM_INITIALIZE", "WM_SAVERECORD", "WM_UNDORECORD",     "WM_FILEADD",        "WM_KEIHIWRITE",
    "WM_ITEM_UNDO_SAVE", "WM_AUTODOWN", "WM_ITEMNOTE", "WM_ITEM_DATADISP", "WM_ITEMPLAN"};

FieldWriter Start(Command c) {
  FieldWriter w;
  w.Text(CommandName(c), "command");
  return w;
}

bool IsDetailLine(Command c) {
  return c == Command::DataWrite || c == Command::DataWriteDisp || c == Command::MultiWrite || c == Command::CalcData;
}

}  // namespace

std::string_view CommandName(Command c) { return kNames[static_cast<size_t>(c)]; }

std::optional<Command> CommandOf(std::string_view text) {
  std::string name = FieldOf(text, 1);
  for (size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i] == name) return static_cast<Command>(i);
  return std::nullopt;
}

std::string EncodeBare(Command c) { return Start(c).str(); }

std::string PlanMessage::Encode() const {
  const CalcSettings& s = Settings;
  return Start(Command::Plan)
      .Number(s.LineRoundAddend).Number(s.Opt4RoundAddend).Number(s.QuantityScale).Number(s.Opt3Unit)
      .Number(s.Opt6RoundAddend).str();
}

PlanMessage PlanMessage::Decode(std::string_view text) {
  FieldReader f(text);
  PlanMessage m;
  m.Settings = CalcSettings{f.StrictMoney(2), f.StrictMoney(3), f.StrictMoney(4), f.StrictMoney(5), f.StrictMoney(6)};
  return m;
}

std::string DetailLineMessage::Encode() const {
  if (!IsDetailLine(Kind)) throw MessageError("not a detail-line command: " + std::string(CommandName(Kind)));
  return Start(Kind)
      .Text(Name, "名称").Text(Spec, "規格").Text(Unit, "単位")
      .Number(CostPrice).Number(SubPrice).Number(CostExtraPrice).Number(SubExtraPrice)
      .Number(CostQty).Number(SubQty).Number(CostAmount).Number(SubAmount)
      .Number(FLAG).Number(sort).Text(Remarks, "備考").Number(RefA).Number(LabourFactor)
      .Number(ItemNo).Number(RefB).Number(SecondRoundMode).Text(AmountText, "金額欄文字").str();
}

DetailLineMessage DetailLineMessage::Decode(std::string_view text) {
  auto kind = CommandOf(text);
  if (!kind || !IsDetailLine(*kind)) throw MessageError("not a detail-line command: " + FieldOf(text, 1));
  FieldReader f(text);
  DetailLineMessage m;
  m.Kind = *kind;
  m.Name = f.Text(2), m.Spec = f.Text(3), m.Unit = f.Text(4);
  m.CostPrice = f.MoneyField(5), m.SubPrice = f.MoneyField(6);
  m.CostExtraPrice = f.MoneyField(7), m.SubExtraPrice = f.MoneyField(8);
  m.CostQty = f.MoneyField(9), m.SubQty = f.MoneyField(10);
  m.CostAmount = f.MoneyField(11), m.SubAmount = f.MoneyField(12);
  m.FLAG = f.Integer(13);
  m.sort = f.MoneyField(14);
  m.Remarks = f.Text(15);
  m.RefA = f.Integer(16);
  m.LabourFactor = f.MoneyField(17);
  m.ItemNo = f.Integer(18);
  m.RefB = f.Integer(19);
  m.SecondRoundMode = f.MoneyField(20);
  m.AmountText = f.Text(21);
  return m;
}

DetailLineMessage DetailLineMessage::FromLine(const LineRecord& line, Command kind) {
  DetailLineMessage m;
  m.Kind = kind;
  std::string_view nameSpec = line.NameSpec.view();
  size_t semi = nameSpec.find(';');
  m.Name = std::string(nameSpec.substr(0, semi));
  m.Spec = semi == std::string_view::npos ? std::string() : std::string(nameSpec.substr(semi + 1));
  m.Unit = line.Unit.str();
  m.CostPrice = line.CostPrice, m.SubPrice = line.SubPrice;
  m.CostExtraPrice = line.CostExtraPrice, m.SubExtraPrice = line.SubExtraPrice;
  m.CostQty = line.CostQty, m.SubQty = line.SubQty;
  m.CostAmount = line.CostAmount, m.SubAmount = line.SubAmount;
  m.FLAG = line.FLAG, m.sort = line.sort, m.Remarks = line.Remarks.str();
  m.RefA = line.RefA, m.LabourFactor = line.LabourFactor, m.ItemNo = line.ItemNo, m.RefB = line.RefB;
  m.SecondRoundMode = line.SecondRoundMode, m.AmountText = line.AmountText.str();
  return m;
}

void DetailLineMessage::FillLine(LineRecord& line, bool withAmounts) const {
  line.NameSpec.set(Name + ";" + Spec);
  line.Unit.set(Unit);
  line.CostPrice = CostPrice, line.SubPrice = SubPrice;
  line.CostExtraPrice = CostExtraPrice, line.SubExtraPrice = SubExtraPrice;
  line.CostQty = CostQty, line.SubQty = SubQty;
  line.CostAmount = withAmounts ? CostAmount : kZero;
  line.SubAmount = withAmounts ? SubAmount : kZero;
  line.FLAG = FLAG, line.sort = sort;
  line.Remarks.set(Remarks);
  line.RefA = RefA, line.LabourFactor = LabourFactor, line.ItemNo = ItemNo, line.RefB = RefB;
  line.SecondRoundMode = SecondRoundMode;
  line.AmountText.set(AmountText);
  line.SpareMoney = kZero;
}

std::string PathMessage::Encode() const { return Start(Kind).Text(Path, "ファイル名").str(); }

PathMessage PathMessage::Decode(std::string_view text) {
  auto kind = CommandOf(text);
  if (kind != Command::FileSelect && kind != Command::SaveComp)
    throw MessageError("not a path command: " + FieldOf(text, 1));
  return PathMessage{*kind, FieldOf(text, 2)};
}

std::string KeitoMessage::Encode() const { return Start(Command::Keito).Text(Name, "内訳名").str(); }
KeitoMessage KeitoMessage::Decode(std::string_view text) { return KeitoMessage{FieldOf(text, 2)}; }

std::string FileAddMessage::Encode() const {
  return Start(Command::FileAdd).Text(Path, "ファイル名").Number(ItemNumber).str();
}

FileAddMessage FileAddMessage::Decode(std::string_view text) {
  FieldReader f(text);
  return FileAddMessage{f.Text(2), f.Integer(3)};
}

std::string KeihiWriteMessage::Encode() const {
  return Start(Command::KeihiWrite)
      .Number(Kind).Text(Name, "名称").Text(Remarks, "備考")
      .Number(SubAmount).Number(CostAmount).Number(CostRate).Number(SubRate).Number(RoundMode).Number(Opt3Unit)
      .str();
}

KeihiWriteMessage KeihiWriteMessage::Decode(std::string_view text) {
  FieldReader f(text);
  KeihiWriteMessage m;
  Money kind = f.MoneyField(2);
  // Only the four overhead kinds may be written: another kind would turn the row into
  // something the breakdown list cannot total.
  if (kind < Money::Units(81) || kind > Money::Units(84) || kind.raw % Money::kScale != 0)
    throw ConversionError("WM_KEIHIWRITE field 2: '" + f.Text(2) + "' is not an overhead kind (81-84)");
  m.Kind = static_cast<int32_t>(kind.raw / Money::kScale);
  m.Name = f.Text(3), m.Remarks = f.Text(4);
  m.SubAmount = f.MoneyField(5), m.CostAmount = f.MoneyField(6);
  m.CostRate = f.MoneyField(7), m.SubRate = f.MoneyField(8);
  m.RoundMode = f.MoneyField(9), m.Opt3Unit = f.MoneyField(10);
  return m;
}

std::string ItemNoteMessage::Encode() const {
  DetailLineMessage line;
  line.Name = Name, line.FLAG = Flag, line.AmountText = Note;
  std::string text = line.Encode();
  return std::string(CommandName(Command::ItemNote)) + text.substr(text.find(';'));
}

ItemNoteMessage ItemNoteMessage::Decode(std::string_view text) {
  FieldReader f(text);
  return ItemNoteMessage{f.Text(2), f.Integer(13), f.Text(21)};
}

std::string ItemPlanMessage::Encode() const { return Start(Command::ItemPlan).Number(CutLevel).Number(Keta).str(); }

ItemPlanMessage ItemPlanMessage::Decode(std::string_view text) {
  FieldReader f(text);
  return ItemPlanMessage{f.StrictMoney(2), f.StrictInteger(3)};
}

}  // namespace zantro
