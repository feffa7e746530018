#include "general/movejournal.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "general/errors.h"
#include "platform/files.h"

namespace zantro {
namespace {

constexpr std::string_view kMagic = "ZANTRO MOVES 1";

// What a journal's name says of its set: its files are being staged (.JNL), placed (.JN2), or
// the command committed and only the removed files are left to delete (.JN3).
enum State { Staging, Placing, Committed };

std::string JournalName(int set, State state) {
  return "MOVES" + std::to_string(set) + (state == Staging ? ".JNL" : state == Placing ? ".JN2" : ".JN3");
}

std::string StageName(int set, size_t step) {
  return ".zjm" + std::to_string(set) + "-" + std::to_string(step) + ".stg";
}

bool IsStage(std::string_view name) { return name.size() > 8 && name.substr(0, 4) == ".zjm" && name.ends_with(".stg"); }

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// HEAD.WRK as the journal remembers it: its size and a 64-bit FNV-1a hash of its bytes ("-"
// when there is none).
std::string HeadPrint(const std::string& folder) {
  auto path = FindNoCase(folder, "HEAD.WRK");
  if (!path) return "-";
  auto bytes = ReadFileBytes(*path);
  if (!bytes) return "?";
  uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : *bytes) h = (h ^ c) * 0x100000001b3ULL;
  char text[48];
  std::snprintf(text, sizeof text, "%zu %016llx", bytes->size(), static_cast<unsigned long long>(h));
  return text;
}

bool ValidName(std::string_view name) {
  return name != "." && name != ".." && name.find_first_of("/\t\n") == std::string_view::npos;
}

struct Journal {
  std::string Head;
  std::vector<FileMove> Steps;  // a new file: From empty (its bytes are already staged)
};

std::string Encode(const Journal& j) {
  std::string out = std::string(kMagic) + "\nhead " + j.Head + "\nsteps " + std::to_string(j.Steps.size()) + "\n";
  for (const auto& s : j.Steps) out += s.From + "\t" + s.To + "\n";
  return out + "end\n";
}

std::optional<Journal> Decode(std::string_view text) {
  auto line = [&text]() -> std::optional<std::string_view> {
    size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return std::nullopt;
    std::string_view l = text.substr(0, lf);
    text.remove_prefix(lf + 1);
    return l;
  };
  auto magic = line();
  auto head = line();
  auto count = line();
  if (!magic || *magic != kMagic || !head || !head->starts_with("head ") || !count || !count->starts_with("steps "))
    return std::nullopt;
  Journal j;
  j.Head = std::string(head->substr(5));
  size_t n = 0;
  for (char c : count->substr(6)) {
    if (c < '0' || c > '9' || n > 100000000) return std::nullopt;
    n = n * 10 + static_cast<size_t>(c - '0');
  }
  for (size_t i = 0; i < n; ++i) {
    auto l = line();
    if (!l) return std::nullopt;
    size_t tab = l->find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    FileMove m{std::string(l->substr(0, tab)), std::string(l->substr(tab + 1)), std::nullopt};
    if ((m.From.empty() && m.To.empty()) || !ValidName(m.From) || !ValidName(m.To)) return std::nullopt;
    j.Steps.push_back(std::move(m));
  }
  if (line() != std::string_view("end") || !text.empty()) return std::nullopt;
  return j;
}

bool ReadJournalState(const std::string& folder, int set, State* state) {
  for (State st : {Committed, Placing, Staging})
    if (Exists(JoinPath(folder, JournalName(set, st)))) return *state = st, true;
  return false;
}

// The journal of set and its state.
std::optional<Journal> ReadJournal(const std::string& folder, int set, State* state) {
  for (State st : {Committed, Placing, Staging}) {
    std::string path = JoinPath(folder, JournalName(set, st));
    if (!Exists(path)) continue;
    *state = st;
    auto bytes = ReadFileBytes(path);
    if (bytes)
      if (auto j = Decode(*bytes)) return j;
    return Journal{"?", {}};  // damaged: nothing can be replayed, the files stay as they are
  }
  return std::nullopt;
}

// The four passes over the steps of one set. Each pass is its own replay: a step is taken
// only while its file still lies where the pass finds it. They return false when a rename
// fails (the disk refused it); the recovery passes go on regardless.
bool StageForward(const std::string& folder, int set, const Journal& j) {
  for (size_t i = 0; i < j.Steps.size(); ++i) {
    const FileMove& s = j.Steps[i];
    if (s.From.empty()) continue;
    std::string stage = JoinPath(folder, StageName(set, i)), from = JoinPath(folder, s.From);
    if (!Exists(stage) && Exists(from) && !RenameFile(from, stage)) return false;
  }
  return true;
}

void StageBackward(const std::string& folder, int set, const Journal& j) {
  for (size_t i = j.Steps.size(); i-- > 0;) {
    const FileMove& s = j.Steps[i];
    std::string stage = JoinPath(folder, StageName(set, i));
    if (s.From.empty()) DeleteFile(stage);
    else if (Exists(stage)) RenameFile(stage, JoinPath(folder, s.From));
  }
}

bool PlaceForward(const std::string& folder, int set, const Journal& j) {
  for (size_t i = 0; i < j.Steps.size(); ++i) {
    const FileMove& s = j.Steps[i];
    if (s.To.empty()) continue;
    std::string stage = JoinPath(folder, StageName(set, i));
    if (Exists(stage) && !RenameFile(stage, JoinPath(folder, s.To))) return false;
  }
  return true;
}

// Only while the journal is .JN2: every old file has left for its staging name, so a file
// under a step's new name is the one the step put there.
void PlaceBackward(const std::string& folder, int set, const Journal& j) {
  for (size_t i = j.Steps.size(); i-- > 0;) {
    const FileMove& s = j.Steps[i];
    if (s.To.empty()) continue;
    std::string stage = JoinPath(folder, StageName(set, i)), to = JoinPath(folder, s.To);
    if (!Exists(stage) && Exists(to)) RenameFile(to, stage);
  }
}

// False when the set cannot be undone: its command committed and removed files may be gone.
bool RevertSet(const std::string& folder, int set, const Journal& j, State state) {
  if (state == Committed) return false;
  if (state == Placing) {
    PlaceBackward(folder, set, j);
    if (!RenameFile(JoinPath(folder, JournalName(set, Placing)), JoinPath(folder, JournalName(set, Staging))))
      return false;
  }
  StageBackward(folder, set, j);
  return DeleteFile(JoinPath(folder, JournalName(set, Staging)));
}

// Brings set to the end of its placing; false when the disk refused a step.
bool CompleteSet(const std::string& folder, int set, const Journal& j, State state) {
  if (state == Staging) {
    if (!StageForward(folder, set, j)) return false;
    SyncFolder(folder);
    if (!RenameFile(JoinPath(folder, JournalName(set, Staging)), JoinPath(folder, JournalName(set, Placing))))
      return false;
  }
  return PlaceForward(folder, set, j);
}

void DeleteStaleStages(const std::string& folder) {
  for (const auto& name : ListFiles(folder))
    if (IsStage(name)) DeleteFile(JoinPath(folder, name));
}


}  // namespace

