#include "docsavedialog.h"

#include <sys/stat.h>

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "common/dialogframe.h"
#include "common/formcheck.h"
#include "common/documents.h"
#include "general/workcodec.h"
#include "general/workfiles.h"
#include "messages/commands.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "shell/programshell.h"

namespace zantro {
namespace {

constexpr const char* kExtension = ".znt2";

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string BaseName(const std::string& path) {
  std::string name = path.substr(path.rfind('/') + 1);
  for (const char* ext : {".znt2", ".znt"})
    if (EndsWithNoCase(name, ext)) return name.substr(0, name.size() - std::strlen(ext));
  return name;
}

std::string Tidy(std::string name) {
  for (char& c : name)
    if (c == '/' || c == ';' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  return name;
}

TitleRecord OpenTitle(const std::string& folder) {
  if (auto path = FindNoCase(folder, HeadFile("WRK")))
    if (auto bytes = ReadFileBytes(*path))
      if (auto head = DecodeHead(*bytes)) return head->Title;
  return TitleRecord{};
}

// A document is saved back where it came from; a new one goes where the last save went,
// else to the configured data folder.
std::string StartFolder(const std::string& programFolder, const std::string& document, const FolderStore* store) {
  std::string own = FolderOf(document);
  if (!own.empty() && IsDirectory(own)) return own;
  if (store)
    if (auto last = store->Last(FolderKind::Save)) return *last;
  if (auto data = ConfiguredDataFolder(programFolder)) return *data;
  return QDir::homePath().toStdString();
}

// What identifies the file at path now: a save renames a new file over it, so the inode
// changes even within the same second.
struct FileStamp {
  bool Exists = false;
  ino_t Inode = 0;
  int64_t Nanos = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, st.st_ino, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

}  // namespace

std::string ProposedName(const std::string& documentPath, const TitleRecord& title) {
  if (!documentPath.empty()) return Tidy(BaseName(documentPath));
  std::string number = ToUtf8(title.NUMBER.view()), project = ToUtf8(title.CONSTRACT_1.view());
  std::string name = number.empty() || project.empty() ? number + project : number + "_" + project;
  return Tidy(name.empty() ? "見積" : name);
}

DocSaveDialog::DocSaveDialog(ProgramShell& shell, DocSaveLaunch launch) : shell_(shell), launch_(std::move(launch)) {
  setObjectName("fdocsave_Dlg");
  setWindowTitle(DialogCaption(launch_.Mode == 1 ? "保存して終了" : "名前を付けて保存"));
  std::string document = ToUtf8(launch_.DocumentName);
  auto* grid = new QGridLayout(this);
  folder_ = Named(new QLineEdit(QString::fromStdString(StartFolder(shell_.ProgramFolder(), document, shell_.Dlg().Folders())), this),
                  "FolderEdit");
  folder_->setMinimumWidth(420);
  auto* browse = Named(new QPushButton("参照...", this), "BrowseButton");
  name_ = Named(new QLineEdit(QString::fromStdString(ProposedName(document, OpenTitle(shell_.ProgramFolder()))), this),
                "NameEdit");
  grid->addWidget(new QLabel("保存先フォルダ", this), 0, 0);
  grid->addWidget(folder_, 0, 1);
  grid->addWidget(browse, 0, 2);
  grid->addWidget(new QLabel("ファイル名", this), 1, 0);
  grid->addWidget(name_, 1, 1);
  grid->addWidget(new QLabel(kExtension, this), 1, 2);
  if (launch_.Mode == 1)
    grid->addWidget(new QLabel("保存が終わると、ザントロを終了します。", this), 2, 0, 1, 3);
  auto* buttons = new QHBoxLayout;
  auto* save = Named(new QPushButton("保存", this), "SaveButton");
  auto* cancel = Named(new QPushButton("キャンセル", this), "CancelButton");
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 3, 0, 1, 3);
  setTabOrder(name_, save);
  setTabOrder(save, cancel);
  setTabOrder(cancel, folder_);
  setTabOrder(folder_, browse);
  connect(browse, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Browse(); }); });
  connect(save, &QPushButton::clicked, this, [this] { shell_.Guard([this] { Save(); }); });
  connect(cancel, &QPushButton::clicked, this, &QWidget::close);
  new DialogKeys(this);
  name_->setFocus();
  name_->selectAll();
}

void DocSaveDialog::Browse() {
  if (auto chosen = shell_.Dlg().ChooseFolder("保存先フォルダの選択", folder_->text())) folder_->setText(*chosen);
}

std::string DocSaveDialog::TargetPath() {
  auto refuse = [this](QLineEdit* edit, const QString& why) {
    shell_.Dlg().ShowNotice(why);
    edit->setFocus();
    edit->selectAll();
    return std::string();
  };
  std::string folder = folder_->text().trimmed().toStdString();
  QString name = name_->text().trimmed();
  if (folder.empty() || !IsDirectory(folder)) return refuse(folder_, "保存先のフォルダがありません: " + folder_->text());
  if (name.isEmpty()) return refuse(name_, "ファイル名を入力してください。");
  if (name.contains('/') || name.contains(';'))
    return refuse(name_, "ファイル名に「/」や「;」は使えません: " + name);
  std::string file = BaseName(name.toStdString());
  if (file.empty() || file == "." || file == "..") return refuse(name_, "ファイル名を入力してください。");
  std::string path = JoinPath(folder, file + kExtension);
  if (path.find(';') != std::string::npos) return refuse(folder_, "保存先のフォルダ名に「;」は使えません: " + folder_->text());
  // The window reads the path as Shift-JIS: a name it cannot carry is refused here.
  if (ToUtf8(ToCp932(path)) != path)
    return refuse(name_, "ファイル名かフォルダ名に使えない文字が含まれています: " + QString::fromStdString(path));
  return path;
}

// The window writes the file; the dialog only closes when the file is really there, so a
// failed write leaves both the dialog (to choose another place) and, in mode 1, the window.
void DocSaveDialog::Save() {
  std::string path = TargetPath();
  if (path.empty()) return;
  FileStamp before = StampOf(path);
  if (before.Exists && !shell_.Dlg().AskExecute(QString::fromStdString("同じ名前のファイルがあります。上書きしますか？\r\n" + path),
                                                "実行", "キャンセル"))
    return;
  if (!shell_.Send("TFZANTRO", PathMessage{Command::SaveComp, ToCp932(path)}.Encode())) return;
  FileStamp after = StampOf(path);
  if (!after.Exists || after == before) {
    shell_.Dlg().ShowNotice(QString::fromStdString("保存できませんでした: " + path));
    return;
  }
  if (const FolderStore* store = shell_.Dlg().Folders()) store->Remember(FolderKind::Save, FolderOf(path));
  if (launch_.Mode == 1 && !shell_.Send("TFZANTRO", EncodeBare(Command::Close))) return;
  close();
}

}  // namespace zantro
