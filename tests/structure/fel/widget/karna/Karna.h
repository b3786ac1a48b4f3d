#pragma once

// Inline code of a core header that uses a widget: compiled only in the ui
// library's files, which find it, so no link tells.
#include <QWidget>

inline void visa(QWidget* w) {
    w->show();
}
