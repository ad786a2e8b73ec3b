#include "widgets/main/main_window.h"
#include "widgets/main/window_shots.h"

#include "core/model/options.h"
#include "paint/chart_painter.h"
#include "widgets/editor/chart_widget.h"
#include "core/messages/message_file.h"
#include "qt/cp1252.h"
#include "widgets/ui/qt_single_instance.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QUrl>

// Resources of a static library are registered by name, outside any namespace.
static void InitCamdeskResources() { Q_INIT_RESOURCE(camdesk); }

namespace cam {

namespace {
// The central area in design pixels: the picture buttons above the chart canvas.
constexpr int kButtonRow = 32;
constexpr int kFormWidth = chart::kWidth;
constexpr int kFormHeight = kButtonRow + chart::kHeight;
}  // namespace

MainWindow::MainWindow(Program& p, Prompt& prompt, StartupSettings settings, QWidget* parent)
    : QMainWindow(parent), p_(p), prompt_(prompt), settings_(std::move(settings)), document_(p), editor_(p, document_) {
    InitCamdeskResources();
    setObjectName("Main");
    setAcceptDrops(true);
    form_ = new QWidget(this);
    form_->setObjectName("Form");
    setCentralWidget(form_);
    chart_ = new ChartWidget(p_, form_);
    chart_->setGeometry(0, kButtonRow, kFormWidth, chart::kHeight);
    BuildButtons();
    BuildMenus();
    ConnectEditing();
    ConnectDrag();
    // The resizer records the controls at their design size, before the window is sized.
    form_->resize(kFormWidth, kFormHeight);
    resizer_.setSourceForm(this);
    resizer_.ReInitialise();
    form_->installEventFilter(this);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

QAction* MainWindow::action(const QString& objectName) const {
    auto it = actions_.find(objectName);
    return it == actions_.end() ? nullptr : it->second;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == form_ && e->type() == QEvent::Resize) {
        // Controls in proportion to the window, then the chart drawn again at its new size; the
        // phase list holds the same entries at any size.
        resizer_.ResizeControls();
        chart_->update();
        return false;
    }
    if (e->type() == QEvent::KeyPress) {
        // The window sees the cam navigation keys before any of its controls.
        auto* w = qobject_cast<QWidget*>(watched);
        auto* k = static_cast<QKeyEvent*>(e);
        if (w && w->window() == this && (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // Enter on the Modify Cam button opens the cam, as Space does.
            if (w == buttons_["GoPrCam"] && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)) {
                LabCamDblClick(p_.CurCam);
                return true;
            }
            switch (k->key()) {
                case Qt::Key_PageUp:
                    NavigateTo(NavKey::PageUp);
                    return true;
                case Qt::Key_PageDown:
                    NavigateTo(NavKey::PageDown);
                    return true;
                case Qt::Key_Home:
                    NavigateTo(NavKey::Home);
                    return true;
                case Qt::Key_End:
                    NavigateTo(NavKey::End);
                    return true;
                default:
                    break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) Activate();
}

void MainWindow::Activate() {
    setWindowTitle(FromCp1252(ActivationTitle(p_)));
    Redraw();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    EnterTypedPhase();
    WriteOptionsFile();
    // The sizes, then the alarm messages edited in the message window (in this visit or an
    // earlier one): either question may keep the program open.
    if (!QueryClose(p_, document_, prompt_, ToCp1252(windowTitle())) || !ConfirmMsgDiscard(p_, prompt_)) {
        e->ignore();  // Cancel, or a save that failed: the work stays open
        return;
    }
    e->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (!e->mimeData()->hasUrls()) return;
    // Always a copy: a move would let the source delete the file it dropped.
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* e) {
    if (!e->mimeData()->hasUrls()) return;
    e->setDropAction(Qt::CopyAction);
    e->accept();
}

void MainWindow::dropEvent(QDropEvent* e) {
    if (!e->mimeData()->hasUrls()) return;
    std::vector<std::string> files;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toLocal8Bit().toStdString());
    e->setDropAction(Qt::CopyAction);
    e->accept();
    OpenDroppedFiles(files);
}

bool MainWindow::SaveScreenshot(const QString& path, int width, int height, std::string* error) {
    resize(width, height);
    QPixmap shot(width, height);
    shot.fill(Qt::white);
    {
        QPainter g(&shot);
        render(&g);
    }
    return SavePng(shot, path, error);
}

}  // namespace cam
