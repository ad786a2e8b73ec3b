#include "widgets/ui/qt_prompt.h"

#include "qt/cp1252.h"
#include "core/ui/file_filter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QValidator>

namespace cam {

namespace {

QString Title(const std::string& title) {
    return title.empty() ? QGuiApplication::applicationDisplayName() : FromCp1252(title);
}

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }
std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Characters that files and the device cannot carry are refused while typing.
class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override { return IsCp1252(input) ? Acceptable : Invalid; }
};

// The save dialog takes a name only in a folder that exists (the path must exist, as the
// save dialog the program was made for demands), and says so in the dialog's own words.
class SaveDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void accept() override {
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && !QFileInfo(chosen.first()).absoluteDir().exists()) {
            const QString folder = QDir::toNativeSeparators(QFileInfo(chosen.first()).absolutePath());
            QMessageBox::warning(this, windowTitle(),
                                 QCoreApplication::translate("QFileDialog",
                                                             "%1\nDirectory not found.\nPlease verify "
                                                             "the correct directory name was given.")
                                     .arg(folder));
            return;
        }
        QFileDialog::accept();
    }
};

// Moves a dialog, once it is shown and has its final size, to the centre of a rectangle.
class CentreOnShow : public QObject {
public:
    CentreOnShow(QWidget* dialog, QPointer<QWidget> owner) : QObject(dialog), owner_(std::move(owner)) {
        dialog->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* dialog = static_cast<QWidget*>(watched);
            QRect area;
            if (owner_ && owner_->isVisible())
                area = owner_->frameGeometry();
            else if (QScreen* s = dialog->screen())
                area = s->geometry();
            if (area.isValid()) {
                const QSize size = dialog->frameGeometry().size();
                dialog->move(area.x() + area.width() / 2 - size.width() / 2,
                             area.y() + area.height() / 2 - size.height() / 2);
            }
            dialog->removeEventFilter(this);
        }
        return false;
    }

private:
    QPointer<QWidget> owner_;
};

}  // namespace

void QtPrompt::centre(QWidget* dialog) const { new CentreOnShow(dialog, owner_); }

std::unique_ptr<QMessageBox> QtPrompt::makeMessageBox(const std::string& text, const std::string& title,
                                                      Buttons buttons, Icon icon) const {
    auto box = std::make_unique<QMessageBox>(owner_.data());
    box->setWindowTitle(Title(title));
    box->setText(FromCp1252(text));
    switch (icon) {
        case Icon::Stop:
            box->setIcon(QMessageBox::Critical);
            break;
        case Icon::Exclamation:
            box->setIcon(QMessageBox::Warning);
            break;
        case Icon::Question:
            box->setIcon(QMessageBox::Question);
            break;
        case Icon::Information:
            box->setIcon(QMessageBox::Information);
            break;
        case Icon::None:
            box->setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (buttons) {
        case Buttons::Ok:
            box->setStandardButtons(QMessageBox::Ok);
            box->setDefaultButton(QMessageBox::Ok);
            break;
        case Buttons::OkCancel:
            box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box->setDefaultButton(QMessageBox::Ok);
            break;
        case Buttons::OkCancelDefaultCancel:
            box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box->setDefaultButton(QMessageBox::Cancel);
            break;
        case Buttons::YesNo:
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box->setDefaultButton(QMessageBox::Yes);
            break;
        case Buttons::YesNoCancel:
            box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box->setDefaultButton(QMessageBox::Yes);
            break;
        case Buttons::RetryCancel:
            box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            box->setDefaultButton(QMessageBox::Retry);
            break;
    }
    centre(box.get());
    return box;
}

Answer QtPrompt::message(const std::string& text, const std::string& title, Buttons buttons, Icon icon) {
    auto box = makeMessageBox(text, title, buttons, icon);
    box->exec();
    switch (box->standardButton(box->clickedButton())) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return DeclineAnswer(buttons);  // closed by the window frame or Escape
    }
}

std::unique_ptr<QInputDialog> QtPrompt::makeInputDialog(const std::string& prompt, const std::string& title,
                                                        const std::string& defaultText) const {
    auto dialog = std::make_unique<QInputDialog>(owner_.data());
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setWindowTitle(Title(title));
    dialog->setLabelText(FromCp1252(prompt));
    dialog->setTextValue(FromCp1252(defaultText));
    if (auto* edit = dialog->findChild<QLineEdit*>()) edit->setValidator(new Cp1252Validator(edit));
    centre(dialog.get());
    return dialog;
}

std::optional<std::string> QtPrompt::input(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) {
    auto dialog = makeInputDialog(prompt, title, defaultText);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    return ToCp1252(dialog->textValue());
}

std::unique_ptr<QFileDialog> QtPrompt::makeFileDialog(const FileRequest& request, bool save) const {
    auto dialog = save ? std::make_unique<SaveDialog>(owner_.data(), Title(request.title), FromPath(request.folder))
                       : std::make_unique<QFileDialog>(owner_.data(), Title(request.title), FromPath(request.folder));
    // Our own dialog, so that the patterns below and the placement behave the same everywhere.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    QStringList filters;
    for (const auto& [description, pattern] : request.filters)
        filters << FromCp1252(description) + " (" + QString::fromStdString(AnyCasePattern(pattern)) + ")";
    dialog->setNameFilters(filters);
    if (!filters.isEmpty()) dialog->selectNameFilter(filters.first());
    // The dialog squeezes blanks out of the captions; the list shows the descriptions as given.
    // The filter in use is chosen by position, so the captions are free.
    if (auto* combo = dialog->findChild<QComboBox*>("fileTypeCombo"))
        for (int i = 0; i < combo->count() && i < int(request.filters.size()); ++i)
            combo->setItemText(i, FromCp1252(request.filters[i].first));
    if (save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);  // asks before overwriting (the default)
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.name.empty()) dialog->selectFile(FromPath(request.name));
    centre(dialog.get());
    return dialog;
}

std::string QtPrompt::openFile(const FileRequest& request) {
    auto dialog = makeFileDialog(request, false);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return "";
    return ToPath(dialog->selectedFiles().first());
}

std::string QtPrompt::saveFile(const FileRequest& request) {
    auto dialog = makeFileDialog(request, true);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return "";
    return ToPath(dialog->selectedFiles().first());
}

}  // namespace cam
