// The window's two control strings to its companions: "WM_CLOSE;" to every window of a class,
// and "WM_Restore;" to bring a running one to the front instead of starting a second one.
#pragma once
#include <initializer_list>
#include <ostream>
#include <string>

#include "platform/transport.h"

namespace zantro {

// How long CloseCompanions waits, over all its classes, for companions to close.
inline constexpr int kCloseWaitMs = 3000;

// Sends "WM_CLOSE;" to every window of each class, class by class in the order given, and
// waits until they are gone. A companion that has not closed when kCloseWaitMs have passed
// is left running and named on report; the call then returns. The wait runs pump.
void CloseCompanions(const std::string& runtime, std::initializer_list<const char*> classes, const Pump& pump,
                     std::ostream& report);

// Sends "WM_Restore;" to a window of the class; true when one was found (also when it did
// not answer in time: a second instance must not be started beside it).
bool RestoreCompanion(const std::string& runtime, const char* windowClass, const Pump& pump);

}  // namespace zantro
