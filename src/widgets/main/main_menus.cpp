// Menu tree, picture buttons, recent-file items and the texts taken from the language script.
#include "widgets/main/main_window.h"

#include "widgets/editor/chart_widget.h"
#include "core/editor/size_commands.h"
#include "widgets/printing/print_window.h"
#include "qt/cp1252.h"
#include "widgets/tools/size_show_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <memory>

namespace cam {

QAction* MainWindow::AddItem(QMenu* menu, const char* name, const char* caption, const QKeySequence& key) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        a->setShortcut(key);
        // The shortcuts work wherever the focus is in the window, also in the ON/OFF boxes.
        a->setShortcutContext(Qt::WindowShortcut);
    }
    EnterTypedPhaseFirst(a);
    actions_[a->objectName()] = a;
    return a;
}

// Connected before the command itself, so it runs first.
void MainWindow::EnterTypedPhaseFirst(QAction* a) {
    connect(a, &QAction::triggered, this, &MainWindow::EnterTypedPhase);
}

void MainWindow::NotAvailable(const QString& caption) {
    QString plain = caption;
    plain.remove('&');
    prompt_.message(ToCp1252(plain) + ": this command is not available in this version.", "", Buttons::Ok,
                    Icon::Information);
}

void MainWindow::setCommand(const QString& objectName, std::function<void()> command) {
    QAction* a = action(objectName);
    if (!a) return;
    QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
    EnterTypedPhaseFirst(a);
    connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
}

