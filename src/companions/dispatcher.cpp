#include "companions/dispatcher.h"

#include "companions/launch.h"
#include "companions/print.h"
#include "messages/commands.h"
#include "uzantro/fzantro.h"

namespace zantro {

void InstallCompanions(TFZANTRO& w) {
  RegisterCompanionMessages(w);
  w.CompanionCommand = [&w](int, const std::string& text) { DispatchCompanionCommand(w, text); };
  InstallDialogLaunchers(w);
  InstallSummary(w);
  InstallPriceLibraries(w);
  InstallTakeoffAndFolders(w);
  InstallPrintCommands(w);
  InstallComparison(w);
}

void DispatchCompanionCommand(TFZANTRO& w, const std::string& text) {
  // Names beyond the designed table reach only a handler a module registered for them.
  auto command = CommandOf(text);
  std::string name = command ? std::string(CommandName(*command)) : FieldOf(text, 1);
  if (const auto* handler = w.FindMessage(name)) (*handler)(text);
}

}  // namespace zantro
