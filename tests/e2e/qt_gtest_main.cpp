// GoogleTest main for the end-to-end tests: those that drive windows (E2E_WINDOWS) need a
// QApplication, the others a QCoreApplication for the serial port adapter.
#include <gtest/gtest.h>
#ifdef E2E_WINDOWS
#include <QApplication>
using App = QApplication;
#else
#include <QCoreApplication>
using App = QCoreApplication;
#endif

int main(int argc, char** argv) {
    App app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
