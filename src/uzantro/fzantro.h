// TFZANTRO: the main window. Components carry their designed names as Qt object names, so
// every handler, script and later module finds them by name; a command word sits in the
// "hint" property of an item or button and reaches Dispatch. The handlers are split by
// concern over startup.cpp, documents.cpp, sheetview.cpp, widths.cpp, tabs.cpp, commands.cpp.
#pragma once
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "uzantro/itemtabs.h"
#include "general/document.h"
#include "general/editframe.h"
#include "general/undohistory.h"
#include "general/engine.h"
#include "platform/gui/dialogs.h"
#include "platform/launcher.h"
#include "general/linesfile.h"
#include "uzantro/commandtable.h"
#include "uzantro/config.h"
#include "uzantro/gridalias.h"
#include "uzantro/rowtext.h"
#include "uzantro/windowport.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QWidget;

namespace zantro {

// What the window shows, held as values: the handlers read these, never widget properties.
enum class ViewMode { Sheet, Breakdown };
struct ViewSettings {
  int AmountSide = 6;  // 1 cost values; anything else submitted (the designed tag of netbt is 6)
  int PriceKind = 0;   // 0 normal unit price, 1 incidental unit price
  ViewMode Mode = ViewMode::Sheet;  // tab 0 shows the breakdown list, every other tab a sheet
};

// What the program entry hands the window.
struct WindowSetup {
  std::string ProgramFolder;    // absolute, no trailing "/"
  std::string ExecutableName;   // basename of argv[0], links not resolved
  std::string StartupDocument;  // first argument, UTF-8 path; empty for none
  QRect WorkArea;               // the desktop work area
  QSize ScreenSize;             // the whole screen (N103, the width files)
  Dialogs* dialogs = nullptr;
  Launcher* launcher = nullptr;
  bool Headless = false;        // helper programs are reported, not started
};

class TFZANTRO : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFZANTRO(const WindowSetup& setup);
  ~TFZANTRO() override;

  // ---- state other modules read ----
  Document& Doc() { return doc_; }
  const std::string& ProgramFolder() const { return programFolder_; }
  int ProgramEdition() const { return programEdition_; }
  // The headless front: desktop programs (helpers, the opener) are reported, not started.
  bool Headless() const { return headless_; }
  ZantroConfig& Config() { return conf_; }
  Dialogs& Dlg() { return *dialogs_; }
  Launcher& Launch() { return *launcher_; }
  TStrColGrid* Grid() { return grid_; }
  ItemTabBar* Tabs() { return tabs_; }
  const ViewSettings& View() const { return view_; }
  bool SheetMode() const { return view_.Mode == ViewMode::Sheet; }
  int LevelIndex() const;
  // The grid's selected rows (row r is line r), and the line number column 0 shows on the top
  // selected row (none when that row shows no number).
  RowSelection SelectedRows() const;
  std::optional<int32_t> SelectedLineNumber() const;

  // Finds a component by its designed name (widget, menu or action).
  QObject* Component(const QString& name) const;
  QAction* Action(const QString& name) const;

  // Runs fn as an event boundary: the program's errors are caught and shown.
  void Guard(const std::function<void()>& fn);

  // ---- start-up and shut-down (startup.cpp) ----
  // The companion command "WM_CLOSE": no question, the window closes.
  void CloseWithoutQuestion();

  // ---- documents (documents.cpp) ----
  void NewDocument();
  // False when the file could not be read, did not recompute or could not be written; in the
  // first two cases the open document, its name and its work files are as they were.
  bool OpenDocument(const QString& path);
  void OpenItem(int32_t n);
  // The undo point outside a command: a companion that writes lines or items is starting, or
  // asks for it. The one writer of undo sets (WriteUndoSet) takes the document as it is now
  // and drops the kept files of the previous command. Raises FileError when it cannot.
  void TakeUndoPoint(EditScope scope = EditScope::Sheet);
  // A command committed with its undo set (written from before): the same files, as they
  // were, become a step of the undo history (Ctrl+Z); the redo side is cleared.
  void RecordUndoStep(EditScope scope, const Document& before,
                      const std::map<std::string, std::optional<std::string>>& kept = {});
  void SaveHeadTo(std::string_view set);
  // SaveSheet for commands outside an edit frame; raises FileError when it fails.
  void SaveSheetChecked(std::string_view set);
  // Lines a companion wrote without saving (WM_DATAWRITE_DISP, WM_MULTIWRITE) reach the
  // working copy before the sheet is left or its work files are read.
  void MarkSheetUnsaved() { sheetUnsaved_ = true; }
  void MarkSheetSaved() { sheetUnsaved_ = false; }
  void SaveUnsavedSheet();

