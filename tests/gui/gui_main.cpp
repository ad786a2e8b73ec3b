// Runs every QtTest class of the main window test program.
#include <QApplication>
#include <QtTest>

#include "gui_tests.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int failed = 0;
    for (auto& make : GuiTests()) {
        std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
