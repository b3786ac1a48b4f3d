#include "shell/Tabbordning.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

// An option of an option group: a button that can be chosen, of which only
// one of its group is chosen at a time (a group of its own, or the options
// that share a parent).
bool arOption(const QAbstractButton* b) {
    if (!b->isCheckable())
        return false;
    if (const QButtonGroup* grupp = b->group())
        return grupp->exclusive();
    return b->autoExclusive();
}

bool sammaGrupp(const QAbstractButton* a, const QAbstractButton* b) {
    if (a->group())
        return b->group() == a->group();
    return !b->group() && b->autoExclusive() && b->parentWidget() == a->parentWidget();
}

// The option that follows (or goes before) b in the window's tab order,
// skipping what cannot be chosen. The tab order is a ring, so the last
// option's next is the first, as on the platform the program came from.
QAbstractButton* granne(QAbstractButton* b, bool framat) {
    const auto steg = [framat](QWidget* w) {
        return framat ? w->nextInFocusChain() : w->previousInFocusChain();
    };
    for (QWidget* w = steg(b); w && w != b; w = steg(w)) {
        auto* o = qobject_cast<QAbstractButton*>(w);
        if (o && sammaGrupp(b, o) && o->isEnabled() && o->isVisibleTo(b->window()) &&
            o->focusPolicy() != Qt::NoFocus)
            return o;
    }
    return nullptr;
}

bool arKontroll(const QWidget* w, const QWidget* fonster) {
    return fonster->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           !w->focusProxy() && w->isVisibleTo(fonster) && w->isEnabled();
}

} // namespace

Tabbordning::Tabbordning() {
    qApp->installEventFilter(this);
}

Tabbordning::~Tabbordning() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

std::shared_ptr<QObject> Tabbordning::delad() {
    static std::weak_ptr<Tabbordning> finns;
    std::shared_ptr<Tabbordning> regel = finns.lock();
    if (!regel) {
        regel = std::make_shared<Tabbordning>();
        finns = regel;
    }
    return regel;
}

void Tabbordning::fokuseraForsta(QWidget* fonster) {
    if (!fonster)
        return;
    if (const QWidget* har = fonster->focusWidget(); har && har != fonster && arKontroll(har, fonster))
        return;
    for (QWidget* w = fonster->nextInFocusChain(); w && w != fonster; w = w->nextInFocusChain()) {
        if (arKontroll(w, fonster)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool Tabbordning::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Polish) {
        // Every grid is polished before it is first shown, wherever it was
        // made; a form has set its grid up by then.
        if (auto* vy = qobject_cast<QAbstractItemView*>(o))
            vy->setTabKeyNavigation(false);
        return false;
    }
    if (e->type() != QEvent::KeyPress)
        return false;
    auto* knapp = qobject_cast<QAbstractButton*>(o);
    if (!knapp || !arOption(knapp))
        return false;
    const auto* tangent = static_cast<QKeyEvent*>(e);
    if (tangent->modifiers() & ~Qt::KeypadModifier)
        return false;
    bool framat = false;
    switch (tangent->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        framat = true;
        break;
    default:
        return false;
    }
    QAbstractButton* nasta = granne(knapp, framat);
    if (!nasta)
        return false;
    // As Qt's own move does: the choice goes along when the option left was
    // the chosen one, and the focus follows.
    if (knapp->isChecked())
        nasta->click();
    nasta->setFocus(framat ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}