  // ---- companions seam (filled by the companions module) ----
  // Brings a running companion of the class to the front; true when one was found.
  std::function<bool(const char* windowClass)> RestoreCompanion = [](const char*) { return false; };
  // Sends "WM_CLOSE;" to every running companion of the classes.
  std::function<void(std::initializer_list<const char*> classes)> CloseCompanions = [](auto) {};
  // Receives the command strings of companions (identifier, Shift-JIS text). Only frames
  // with the command identifier 1 reach it (ReceiveFrame). Until the companions module sets
  // its dispatcher, the message handlers registered below answer.
  std::function<void(int id, const std::string& text)> CompanionCommand;
  // A frame from a companion, from the socket or the script's message verbs: a frame with
  // another identifier is not a command and is ignored; errors are shown, never thrown.
  void ReceiveFrame(uint32_t id, const std::string& text);
  // The handler a module registers for the command strings named name (field 1); the text is
  // the whole command string, Shift-JIS. A name registered twice raises std::logic_error.
  using MessageHandler = std::function<void(const std::string& text)>;
  void RegisterMessage(const std::string& name, MessageHandler handler);
  // The handler registered for name, or nullptr.
  const MessageHandler* FindMessage(const std::string& name) const;
  // Starts companion exeName with argument; false (and nothing started) when it is missing.
  bool StartCompanion(std::string_view exeName, const std::string& argument);
  // Starts companion exeName and waits for its end (the CSV editor, the takeoff programs).
  // Meanwhile the window serves companion commands and its timers but takes no input from
  // the user; a close asked for meanwhile happens when the wait is over. Returns the exit
  // status, or -1 when the program did not start.
  int StartCompanionAndWait(std::string_view exeName, const std::optional<std::string>& argument);
  bool Waiting() const { return waiting_; }
  // The five piping folder names of the network-folder file, when it exists.
  std::function<std::optional<std::array<std::string, 5>>()> PipingFolderNames;
  // The pipe and duct network folders handed to their companions.
  std::function<std::string()> PipeNetworkFolder = [] { return std::string(); };
  std::function<std::string()> DuctNetworkFolder = [] { return std::string(); };
  // Draws the breakdown list on tab 0 into the grid the window hands it (the breakdown
  // module); until then an empty grid. Only the window calls it, from Changed.
  std::function<void(TStrColGrid& grid)> ShowBreakdownList;

  // ---- the one way a change reaches the screen (shown.cpp) ----
  // Every handler that changed the document says so here, after its edit frame committed or
  // rolled back. The window shows the view in force again from the document: the sheet's rows
  // or the breakdown list, the totals boxes, the name of the item, and for Items and Document
  // the tab captions. Nothing is recomputed: the frame did that.
  void Changed(ChangeScope scope);

  // ---- the sheet view (sheetview.cpp) ----
  // Redraws the sheet rows. Rows whose line is unchanged keep their texts; the texts of lines
  // that only changed places move with them, so a command over a few lines of a long sheet
  // redraws only those. Code that writes sheet cells of the grid other than through
  // FormatRow calls InvalidateSheetRows first, so the next refresh redraws every row.
  void RefreshSheet();
  void InvalidateSheetRows() { shown_.Valid = false; }
  // Raises MoneyOverflow (the boxes emptied) when an amount does not fit.
  void ShowTotals(int32_t mode);
  // The grid has a row numbered row (commands that reach past the end select it).
  void EnsureGridRow(int row);
  // The grid shrinks to rows rows, keeping one past the last line (a sheet handed to the
  // takeoff program starts over).
  void TrimGridRows(int rows);
  void SelectRows(int top, int bottom);
  // The captions of the five price levels (Level_box).
  QStringList LevelCaptions() const;
  // The caption of a menu item or button (a library's name as its menu gives it).
  QString CaptionOf(const QString& name) const;
  // The path of the open document shown in DocName.
  void ShowDocumentPath(const QString& path);
  RowView ViewState() const;

  // ---- tabs (tabs.cpp) ----
  void RebuildItemTabs();
  // The user clicks tab index (a click on the current tab changes nothing).
  void TabClicked(int index);
  void EnterSheetMode();

