#include "shell/Fonstervard.h"

#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Tabbordning.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QWidget>
#include <memory>
#include <utility>

namespace {

// The frame of a child window. It tells when its window has really closed, at
// once, so that the menu items the window held are given back before whatever
// the closing code does next (a window may refuse to close).
class Barnram : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;

signals:
    void stangd();

protected:
    void closeEvent(QCloseEvent* e) override {
        QMdiSubWindow::closeEvent(e);
        if (e->isAccepted())
            emit stangd();
    }
};

// Enter presses the button that has the focus, as Space does, in every window
// of the program: the keyboard flows of the forms end on a button, and the
// operator presses Enter again there. Whatever a window already does with
// Enter goes first: a key press is offered to the widget with the focus and
// then to each widget above it up to its window, so the rule acts only when
// the key reaches the window (before the window's own handler: a dialog's
// default button yields to the focused one, as on the platform the program
// came from) and only when the button had the key first. A field whose Enter
// moves the focus on to a button has had its Enter; that button is not
// pressed too.
class Entertryck : public QObject {
public:
    Entertryck() { qApp->installEventFilter(this); }
    ~Entertryck() override {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

    // One rule for the program however many hosts there are, gone with the last.
    static std::shared_ptr<QObject> delad() {
        static std::weak_ptr<Entertryck> finns;
        std::shared_ptr<Entertryck> regel = finns.lock();
        if (!regel) {
            regel = std::make_shared<Entertryck>();
            finns = regel;
        }
        return regel;
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !o->isWidgetType())
            return false;
        auto* tangent = static_cast<QKeyEvent*>(e);
        if (!Tangentregler::arEnter(tangent))
            return false;
        auto* w = static_cast<QWidget*>(o);
        // The same event on its way up from the widget it was given to; any
        // other is a new key press.
        if (e != m_handelse || !m_senast || m_senast->parentWidget() != w)
            m_forst = w;
        m_handelse = e;
        m_senast = w;
        if (!w->isWindow())
            return false;
        m_handelse = nullptr;
        if (tangent->isAutoRepeat() || (tangent->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto* knapp = qobject_cast<QPushButton*>(w->focusWidget());
        if (!knapp || knapp != m_forst || knapp->window() != w || !knapp->isEnabled() || !knapp->isVisible())
            return false;
        tangent->accept();
        knapp->click();
        return true;
    }

private:
    const QEvent* m_handelse = nullptr;
    QPointer<QWidget> m_forst;  // the widget the key press was given to
    QPointer<QWidget> m_senast; // the last widget it has reached on its way up
};

} // namespace

Fonstervard::Fonstervard(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger, QMdiArea* yta,
                         QWidget* dialogforalder, QObject* parent)
    : QObject(parent), m_g(g), m_m(m), m_kontext(g, m, *this, dialoger), m_yta(yta),
      m_dialogforalder(dialogforalder), m_entertryck(Entertryck::delad()),
      m_tabbordning(Tabbordning::delad()) {
    for (size_t i = 0; i < menytrad.size(); ++i) {
        const Menystart& post = menytrad[i];
        // The tree writes a separator as "-"; a separator with a text would
        // show it as a heading.
        const bool skiljelinje = qstrcmp(post.text, "-") == 0;
        auto* a = new QAction(skiljelinje ? QString() : QString::fromUtf8(post.text), this);
        a->setObjectName(QString::fromUtf8(post.kontroll));
        a->setSeparator(skiljelinje);
        a->setEnabled(post.lage != Menystart::Av);
        a->setVisible(post.lage != Menystart::Dold);
        m_menyval[i] = a;
    }
    if (m_yta)
        connect(m_yta, &QMdiArea::subWindowActivated, this, &Fonstervard::aktiverat);
}

Fonstervard::~Fonstervard() {
    forstorAlla();
}

void Fonstervard::forstorAlla() {
    // The windows are made with this host's form context: they go before it,
    // and nothing of the area reaches the host while they go.
    if (m_yta) {
        m_yta->disconnect(this);
        for (QMdiSubWindow* sub : m_yta->subWindowList())
            delete sub;
        connect(m_yta, &QMdiArea::subWindowActivated, this, &Fonstervard::aktiverat);
    }
    const QList<Oppet> oppna = m_oppna.values();
    m_oppna.clear();
    for (const Oppet& o : oppna)
        delete o.ram.data();
}

// --- The main menu ---

void Fonstervard::sattMeny(Meny meny, bool pa) {
    menyval(meny)->setEnabled(pa);
}

bool Fonstervard::menyPa(Meny meny) const {
    return menyval(meny)->isEnabled();
}

void Fonstervard::visaMeny(Meny meny, bool synlig) {
    menyval(meny)->setVisible(synlig);
}

bool Fonstervard::menySynlig(Meny meny) const {
    return menyval(meny)->isVisible();
}

void Fonstervard::sattMenytext(Meny meny, const QString& text) {
    menyval(meny)->setText(text);
}

void Fonstervard::oppnas(const Menylagen& lagen) {
    m_kontext.sattMenyer(lagen.avVidOppning, false);
    m_kontext.sattMenyer(lagen.paVidOppning, true);
}

void Fonstervard::gerTillbaka(const Menylagen& lagen, const QString& stangande) {
    // The menus follow the windows still open, not the last one closed: a
    // window closing gives back no item that another open window switched
    // off, so that no list can be started under a list's open dialog.
    for (const Meny meny : lagen.paVidStangning)
        if (!halls(meny, stangande))
            sattMeny(meny, true);
    m_kontext.sattMenyer(lagen.avVidStangning, false);
}

bool Fonstervard::halls(Meny meny, const QString& stangande) const {
    for (auto o = m_oppna.constBegin(); o != m_oppna.constEnd(); ++o)
        if (o.key() != stangande && fonster(o.key()) && o->menyer.avVidOppning.contains(meny))
            return true;
    return false;
}

// --- Registering, opening, closing ---

bool Fonstervard::registrerat(const QString& namn) const {
    return m_fonster.contains(namn) || m_dialoger.contains(namn) || m_listbyggare.contains(namn);
}

QWidget* Fonstervard::fonster(const QString& namn) const {
    if (const QPointer<QDialog> d = m_korande.value(namn); d && d->isVisible())
        return d.data();
    // A closed window is gone, even before its frame has been deleted.
    const Oppet o = m_oppna.value(namn);
    return o.fonster && o.ram && !o.ram->isHidden() ? o.fonster.data() : nullptr;
}

QWidget* Fonstervard::visa(const QString& namn, const std::any& begaran) {
    if (QWidget* finns = fonster(namn)) {
        framfor(namn, finns, begaran);
        return finns;
    }
    const auto reg = m_fonster.constFind(namn);
    if (reg == m_fonster.constEnd())
        return nullptr;
    QWidget* w = nullptr;
    Felfalla::standard(m_m, namn, QStringLiteral("Form_load"))([&] { w = reg->fabrik(m_kontext, begaran); });
    if (!w)
        return nullptr;
    const Fonsterlage lage = reg->lage;
    oppnas(lage.menyer);
    // Given back once, whichever tells of the closing first.
    auto givna = std::make_shared<bool>(false);
    std::function<void()> stangd = [this, givna, namn, menyer = lage.menyer] {
        if (!std::exchange(*givna, true))
            gerTillbaka(menyer, namn);
    };
    QWidget* ram = m_yta ? ramForMdi(w, namn, lage) : ramUtanYta(w, lage, stangd);
    m_oppna.insert(namn, {w, ram, stangd, lage.menyer});
    // A window opens with the focus on its first control in tab order,
    // unless its own opening put the focus somewhere.
    Tabbordning::fokuseraForsta(w);
    return w;
}

void Fonstervard::framfor(const QString& namn, QWidget* w, const std::any& begaran) {
    const auto reg = m_fonster.constFind(namn);
    QWidget* ram = m_oppna.value(namn).ram;
    if (reg != m_fonster.constEnd()) {
        // Chosen under another output kind, a list's dialog makes that kind
        // from now on, and its frame shows it.
        reg->ny(w, begaran);
        if (ram != w)
            ram->setWindowIcon(w->windowIcon());
    }
    // Only a minimized (or, for a window that declares it, a maximized) frame
    // is set back: a normal frame told to be normal again would lose the
    // active state and take the size it had before it was first shown, a bare
    // title bar.
    const Qt::WindowStates lage = ram->windowState();
    Qt::WindowStates ny = lage & ~Qt::WindowMinimized;
    if (reg != m_fonster.constEnd() && reg->lage.normalLage)
        ny &= ~Qt::WindowMaximized;
    if (ny != lage)
        ram->setWindowState(ny);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(ram); sub && m_yta)
        m_yta->setActiveSubWindow(sub);
    else
        ram->activateWindow();
}

