// A document opened from the file manager while the window runs: the second start hands the
// document's path to the running window instead of refusing, and ends.
#pragma once
#include <cstdint>
#include <string>

namespace zantro {

// The frame identifier of a handed document (not a command string: companions never send it).
// Its text is the absolute path of the document, bytes as the file system names it.
inline constexpr uint32_t kOpenDocumentIdentifier = 2;
// How long the second start waits for the window to take the path.
inline constexpr int kHandOverTimeoutMs = 5000;

// Sends path (made absolute) to the window of class windowClass in runtime. False, with
// *error, when no window took it.
bool HandOverDocument(const std::string& runtime, const char* windowClass, const std::string& path,
                      std::string* error);

}  // namespace zantro
