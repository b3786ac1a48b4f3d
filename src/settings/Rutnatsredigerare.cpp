#include "settings/Rutnatsredigerare.h"

#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

namespace {
QPushButton* knapp(const Rutnatsredigerare::Namn& n, QWidget* foralder) {
    auto* b = new QPushButton(n.text, foralder);
    b->setObjectName(n.namn);
    b->setToolTip(n.tips);
    return b;
}

QAction* menyval(QMenu* meny, const Rutnatsredigerare::Namn& n) {
    QAction* a = meny->addAction(n.text);
    a->setObjectName(n.namn);
    return a;
}
} // namespace

Rutnatsredigerare::Rutnatsredigerare(const Utformning& u, QWidget* parent)
    : QWidget(parent), m_lage(u.regler), m_nyText(u.ny.text), m_sparaText(u.sparaText) {
    // Created in the order Tab moves through them: from the fields to the save
    // button, then cancel.
    m_rutnat = new Rutnat(this);
    m_rutnat->setObjectName(u.rutnat.namn);
    m_rutnat->setToolTip(u.rutnat.tips);
    for (const auto& [rubrik, bredd] : u.kolumner)
        m_rutnat->laggTillKolumn(rubrik, bredd);

    auto* faltLayout = new QGridLayout;
    for (qsizetype i = 0; i < u.falt.size(); ++i) {
        const Falt& f = u.falt[i];
        auto* etikett = new QLabel(f.etikett.text, this);
        if (!f.etikett.namn.isEmpty())
            etikett->setObjectName(f.etikett.namn);
        auto* ruta = new QLineEdit(this);
        ruta->setObjectName(f.namn);
        ruta->setToolTip(f.tips);
        if (f.baraSiffror)
            // The key filter keeps typing to digits; this keeps pasted text to them too.
            ruta->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), ruta));
        if (f.maxLangd > 0)
            ruta->setMaxLength(f.maxLangd);
        ruta->installEventFilter(this);
        connect(ruta, &QLineEdit::textChanged, this, [this] { m_lage.faltAndrat(); });
        faltLayout->addWidget(etikett, 0, int(i));
        faltLayout->addWidget(ruta, 1, int(i));
        m_falt.append(ruta);
        m_baraSiffror.append(f.baraSiffror);
    }
    faltLayout->setColumnStretch(int(u.falt.size()) - 1, 1);

    cmdNy = knapp(u.ny, this);
    cmdAvbryt = knapp(u.avbryt, this);
    cmdAndra = knapp(u.andra, this);
    cmdRadera = knapp(u.radera, this);

    mnuPopup = new QMenu(u.meny.text, this);
    mnuPopup->setObjectName(u.meny.namn);
    mnuNy = menyval(mnuPopup, u.menyNy);
    mnuAndra = menyval(mnuPopup, u.menyAndra);
    mnuRadera = menyval(mnuPopup, u.menyRadera);

    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdRadera);
    knappar->addWidget(cmdAvbryt);
    knappar->addStretch();
    knappar->addWidget(cmdNy);
    knappar->addWidget(cmdAndra);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rutnat, 1);
    layout->addLayout(faltLayout);
    layout->addLayout(knappar);

    connect(cmdNy, &QPushButton::clicked, this, &Rutnatsredigerare::nyKlick);
    connect(cmdAvbryt, &QPushButton::clicked, this, &Rutnatsredigerare::avbrytKlick);
    connect(cmdAndra, &QPushButton::clicked, this, &Rutnatsredigerare::andraKlick);
    connect(cmdRadera, &QPushButton::clicked, this, &Rutnatsredigerare::raderaKlick);
    connect(mnuNy, &QAction::triggered, this, &Rutnatsredigerare::nyKlick);
    connect(mnuAndra, &QAction::triggered, this, &Rutnatsredigerare::andraKlick);
    connect(mnuRadera, &QAction::triggered, this, &Rutnatsredigerare::raderaKlick);
    connect(m_rutnat, &Rutnat::itemSelectionChanged, this, &Rutnatsredigerare::pekaPaRad);
    connect(m_rutnat, &Rutnat::cellClicked, this, &Rutnatsredigerare::pekaPaRad);
    connect(m_rutnat, &Rutnat::cellDoubleClicked, this, &Rutnatsredigerare::pekaPaRad);
    connect(m_rutnat, &Rutnat::hogerklick, this, &Rutnatsredigerare::visaMeny);

    mala();
}

bool Rutnatsredigerare::radVald() const {
    return m_rutnat->valdRad() != 0;
}

