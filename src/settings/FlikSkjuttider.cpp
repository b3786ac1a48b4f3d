#include "settings/FlikSkjuttider.h"

#include "competition/Skjuttider.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "settings/Rutnatsredigerare.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;

Rutnatsredigerare::Utformning utformning() {
    Rutnatsredigerare::Utformning u;
    u.rutnat = {QStringLiteral("vbagrSkjuttider"), {}, {}};
    u.kolumner = {{QStringLiteral("Skjutlag"), 58}, {QStringLiteral("Skjuttid"), 222}};
    Rutnatsredigerare::Falt lag{QStringLiteral("txtSkjuttidLag"),
                                QStringLiteral("Vilket skjutlag gäller för tiden."),
                                {{}, QStringLiteral("Skjutlag"), {}}};
    // Short enough to be a squad number.
    lag.baraSiffror = true;
    lag.maxLangd = 4;
    u.falt = {lag,
              {QStringLiteral("txtSkjuttidBeskr"),
               QStringLiteral("Här skriver man in vilken tid, ex. Fredag kl 18.00"),
               {{}, QStringLiteral("Skjuttid"), {}}}};
    u.ny = {QStringLiteral("cmdNySkjuttid"), QStringLiteral("&Ny tid"), QStringLiteral("Gör en ny tid.")};
    u.andra = {QStringLiteral("cmdAndraSkjuttid"), QStringLiteral("&Ändra tid"),
               QStringLiteral("Ändra den valda skjuttiden.")};
    u.radera = {QStringLiteral("cmdRaderaSkjuttid"), QStringLiteral("Ra&dera tid"),
                QStringLiteral("Radera markerad tid i listan.")};
    u.avbryt = {QStringLiteral("cmdAvbrytSkjuttid"), QStringLiteral("A&vbryt"),
                QStringLiteral("Avbryt inskrivningen av den nya tiden.")};
    u.meny = {QStringLiteral("mnuPopupTider"), QStringLiteral("Popup Tider"), {}};
    u.menyNy = {QStringLiteral("mnuNyTid"), QStringLiteral("Ny tid"), {}};
    u.menyAndra = {QStringLiteral("mnuAndraTid"), QStringLiteral("Ändra tid"), {}};
    u.menyRadera = {QStringLiteral("mnuRaderaTid"), QStringLiteral("Radera tid"), {}};
    // Every way of pointing at a row shows it and leaves any entry: the boxes
    // then always hold the row that change and delete act on.
    u.regler.radAvslutarInmatning = true;
    u.regler.sistaRadenKanRaderas = true;
    return u;
}
} // namespace

FlikSkjuttider::FlikSkjuttider(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikSkjuttider"));
    redigerare = new Rutnatsredigerare(utformning(), this);
    redigerare->setObjectName(QStringLiteral("redigerareSkjuttider"));
    vbagrSkjuttider = redigerare->rutnat();
    txtSkjuttidLag = redigerare->falt(0);
    txtSkjuttidBeskr = redigerare->falt(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(redigerare);

    redigerare->visaRad = [this](int rad) { return visaTid(rad); };
    redigerare->spara = [this] { return spara(); };
    redigerare->radera = [this](int rad) { return radera(rad); };
}

FlikSkjuttider::Lage FlikSkjuttider::lage() const {
    switch (redigerare->lage()) {
    case Redigeringslage::Lage::Ny:
        return Lage::NyTid;
    case Redigeringslage::Lage::Andra:
        return Lage::AndraTid;
    case Redigeringslage::Lage::Vilande:
        break;
    }
    return Lage::Vilande;
}

void FlikSkjuttider::visa(const Installningsvarden&) {
    Hamta_in_tider_till_gridden();
    redigerare->radernaAndrade();
}

void FlikSkjuttider::Hamta_in_tider_till_gridden() {
    const QList<Skjuttider::Rad> rader = Skjuttider::alla(m_k.db());
    vbagrSkjuttider->setUpdatesEnabled(false);
    vbagrSkjuttider->tom();
    for (const Skjuttider::Rad& r : rader)
        vbagrSkjuttider->laggTillRad({QString::number(r.skjutlag), r.skjuttid});
    vbagrSkjuttider->setUpdatesEnabled(true);
}

bool FlikSkjuttider::visaTid(int rad) {
    txtSkjuttidLag->setText(vbagrSkjuttider->cell(rad, 1));
    txtSkjuttidBeskr->setText(vbagrSkjuttider->cell(rad, 2));
    return true;
}

bool FlikSkjuttider::spara() {
    Meddelanden& m = m_k.m();
    txtSkjuttidLag->setText(txtSkjuttidLag->text().trimmed());
    txtSkjuttidBeskr->setText(txtSkjuttidBeskr->text().trimmed());
    // In a change the squad box is locked: the focus goes where something can be typed.
    QLineEdit* forsta = txtSkjuttidLag->isEnabled() ? txtSkjuttidLag : txtSkjuttidBeskr;
    if (txtSkjuttidLag->text().isEmpty() || txtSkjuttidBeskr->text().isEmpty()) {
        m.visa(QStringLiteral("Du måste fylla i alla fälten!"), QStringLiteral("Tomma fält"), Ikon::Kritisk);
        forsta->setFocus();
        return false;
    }
    bool ok = false;
    const int skjutlag = txtSkjuttidLag->text().toInt(&ok);
    if (!ok) {
        m.visa(QStringLiteral("Skjutlaget skrivs med siffror!"), QStringLiteral("Fel"));
        forsta->setFocus();
        return false;
    }
    if (skjutlag == 0) {
        m.visa(QStringLiteral("Du får inte skriva skjutlag 0!"), QStringLiteral("Fel"));
        forsta->setFocus();
        return false;
    }
    const QString skjuttid = txtSkjuttidBeskr->text();
    // A failed save keeps the entry, so that nothing typed is lost.
    return Felfalla(m, QStringLiteral("cmdNyTid_Click "), Ikon::Ingen, QString())([&] {
        int lage = Skjuttider::Skriv;
        HanteraSkjuttid(m_k.db(), skjutlag, lage, skjuttid, Skjuttider::LasEllerSkriv);
        Hamta_in_tider_till_gridden();
    });
}

bool FlikSkjuttider::radera(int rad) {
    if (m_k.m().visa(QStringLiteral("Vill du verkligen radera Tiden: ") + vbagrSkjuttider->cell(rad, 2),
                     QStringLiteral("Bekräfta radering"), Ikon::Fraga,
                     Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return false;
    const int skjutlag = vbagrSkjuttider->cell(rad, 1).toInt();
    Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"),
                       QStringLiteral("cmdRaderaSkjuttid_Click"))([&] {
        Skjuttider::radera(m_k.db(), skjutlag);
        redigerare->tomFalten();
        Hamta_in_tider_till_gridden();
    });
    return true;
}
