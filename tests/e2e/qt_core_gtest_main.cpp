// GoogleTest main for the end-to-end tests of the link without windows: the serial port
// adapter needs a QCoreApplication.
#include <gtest/gtest.h>
#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
