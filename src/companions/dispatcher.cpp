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
}

void DispatchCompanionCommand(TFZANTRO& w, const std::string& text) {
  auto command = CommandOf(text);
  if (!command) return;
  if (const auto* handler = w.FindMessage(std::string(CommandName(*command)))) (*handler)(text);
}

}  // namespace zantro
