#include "widgets/messages/message_window.h"

#include "core/model/texts.h"
#include "widgets/link/message_transfer_window.h"
#include "core/messages/message_file.h"
#include "core/messages/message_list_commands.h"
#include "widgets/messages/message_list_painter.h"
#include "widgets/messages/message_modify_window.h"
#include "qt/cp1252.h"

#include <QAction>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

// Resources of a static library are registered by name, outside any namespace.
static void InitMessageWindowResources() { Q_INIT_RESOURCE(camdesk); }

namespace cam {

MsgWindow::MsgWindow(Program& p, Prompt& prompt, QtLinePort* port, QWidget* parent)
    : QDialog(parent), p_(p), prompt_(prompt), port_(port) {
    InitMessageWindowResources();
    setObjectName("Messages");
    setWindowTitle(kMsgWindowCaption);
    auto* bar = new QMenuBar(this);
    bar->setObjectName("MsgMenu");
    BuildMenus(bar);

    auto* svFil = new QToolButton(this);
    svFil->setObjectName("Sv_Fil");
    svFil->setIcon(QIcon(":/icons/save_file.png"));
    svFil->setIconSize(QSize(20, 20));
    svFil->setToolTip(FromCp1252(p_.Text(129)));
    lstAlr_ = new QListWidget(this);
    lstAlr_->setObjectName("LstAlr");
    QFont courier("Courier New");
    courier.setStyleHint(QFont::Monospace);
    lstAlr_->setFont(courier);
    lstAlr_->setMinimumSize(QFontMetrics(courier).horizontalAdvance(QString(46, 'W')), 320);
    auto* lm = new QLabel(FromCp1252(Text(p_, txt::kMessageNumber)), this);
    lm->setObjectName("LM");
    lnMsg_ = new QLabel(this);
    lnMsg_->setObjectName("LNMsg");
    QFont big = lnMsg_->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 4);
    lnMsg_->setFont(big);
    auto* tMod = new QPushButton(FromCp1252(Text(p_, txt::kModifyMsg)), this);
    tMod->setObjectName("tMOD");
    tMod->setDefault(true);  // Enter on the list modifies the selected message
    auto* tEx = new QPushButton("E&XIT", this);
    tEx->setObjectName("tEX");

    auto* grid = new QGridLayout(this);
    grid->setMenuBar(bar);
    grid->addWidget(svFil, 0, 0, Qt::AlignLeft);
    grid->addWidget(lstAlr_, 1, 0, 5, 1);
    grid->addWidget(lm, 1, 1);
    grid->addWidget(lnMsg_, 2, 1, Qt::AlignHCenter);
    grid->addWidget(tMod, 3, 1);
    grid->setRowStretch(4, 1);
    grid->addWidget(tEx, 5, 1);
    grid->setColumnStretch(0, 1);

    connect(svFil, &QToolButton::clicked, this, &MsgWindow::SaveList);
    connect(tMod, &QPushButton::clicked, this, &MsgWindow::ModifySelected);
    connect(tEx, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstAlr_, &QListWidget::itemDoubleClicked, this, &MsgWindow::ModifySelected);
    connect(lstAlr_, &QListWidget::currentRowChanged, this,
            [this](int row) { lnMsg_->setText(row >= 0 ? QString::number(row + 1) : QString()); });
}

QAction* MsgWindow::AddItem(QMenu* menu, const char* name, const char* caption, void (MsgWindow::*command)(),
                            const QKeySequence& key) {
    QAction* a = menu->addAction(QString::fromLatin1(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, command);
    actions_[a->objectName()] = a;
    return a;
}

void MsgWindow::BuildMenus(QMenuBar* bar) {
    QMenu* file = bar->addMenu("&File");
    file->setObjectName("mFile");
    AddItem(file, "f_New", "&New", &MsgWindow::NewList, QKeySequence::New);
    AddItem(file, "f_Open", "&Open", &MsgWindow::OpenList, QKeySequence::Open);
    AddItem(file, "f_Save", "&Save", &MsgWindow::SaveList, QKeySequence::Save);
    AddItem(file, "f_SaveAs", "Save &as", &MsgWindow::SaveListAs);
    file->addSeparator();
    AddItem(file, "f_Font", "Fo&nt Selection", &MsgWindow::FontSelection);
    AddItem(file, "f_SelPr", "Printer Se&lection", &MsgWindow::PrinterSelection);
    AddItem(file, "f_Print", "&Print", &MsgWindow::PrintList, QKeySequence::Print);
    file->addSeparator();
    QAction* exit = file->addAction("&Exit");
    exit->setObjectName("f_Exit");
    connect(exit, &QAction::triggered, this, &QDialog::reject);
    actions_[exit->objectName()] = exit;

    QMenu* search = bar->addMenu("&Search");
    search->setObjectName("mSearch");
    AddItem(search, "s_Text", "&Text", &MsgWindow::SearchText, QKeySequence::Find);
    AddItem(search, "s_Number", "&Number", &MsgWindow::SearchNumber, QKeySequence("Ctrl+G"));

    QMenu* comm = bar->addMenu("&Communic");
    comm->setObjectName("mCommunic");
    AddItem(comm, "c_Trans", "Transmit MSG", &MsgWindow::TransmitMsg)->setEnabled(port_ != nullptr);
    AddItem(comm, "c_Rec", "Receive MSG", &MsgWindow::ReceiveMsg)->setEnabled(port_ != nullptr);
}

QAction* MsgWindow::action(const QString& objectName) const {
    auto it = actions_.find(objectName);
    return it == actions_.end() ? nullptr : it->second;
}

void MsgWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (listed_) return;
    MsgList();
    listed_ = true;
}