QWidget* Fonstervard::ramForMdi(QWidget* w, const QString& namn, const Fonsterlage& lage) {
    auto* sub = new Barnram;
    if (lage.ramflaggor.toInt() != 0)
        sub->setWindowFlags(lage.ramflaggor);
    sub->setWidget(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(namn + QStringLiteral("_ram"));
    sub->setWindowTitle(w->windowTitle());
    sub->setWindowIcon(w->windowIcon());
    const Menylagen menyer = lage.menyer;
    connect(sub, &Barnram::stangd, this, [this, menyer, namn] { gerTillbaka(menyer, namn); });
    m_yta->addSubWindow(sub);
    if (lage.placering)
        sub->move(twips(lage.placering->x()), twips(lage.placering->y()));
    sub->show();
    if (lage.storlek)
        sub->resize(twips(lage.storlek->width()), twips(lage.storlek->height()));
    // Setting a normal frame normal again would give it back the size it had
    // before it was first shown, undoing the size just given.
    if (lage.normalLage && (sub->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        sub->setWindowState(Qt::WindowNoState);
    return sub;
}

QWidget* Fonstervard::ramUtanYta(QWidget* w, const Fonsterlage&, std::function<void()> stangd) {
    w->setAttribute(Qt::WA_DeleteOnClose);
    // A window closed by the host gives its menus back at once (below), as a
    // frame of the area does; one closed otherwise when it is deleted.
    connect(w, &QObject::destroyed, this, std::move(stangd));
    w->show();
    return w;
}

bool Fonstervard::stangUtanYta(const Oppet& o) {
    if (!o.ram->close())
        return false;
    if (o.stangd)
        o.stangd();
    return true;
}

bool Fonstervard::stangFonster(QWidget* w) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        return sub->close();
    for (const Oppet& o : std::as_const(m_oppna))
        if (o.ram == w)
            return stangUtanYta(o);
    return w->close();
}

int Fonstervard::kor(const QString& namn, QDialog& d) {
    const QPointer<QDialog> fore = m_korande.value(namn);
    m_korande.insert(namn, &d);
    const int svar = d.exec();
    m_korande.insert(namn, fore);
    return svar;
}

bool Fonstervard::stangAlla() {
    if (m_yta) {
        for (QMdiSubWindow* sub : m_yta->subWindowList()) {
            if (!sub->close()) {
                m_yta->setActiveSubWindow(sub);
                sub->raise();
                return false;
            }
        }
        return true;
    }
    for (const Oppet& o : m_oppna.values()) {
        if (o.ram && !o.ram->isHidden() && !stangUtanYta(o)) {
            o.ram->raise();
            return false;
        }
    }
    return true;
}

bool Fonstervard::dialog(const QString& namn, const std::any& begaran) {
    const auto d = m_dialoger.constFind(namn);
    if (d == m_dialoger.constEnd())
        return false;
    bool svar = false;
    Felfalla::standard(m_m, namn, QStringLiteral("Form_load"))([&] { svar = (*d)(m_kontext, begaran); });
    return svar;
}

bool Fonstervard::lista(const QString& namn, const std::any& begaran) {
    const auto b = m_listbyggare.constFind(namn);
    if (b == m_listbyggare.constEnd())
        return false;
    const Menylagen lagen = b->lagen;
    oppnas(lagen);
    try {
        b->bygg(m_kontext, begaran);
    } catch (...) {
        stangdes(lagen);
        throw;
    }
    return true;
}

void Fonstervard::aktiverat(QMdiSubWindow* sub) {
    // A message box or another top-level window of ours takes the activation
    // away for a while and gives it back to the same window; that is no new
    // activation of it.
    if (!sub || sub == m_senastAktiva)
        return;
    m_senastAktiva = sub;
    emit barnAktiverat(sub);
    if (sub->widget()) {
        m_kontext.meddelaAktivering(sub->widget());
        // A window whose control with the focus has gone (hidden, disabled)
        // takes up at its first control again.
        Tabbordning::fokuseraForsta(sub->widget());
    }
}

#include "Fonstervard.moc"
