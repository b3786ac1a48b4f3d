#include "settings/FlikOmgangar.h"

#include "competition/Omgangar.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "settings/Rutnatsredigerare.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/modGlobalt.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;
using N = Rutnatsredigerare::Namn;

Rutnatsredigerare::Utformning utformning() {
    Rutnatsredigerare::Utformning u;
    u.rutnat = {QStringLiteral("vbagrTavlingar"),
                {},
                QStringLiteral("Markera för att radera tävlingen med knappen Radera tävl nedan.")};
    u.kolumner = {{QStringLiteral("Omg"), 38}, {QStringLiteral("Beskrivning"), 244}};
    u.falt = {{QStringLiteral("txtOmg"),
               QStringLiteral("Vilken omg ska tävlingen ha. Endast siffror."),
               {QStringLiteral("lblOmg"), QStringLiteral("Omg"), {}}},
              {QStringLiteral("txtBeskrivning"),
               QStringLiteral("Ex. Lördag förmiddag"),
               {QStringLiteral("lblBeskrivning"), QStringLiteral("Beskrivning"), {}}}};
    u.ny = {QStringLiteral("cmdNy"), QStringLiteral("&Ny tävling"), QStringLiteral("Skapa en ny tävling.")};
    u.avbryt = {QStringLiteral("cmdAvbryt"), QStringLiteral("A&vbryt"),
                QStringLiteral("Avbryt skapandet av en ny tävling.")};
    u.andra = {QStringLiteral("cmdAndraTavling"), QStringLiteral("Ändra täv&ling"),
               QStringLiteral("Ändra beskrivning på den valda tävlingen.")};
    u.radera = {QStringLiteral("cmdRadera"), QStringLiteral("Ra&dera tävl"),
                QStringLiteral("Radera markerad tävling i listan.")};
    u.meny = {QStringLiteral("mnuPopupTavlingar"), QStringLiteral("PopupTävlingar"), {}};
    u.menyNy = {QStringLiteral("mnuNyTavling"), QStringLiteral("Ny tävling"), {}};
    u.menyAndra = {QStringLiteral("mnuAndraTavling"), QStringLiteral("Ändra tävling"), {}};
    u.menyRadera = {QStringLiteral("mnuRaderaTavling"), QStringLiteral("Radera tävling"), {}};
    // The round under an open entry is not swapped; the last round stays.
    u.regler.radAvslutarInmatning = false;
    u.regler.sistaRadenKanRaderas = false;
    return u;
}
} // namespace

FlikOmgangar::FlikOmgangar(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikOmgangar"));
    redigerare = new Rutnatsredigerare(utformning(), this);
    redigerare->setObjectName(QStringLiteral("redigerareOmgangar"));
    vbagrTavlingar = redigerare->rutnat();
    txtOmg = redigerare->falt(0);
    txtBeskrivning = redigerare->falt(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(redigerare);

    redigerare->visaRad = [this](int rad) { return visaOmgang(rad); };
    redigerare->spara = [this] { return spara(); };
    redigerare->radera = [this](int rad) { return radera(rad); };
    redigerare->lamnaFalt = [this](int falt, const QString& text) {
        if (falt != 0)
            return true;
        const std::optional<Omgangar::Vagran> vagran = Omgangar::nollVagras(text);
        if (vagran)
            m_k.m().visa(vagran->text, vagran->titel, Ikon::Kritisk);
        return !vagran;
    };
}

FlikOmgangar::Lage FlikOmgangar::lage() const {
    switch (redigerare->lage()) {
    case Redigeringslage::Lage::Ny:
        return Lage::NyOmgang;
    case Redigeringslage::Lage::Andra:
        return Lage::AndraOmgang;
    case Redigeringslage::Lage::Vilande:
        break;
    }
    return Lage::Vilande;
}

void FlikOmgangar::visa(const Installningsvarden&) {
    if (m_k.g().blnFleraTavlingar)
        Hamta_in_tavlingar_till_gridden();
}

void FlikOmgangar::lamnas() {
    Avsluta_andring_omgang();
}

void FlikOmgangar::Hamta_in_tavlingar_till_gridden() {
    const QList<Omgangar::Omgang> omgangar = Omgangar::alla(m_k.db());
    vbagrTavlingar->setUpdatesEnabled(false);
    vbagrTavlingar->tom();
    for (const Omgangar::Omgang& o : omgangar)
        vbagrTavlingar->laggTillRad({QString::number(o.omg), o.beskrivning});
    vbagrTavlingar->setUpdatesEnabled(true);
}

bool FlikOmgangar::visaOmgang(int rad) {
    std::optional<Omgangar::Omgang> omgang;
    const bool last =
        Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"), QStringLiteral("vbagrTävlingar"))(
            [&] { omgang = Omgangar::hitta(m_k.db(), vbagrTavlingar->cell(rad, 1).toInt()); });
    if (!last)
        return false;
    m_visadOmg = omgang ? omgang->omg : 0;
    txtOmg->setText(omgang ? QString::number(omgang->omg) : QString());
    txtBeskrivning->setText(omgang ? omgang->beskrivning : QString());
    return omgang.has_value();
}

