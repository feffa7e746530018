// The folders the file dialogs were last used with, per user and per kind of dialog, so that
// the next dialog of that kind starts where the user left off. One small file,
// $XDG_CONFIG_HOME/zantro/folders (or ~/.config/zantro/folders), lines "[OPEN_DIR]=/path"
// holding the path's bytes as the file system has them. The window and its companions share
// it: each remembering reads the file afresh and rewrites it whole, atomically.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zantro {

enum class FolderKind { Open, Save, Export, PrintPdf, Import };
inline constexpr size_t kFolderKinds = 5;

// "[OPEN_DIR]", "[SAVE_DIR]", "[EXPORT_DIR]", "[PDF_DIR]", "[IMPORT_DIR]".
std::string_view FolderKindKey(FolderKind k);

// One folder per kind, empty when none is remembered.
using RememberedFolders = std::array<std::string, kFolderKinds>;

// Lines of other keys and lines without "=" are passed over (a newer program may add keys; a
// damaged line costs only its own folder); a later line of a key wins.
RememberedFolders ParseFolders(std::string_view text);
// The kinds that hold a folder, in the order of FolderKind, each line ending in LF.
std::string FormatFolders(const RememberedFolders& folders);

// The folder of a file the user chose: "/a/b/c.znt2" gives "/a/b", "/c.pdf" gives "/";
// a path that is not absolute gives nothing.
std::string FolderOfChoice(std::string_view path);

// Where a dialog of a kind starts: the proposal when nothing is remembered; else the
// remembered folder, in place of a proposed folder (any path with a "/") or of no proposal,
// or holding the proposed file name when the proposal is a bare name ("SE-1024.pdf").
std::string DialogStart(const std::optional<std::string>& remembered, const std::string& proposal);

// The file of the current user: $XDG_CONFIG_HOME/zantro/folders when that variable holds an
// absolute path, else $HOME/.config/zantro/folders; empty when neither is known.
std::string UserFolderStorePath();

class FolderStore {
 public:
  explicit FolderStore(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

  // The folder last remembered for k, when it is still a folder; else nullopt (a folder
  // deleted or unmounted since is no place to start a dialog in).
  std::optional<std::string> Last(FolderKind k) const;

  // Remembers folder for k. An empty store path, a folder that is not absolute or holds a
  // line break is not remembered (false). The file's folder is made when missing (0700);
  // the file is not rewritten when it already holds that folder.
  bool Remember(FolderKind k, const std::string& folder) const;

 private:
  RememberedFolders Read() const;
  std::string path_;
};

}  // namespace zantro
