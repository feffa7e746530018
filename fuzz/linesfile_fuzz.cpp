// The lines-file reader (copy buffer and parts files): any bytes either paste, or fail and
// leave the sheet untouched; what pastes writes out and reads back to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzzfolder.h"
#include "general/errors.h"
#include "general/linesfile.h"

using namespace zantro;

namespace {

bool SameBytes(const std::vector<LineRecord>& a, const std::vector<LineRecord>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(LineRecord)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzz::MakeFolder("lines");
  std::string path = folder + "/copydata.tmp";
  WriteFileAtomic(path, std::string_view(reinterpret_cast<const char*>(data), size));

  std::vector<LineRecord> sheet(4);
  sheet[1].FLAG = 10;
  sheet[2].FLAG = 30;
  sheet[3].FLAG = 50;
  std::vector<LineRecord> before = sheet;
  int32_t current = 2;
  bool merge = size > 0 && (data[0] & 1);
  try {
    if (!ReadLinesFile(path, sheet, RowSelection{2, 3}, current, merge)) {
      if (!SameBytes(sheet, before)) std::abort();
      return 0;
    }
  } catch (const FileError&) {
    if (!SameBytes(sheet, before) || current != 2) std::abort();
    return 0;
  }
  // Written out and read again, the pasted lines come back as they are.
  if (sheet.size() > 2000) return 0;
  WriteLinesFile(path, sheet, RowSelection{1, static_cast<int32_t>(sheet.size()) - 1});
  auto again = ParseLinesFile(path);
  if (!again) std::abort();
  std::vector<LineRecord> expected(sheet.begin() + 1, sheet.end());
  for (auto& l : expected) l.ItemNo = 0;
  for (auto& l : *again) l.ItemNo = 0;
  if (!SameBytes(*again, expected)) {
    // The writer may normalise texts (";" and line breaks); a second round must be stable.
    std::vector<LineRecord> round(again->size() + 1);
    std::copy(again->begin(), again->end(), round.begin() + 1);
    WriteLinesFile(path, round, RowSelection{1, static_cast<int32_t>(round.size()) - 1});
    auto third = ParseLinesFile(path);
    if (!third || !SameBytes(*third, *again)) std::abort();
  }
  return 0;
}