int PendingMoveSets(const std::string& folder) {
  int n = 0;
  State state;
  while (ReadJournalState(folder, n, &state)) ++n;
  return n;
}

void MoveFiles(const std::string& folder, const std::vector<FileMove>& moves) {
  if (moves.empty()) return;
  const int set = PendingMoveSets(folder);
  Journal j;
  State state;
  j.Head = set > 0 ? ReadJournal(folder, 0, &state).value_or(Journal{"?", {}}).Head : HeadPrint(folder);
  for (const auto& m : moves) {
    if ((m.From.empty() && m.To.empty()) || !ValidName(m.From) || !ValidName(m.To))
      throw FileError(JoinPath(folder, m.From.empty() ? m.To : m.From) + ": not a name of a work file");
    j.Steps.push_back({m.From, m.To, std::nullopt});
  }
  // Staging names left by an earlier failure would pass for steps already taken.
  for (size_t i = 0; i < j.Steps.size(); ++i)
    if (std::string stage = JoinPath(folder, StageName(set, i)); Exists(stage) && !DeleteFile(stage))
      throw FileError(stage + ": the work file cannot be deleted");
  std::string error;
  auto dropNewFiles = [&](size_t upTo) {
    for (size_t i = 0; i < upTo; ++i)
      if (moves[i].From.empty()) DeleteFile(JoinPath(folder, StageName(set, i)));
  };
  for (size_t i = 0; i < moves.size(); ++i) {
    if (!moves[i].From.empty()) continue;
    if (!WriteFileAtomic(JoinPath(folder, StageName(set, i)), moves[i].Bytes.value_or(""), &error, true)) {
      dropNewFiles(i);
      throw FileError(error);
    }
  }
  const std::string journal = JoinPath(folder, JournalName(set, Staging));
  if (!WriteFileAtomic(journal, Encode(j), &error, true) || !SyncFolder(folder)) {
    DeleteFile(journal);
    dropNewFiles(moves.size());
    throw FileError(error.empty() ? journal + ": cannot be flushed to the disk" : error);
  }
  if (!CompleteSet(folder, set, j, Staging)) {
    RevertSet(folder, set, j, Exists(JoinPath(folder, JournalName(set, Placing))) ? Placing : Staging);
    throw FileError(folder + ": the work files cannot be renamed");
  }
}

