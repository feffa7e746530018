// File dialogs of a kind start where the last one of that kind was used, once the program
// gave its dialogs a store; without one they start where the caller proposes.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gui/dialogs.h"
#include "testutil/tempdir.h"

namespace zantro {
namespace {

struct Asked {
  QStringList lines;
  ScriptedDialogs dialogs{[this](const QString& l) { lines << l; }};
  void Answer(const std::string& path) { dialogs.Queue({ScriptAnswer::File, false, false, QString::fromStdString(path)}); }
};

TEST(RememberedFolders, EachKindStartsWhereItsLastDialogWasUsed) {
  testing::TempDir dir;
  std::filesystem::create_directories(dir.file("pdf"));
  std::filesystem::create_directories(dir.file("csv"));
  Asked run;
  run.dialogs.RememberFoldersIn(FolderStore(dir.file("config/folders")));
  FileDialogRequest pdf{"PDFファイルに保存", "PDFファイル(pdf)|*.pdf", "pdf", "SE-1024.pdf"};
  run.Answer(dir.file("pdf/first"));
  EXPECT_EQ(run.dialogs.SaveFileIn(FolderKind::PrintPdf, pdf), QString::fromStdString(dir.file("pdf/first.pdf")));
  run.Answer(dir.file("csv/x.csv"));
  EXPECT_TRUE(run.dialogs.SaveFileIn(FolderKind::Export, {"CSV出力", "csvファイル|*.csv", "csv", ""}));
  // The second PDF starts in the PDF folder with the proposed name; a cancel remembers nothing.
  run.dialogs.Queue({ScriptAnswer::File, false, true, ""});
  EXPECT_FALSE(run.dialogs.SaveFileIn(FolderKind::PrintPdf, pdf));
  run.Answer(dir.file("z.znt2"));
  EXPECT_TRUE(run.dialogs.OpenFileIn(FolderKind::Open, {"デ－タ読込", "ザントロファイル(znt2)|*.znt2;", "znt2", "/proposed"}));
  run.dialogs.Queue({ScriptAnswer::File, false, true, ""});
  EXPECT_FALSE(run.dialogs.SaveFileIn(FolderKind::Export, {"CSV出力", "csvファイル|*.csv", "csv", ""}));
  run.dialogs.Queue({ScriptAnswer::File, false, true, ""});
  EXPECT_FALSE(run.dialogs.OpenFileIn(FolderKind::Open, {"デ－タ読込", "ザントロファイル(znt2)|*.znt2;", "znt2", "/proposed"}));
  QString d = QString::fromStdString(dir.path());
  EXPECT_EQ(run.lines.join("\n").toStdString(), (QStringList{
                           "dialog: save|PDFファイルに保存|PDFファイル(pdf)|*.pdf|pdf|SE-1024.pdf",
                           "dialog: save|CSV出力|csvファイル|*.csv|csv|",
                           "dialog: save|PDFファイルに保存|PDFファイル(pdf)|*.pdf|pdf|" + d + "/pdf/SE-1024.pdf",
                           "dialog: open|デ－タ読込|ザントロファイル(znt2)|*.znt2;|znt2|/proposed",
                           "dialog: save|CSV出力|csvファイル|*.csv|csv|" + d + "/csv",
                           "dialog: open|デ－タ読込|ザントロファイル(znt2)|*.znt2;|znt2|" + d,
                       })
                                                    .join("\n")
                                                    .toStdString());
}

TEST(RememberedFolders, DialogsWithoutAStoreRememberNothing) {
  testing::TempDir dir;
  Asked run;
  EXPECT_EQ(run.dialogs.Folders(), nullptr);
  run.Answer(dir.file("a.csv"));
  run.Answer(dir.file("b.csv"));
  EXPECT_TRUE(run.dialogs.OpenFileIn(FolderKind::Import, {"CSVファイルを開く", "CSV|*.csv", "csv", "/start"}));
  EXPECT_TRUE(run.dialogs.OpenFileIn(FolderKind::Import, {"CSVファイルを開く", "CSV|*.csv", "csv", "/start"}));
  EXPECT_EQ(run.lines.value(1).toStdString(), "dialog: open|CSVファイルを開く|CSV|*.csv|csv|/start");
}

}  // namespace
}  // namespace zantro