void MsgWindow::MsgList() {
    lstAlr_->clear();
    for (const std::string& entry : cam::MsgList(p_)) lstAlr_->addItem(FromCp1252(entry));
    Select(0);
}

void MsgWindow::ShowFileTitle() { setWindowTitle(FromCp1252(MsgOpenedTitle(p_.MsgFile))); }

void MsgWindow::Select(int index) {
    if (index < 0 || index >= lstAlr_->count()) return;
    lstAlr_->setCurrentRow(index);
    lstAlr_->scrollToItem(lstAlr_->item(index));
    lnMsg_->setText(QString::number(index + 1));
}

void MsgWindow::done(int result) {
    if (!ConfirmMsgDiscard(p_, prompt_)) return;  // Cancel keeps the window open
    QDialog::done(result);
}

void MsgWindow::ModifySelected() {
    const int index = lstAlr_->currentRow();
    const std::vector<std::string> entries = cam::MsgList(p_);
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    BeginMsgEdit(p_, index, entries[static_cast<std::size_t>(index)]);
    const std::optional<std::string> typed = ModifyMessage(p_.EditMsgText, p_.EditMsgNum, this);
    lstAlr_->item(index)->setText(FromCp1252(EndMsgEdit(p_, typed)));
}

void MsgWindow::SearchNumber() {
    if (const auto index = SearchMsgNumber(p_, prompt_)) Select(*index);
}

void MsgWindow::SearchText() {
    if (const auto index = SearchMsgText(p_, prompt_, cam::MsgList(p_))) Select(*index);
}

void MsgWindow::NewList() {
    if (MsgNew(p_, prompt_)) MsgList();
}

void MsgWindow::OpenList() {
    if (!MsgOpen(p_, prompt_)) return;
    ShowFileTitle();
    MsgList();
}

void MsgWindow::SaveList() {
    const std::string before = p_.MsgFile;
    if (MsgSave(p_, prompt_) && p_.MsgFile != before) ShowFileTitle();
}

void MsgWindow::SaveListAs() {
    if (MsgSaveAs(p_, prompt_)) ShowFileTitle();
}

void MsgWindow::FontSelection() {
    QFont start(p_.PrnFontName.empty() ? QString("Arial") : FromCp1252(p_.PrnFontName));
    start.setPointSizeF(p_.PrnFontSize > 0 ? p_.PrnFontSize : 9.75);
    start.setBold(p_.PrnFontBold);
    start.setItalic(p_.PrnFontItalic);
    QFontDialog dialog(start, this);
    dialog.setObjectName("FontDialog");
    if (dialog.exec() != QDialog::Accepted) return;  // the printer keeps its font
    const QFont chosen = dialog.selectedFont();
    p_.PrnFontName = ToCp1252(chosen.family());
    p_.PrnFontSize = chosen.pointSizeF();
    p_.PrnFontBold = chosen.bold();
    p_.PrnFontItalic = chosen.italic();
}

void MsgWindow::PrinterSelection() {
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterChoice(p_, printer);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("PrintDialog");
    if (dialog.exec() == QDialog::Accepted) KeepPrinterChoice(p_, printer);
}

void MsgWindow::PrintList() {
    if (const Result printed = PrintMsgList(p_); !printed)
        prompt_.message(Fill(Text(p_, txt::kCannotPrint), {printed.reason()}), "", Buttons::Ok, Icon::Exclamation);
}

void MsgWindow::TransmitMsg() {
    if (port_) RunMsgListTransmit(p_, *port_, prompt_, this);
}

void MsgWindow::ReceiveMsg() {
    if (port_ && RunMsgListReceive(p_, *port_, prompt_, this)) MsgList();
}

void ShowMessageWindow(Program& p, Prompt& prompt, QtLinePort& port, QWidget* parent) {
    MsgWindow window(p, prompt, &port, parent);
    window.exec();
}

}  // namespace cam
