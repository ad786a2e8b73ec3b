// A window's control by its name; a missing control ends the test program at once.
#pragma once

#include <QWidget>

template <class T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
}
