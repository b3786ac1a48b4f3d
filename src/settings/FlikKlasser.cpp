#include "settings/FlikKlasser.h"

#include "competition/Klasser.h"
#include "platform/Meddelanden.h"
#include "settings/frmInstallningar.h"
#include "settings/frmKlassUppgifter.h"
#include "settings/frmSlaSammanKlasser.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/modGlobalt.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString Form = QStringLiteral("frmInställningar");
}

FlikKlasser::FlikKlasser(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("FlikKlasser"));
    lblKlasser = new QLabel(this);
    lblKlasser->setObjectName(QStringLiteral("lblKlasser"));
    vbagrKlasser = new Rutnat(this);
    vbagrKlasser->setObjectName(QStringLiteral("vbagrKlasser"));
    vbagrKlasser->setToolTip(QStringLiteral("Markera klass för att sedan Ändra eller Tabort klassen."));

    const auto knapp = [this](const QString& namn, const QString& text, const QString& tips) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(namn);
        b->setToolTip(tips);
        return b;
    };
    cmdNyKlass =
        knapp(QStringLiteral("cmdNyKlass"), QStringLiteral("&Ny"), QStringLiteral("Skapa en ny klass."));
    cmdAndraKlass = knapp(QStringLiteral("cmdAndraKlass"), QStringLiteral("Ä&ndra"),
                          QStringLiteral("Ändra p åmarkerad klass."));
    cmdTabortKlass = knapp(QStringLiteral("cmdTabortKlass"), QStringLiteral("Ta &bort"),
                           QStringLiteral("Tabort markerad klass."));
    cmdSlaSamman = knapp(QStringLiteral("cmdSlaSamman"), QStringLiteral("Slå sa&mman"),
                         QStringLiteral("Slå samman flera klasser till en för resultatlistan."));

    mnuPopupKlasser = new QMenu(QStringLiteral("Popupklasser"), this);
    mnuPopupKlasser->setObjectName(QStringLiteral("mnuPopupKlasser"));
    mnuNyKlass = mnuPopupKlasser->addAction(QStringLiteral("Ny"));
    mnuNyKlass->setObjectName(QStringLiteral("mnuNyKlass"));
    mnuAndraKlass = mnuPopupKlasser->addAction(QStringLiteral("Ändra"));
    mnuAndraKlass->setObjectName(QStringLiteral("mnuAndraKlass"));
    mnuTabortKlass = mnuPopupKlasser->addAction(QStringLiteral("Tabort"));
    mnuTabortKlass->setObjectName(QStringLiteral("mnuTabortKlass"));

    auto* knappar = new QVBoxLayout;
    knappar->addWidget(cmdNyKlass);
    knappar->addWidget(cmdAndraKlass);
    knappar->addWidget(cmdTabortKlass);
    knappar->addSpacing(12);
    knappar->addWidget(cmdSlaSamman);
    knappar->addStretch();
    auto* rad = new QHBoxLayout;
    rad->addWidget(vbagrKlasser, 1);
    rad->addLayout(knappar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblKlasser);
    layout->addLayout(rad);

    setTabOrder(vbagrKlasser, cmdAndraKlass);
    setTabOrder(cmdAndraKlass, cmdNyKlass);
    setTabOrder(cmdNyKlass, cmdTabortKlass);
    setTabOrder(cmdTabortKlass, cmdSlaSamman);

    connect(cmdNyKlass, &QPushButton::clicked, this, &FlikKlasser::cmdNyKlass_Click);
    connect(cmdAndraKlass, &QPushButton::clicked, this, &FlikKlasser::cmdAndraKlass_Click);
    connect(cmdTabortKlass, &QPushButton::clicked, this, &FlikKlasser::cmdTabortKlass_Click);
    connect(cmdSlaSamman, &QPushButton::clicked, this, &FlikKlasser::cmdSlaSamman_Click);
    connect(mnuNyKlass, &QAction::triggered, this, &FlikKlasser::cmdNyKlass_Click);
    connect(mnuAndraKlass, &QAction::triggered, this, &FlikKlasser::cmdAndraKlass_Click);
    connect(mnuTabortKlass, &QAction::triggered, this, &FlikKlasser::cmdTabortKlass_Click);
    connect(vbagrKlasser, &Rutnat::cellDoubleClicked, this, &FlikKlasser::cmdAndraKlass_Click);
    connect(vbagrKlasser, &Rutnat::hogerklick, this,
            [this](const QPoint& var) { mnuPopupKlasser->popup(var); });

    Skapa_rutnat();
    Felfalla::standard(k.m(), Form, QStringLiteral("Form_load"))([&] {
        lblKlasser->setText(Klasser(k.g(), k.m()).tabell());
        Hamta_in_klasser_till_gridden();
    });
}

