// Starting other programs: companions in the program folder and the helper programs that
// stand in for notepad, the calculator and the manual. Arguments go to the program as one
// argv element, never through a shell.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zantro {

class Launcher {
 public:
  // Called before every start with the program path and the argument (bytes as given).
  // The headless front prints "launch:" lines from it.
  using Observer = std::function<void(const std::string& program, const std::optional<std::string>& argument)>;

  virtual ~Launcher() = default;

  // Starts program in workdir with argument as argv[1] (no argv[1] when nullopt). The child
  // gets no inherited descriptor that is close-on-exec here (the instance lock). False when
  // the program cannot be started.
  virtual bool Start(const std::string& program, const std::optional<std::string>& argument,
                     const std::string& workdir);

  // Starts and waits for the end of the program; pump runs between polls (every 20 ms) so the
  // window keeps serving its events. Returns the exit status, or -1 when it did not start.
  virtual int StartAndWait(const std::string& program, const std::optional<std::string>& argument,
                           const std::string& workdir, const std::function<void()>& pump);

  void SetObserver(Observer o) { observer_ = std::move(o); }
  // Tells the observer of a start that does not happen here (helpers in headless mode).
  void Report(const std::string& program, const std::optional<std::string>& argument) {
    if (observer_) observer_(program, argument);
  }

 protected:
  // Spawns the process; pid or -1.
  int Spawn(const std::string& program, const std::optional<std::string>& argument, const std::string& workdir);
  // Collects finished children started without waiting, so none stays a zombie.
  void Reap();
  Observer observer_;
};

// The companion "name.exe" of the documents is the file "name" in the program folder, or,
// for a program folder of a user's own (SetProgramsFolder), in the installed folder.
std::string CompanionPath(const std::string& programFolder, std::string_view exeName);
// The companions of programFolder lie in programs: set once at start, by the program shell.
void SetProgramsFolder(const std::string& programFolder, const std::string& programs);
// Present when that exact name is a regular, executable file.
bool CompanionPresent(const std::string& programFolder, std::string_view exeName);

// The helper programs: "notepad.exe" and "calc.exe".
enum class Helper { Notepad, Calc };
std::string_view HelperDocName(Helper h);
// The program to run and its argument: the first installed of the helper's list (found in
// PATH). nullopt when nothing is installed (the caller shows a notice).
struct HelperCommand {
  std::string program;
  std::optional<std::string> argument;
};
std::optional<HelperCommand> FindHelper(Helper h);
// The program of PATH named name, or nullopt.
std::optional<std::string> FindInPath(std::string_view name);

}  // namespace zantro
