// Configuration files of the window: the start-up pass, price levels, numbering, widths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "general/records.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "uzantro/config.h"
#include "uzantro/widths.h"

using namespace zantro;

namespace {

struct Folder {
  std::string path;
  Folder() {
    char t[] = "/tmp/zantro-uz-XXXXXX";
    path = ::mkdtemp(t);
  }
  ~Folder() { std::filesystem::remove_all(path); }
  void Write(const std::string& name, const std::string& utf8) const {
    std::ofstream(JoinPath(path, name), std::ios::binary) << ToCp932(utf8);
  }
  std::string Read(const std::string& name) const { return ReadFileBytes(JoinPath(path, name)).value_or("<none>"); }
};

}  // namespace

TEST(ZantroConf, WholeLinesAreExactAndLaterLinesWin) {
  ZantroConfig c;
  ApplyConfLines(c, {"[CALC_OPT1]=2", "[CALC_OPT2] = 1", "[CALC_OPT3]=5", "[CALC_OPT4]=1", "[CALC_OPT6]=2",
                     "[CALC_OPT1]=1", "[EDIT_OPT3]=2", "[EDIT_OPT3]=9", "[GROUP_NAME1]=a", "[GROUP_NAME1]=b",
                     "[GROUP_NAME7]=x", "[GENGAKU]=▲=", "no equals"});
  EXPECT_EQ(c.Settings.QuantityScale, Money::Units(100));
  EXPECT_EQ(c.Settings.LineRoundAddend, kHalf);  // blanks around "=" match no whole line
  EXPECT_EQ(c.Settings.Opt3Unit, Money::Units(100000));
  EXPECT_EQ(c.Settings.Opt4RoundAddend, kNineTenths);
  EXPECT_EQ(c.Settings.Opt6RoundAddend, kZero);
  EXPECT_EQ(c.ButtonSet, 2);
  EXPECT_EQ(c.GroupNames[0], "b");
  EXPECT_EQ(c.Gengaku, "▲=");
}

TEST(ZantroConf, EditOpt2OneIsNineColumnsAndAbsentIsTen) {
  ZantroConfig absent, one, zero;
  ApplyConfLines(one, {"[EDIT_OPT2]=1"});
  ApplyConfLines(zero, {"[EDIT_OPT2]=0"});
  EXPECT_EQ(absent.Layout, ColumnLayout::Ten);
  EXPECT_EQ(one.Layout, ColumnLayout::Nine);
  EXPECT_EQ(zero.Layout, ColumnLayout::Ten);
  EXPECT_EQ(absent.Settings.QuantityScale, Money::Units(10));
}

TEST(PriceLevels, NamesDefaultAndIndexOutsideTheBoxGivesZero) {
  Folder f;
  f.Write("zantro.conf", "[LEVEL_NAME2]=官庁\r\n[LEVEL_NAME3]=\r\n[Level_Default]=4\r\n");
  PriceLevels p = ReadPriceLevels(f.path);
  EXPECT_EQ(ToUtf8(p.Names[1]), "官庁");
  EXPECT_EQ(p.Names[2], "LEVEL3");
  EXPECT_EQ(p.Default, 4);
  for (const char* bad : {"5", "-1", "x", ""}) {
    f.Write("zantro.conf", std::string("[Level_Default]=") + bad + "\r\n");
    EXPECT_EQ(ReadPriceLevels(f.path).Default, 0) << bad;
  }
}