void FinishMoves(const std::string& folder) {
  int sets = PendingMoveSets(folder);
  std::vector<std::pair<Journal, State>> journals;
  for (int set = 0; set < sets; ++set) {
    State state;
    journals.emplace_back(*ReadJournal(folder, set, &state), state);
    if (!CompleteSet(folder, set, journals.back().first, state)) return;  // left for the next start
  }
  // Every set is marked committed before the first removed file goes: from then on a start
  // finishes, whatever HEAD.WRK holds (a command may write it unchanged).
  for (int set = 0; set < sets; ++set)
    if (journals[set].second != Committed &&
        !RenameFile(JoinPath(folder, JournalName(set, Placing)), JoinPath(folder, JournalName(set, Committed))))
      return;
  // The newest journal goes first, so the journals left after a kill are always sets 0..m.
  for (int set = sets; set-- > 0;) {
    const Journal& j = journals[set].first;
    for (size_t i = 0; i < j.Steps.size(); ++i)
      if (j.Steps[i].To.empty()) DeleteFile(JoinPath(folder, StageName(set, i)));
    DeleteFile(JoinPath(folder, JournalName(set, Committed)));
  }
}

void RevertMoves(const std::string& folder, int keep) {
  for (int set = PendingMoveSets(folder); set-- > keep;) {
    State state;
    auto j = ReadJournal(folder, set, &state);
    if (!RevertSet(folder, set, *j, state)) return;
  }
}

MoveRecovery RecoverMoves(const std::string& folder) {
  MoveRecovery done = MoveRecovery::None;
  bool damaged = false, committed = false;
  if (int sets = PendingMoveSets(folder); sets > 0) {
    State state;
    for (int set = 0; set < sets; ++set) {
      damaged = damaged || ReadJournal(folder, set, &state)->Head == "?";
      committed = committed || state == Committed;
    }
    auto first = ReadJournal(folder, 0, &state);
    if (!committed && first->Head == HeadPrint(folder)) {
      RevertMoves(folder, 0);
      done = MoveRecovery::Reverted;
    } else {
      FinishMoves(folder);
      done = MoveRecovery::Finished;
    }
  }
  // Staging files of a damaged journal may hold the only copy of an item's lines: they stay.
  if (!damaged && PendingMoveSets(folder) == 0) DeleteStaleStages(folder);
  return done;
}

}  // namespace zantro
