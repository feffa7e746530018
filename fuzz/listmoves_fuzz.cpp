// The breakdown list's commands that move item files (insert, delete, paste, hierarchy,
// subtotal, and the undo of the last of them), one after the other on a small list whose files have gaps, orphans and
// lower-case names, each under a fault: a write refused once or from some point on (a full
// disk), or the process killed at some change of the disk (then the next start's repair).
// Afterwards the work files are exactly as before the command or exactly as the same command
// leaves them without a fault; a command that failed under a full disk leaves them as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>

#include "breakdown/itemfiles.h"
#include "breakdown/listchanges.h"
#include "fuzzfolder.h"
#include "general/editframe.h"
#include "general/movejournal.h"
#include "general/workfiles.h"

using namespace zantro;

namespace {

using Files = std::map<std::string, std::string>;

Files AllFiles(const std::string& folder, bool withUndo = true) {
  Files files;
  for (const auto& name : ListFiles(folder))
    if (withUndo || !EndsWithNoCase(name, ".UND")) files[name] = ReadFileBytes(JoinPath(folder, name)).value_or("?");
  return files;
}

// The work set: the undo set aside.
Files WorkSet(const std::string& folder) { return AllFiles(folder, false); }

void Lay(const std::string& folder, const Files& files) {
  fuzz::EmptyFolder(folder);
  for (const auto& [name, bytes] : files)
    if (!WriteNewFile(JoinPath(folder, name), bytes)) std::abort();
}

enum Fault { None, WriteOnce, DiskFull, Kill, kFaults };
Fault fault = None;
long changes = 0, faultAt = 0;
bool refused = false;

bool Gate(DiskChange change, const std::string&) {
  ++changes;
  bool refuse = fault == Kill ? changes >= faultAt  // nothing reaches the disk any more
                              : change == DiskChange::Write &&
                                    (fault == WriteOnce ? changes == faultAt : fault == DiskFull && changes >= faultAt);
  if (!refuse) return true;
  refused = true;
  errno = fault == Kill ? EIO : ENOSPC;
  return false;
}

enum Op { Insert, Delete, Paste, Hierarchy, Subtotal, Undo, kOps };

// The list's undo as the window runs it: the files of the last command put back, then the list.
bool RunUndo(const std::string& folder) {
  try {
    Document doc;
    if (!LoadHead(doc, folder, "UND")) return true;
    RestoreKeptFiles(folder, PutBack::LeaveJournal);
    if (!SaveHead(doc, folder, "WRK")) return false;  // the put-back waits for the next start
    FinishMoves(folder);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// The command as the list window runs it. False when it stopped with an error.
bool Run(const std::string& folder, Op op, int32_t a, int32_t b) {
  if (op == Undo) return RunUndo(folder);
  try {
    Document doc;
    if (!LoadHead(doc, folder, "WRK")) std::abort();
    EditFrame frame(doc, folder, EditScope::Breakdown);
    ItemFiles files(frame);
    int32_t last = doc.LastItem();
    a = 1 + a % last;
    switch (op) {
      case Insert: InsertItemRow(doc, files, a); break;
      case Delete: DeleteItemRow(doc, files, a); break;
      case Paste: PasteItem(doc, files, a, 1 + b % (last + 3)); break;
      case Hierarchy: {
        int32_t bottom = std::min(last, a + b % 3);
        if (CheckHierarchyRows(doc, a, bottom) != HierarchyRefusal::None) return true;
        int32_t code = ParentCodeFor(doc, a);
        if (code == 0) return true;
        MakeHierarchy(doc, files, a, bottom, "H", code);
        break;
      }
      default: PutSubtotal(doc, files, a, std::min(last, a + b % 3), "S"); break;
    }
    frame.Commit(nullptr);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz::MakeFolder("moves"), mirror = fuzz::MakeFolder("moves-clean");
  FuzzedDataProvider in(data, size);
  // The list and its files.
  Document doc;
  StartEmptyDocument(doc);
  int32_t items = in.ConsumeIntegralInRange<int32_t>(1, 12);
  Files start;
  for (int32_t i = 1; i <= items + 2; ++i) {
    if (i > 1 && i <= items) {
      ItemRecord it = NewItem();
      it.ItemName.set("I" + std::to_string(i));
      doc.ItemList.push_back(it);
    }
    uint8_t bits = in.ConsumeIntegral<uint8_t>();
    LineRecord line{};
    line.NameSpec.set("L" + std::to_string(i));
    TakeoffRecord takeoff{};
    takeoff.NameSpec.set("T" + std::to_string(i));
    std::string sheet = (bits & 4) ? "witem" + std::to_string(i) + ".wrk" : SheetFile(i, "WRK");
    if (bits & 1) start[sheet] = std::string(reinterpret_cast<const char*>(&line), sizeof line);
    if (bits & 2) start[TakeoffFile(i)] = std::string(reinterpret_cast<const char*>(&takeoff), sizeof takeoff);
    if ((bits & 0x18) == 0x18) start[TakeoffFile(i)] = "";  // an empty takeoff file
  }
  doc.ItemCount = doc.LastItem();
  Lay(folder, start);
  if (!SaveHead(doc, folder, "WRK")) std::abort();
  // A staging file that a failure left without its journal is junk the start removes.
  if (in.ConsumeBool()) {
    if (!WriteNewFile(folder + "/.zjm0-1.stg", "junk") || RecoverMoves(folder) != MoveRecovery::None ||
        FileExists(folder + "/.zjm0-1.stg"))
      std::abort();
  }

  for (int n = 0; n < 6 && in.remaining_bytes() > 0; ++n) {
    Op op = static_cast<Op>(in.ConsumeIntegralInRange<int>(0, kOps - 1));
    int32_t a = in.ConsumeIntegral<uint8_t>(), b = in.ConsumeIntegral<uint8_t>();
    Fault f = static_cast<Fault>(in.ConsumeIntegralInRange<int>(0, kFaults - 1));
    long at = in.ConsumeIntegralInRange<long>(1, 80);

    const Files before = WorkSet(folder);
    Lay(mirror, AllFiles(folder));
    if (!Run(mirror, op, a, b)) std::abort();  // without a fault every command goes through
    const Files after = WorkSet(mirror);

    fault = f;
    faultAt = at;
    changes = 0;
    refused = false;
    SetDiskGate(Gate);
    bool ok = Run(folder, op, a, b);
    SetDiskGate(nullptr);
    bool struck = refused;
    if ((f == Kill && struck) || (op == Undo && !ok)) RecoverMoves(folder);  // the next start
    else if (PendingMoveSets(folder) != 0) std::abort();  // a live command leaves no journal
    const Files now = WorkSet(folder);
    if (!struck && (!ok || now != after)) std::abort();
    if (!ok && f != Kill && now != before) std::abort();
    if (now != before && now != after) std::abort();
  }
  return 0;
}
