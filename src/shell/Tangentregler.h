#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

// The keyboard rules the forms share for their fields: Enter moves on
// like Tab, number fields take only what makes a number, and a field's check
// runs when the operator moves on from it.
namespace Tangentregler {

inline bool arEnter(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

// Keys that type nothing (arrows, Delete, Home, shortcuts with Ctrl or Alt)
// are left to the field. Pasting is not, since it would bring in any text.
inline bool skriverTecken(const QKeyEvent* e) {
    if (e->matches(QKeySequence::Paste))
        return true;
    const QString t = e->text();
    if (t.isEmpty())
        return false;
    const QChar c = t.at(0);
    return c == u'\b' || (c >= u' ' && c != QChar(0x7f));
}

// A whole-number field: digits and Backspace.
inline bool tillatsIHeltal(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace)
        return true;
    const QString t = e->text();
    return t.size() == 1 && t.at(0) >= u'0' && t.at(0) <= u'9';
}

// A decimal field: digits, Backspace, and one "," that follows a digit.
inline bool tillatsIDecimal(const QLineEdit* falt, const QKeyEvent* e) {
    if (tillatsIHeltal(e))
        return true;
    if (e->text() != QLatin1String(","))
        return false;
    const QString text = falt->text();
    if (text.trimmed().isEmpty() || text.contains(QLatin1Char(',')))
        return false;
    const int fore = falt->hasSelectedText() ? falt->selectionStart() : falt->cursorPosition();
    return fore > 0 && text.at(fore - 1).isDigit();
}

// The focus left a field because the operator moved on inside the form (Tab,
// Enter, a click, an access key), not because a message box, a popup or
// another window took it, nor because the field was hidden or disabled.
inline bool operatorenGickVidare(const QFocusEvent* e) {
    switch (e->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
        return true;
    default:
        return false;
    }
}

} // namespace Tangentregler
