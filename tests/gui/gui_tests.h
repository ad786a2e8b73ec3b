// Registry of the QtTest classes linked into one test program.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;
inline std::vector<GuiTestFactory>& GuiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

template <class T>
struct RegisterGuiTest {
    RegisterGuiTest() {
        GuiTests().push_back([] { return std::make_unique<T>(); });
    }
};
