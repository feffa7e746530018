// The batch recalculation behind "zantro --recalc IN OUT": open a document as the window
// opens it, recompute every sheet and the breakdown list, and write a container file.
// It reads no configuration, takes no single-instance lock and touches no program folder: the
// work files it would write are kept in memory, through the same codecs and steps.
#pragma once
#include <iosfwd>
#include <string>

namespace zantro {

// Returns the exit status: 0 when OUT was written (a duplicate-tax message on err does not
// change that), 1 after any read, computation or file error, which is described on err
// (file, line and field for a bad document); OUT is then neither created nor changed.
int RecalcDocument(const std::string& in, const std::string& out, std::ostream& err);

}  // namespace zantro
