#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A widget of a form found by its object name, as the operator finds it by
// its place: forms keep their widgets to themselves. A name that is not there
// is a broken test, not a failed check, and ends the program with the name.
//
//     auto* ok = widget<QPushButton>(form, "cmdOK");
template <class T> T* widget(const QObject* form, const char* namn) {
    T* w = form->findChild<T*>(QString::fromLatin1(namn));
    if (!w) {
        std::fprintf(stderr, "%s has no %s named %s\n", qPrintable(form->objectName()),
                     T::staticMetaObject.className(), namn);
        std::abort();
    }
    return w;
}
template <class T> T* widget(const QObject* form, const QString& namn) {
    return widget<T>(form, namn.toLatin1().constData());
}
