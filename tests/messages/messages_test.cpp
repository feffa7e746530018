// Command strings and launch argument strings: exact layouts, conversions, and refusals that
// come before anything could be stored.
#include <gtest/gtest.h>

#include <vector>

#include "messages/commands.h"
#include "messages/launches.h"
#include "platform/cp932.h"

using namespace zantro;

namespace {

Money M(int64_t raw) { return Money::FromRaw(raw); }

const GroupNames kGroups = {"A", "B", "C", "D", "E", "F"};
const LevelNames kLevels = {"L1", "L2", "L3", "L4", "L5"};

}  // namespace

TEST(Commands, NamesAreTestedExactlyInTableOrder) {
  EXPECT_EQ(CommandName(Command::DataDisp), "WM_DATADISP");
  EXPECT_EQ(CommandName(Command::ItemPlan), "WM_ITEMPLAN");
  for (int i = 0; i < kCommandCount; ++i) {
    auto c = static_cast<Command>(i);
    EXPECT_EQ(CommandOf(EncodeBare(c)), c) << CommandName(c);
  }
  EXPECT_EQ(CommandOf("WM_DATAWRITE_DISP;a;"), Command::DataWriteDisp);
  EXPECT_EQ(CommandOf("wm_close;"), std::nullopt);
  EXPECT_EQ(CommandOf("WM_Restore;"), std::nullopt);
  EXPECT_EQ(CommandOf("WM_CLOSE"), std::nullopt);  // no terminated field
}

TEST(Commands, DetailLineReadsEveryFieldBeforeAnythingIsStored) {
  std::string text = "WM_DATAWRITE;" + Sj("配管") + ";SGP 20A;m;1200.5;1500;\"\";;10;12;99;98;20;12005;" +
                     Sj("備考") + ";3;0.25;7;8;0.9;" + Sj("一式") + ";";
  DetailLineMessage m = DetailLineMessage::Decode(text);
  EXPECT_EQ(m.Kind, Command::DataWrite);
  EXPECT_EQ(m.Encode(), "WM_DATAWRITE;" + Sj("配管") + ";SGP 20A;m;1200.5;1500;0;0;10;12;99;98;20;12005;" + Sj("備考") +
                            ";3;0.25;7;8;0.9;" + Sj("一式") + ";");

  LineRecord line;
  line.SpareMoney = M(5);
  m.FillLine(line, true);
  EXPECT_EQ(line.NameSpec.view(), Sj("配管") + ";SGP 20A");
  EXPECT_EQ(line.CostPrice, M(12005000));
  EXPECT_EQ(line.CostExtraPrice, kZero);
  EXPECT_EQ(line.CostAmount, M(990000));
  EXPECT_EQ(line.FLAG, 20);
  EXPECT_EQ(line.LabourFactor, M(2500));
  EXPECT_EQ(line.SecondRoundMode, M(9000));
  EXPECT_EQ(line.AmountText.view(), Sj("一式"));
  EXPECT_EQ(line.SpareMoney, kZero);
  m.FillLine(line, false);  // an appended line takes no amounts
  EXPECT_EQ(line.CostAmount, kZero);
  EXPECT_EQ(DetailLineMessage::FromLine(line, Command::CalcData).Encode().substr(0, 12), "WM_CALCDATA;");
  EXPECT_EQ(DetailLineMessage::FromLine(line, Command::DataWrite).Spec, "SGP 20A");

  // Integers that are not integers are 0; a money field that is not a number refuses the
  // whole message and names the field.
  EXPECT_EQ(DetailLineMessage::Decode("WM_MULTIWRITE;a;b;c;1;2;3;4;5;6;7;8;x;9;r;y;1;z;w;0;t;").FLAG, 0);
  try {
    DetailLineMessage::Decode("WM_DATAWRITE;a;b;c;1;2;3;4;5;1O;7;8;10;9;r;0;1;0;0;0;t;");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 23), "WM_DATAWRITE field 10: ");
  }
  EXPECT_THROW(DetailLineMessage::Decode("WM_PLAN;1;"), MessageError);
  for (const char* kind : {"WM_DATAWRITE_DISP", "WM_MULTIWRITE", "WM_CALCDATA"})
    EXPECT_EQ(DetailLineMessage::Decode(std::string(kind) + ";n;s;u;1;2;3;4;5;6;7;8;10;9;r;0;1;0;0;0;t;").Encode(),
              std::string(kind) + ";n;s;u;1;2;3;4;5;6;7;8;10;9;r;0;1;0;0;0;t;");
  // A name that would split the field cannot be sent.
  m.Name = "a;b";
  EXPECT_THROW(m.Encode(), MessageError);
  // The record cuts the joined name and specification at its 100 bytes.
  m.Name = std::string(98, 'n');
  m.FillLine(line, false);
  EXPECT_EQ(line.NameSpec.view(), std::string(98, 'n') + ";S");
}

