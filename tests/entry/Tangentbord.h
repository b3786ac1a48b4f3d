#pragma once

// The result-entry window tests type as the operator does: each key to
// whatever field has the focus then.

#include <QApplication>
#include <QColor>
#include <QString>
#include <QTest>
#include <QWidget>

namespace Tangentbord {

inline const QColor Ljusrod(0xFF, 0xC0, 0xC0);
inline const QColor Ljusgron(0xC0, 0xFF, 0xC0);
inline const QColor Rod(0xFF, 0, 0);

inline QWidget* fokus() {
    return QApplication::focusWidget();
}

inline void skriv(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(fokus(), c.toLatin1());
}

inline void tryck(Qt::Key tangent) {
    QTest::keyClick(fokus(), tangent);
}

inline bool aktivera(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

} // namespace Tangentbord