  // ---- commands (commands.cpp) ----
  // The dispatcher of command words; sender is the item or button that carried the hint.
  // A word without a handler for the mode shown: on the breakdown list "現在は内訳モードです。",
  // on a sheet nothing; a word no module registered is reported as an error.
  void Dispatch(const QString& word, QObject* sender = nullptr);
  // Every module registers its words at start-up (see CommandTable); twice for the same mode
  // raises std::logic_error.
  void RegisterCommand(const QString& word, CommandMode mode, CommandHandler handler);
  // A handler for a menu item, button or panel by object name; it takes the item before its
  // hint. The second form is handed the item (its tag and caption tell the variant).
  void RegisterClick(const QString& name, std::function<void()> handler);
  void RegisterItemClick(const QString& name, std::function<void(QObject* item)> handler);
  // A plug-in's own item named name at the end of the menu named menu, after a separator; its
  // click reaches the handler registered for name like any other item's. False (and nothing
  // added) when there is no such menu.
  bool AddMenuItem(const QString& menu, const QString& name, const QString& caption);

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  // documents.cpp: Ctrl+Z (redo false) and Ctrl+Y / Ctrl+Shift+Z (redo true) over history_.
  void StepThroughHistory(bool redo);
  // ---- the window's own steps (start-up, documents, the sheet view, widths, tabs, the
  // dispatcher): plug-ins reach none of them ----
  int AmountSide() const { return view_.AmountSide; }
  int PriceKind() const { return view_.PriceKind; }
  QPushButton* Button(const QString& name) const;
  QLabel* Label(const QString& name) const;
  void AddGridRows(int n);
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormDestroy();
  void ApplyConfiguration();       // LoadZantroConf and the derived captions
  void ApplyButtonSet();
  void ApplyPriceLevels();
  void ApplyLevelChecks();         // the Level menu items follow Level_box
  void ApplyTitleCaptions();       // [TITLE1], [TITLE2], the bars, [[EDIT_OPT3]]
  void ShowTitleBoxes();
  // NewDocument without writing the empty document's work files (an open writes its own).
  void StartEmptyDocument(bool makeBackup = true);
  void NewCommand();
  void OpenCommand();
  void Version1Command();
  void RestoreUndoSet();
  void SaveSheetTo(std::string_view set);
  void SaveCommand(int mode);      // KS1, SaveIcon (mode 0), the close question (mode 1)
  void StartHelper(Helper h);
  void SetColumnHeaders();
  void FormatRow(int r);
  // ShowTotals(0) and RefreshSheet; an overflow is shown as an error and the sheet still drawn.
  void ShowSheet();
  void ShowLineProperties();
  void SetAmountSide(int side);
  void TogglePriceKind();
  void SetLayout(ColumnLayout layout);
  void ResetSheetFormat();
  void SelectTopLine();
  void SelectLastLine();
  void SaveSheetWidths();
  void SaveBreakdownWidths();
  void ApplySheetLayout();
  void ApplyBreakdownWidths();
  void SetListBoxEntries(const QStringList& numbers);  // ListBox1 := numbers, untouched when equal
  void TabControl1Change(int index);
  void SelectTab(int index);       // silently, as the program's own code does
  void EnterBreakdownMode();
  // The menu and popup items with a command word, and the buttons with one.
  void popup_menu_itemClick(QObject* sender);
  void Operate_btnClick(QObject* sender);
  void StrColGrid1DblClick();
  void MDATA1Click(QObject* sender);

  // components.cpp
  void BuildComponents();
  void BuildMenus();
  void BuildCalcPriceItems(QMenu* menu, bool popup);
  void BuildTitleArea(QWidget* parent);
  void BuildLeftBar(QWidget* parent);
  QWidget* BuildCommandButtons();
  QWidget* BuildTotalsPanel();
  QMenu* AddMenu(const QString& name, const QString& title);
  void AddBreakdownItems(QMenu* menu, const QString& suffix);
  QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, const QString& hint = {},
                   const QString& shortcut = {}, int tag = 0);
  QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, const QString& hint = {},
                         int tag = 0);
  QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text = {});
  void ConnectHandlers();
  void OnActivated(QObject* component);
  // menucommands.cpp
  void ConnectMenuCommands();
  void RegisterViewCommands();
  void BuildConvertMenu(QMenu* menu);
  void ApplyCompanionPresence();
  void SetMenuEnabled(const QString& name, bool on);
  // startup.cpp: the geometry of the position file is the frame's; applied again once the
  // window manager has framed the window.
  bool ApplyFrameGeometry();
  void AwaitFrame(int triesLeft);

  Document doc_;
  std::string programFolder_;
  std::string executableName_;
  std::string startupDocument_;
  int programEdition_ = 1;
  QRect workArea_;
  QSize screenSize_;
  QPoint framePos_;                // the frame as the position file gives it
  QSize frameSize_;
  bool headless_ = false;
  ZantroConfig conf_;
  std::string dataDir_;            // [Data_Dir], or Sample of the program folder once used
  Dialogs* dialogs_;
  Launcher* launcher_;
  int formTag_ = 0;
  bool closingAllowed_ = false;
  bool panel32Hidden_ = false;
  bool sheetUnsaved_ = false;
  bool waiting_ = false;           // a companion is waited for: no user input (InputRefusal)
  bool closeAfterWait_ = false;

  TStrColGrid* grid_ = nullptr;
  ItemTabBar* tabs_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  QComboBox* levelBox_ = nullptr;
  QLineEdit* docName_ = nullptr;
  std::map<QString, QObject*> components_;
  ViewSettings view_;
  CommandTable commands_;
  UndoHistory history_;
  // What the sheet rows of the grid showed at the last refresh.
  struct ShownSheet {
    bool Valid = false;
    RowView View;
    int Rows = 0, Cols = 0;
    std::vector<LineRecord> Lines;
  } shown_;
  void RedrawAllRows();
  bool RedrawChangedRows();
  // shown.cpp: the parts of Changed.
  void ShowTabsOfDocument();
  void ShowTotalsBoxes();
  void DrawBreakdownList();
  std::map<QString, std::function<void(QObject*)>> clicks_;
  std::map<std::string, MessageHandler> messages_;
};

// The window that receives engine messages (one per process).
TFZANTRO* MainWindow();

// The notice for a companion that is not installed: what is missing, then where to get it.
QString NotInstalledNotice(const QString& what);

// Shift-JIS bytes of a record or file to a QString, and back.
QString Q(std::string_view cp932);
std::string Sjis(const QString& text);

}  // namespace zantro