TEST(Commands, ShortCommandsKeepTheirOwnConversions) {
  // WM_PLAN and WM_ITEMPLAN convert strictly: empty text is not 0 there.
  PlanMessage plan{CalcSettings{M(5000), M(9000), M(1000000), M(10000), kZero}};
  EXPECT_EQ(plan.Encode(), "WM_PLAN;0.5;0.9;100;1;0;");
  EXPECT_EQ(PlanMessage::Decode(plan.Encode()).Settings.QuantityScale, M(1000000));
  EXPECT_THROW(PlanMessage::Decode("WM_PLAN;0.5;;100;1;0;"), ConversionError);
  EXPECT_EQ(ItemPlanMessage::Decode("WM_ITEMPLAN;0.9;1000;").Keta, 1000);
  EXPECT_THROW(ItemPlanMessage::Decode("WM_ITEMPLAN;0.9;1e3;"), ConversionError);
  EXPECT_EQ((ItemPlanMessage{M(5000), 100}).Encode(), "WM_ITEMPLAN;0.5;100;");

  // Without a second field the path is the last terminated field.
  EXPECT_EQ(PathMessage::Decode("WM_FILESELECT;").Path, "WM_FILESELECT");
  EXPECT_EQ(PathMessage::Decode("WM_SAVECOMP;/home/a/b.znt2;").Kind, Command::SaveComp);
  EXPECT_THROW(PathMessage::Decode("WM_TITLE;/home/a/b.znt2;"), MessageError);
  EXPECT_EQ((PathMessage{Command::SaveComp, "/x/y.znt2"}).Encode(), "WM_SAVECOMP;/x/y.znt2;");
  EXPECT_EQ(KeitoMessage::Decode("WM_KEITO;" + Sj("空調") + ";").Name, Sj("空調"));
  EXPECT_EQ((FileAddMessage{"/d/a.znt2", 3}).Encode(), "WM_FILEADD;/d/a.znt2;3;");
  EXPECT_EQ(FileAddMessage::Decode("WM_FILEADD;/d/a.znt2;x;").ItemNumber, 0);

  KeihiWriteMessage k{83, "N", "R", M(10000), M(20000), M(30000), M(40000), M(5000), M(10000)};
  EXPECT_EQ(k.Encode(), "WM_KEIHIWRITE;83;N;R;1;2;3;4;0.5;1;");
  EXPECT_EQ(KeihiWriteMessage::Decode("WM_KEIHIWRITE;81;N;R;1;2;3;4;0.5;1;").Kind, 81);
  EXPECT_THROW(KeihiWriteMessage::Decode("WM_KEIHIWRITE;85;N;R;1;2;3;4;0.5;1;"), ConversionError);
  EXPECT_THROW(KeihiWriteMessage::Decode("WM_KEIHIWRITE;82.5;N;R;1;2;3;4;0.5;1;"), ConversionError);
  // Every field lands in its own place.
  KeihiWriteMessage d = KeihiWriteMessage::Decode("WM_KEIHIWRITE;84;N;R;1;2;3;4;5;6;");
  EXPECT_EQ(d.Kind, 84);
  EXPECT_EQ(d.Name + "|" + d.Remarks, "N|R");
  EXPECT_EQ((std::vector<Money>{d.SubAmount, d.CostAmount, d.CostRate, d.SubRate, d.RoundMode, d.Opt3Unit}),
            (std::vector<Money>{M(10000), M(20000), M(30000), M(40000), M(50000), M(60000)}));
  EXPECT_THROW(KeihiWriteMessage::Decode("WM_KEIHIWRITE;10;N;R;1;2;3;4;0.5;1;"), ConversionError);
  EXPECT_THROW(KeihiWriteMessage::Decode("WM_KEIHIWRITE;81;N;R;1;2;x;4;0.5;1;"), ConversionError);

  // A note row reads three fields of the detail layout and nothing else.
  ItemNoteMessage note = ItemNoteMessage::Decode("WM_ITEMNOTE;N;S;u;x;x;x;x;x;x;x;x;30;x;r;x;x;x;x;x;NOTE;");
  EXPECT_EQ(note.Name, "N");
  EXPECT_EQ(note.Flag, 30);
  EXPECT_EQ(note.Note, "NOTE");
  EXPECT_EQ((ItemNoteMessage{"N", 15, "T"}).Encode(), "WM_ITEMNOTE;N;;;0;0;0;0;0;0;0;0;15;0;;0;0;0;0;0;T;");
}

