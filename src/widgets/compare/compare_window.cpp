#include "widgets/compare/compare_window.h"

#include "core/camfile/file_commands.h"
#include "core/model/texts.h"
#include "core/link/port_name.h"
#include "widgets/link/qt_link_runner.h"
#include "qt/qt_line_port.h"
#include "widgets/link/transfer_window.h"
#include "qt/cp1252.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace cam {

CompareWindow::CompareWindow(const Program& texts, const Comparison& comparison, std::function<void(int, int)> show,
                             QWidget* parent)
    : QDialog(parent), comparison_(comparison), show_(std::move(show)) {
    setObjectName("Compare");
    setWindowTitle(FromCp1252(Text(texts, txt::kCompareTitle)));
    auto* layout = new QVBoxLayout(this);
    auto* names =
        new QLabel(FromCp1252(Fill(Text(texts, txt::kCompareNames), {comparison.names.a, comparison.names.b})), this);
    names->setObjectName("LabNames");
    layout->addWidget(names);
    list_ = new QListWidget(this);
    list_->setObjectName("LstDiff");
    list_->setFont(QFont("Courier New", 9));
    for (const ProgramDifference& d : comparison.differences) list_->addItem(FromCp1252(d.text));
    layout->addWidget(list_, 1);
    const std::string count = comparison.differences.empty() ? Text(texts, txt::kCompareSame)
                                                             : Fill(Text(texts, txt::kCompareCount),
                                                                    {std::to_string(comparison.differences.size())});
    auto* countLabel = new QLabel(FromCp1252(count), this);
    countLabel->setObjectName("LabCount");
    layout->addWidget(countLabel);
    auto* notes = new QLabel(this);
    notes->setObjectName("LabNotes");
    notes->setWordWrap(true);
    if (!comparison.notes.empty()) {
        std::string text = Text(texts, txt::kCompareCannotHold);
        for (const std::string& n : comparison.notes) text += "\n" + n;
        notes->setText(FromCp1252(text));
    }
    notes->setVisible(!comparison.notes.empty());
    layout->addWidget(notes);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(FromCp1252(Text(texts, txt::kCompareClose)), QDialogButtonBox::AcceptRole);
    close->setObjectName("CmdClose");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // A click, or the arrow keys, show the difference chosen.
    connect(list_, &QListWidget::currentRowChanged, this, &CompareWindow::choose);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { choose(list_->row(item)); });
    resize(560, 380);
}

void CompareWindow::choose(int row) {
    if (row < 0 || row >= static_cast<int>(comparison_.differences.size()) || !show_) return;
    const ProgramDifference& d = comparison_.differences[row];
    if (d.size > 0 || d.cam >= 0) show_(d.size, d.cam);
}

std::string TablesName(const Program& p) {
    return p.CamFileTitle.empty() ? Text(p, txt::kCompareUntitled) : p.CamFileTitle;
}

std::optional<Comparison> CompareTablesWithFile(const Program& p, Prompt& prompt) {
    const FileRequest request{
        Text(p, txt::kCompareFileTitle), {{"Cam File (*.Cam)", "*.cam"}, {"All Files   (*.*)", "*.*"}}, p.WorkDir, ""};
    const std::string path = prompt.openFile(request);
    if (path.empty() || path.size() > kMaxPathLength) return std::nullopt;
    const std::optional<Program> other = ReadProgramToCompare(p, path, prompt);
    if (!other) return std::nullopt;
    Comparison c;
    c.names = {TablesName(p), FileTitle(path)};
    c.differences = ComparePrograms(p, *other, p, {"A", "B"});
    return c;
}

std::optional<Comparison> CompareTablesWithDevice(const Program& p, QtLinePort& port, Prompt& prompt,
                                                  QWidget* parent) {
    // The device's own model: another one is a difference to show, not a reason to stop.
    const auto received = ReceiveProgramModal(p, port, prompt, parent, std::nullopt);
    if (!received) return std::nullopt;
    Program device = LinkScratch(p);
    device.Data() = received->data;
    Comparison c = CompareWithDevice(p, device, {"A", "B"});
    c.names = {TablesName(p), Fill(Text(p, txt::kCompareDevice), {PortDisplayName(p)})};
    return c;
}

}  // namespace cam