bool FlikOmgangar::spara() {
    Meddelanden& m = m_k.m();
    txtOmg->setText(txtOmg->text().trimmed());
    txtBeskrivning->setText(txtBeskrivning->text().trimmed());
    QLineEdit* forsta = txtOmg->isEnabled() ? txtOmg : txtBeskrivning;
    const bool ny = redigerare->lage() == Redigeringslage::Lage::Ny;
    std::optional<Omgangar::Vagran> vagran;
    int sparad = 0;
    // A failure keeps the entry open with what was typed.
    const bool klar = Felfalla(m, QString(), Ikon::Ingen, QString())([&] {
        if (ny) {
            vagran = Omgangar::laggTill(m_k.db(), txtOmg->text(), txtBeskrivning->text());
            if (!vagran)
                sparad = *Omgangar::tolkaNummer(txtOmg->text()).omg;
        } else {
            vagran = Omgangar::andraBeskrivning(m_k.db(), m_visadOmg, txtBeskrivning->text());
            sparad = m_visadOmg;
        }
    });
    if (!klar)
        return false;
    if (vagran) {
        m.visa(vagran->text, vagran->titel, Ikon::Kritisk);
        forsta->setFocus();
        return false;
    }
    m_visadOmg = sparad;
    emit omgangarAndrade();
    Felfalla::standard(m, QStringLiteral("frmInställningar"),
                       QStringLiteral("cmdNy_Click"))([&] { Hamta_in_tavlingar_till_gridden(); });
    return true;
}

bool FlikOmgangar::radera(int rad) {
    Meddelanden& m = m_k.m();
    const int omg = vbagrTavlingar->cell(rad, 1).toInt();
    bool andrade = false;
    Felfalla::standard(m, QStringLiteral("frmInställningar"), QStringLiteral("cmdRadera_Click"))([&] {
        std::optional<Omgangar::Vagran> vagran = Omgangar::borttagVagras(m_k.db(), omg);
        if (vagran) {
            m.visa(vagran->text, vagran->titel, Ikon::Kritisk);
            return;
        }
        const std::optional<Omgangar::Omgang> omgang = Omgangar::hitta(m_k.db(), omg);
        if (omgang) {
            if (m.visa(QStringLiteral("Vill du verkligen radera Tävlingen: ") + omgang->beskrivning,
                       QStringLiteral("Bekräfta radering"), Ikon::Fraga,
                       Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
                return;
            vagran = Omgangar::taBort(m_k.db(), omg);
            if (vagran) {
                m.visa(vagran->text, vagran->titel, Ikon::Kritisk);
                return;
            }
            m_visadOmg = 0;
            redigerare->tomFalten();
        }
        // Deleted, or gone since the grid was filled: the grid is brought up to date.
        andrade = true;
        Hamta_in_tavlingar_till_gridden();
    });
    return andrade;
}

void FlikOmgangar::Avsluta_andring_omgang() {
    redigerare->avslutaInmatning();
}
