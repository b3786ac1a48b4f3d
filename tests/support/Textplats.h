#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <climits>

// The texts of a form that the operator cannot read whole at the form's own
// geometry and font, "" when every one can: each as "name: text (needs w x h,
// has w x h)", joined by "; ". A label
// that wraps may use as many lines as its height holds, but no word may be
// wider than the label; any other text must fit on one line. Only what shows
// is measured.
inline QString kaptaTexter(const QWidget* form) {
    QStringList kapta;
    const auto mat = [&](const QWidget* w, const QString& text, const QRect& plats, bool radbryt) {
        if (text.isEmpty() || !w->isVisibleTo(form))
            return;
        const QFontMetrics fm(w->font());
        const QRect behov = radbryt ? fm.boundingRect(QRect(0, 0, plats.width(), INT_MAX / 2),
                                                      Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text)
                                    : QRect(0, 0, fm.horizontalAdvance(text), fm.height());
        if (behov.width() > plats.width() || behov.height() > plats.height())
            kapta << QStringLiteral("%1: %2 (needs %3 x %4, has %5 x %6)")
                         .arg(w->objectName(), text)
                         .arg(behov.width())
                         .arg(behov.height())
                         .arg(plats.width())
                         .arg(plats.height());
    };
    for (const QLabel* l : form->findChildren<QLabel*>()) {
        const int indrag = l->indent() > 0 ? l->indent() : 0;
        mat(l, l->text(),
            l->contentsRect().adjusted(l->margin() + indrag, l->margin(), -l->margin(), -l->margin()),
            l->wordWrap());
    }
    for (const QAbstractButton* b : form->findChildren<QAbstractButton*>()) {
        // The mnemonic's ampersand is not drawn.
        QString text = b->text();
        text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        QRect plats = b->rect();
        if (const auto* c = qobject_cast<const QCheckBox*>(b)) {
            QStyleOptionButton o;
            o.initFrom(c);
            o.text = c->text();
            plats = c->style()->subElementRect(QStyle::SE_CheckBoxContents, &o, c);
        } else if (const auto* p = qobject_cast<const QPushButton*>(b)) {
            QStyleOptionButton o;
            o.initFrom(p);
            o.text = p->text();
            plats = p->style()->subElementRect(QStyle::SE_PushButtonContents, &o, p);
        }
        mat(b, text, plats, false);
    }
    return kapta.join(QStringLiteral("; "));
}