void FlikKlasser::Skapa_rutnat() {
    vbagrKlasser->laggTillKolumn(QStringLiteral("Räknare"), 50, true);
    vbagrKlasser->laggTillKolumn(QStringLiteral("Klass"), 50);
    vbagrKlasser->laggTillKolumn(QStringLiteral("Klassnamn"), 166);
    vbagrKlasser->laggTillKolumn(QStringLiteral("Skott"), 40);
    if (m_k.g().blnMix)
        vbagrKlasser->laggTillKolumn(QStringLiteral("Sport/Nat"), 64);
}

void FlikKlasser::Hamta_in_klasser_till_gridden() {
    const QList<Klass> klasser = Klasser(m_k.g(), m_k.m()).lista();
    vbagrKlasser->setUpdatesEnabled(false);
    vbagrKlasser->tom();
    for (const Klass& k : klasser)
        vbagrKlasser->laggTillRad(
            {QString::number(k.raknare), k.kod, k.namn, QString::number(k.antalSkott), k.sportNat});
    vbagrKlasser->setUpdatesEnabled(true);
}

qint64 FlikKlasser::valdKlass() {
    const int rad = vbagrKlasser->valdRad();
    if (rad == 0) {
        m_k.m().visa(QStringLiteral("Du måste välja en klass först!"), {}, Meddelanden::Ikon::Kritisk);
        return 0;
    }
    return vbagrKlasser->cell(rad, 1).toLongLong();
}

QWidget* FlikKlasser::installningar() {
    for (QWidget* w = this; w; w = w->parentWidget())
        if (qobject_cast<frmInstallningar*>(w))
            return w;
    return this;
}

void FlikKlasser::cmdNyKlass_Click() {
    frmKlassUppgifter dialog(m_k, frmKlassUppgifter::Lage::NyKlass, {}, installningar());
    connect(&dialog, &frmKlassUppgifter::sparad, this, &FlikKlasser::Hamta_in_klasser_till_gridden);
    dialog.exec();
}

void FlikKlasser::cmdAndraKlass_Click() {
    const qint64 raknare = valdKlass();
    if (raknare == 0)
        return;
    Klass klass;
    if (!Felfalla::standard(m_k.m(), Form, QStringLiteral("cmdÄndraKlass_Click"))(
            [&] { klass = Klasser(m_k.g(), m_k.m()).klass(raknare); }))
        return;
    frmKlassUppgifter dialog(m_k, frmKlassUppgifter::Lage::AndraKlass, klass, installningar());
    connect(&dialog, &frmKlassUppgifter::sparad, this, &FlikKlasser::Hamta_in_klasser_till_gridden);
    dialog.exec();
}

void FlikKlasser::cmdTabortKlass_Click() {
    const qint64 raknare = valdKlass();
    if (raknare == 0)
        return;
    Felfalla::standard(m_k.m(), Form, QStringLiteral("cmdTabortKlass_Click"))([&] {
        if (Klasser(m_k.g(), m_k.m()).taBort(raknare) == Klasser::Utfall::Ok)
            Hamta_in_klasser_till_gridden();
    });
}

void FlikKlasser::cmdSlaSamman_Click() {
    frmSlaSammanKlasser dialog(m_k, installningar());
    dialog.exec();
}