void Rutnatsredigerare::mala() {
    const Redigeringslage::Kontroller& k = m_lage.kontroller();
    for (qsizetype i = 0; i < m_falt.size(); ++i) {
        const bool oppet = i == 0 ? k.nyckelfalt : k.ovrigaFalt;
        m_falt[i]->setEnabled(oppet);
        sattGra(m_falt[i], !oppet);
    }
    cmdNy->setText(k.spara ? m_sparaText : m_nyText);
    cmdAvbryt->setEnabled(k.avbryt);
    mnuNy->setEnabled(k.nyMeny);
    cmdAndra->setEnabled(k.andra);
    mnuAndra->setEnabled(k.andra);
    cmdRadera->setEnabled(k.radera);
    mnuRadera->setEnabled(k.radera);
}

void Rutnatsredigerare::tomFalten() {
    for (QLineEdit* f : m_falt)
        f->clear();
}

void Rutnatsredigerare::nyKlick() {
    if (m_lage.knapparSparrade())
        return;
    if (m_lage.iInmatning()) {
        if (spara && spara()) {
            m_lage.sparad(radVald());
            mala();
        }
        return;
    }
    m_lage.borjaNy();
    tomFalten();
    mala();
    m_falt.first()->setFocus();
}

void Rutnatsredigerare::andraKlick() {
    if (m_lage.knapparSparrade() || m_lage.iInmatning())
        return;
    // Empty fields (after a cancel or a delete) show nothing to change: the
    // selected row is the record changed.
    if (m_falt.first()->text().isEmpty()) {
        const int rad = m_rutnat->valdRad();
        if (rad == 0 || !visaRad || !visaRad(rad))
            return;
    }
    m_lage.borjaAndra();
    mala();
    if (m_falt.size() > 1)
        m_falt[1]->setFocus();
    else
        m_falt.first()->setFocus();
}

void Rutnatsredigerare::raderaKlick() {
    if (m_lage.knapparSparrade() || m_lage.iInmatning())
        return;
    const int rad = m_rutnat->valdRad();
    if (rad == 0 || !radera || !radera(rad))
        return;
    m_lage.radernaAndrade(radVald());
    mala();
}

void Rutnatsredigerare::avbrytKlick() {
    // Also after a field refused to be left: what it holds is thrown away.
    avslutaInmatning();
}

void Rutnatsredigerare::avslutaInmatning() {
    if (!m_lage.iInmatning())
        return;
    m_lage.avbruten(radVald(), m_rutnat->antalRader());
    tomFalten();
    mala();
}

void Rutnatsredigerare::radernaAndrade() {
    m_lage.radernaAndrade(radVald());
    mala();
}

void Rutnatsredigerare::pekaPaRad() {
    const int rad = m_rutnat->valdRad();
    if (rad == 0 || !m_lage.pekningVisas())
        return;
    const bool hittad = visaRad ? visaRad(rad) : true;
    m_lage.radVisad(hittad, m_rutnat->antalRader());
    mala();
}

void Rutnatsredigerare::visaMeny(const QPoint& var) {
    mnuPopup->popup(var);
}

bool Rutnatsredigerare::eventFilter(QObject* o, QEvent* e) {
    auto* ruta = qobject_cast<QLineEdit*>(o);
    const qsizetype i = ruta ? m_falt.indexOf(ruta) : -1;
    if (i < 0)
        return QWidget::eventFilter(o, e);
    if (e->type() == QEvent::KeyPress) {
        const auto* tangent = static_cast<QKeyEvent*>(e);
        if (Tangentregler::arEnter(tangent)) {
            QWidget* nasta = i + 1 < m_falt.size() ? static_cast<QWidget*>(m_falt[i + 1]) : cmdNy;
            // As the Tab key would: the field's check runs as for any move onwards.
            nasta->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (m_baraSiffror.at(i) && Tangentregler::skriverTecken(tangent) &&
            !Tangentregler::tillatsIHeltal(tangent)) {
            QApplication::beep();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut && lamnaFalt && m_lage.iInmatning()) {
        // The check is for what goes on to be saved: not when the field is
        // hidden (the editor is left) or disabled (the entry has ended), nor on
        // the way to Cancel.
        const bool gaVidare = Tangentregler::operatorenGickVidare(static_cast<QFocusEvent*>(e)) &&
                              ruta->isVisible() && ruta->isEnabled() &&
                              QApplication::focusWidget() != cmdAvbryt;
        if (gaVidare && !lamnaFalt(int(i), ruta->text())) {
            m_lage.faltNekat();
            // After the field has handled its own focus out, or it would hide its cursor.
            QTimer::singleShot(0, ruta, [ruta] {
                if (ruta->isVisible() && ruta->isEnabled())
                    ruta->setFocus();
            });
        }
    }
    return QWidget::eventFilter(o, e);
}
