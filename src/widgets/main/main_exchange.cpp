// Comparing the tables with another program, and exchanging them with other tools as CSV.
#include "widgets/main/main_window.h"

#include "widgets/compare/compare_window.h"
#include "core/exchange/csv_commands.h"
#include "qt/cp1252.h"

namespace cam {

void MainWindow::CompareWithFile() {
    LeaveEditMode();  // a phase still in the boxes belongs to the tables compared
    if (const auto comparison = CompareTablesWithFile(p_, prompt_)) ShowComparison(*comparison);
}

void MainWindow::ShowComparison(const Comparison& comparison) {
    CompareWindow window(
        p_, comparison, [this](int size, int cam) { ShowSizeAndCam(size, cam); }, this);
    window.exec();
    Activate();
}

void MainWindow::ShowSizeAndCam(int size, int cam) {
    const bool otherCam = cam >= 0 && cam < p_.NCams && cam != p_.CurCam;
    if (otherCam) LeaveEditMode();
    if (size >= 1 && size <= p_.NSizes) p_.CurSize = size;
    if (otherCam) p_.CurCam = cam;
    Redraw();
}

void MainWindow::ExportCsvFile() {
    LeaveEditMode();
    ExportCsv(p_, prompt_);
}

void MainWindow::ImportCsvFile() {
    LeaveEditMode();
    Apply(ImportCsv(p_, document_, prompt_, ToCp1252(windowTitle())));
}

}  // namespace cam
