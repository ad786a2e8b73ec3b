// The main window: menu bar, picture buttons and the chart canvas; it runs the start-up
// and shut-down of the program and forwards every command to the core routines.
// Its behaviour is split over main_window.cpp (shell, activation, shut-down, drops),
// main_menus.cpp, main_editing.cpp (phase editing), main_history.cpp (drags on the chart and
// the change history), main_commands.cpp (file and size commands) and main_startup.cpp.
#pragma once

#include "core/camfile/file_commands.h"
#include "core/model/program.h"
#include "core/model/prompt.h"
#include "core/model/startup.h"
#include "core/model/texts.h"
#include "core/editor/cam_document.h"
#include "core/editor/cam_drag.h"
#include "core/editor/phase_editing.h"
#include "core/link/size_transfer.h"
#include "widgets/ui/qt_resizer.h"

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QMenu;
class QToolButton;

namespace cam {

class ChartWidget;
class SingleInstance;
struct CommandResult;
struct Comparison;

struct StartupSettings {
    std::string exeDir;          // where the default language script is looked up first
    CommandLine commandLine;     // file, port, trace, screenshot
    bool singleInstance = true;  // take the lock of the working folder
    bool writeOptions = true;    // write the options file on shut-down
    bool askDevice = true;       // run identifyDevice at start-up
    std::string documentsDir;    // "" = the system's documents folder
    std::string homeDir;         // "" = the system's home folder
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Program& p, Prompt& prompt, StartupSettings settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence. False when the program must end (another instance runs).
    bool RunStartup();

    // Asks the connected device for its model (sets NCams, NSizes, NEncoders, NMsgs) and
    // reports by itself when no device answers. Called at start-up; false = no answer.
    std::function<bool()> identifyDevice = [] { return false; };
    // Status line of the programmer window ("" = unconnected port).
    std::function<std::string()> portStatus;

    // Connects a menu item that has no command yet (functions, messages, transfers...):
    // until then it says that the command is not available.
    void setCommand(const QString& objectName, std::function<void()> command);

    const StartupSettings& settings() const { return settings_; }  // --trace, --port of this run
    ChartWidget* chart() const { return chart_; }
    PhaseEditor& editor() { return editor_; }
    QAction* action(const QString& objectName) const;
    QMenu* camMenu() const { return camMenu_; }
    QMenu* sizeMenu() const { return sizeMenu_; }

    // Renders the whole window, menu bar included, into a PNG of exactly width x height.
    bool SaveScreenshot(const QString& path, int width, int height, std::string* error);

    // Commands, as the menus, buttons and mouse reach them.
    void LabCamClick(int row);
    void LabCamDblClick(int row);
    void NavigateTo(NavKey key);
    void UndoPhase();
    void RunSizeCommand(CommandResult (*command)(Program&, CamDocument&, Prompt&));
    void NewFile();
    void OpenFile();
    void SaveFile();
    void SaveFileAs();
    void OpenRecentFile(int item);
    void OpenDroppedFiles(const std::vector<std::string>& files);
    void SetLanguage();
    void ShowInfo();
    void Activate();  // what happens each time the window becomes active
    // A phase still in the OFF box is entered as a click on another row would enter it, so
    // that a command reads the program the chart shows. Every menu command runs it first.
    void EnterTypedPhase();
    // Another program in place of the one shown (a reception): one entry of the change
    // history, unsaved; the chart shows its size 1.
    void TakeProgram(std::string label, CamData data);
    // Size Receive: after the unsaved-work question, receive gets the device's program of
    // the tables' cam count; only a whole one replaces the tables.
    using Reception = std::function<Outcome<ReceivedProgram>(std::optional<int> expectedCams)>;
    void ReceiveSizes(const Reception& receive);
    void TablesReplaced() { Apply(FileOutcome{true, true, {}, false}); }  // e.g. after a reception
    // Comparing and exchanging programs (main_exchange.cpp): Compare with File, the compare
    // window of any comparison (a difference chosen there shows its size and cam on the
    // chart), Export CSV and Import CSV.
    void CompareWithFile();
    void ShowComparison(const Comparison& comparison);
    void ShowSizeAndCam(int size, int cam);
    void ExportCsvFile();
    void ImportCsvFile();

    // The program data: every change goes through its edit path, which keeps the change
    // history; whether the file is saved is its to tell.
    CamDocument& document() { return document_; }
    void ShowHistory();
    void AskSnapStep();
    // One drag on the row of cam (0-based) from position from to position to, as the mouse
    // makes it: the cam is selected and opened first. False when nothing was written.
    bool PerformDrag(int cam, int from, int to);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // main_menus.cpp
    void BuildMenus();
    void BuildFileMenu();
    void BuildSizesMenu();
    void BuildOtherMenus();
    void BuildContextMenus();
    QMenu* AddMenu(const char* name, const char* caption);
    QAction* AddTopItem(const char* name, const char* caption);
    void Later(QAction* a);
    void BuildButtons();
    void RebuildRecentMenu();
    void ApplyTexts();
    QAction* AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& key = {});
    void EnterTypedPhaseFirst(QAction* a);
    void NotAvailable(const QString& caption);

    // main_editing.cpp
    void ConnectEditing();
    void LeaveEditMode();
    void SelectRow(int row);  // the click on a row that is not swallowed
    void RenderEditor();
    void Redraw();
    void ShowCamMenu(int row, QPoint globalPos);
    void LeaveOffBox();  // writes the phase of the boxes, as leaving the OFF box does

    // main_history.cpp
    void ConnectDrag();
    void BeginDrag(int row, int from, int reach);
    void DragTo(int to, bool shift, QPoint globalPos);
    bool FinishDrag();  // true when the drag wrote a phase
    void CancelDrag();

    // main_commands.cpp
    void Apply(const FileOutcome& outcome);
    void Apply(const CommandResult& result);

    // main_startup.cpp
    bool Startup(bool again);
    void WriteOptionsFile();

    Program& p_;
    Prompt& prompt_;
    StartupSettings settings_;
    CamDocument document_;
    PhaseEditor editor_;
    ChartWidget* chart_ = nullptr;
    QWidget* form_ = nullptr;
    ClsResize resizer_;
    std::unique_ptr<SingleInstance> instance_;
    std::map<QString, QAction*> actions_;
    std::map<QString, QToolButton*> buttons_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QAction* quitAction_ = nullptr;
    std::vector<QAction*> recent_;
    QMenu* camMenu_ = nullptr;
    QMenu* sizeMenu_ = nullptr;
    CamDrag drag_;
    QString dragOn_, dragOff_;  // what the boxes showed at the press (Esc puts it back)
};

}  // namespace cam
