// The window's side of the companion programs, installed into TFZANTRO at start-up: the
// command strings companions send, the companion launchers, the price libraries, printing,
// the takeoff programs and the network folders.
#pragma once
#include <string>

namespace zantro {

class TFZANTRO;

// Everything of this module; call once, after the window is built and before it is shown.
void InstallCompanions(TFZANTRO& w);

// A command string (identifier 1) runs the handler registered for its command name (field 1,
// exact). A name the window does not know is ignored; so is a known one whose module is not
// installed. Handlers decode their whole text before they change anything.
void DispatchCompanionCommand(TFZANTRO& w, const std::string& text);

// The handlers of the commands this module answers (every command but those of the
// breakdown list: WM_KEITO, WM_FILEADD, WM_KEIHIWRITE, WM_ITEM_UNDO_SAVE, WM_ITEMNOTE,
// WM_ITEM_DATADISP, WM_ITEMPLAN, which the breakdown module registers).
void RegisterCompanionMessages(TFZANTRO& w);

// The detail-line write of WM_DATAWRITE, WM_DATAWRITE_DISP, WM_MULTIWRITE and WM_CALCDATA at
// the top row of the selection: insert first puts blank lines there (the sheet's insert
// command), save writes the working copy (otherwise the sheet is marked unsaved). Nothing
// happens while the breakdown list is shown. The cursor moves one row down afterwards.
void WriteDetailLine(TFZANTRO& w, const std::string& text, bool insert, bool save);

}  // namespace zantro