TEST(NumberConf, RewrittenAsFiveLinesOverTheFileFound) {
  Folder f;
  f.Write("NUMBER.CONF", "[NUMBER_OPT1]=SE-\r\n[NUMBER_OPT2]=x\r\n[NUMBER_OPT3]=41\r\n[NUMBER_OPT4]=TRUE\r\n");
  auto n = ReadNumberConf(f.path);
  ASSERT_TRUE(n);
  EXPECT_EQ(n->Prefix, "SE-");
  EXPECT_EQ(n->Option, 0);
  EXPECT_EQ(n->LastSerial, 41);
  EXPECT_TRUE(n->PerClient);
  EXPECT_FALSE(n->Flag);
  n->LastSerial = 42;
  ASSERT_TRUE(WriteNumberConf(f.path, *n));
  EXPECT_EQ(f.Read("NUMBER.CONF"),
            "[NUMBER_OPT1]=SE-\r\n[NUMBER_OPT2]=0\r\n[NUMBER_OPT3]=42\r\n[NUMBER_OPT4]=TRUE\r\n[NUMBER_OPT5]=FALSE\r\n");
  EXPECT_EQ(f.Read("number.conf"), "<none>");
  EXPECT_FALSE(ReadNumberConf(f.path + "/missing"));
}

TEST(NumberConf, ASaveWithALargerSerialRaisesTheLastSerial) {
  Folder f;
  f.Write("Zantro.conf", "[FILE_OPT1]=TRUE\r\n");
  f.Write("Number.conf", "[NUMBER_OPT1]=SE-\r\n[NUMBER_OPT3]=10\r\n");
  TitleRecord t{};
  t.id.set("SE-");
  t.NUMBER.set("SE-0012");
  ZantroConfig conf;
  EXPECT_TRUE(UpdateDocumentNumber(t, f.path, conf));
  EXPECT_EQ(ReadNumberConf(f.path)->LastSerial, 12);
  t.NUMBER.set("SE-0011");
  EXPECT_FALSE(UpdateDocumentNumber(t, f.path, conf));  // not larger
  t.NUMBER.set("XX-0099");
  EXPECT_FALSE(UpdateDocumentNumber(t, f.path, conf));  // another prefix
  EXPECT_EQ(ReadNumberConf(f.path)->LastSerial, 12);
}

TEST(Widths, SavedFileFirstThenTheFallbackForTheScreen) {
  Folder f;
  f.Write("ZNT_display_1024_2.conf", "");
  f.Write("ZNT_display_1280_2.conf", "");
  EXPECT_EQ(WidthFileFor(f.path, WidthLayout::SheetTen, 1024), JoinPath(f.path, "ZNT_display_1024_2.conf"));
  EXPECT_EQ(WidthFileFor(f.path, WidthLayout::SheetTen, 1025), JoinPath(f.path, "ZNT_display_1280_2.conf"));
  EXPECT_EQ(WidthFileFor(f.path, WidthLayout::SheetNine, 1280), "");  // each layout has its own file
  f.Write("znt_display_2.conf", "");
  EXPECT_EQ(WidthFileFor(f.path, WidthLayout::SheetTen, 1280), JoinPath(f.path, "znt_display_2.conf"));
}

TEST(Widths, BadValuesGive50AndColumnsBeyondTheLayoutAreIgnored) {
  auto w = ReadWidthLines({"[Version]=2.00", "[StrColGrid1_Colwidths[0]]=30", "[StrColGrid1_Colwidths[1]]=x",
                           "[StrColGrid1_Colwidths[9]]=99", "[StrColGrid1_Colwidths[8]] =5"},
                          9);
  EXPECT_EQ(w, (std::map<int, int>{{0, 30}, {1, 50}}));
  // Widths no screen can show (a damaged file) take the fallback too.
  w = ReadWidthLines({"[StrColGrid1_Colwidths[0]]=4096", "[StrColGrid1_Colwidths[1]]=4097",
                      "[StrColGrid1_Colwidths[2]]=1000000000", "[StrColGrid1_Colwidths[3]]=-7"},
                     9);
  EXPECT_EQ(w, (std::map<int, int>{{0, 4096}, {1, 50}, {2, 50}, {3, 50}}));
  EXPECT_EQ(WidthLines({40, 300}),
            (std::vector<std::string>{"[Version]=2.00", "[StrColGrid1_Colwidths[0]]=40", "[StrColGrid1_Colwidths[1]]=300"}));
}