TEST(Launches, ArgumentStringsAreExactAndReadBack) {
  EXPECT_EQ(PickDataLaunch::Notes("/opt/z").Encode(), "0;0;/opt/z/note.dat;WM_DATAWRITE;");
  EXPECT_EQ(PickDataLaunch::Decode(PickDataLaunch::BreakdownNames("/opt/z").Encode()).ReplyCommand, "WM_KEITO");
  EXPECT_EQ(PickDataLaunch::ItemNotes("/opt/z").Encode(), "0;0;/opt/z/note.dat;WM_ITEMNOTE;");

  SchemeLaunch sheet{false, CalcSettings{}, kZero, 0};
  EXPECT_EQ(sheet.Encode(), ";0.5;0.5;100;1;0.5;");
  SchemeLaunch list{true, CalcSettings{}, M(9000), 1000};
  EXPECT_EQ(list.Encode(), "1;0.5;0.5;100;1;0.5;0.9;1000;");
  EXPECT_EQ(SchemeLaunch::Decode(list.Encode()).Keta, 1000);
  EXPECT_FALSE(SchemeLaunch::Decode(sheet.Encode()).Breakdown);

  EXPECT_EQ((CoverLaunch{0, "/t"}).Encode(), "0;0;/t;");
  EXPECT_EQ((RowEditLaunch{3, "12", kGroups}).Encode(), "3;12;A;B;C;D;E;F;");
  EXPECT_EQ(RowEditLaunch::Decode("3;12;A;B;C;D;E;F;").Groups[5], "F");
  EXPECT_EQ((DocSaveLaunch{"/d/x.znt2", 1}).Encode(), "/d/x.znt2;1;");
  EXPECT_EQ((DocPickLaunch{1}).Encode(), "0;1;TFZANTRO;");
  EXPECT_EQ(EditionLaunch::Setup(0).Encode(), "0;0;");
  EXPECT_EQ(EditionLaunch::Overhead(1).Encode(), "1;1;");

  PricePickLaunch code{"/c", 2, 3, Sj("配管"), kGroups, kLevels};
  EXPECT_EQ(code.Encode(), "/c;2;3;" + Sj("配管") + ";A;B;C;D;E;F;L1;L2;L3;L4;L5;");
  EXPECT_EQ(PricePickLaunch::Decode(code.Encode(), true).Levels[4], "L5");
  PricePickLaunch seq{"/m", 1, 1, "", std::nullopt, kLevels};
  EXPECT_EQ(seq.Encode(), "/m;1;1;;L1;L2;L3;L4;L5;");
  EXPECT_EQ(PricePickLaunch::Decode(seq.Encode(), false).Levels[0], "L1");

  EXPECT_EQ(CalcPriceLaunch::ForTag(1, 3, 7, kGroups).Encode(), "Calc_Dir;1;3;7;A;B;C;D;E;F;");
  EXPECT_EQ(CalcPriceLaunch::ForTag(53, 3, 7, kGroups).Encode(), "Calc_Dir;53;3;7;A;B;C;D;E;F;");
  EXPECT_EQ(CalcPriceLaunch::ForTag(63, 3, 7, kGroups).Encode(), "Calc_Dir;2;3;7;A;B;C;D;E;F;63;");
  EXPECT_EQ(CalcPriceLaunch::ForTag(71, 3, 7, kGroups).Encode(), "Calc_Dir;3;3;7;A;B;C;D;E;F;71;");
  EXPECT_EQ(CalcPriceLaunch::ForTag(4, 3, 7, kGroups).Encode(), ";4;3;7;A;B;C;D;E;F;");
  EXPECT_EQ(CalcPriceLaunch::Decode("Calc_Dir;2;3;7;A;B;C;D;E;F;63;").GroupTag, 63);
  EXPECT_EQ(CalcPriceLaunch::Decode("Calc_Dir;1;3;7;A;B;C;D;E;F;").GroupTag, std::nullopt);

  EXPECT_EQ((PipeMaterialLaunch{2, "/ex"}).Encode(), "0;2;0;;;2;/ex;");
  EXPECT_EQ(PipeMaterialLaunch::Decode("0;2;0;;;2;/ex;").NetworkFolder, "/ex");
  EXPECT_EQ((PipeFittingLaunch{5, 1, "/ex"}).Encode(), "0;5;1;0;;/ex;");
  EXPECT_EQ(PipeFittingLaunch::Decode("0;5;1;0;;/ex;").Fitting, 5);
  EXPECT_EQ((DuctLaunch{4, 1, "/dx"}).Encode(), "0;4;0;;1;/dx;");
  EXPECT_EQ((DuctLaunch{4, 2, ""}).Encode(), "0;4;0;;2;;");
  EXPECT_EQ(DuctLaunch::Decode("0;4;0;;2;/dx;").Variant, 2);

  LibraryEditorLaunch codeEditor{"/d/codedata4.dat", 4, "C4", kLevels};
  EXPECT_EQ(codeEditor.Encode(), "/d/codedata4.dat;4;C4;L1;L2;L3;L4;L5;;");
  EXPECT_EQ((LibraryEditorLaunch{"/d/treedata2.dat", 2, "T2", std::nullopt}).Encode(), "/d/treedata2.dat;2;T2;");
  EXPECT_EQ(LibraryEditorLaunch::Decode(codeEditor.Encode(), true).Levels->at(4), "L5");

  EXPECT_EQ((PrintViewerLaunch{"", "/p/style"}).Encode(), ";/p/style;");
  EXPECT_EQ((TakeoffLaunch{3, Sj("衛生"), 2}).Encode(), "3;" + Sj("衛生") + ";2;");
  EXPECT_EQ(TakeoffLaunch::Decode("3;x;2;").Mode, 2);
  EXPECT_EQ((TakeoffSumLaunch{7}).Encode(), "7");
  EXPECT_EQ(TakeoffSumLaunch::Decode("7").Item, 7);

  EXPECT_THROW((DocSaveLaunch{"a;b.znt2", 0}).Encode(), MessageError);
}
