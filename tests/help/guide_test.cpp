// The user guide's folder, titles and links; and the guide of this source tree, whose every
// link and picture must name a file the installed guide carries.
#include "help/guide.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "testutil/tempdir.h"

namespace zantro {

void PrintTo(const GuideLink& l, std::ostream* os) {
  *os << (l.Image ? "image " : "link ") << l.Target << " line " << l.Line;
}

namespace {

TEST(Guide, TheShippedGuideHasNoBrokenLinkOrPicture) {
  std::string guide = std::string(ZANTRO_SOURCE_DIR) + "/docs/guide";
  ASSERT_TRUE(FileExists(guide + "/index.md"));
  EXPECT_EQ(BrokenGuideLinks(guide), std::vector<std::string>{});
  // Every chapter is reachable from the index, and the index has its title.
  auto index = ReadFileBytes(guide + "/index.md");
  EXPECT_FALSE(ChapterTitle(*index).empty());
  std::vector<std::string> linked;
  for (const auto& l : ChapterLinks(*index))
    if (!l.Image) linked.push_back(l.Target);
  for (const auto& entry : std::filesystem::directory_iterator(guide)) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".md" || name == "index.md") continue;
    EXPECT_NE(std::find(linked.begin(), linked.end(), name), linked.end()) << name << " is not linked from the index";
  }
}

TEST(Guide, LinksAndPicturesOfAChapter) {
  auto links = ChapterLinks(
      "# 題\n"
      "[最初](first.md) と ![画面](images/a.png \"説明\") と [節](second.md#part)\n"
      "外部 [site](https://example.org/x.md) [mail](mailto:a@b) [ここ](#here) [空]()\n"
      "`[code](not-a-link.md)` の後の [後](after.md)\n"
      "```\n"
      "[fenced](fenced.md)\n"
      "```\n"
      "[角](<with space.md>) [a] (nolink.md) [b](unclosed.md\n"
      "[c](:colon.md) [d](c++:x) 末尾の]\n");
  std::vector<GuideLink> expected{{false, "first.md", 2}, {true, "images/a.png", 2}, {false, "second.md", 2},
                                  {false, "after.md", 4}, {false, "with space.md", 8}, {false, ":colon.md", 9}};
  EXPECT_EQ(links, expected);
}

TEST(Guide, TheTitleIsTheFirstTopHeading) {
  EXPECT_EQ(ChapterTitle("前書き\n## 小見出し\n#  ザントロ 使い方ガイド  ##\n# 次\n"), "ザントロ 使い方ガイド");
  EXPECT_EQ(ChapterTitle("```\n# コード\n```\n# 本当の題\n"), "本当の題");
  // A fence may be indented by up to three blanks; four make an indented line, no fence.
  EXPECT_EQ(ChapterTitle("   ~~~\n# コード\n   ~~~\n# 題\n"), "題");
  EXPECT_EQ(ChapterTitle("    ```\n# 題\n"), "題");
  EXPECT_EQ(ChapterTitle("#見出しでない\n"), "");
  EXPECT_EQ(ChapterTitle("# \n"), "");
  EXPECT_EQ(ChapterTitle("# 題\r\n本文"), "題");
  EXPECT_EQ(ChapterTitle(""), "");
}

TEST(Guide, TargetsStayInsideTheGuideFolder) {
  EXPECT_EQ(ResolveGuideTarget("/g", "a.md"), "/g/a.md");
  EXPECT_EQ(ResolveGuideTarget("/g", "./images/../images/b.png"), "/g/images/b.png");
  EXPECT_EQ(ResolveGuideTarget("/g", "images/../a.md"), "/g/a.md");
  EXPECT_FALSE(ResolveGuideTarget("/g", "../README.md"));
  EXPECT_FALSE(ResolveGuideTarget("/g", "images/../../x.png"));
  EXPECT_FALSE(ResolveGuideTarget("/g", "/etc/passwd"));
  EXPECT_FALSE(ResolveGuideTarget("/g", ""));
}

TEST(Guide, BrokenLinksAreNamedByChapterAndLine) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.file("images"));
  std::filesystem::create_directories(dir.file("folder.md"));  // a folder is no chapter to link
  ASSERT_TRUE(WriteFileAtomic(dir.file("images/a.png"), "png"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("index.md"), "# 目次\n[一](one.md)\n[二](two.md)\n![図](images/a.png)\n"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("one.md"), "# 一\n\n![図](images/b.png)\n[外](../outside.md)\n[f](folder.md)\n"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("notes.txt"), "[x](missing.md)\n"));  // not a chapter
  EXPECT_EQ(BrokenGuideLinks(dir.path()), (std::vector<std::string>{"index.md:3: two.md", "one.md:3: images/b.png",
                                                                     "one.md:4: ../outside.md", "one.md:5: folder.md"}));
  EXPECT_EQ(BrokenGuideLinks(dir.file("nothing")), std::vector<std::string>{});
}

TEST(Guide, TheGuideIsFoundWhereItLies) {
  testing::TempDir dir;
  EXPECT_EQ(GuideCandidates("/p", "/usr/lib/zantro"),
            (std::vector<std::string>{"/p/guide", "/usr/lib/zantro/guide", "/usr/lib/zantro/../share/zantro/guide"}));
  EXPECT_EQ(GuideCandidates("/p", ""), (std::vector<std::string>{"/p/guide"}));
  EXPECT_EQ(GuideCandidates("/p", "/p"), (std::vector<std::string>{"/p/guide"}));
  std::filesystem::create_directories(dir.file("a"));
  std::filesystem::create_directories(dir.file("b"));
  std::filesystem::create_directories(dir.file("c"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("b/index.md"), "# b"));
  ASSERT_TRUE(WriteFileAtomic(dir.file("c/index.md"), "# c"));
  EXPECT_EQ(FindGuideFolder({dir.file("a"), dir.file("b"), dir.file("c")}), dir.file("b"));
  EXPECT_FALSE(FindGuideFolder({dir.file("a")}));
  EXPECT_FALSE(FindGuideFolder({}));
}

}  // namespace
}  // namespace zantro
