// A document opened from the file manager while the window runs: the second start hands the
// document's path to the running window instead of refusing, and ends.
#pragma once
#include <cstdint>
#include <string>

namespace zantro {

// The frame identifier of a handed document ("OPEN"; not a command string, and none of the
// small identifiers companions and scripts use). Its text is the absolute path of the
// document, bytes as the file system names it.
inline constexpr uint32_t kOpenDocumentIdentifier = 0x4F50454E;
// How long the second start waits for the window to take the path.
inline constexpr int kHandOverTimeoutMs = 5000;

// Sends path (made absolute) to the window of class windowClass in runtime. False, with
// *error, when no window took it.
bool HandOverDocument(const std::string& runtime, const char* windowClass, const std::string& path,
                      std::string* error);

}  // namespace zantro
