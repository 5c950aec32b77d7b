#pragma once

#include <QObject>

// A window's widget by its object name, for the tests and benchmarks that drive the window as
// a user would; the widgets themselves stay private to their window. A name that is gone, or
// that two widgets share, is a broken test, not a pointer to crash on or to the wrong widget.
template <typename T> T *Child(const QObject &Window, const char *Name)
{
    const QList<T *> Found = Window.findChildren<T *>(QString::fromLatin1(Name));
    if (Found.size() != 1)
        qFatal("%d children %s of type %s", static_cast<int>(Found.size()), Name,
            T::staticMetaObject.className());
    return Found.front();
}