QMenu* MainWindow::AddMenu(const char* name, const char* caption) {
    QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

QAction* MainWindow::AddTopItem(const char* name, const char* caption) {
    QAction* a = menuBar()->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    EnterTypedPhaseFirst(a);
    actions_[a->objectName()] = a;
    return a;
}

// An item whose command is connected later (setCommand) says so until then.
void MainWindow::Later(QAction* a) {
    connect(a, &QAction::triggered, this, [this, a] { NotAvailable(a->text()); });
}

void MainWindow::BuildMenus() {
    BuildFileMenu();
    BuildSizesMenu();
    BuildOtherMenus();
    BuildContextMenus();
}

void MainWindow::BuildFileMenu() {
    fileMenu_ = AddMenu("fi", "&File");
    connect(AddItem(fileMenu_, "f_newp", "&New", QKeySequence("Ctrl+N")), &QAction::triggered, this,
            &MainWindow::NewFile);
    connect(AddItem(fileMenu_, "f_open", "&Open", QKeySequence("Ctrl+O")), &QAction::triggered, this,
            &MainWindow::OpenFile);
    connect(AddItem(fileMenu_, "f_S", "&Save", QKeySequence("Ctrl+S")), &QAction::triggered, this,
            &MainWindow::SaveFile);
    connect(AddItem(fileMenu_, "f_save", "Save &As .."), &QAction::triggered, this, &MainWindow::SaveFileAs);
    fileMenu_->addSeparator();
    connect(AddItem(fileMenu_, "f_ExpCsv", "E&xport CSV..."), &QAction::triggered, this, &MainWindow::ExportCsvFile);
    connect(AddItem(fileMenu_, "f_ImpCsv", "&Import CSV..."), &QAction::triggered, this, &MainWindow::ImportCsvFile);
    fileMenu_->addSeparator();
    connect(AddItem(fileMenu_, "f_new", "S&el Programmer", QKeySequence("Ctrl+E")), &QAction::triggered, this,
            &MainWindow::NewFile);
    fileMenu_->addSeparator();
    // The printer chosen stays for the run, shared by Select Printer and the print dialog.
    auto printer = std::make_shared<SharedPrinter>();
    connect(AddItem(fileMenu_, "f_SelPr", "Se&lect Printer"), &QAction::triggered, this,
            [this, printer] { ChoosePrinter(p_, prompt_, printer->get(), this); });
    connect(AddItem(fileMenu_, "Pr_size", "&Print", QKeySequence("Ctrl+P")), &QAction::triggered, this,
            [this, printer] { ShowPrintWindow(p_, prompt_, printer->get(), this); });
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setObjectName("F_Mnu_oldF_0");
    recentSeparator_->setVisible(false);
    quitAction_ = AddItem(fileMenu_, "F_quit", "&Exit", QKeySequence("Ctrl+X"));
    connect(quitAction_, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::BuildSizesMenu() {
    QMenu* sizes = AddMenu("s_", "&Sizes");
    connect(AddItem(sizes, "s_sel", "Se&lect Size"), &QAction::triggered, this,
            [this] { RunSizeCommand(&SelectSize); });
    connect(AddItem(sizes, "O_Copy", "Copy &Size"), &QAction::triggered, this, [this] { RunSizeCommand(&CopySize); });
    connect(AddItem(sizes, "s_Clr", "&Erase Size"), &QAction::triggered, this, [this] { RunSizeCommand(&EraseSize); });
    sizes->addSeparator();
    connect(AddItem(sizes, "O_CopyC", "Cop&y Cam"), &QAction::triggered, this, [this] { RunSizeCommand(&CopyCam); });
    connect(AddItem(sizes, "o_Shc", "S&hift Cam"), &QAction::triggered, this, [this] { RunSizeCommand(&ShiftCam); });
    connect(AddItem(sizes, "O_ClC", "E&rase Cam"), &QAction::triggered, this, [this] { RunSizeCommand(&EraseCam); });
    connect(AddItem(sizes, "o_MODC", "&Modify Cam"), &QAction::triggered, this, [this] { LabCamDblClick(p_.CurCam); });
    QAction* undo = AddItem(sizes, "o_Undo", "&Undo", QKeySequence("Ctrl+Z"));
    undo->setEnabled(false);
    connect(undo, &QAction::triggered, this, &MainWindow::UndoPhase);
}

// Functions, Messages, Communic, Options, Demo and Info.
void MainWindow::BuildOtherMenus() {
    Later(AddTopItem("Fu_Set", "Fu&nctions"));
    Later(AddTopItem("Al_Msg", "&Messages"));

    QMenu* comm = AddMenu("Co", "&Communic");
    Later(AddItem(comm, "Tr_Siz", "Size &Transmit"));
    Later(AddItem(comm, "Rc_Siz", "Size &Receive"));
    comm->addSeparator();
    connect(AddItem(comm, "Co_CmpFil", "Compare with &File..."), &QAction::triggered, this,
            &MainWindow::CompareWithFile);
    Later(AddItem(comm, "Co_CmpDev", "Compare with &Device"));
    comm->addSeparator();
    Later(AddItem(comm, "Msg_Trans", "&Alarm Msg Transmit"));
    Later(AddItem(comm, "Msg_Rec", "Alarm &Msg Receive"));
    comm->addSeparator();
    comm->addSeparator();
    Later(AddItem(comm, "Upd_Flash", "&Update FLASH", QKeySequence("Ctrl+U")));

    QMenu* options = AddMenu("op", "&Options");
    Later(AddItem(options, "setcom", "&Set CommPort"));
    connect(AddItem(options, "o_Setlng", "Set &Language"), &QAction::triggered, this, &MainWindow::SetLanguage);
    options->addSeparator();
    connect(AddItem(options, "o_History", "&History", QKeySequence("Ctrl+H")), &QAction::triggered, this,
            &MainWindow::ShowHistory);
    connect(AddItem(options, "o_Snap", "Drag &Snap..."), &QAction::triggered, this, &MainWindow::AskSnapStep);

    QMenu* demo = AddMenu("d_", "&Demo");
    connect(AddItem(demo, "O_Rot", "&Rotate Demo"), &QAction::triggered, this, [this] {
        // The size show may choose another size and cam: the chart shows them on return.
        const int cam = p_.CurCam;
        ShowSizeShowWindow(p_, this);
        if (p_.CurCam != cam) LeaveEditMode();
        Activate();
    });
    Later(AddItem(demo, "o_Ant", "&Advance Demo"));
    connect(AddTopItem("info", "Info"), &QAction::triggered, this, &MainWindow::ShowInfo);
}

// Context menus over the chart: the cam rows and the size caption.
void MainWindow::BuildContextMenus() {
    camMenu_ = new QMenu(this);
    camMenu_->setObjectName("mnul");
    connect(AddItem(camMenu_, "mnul_CopyC", "Copy Cam"), &QAction::triggered, this,
            [this] { RunSizeCommand(&CopyCam); });
    connect(AddItem(camMenu_, "mnul_Shc", "Shift Cam"), &QAction::triggered, this,
            [this] { RunSizeCommand(&ShiftCam); });
    connect(AddItem(camMenu_, "mnul_ClC", "Erase Cam"), &QAction::triggered, this,
            [this] { RunSizeCommand(&EraseCam); });
    connect(AddItem(camMenu_, "mnul_MODC", "Modify Cam"), &QAction::triggered, this,
            [this] { LabCamDblClick(p_.CurCam); });
    sizeMenu_ = new QMenu(this);
    sizeMenu_->setObjectName("mnfo");
    connect(AddItem(sizeMenu_, "mnfo_sel", "Select Size"), &QAction::triggered, this,
            [this] { RunSizeCommand(&SelectSize); });
    connect(AddItem(sizeMenu_, "mnfo_Copy", "Copy Size"), &QAction::triggered, this,
            [this] { RunSizeCommand(&CopySize); });
    connect(AddItem(sizeMenu_, "mnfo_Clr", "Erase Size"), &QAction::triggered, this,
            [this] { RunSizeCommand(&EraseSize); });
}

void MainWindow::BuildButtons() {
    struct ButtonDef {
        const char* name;
        const char* icon;
        int x;
    };
    // File buttons on the left, then the size and cam buttons.
    static const ButtonDef kButtons[] = {
        {"New_Fil", ":/icons/new_file.png", 4},      {"OP_FIL", ":/icons/open_file.png", 34},
        {"Sv_Fil", ":/icons/save_file.png", 64},     {"Sel_Form", ":/icons/select_size.png", 104},
        {"Azz_Form", ":/icons/erase_size.png", 134}, {"GoPrCam", ":/icons/modify_cam.png", 164},
    };
    for (const ButtonDef& s : kButtons) {
        auto* b = new QToolButton(form_);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setIcon(QIcon(QString::fromLatin1(s.icon)));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::StrongFocus);
        b->setGeometry(s.x, 3, 28, 26);
        buttons_[b->objectName()] = b;
    }
    connect(buttons_["New_Fil"], &QToolButton::clicked, this, &MainWindow::NewFile);
    connect(buttons_["OP_FIL"], &QToolButton::clicked, this, &MainWindow::OpenFile);
    connect(buttons_["Sv_Fil"], &QToolButton::clicked, this, &MainWindow::SaveFile);
    connect(buttons_["Sel_Form"], &QToolButton::clicked, this, [this] { RunSizeCommand(&SelectSize); });
    connect(buttons_["Azz_Form"], &QToolButton::clicked, this, [this] { RunSizeCommand(&EraseSize); });
    connect(buttons_["GoPrCam"], &QToolButton::clicked, this, [this] { LabCamDblClick(p_.CurCam); });
}

void MainWindow::ApplyTexts() {
    static const std::pair<const char*, int> kTips[] = {{"GoPrCam", 121}, {"Azz_Form", 122}, {"Sel_Form", 123},
                                                        {"New_Fil", 127}, {"OP_FIL", 128},   {"Sv_Fil", 129}};
    for (const auto& [name, text] : kTips) buttons_[QString::fromLatin1(name)]->setToolTip(FromCp1252(p_.Text(text)));
    action("o_History")->setText(FromCp1252(Text(p_, txt::kHistoryItem)));
    action("o_Snap")->setText(FromCp1252(Text(p_, txt::kSnapItem)));
    chart_->update();  // the remark column caption is text 150
}

void MainWindow::RebuildRecentMenu() {
    for (QAction* a : recent_) {
        fileMenu_->removeAction(a);
        delete a;
    }
    recent_.clear();
    const int n = static_cast<int>(std::min<std::size_t>(p_.RecentFiles.size(), kMaxRecentFiles));
    for (int i = 1; i <= n; ++i) {
        // Paths are the file system's bytes; the caption shows them as the file system names them.
        std::string caption = RecentCaption(p_, i);
        auto* a = new QAction(QString::fromLocal8Bit(caption.c_str()), fileMenu_);
        a->setObjectName(QString("F_Mnu_oldF_%1").arg(i));
        fileMenu_->insertAction(quitAction_, a);
        connect(a, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        recent_.push_back(a);
    }
    recentSeparator_->setVisible(n > 0);
}

}  // namespace cam
