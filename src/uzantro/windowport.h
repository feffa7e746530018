// What a change of the document touches, as the window's plug-ins report it. Only the window
// turns a change into redraws, and it derives everything it shows from the document: the
// rows of the sheet or of the breakdown list, the totals boxes, the tab captions and the
// item's name. A handler never draws a row itself, so no redraw can be forgotten.
#pragma once

namespace zantro {

enum class ChangeScope {
  Lines,     // the open sheet's lines (and so the totals)
  Items,     // the breakdown list: items, their names and amounts (the tabs follow)
  Document,  // anything: a new document, an undo set put back
};

}  // namespace zantro
