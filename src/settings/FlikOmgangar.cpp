#include "settings/FlikOmgangar.h"

#include "competition/Omgangar.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Formkontext.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/modGlobalt.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;

const QString NyTavling = QStringLiteral("&Ny tävling");
const QString Spara = QStringLiteral("S&para");

QPushButton* knapp(const QString& namn, const QString& text, const QString& tips, QWidget* foralder) {
    auto* b = new QPushButton(text, foralder);
    b->setObjectName(namn);
    b->setToolTip(tips);
    // Enter on a focused button presses it, as Enter in the boxes moves on to the buttons.
    b->setAutoDefault(true);
    return b;
}
} // namespace

FlikOmgangar::FlikOmgangar(Formkontext& k, QWidget* parent) : Installningsflik(k, parent) {
    setObjectName(QStringLiteral("flikOmgangar"));

    // Created in the order Enter and Tab move through them: the description
    // leads to the save button, not to the cancel.
    vbagrTavlingar = new Rutnat(this);
    vbagrTavlingar->setObjectName(QStringLiteral("vbagrTavlingar"));
    vbagrTavlingar->setToolTip(
        QStringLiteral("Markera för att radera tävlingen med knappen Radera tävl nedan."));
    vbagrTavlingar->laggTillKolumn(QStringLiteral("Omg"), 38);
    vbagrTavlingar->laggTillKolumn(QStringLiteral("Beskrivning"), 244);

    txtOmg = new QLineEdit(this);
    txtOmg->setObjectName(QStringLiteral("txtOmg"));
    txtOmg->setToolTip(QStringLiteral("Vilken omg ska tävlingen ha. Endast siffror."));
    txtOmg->installEventFilter(this);
    txtBeskrivning = new QLineEdit(this);
    txtBeskrivning->setObjectName(QStringLiteral("txtBeskrivning"));
    txtBeskrivning->setToolTip(QStringLiteral("Ex. Lördag förmiddag"));
    txtBeskrivning->installEventFilter(this);

    cmdNy = knapp(QStringLiteral("cmdNy"), NyTavling, QStringLiteral("Skapa en ny tävling."), this);
    cmdAvbryt = knapp(QStringLiteral("cmdAvbryt"), QStringLiteral("A&vbryt"),
                      QStringLiteral("Avbryt skapandet av en ny tävling."), this);
    cmdAndraTavling = knapp(QStringLiteral("cmdAndraTavling"), QStringLiteral("Ändra täv&ling"),
                            QStringLiteral("Ändra beskrivning på den valda tävlingen."), this);
    cmdRadera = knapp(QStringLiteral("cmdRadera"), QStringLiteral("Ra&dera tävl"),
                      QStringLiteral("Radera markerad tävling i listan."), this);

    mnuPopupTavlingar = new QMenu(QStringLiteral("PopupTävlingar"), this);
    mnuPopupTavlingar->setObjectName(QStringLiteral("mnuPopupTavlingar"));
    mnuNyTavling = mnuPopupTavlingar->addAction(QStringLiteral("Ny tävling"));
    mnuNyTavling->setObjectName(QStringLiteral("mnuNyTavling"));
    mnuAndraTavling = mnuPopupTavlingar->addAction(QStringLiteral("Ändra tävling"));
    mnuAndraTavling->setObjectName(QStringLiteral("mnuAndraTavling"));
    mnuRaderaTavling = mnuPopupTavlingar->addAction(QStringLiteral("Radera tävling"));
    mnuRaderaTavling->setObjectName(QStringLiteral("mnuRaderaTavling"));

    auto* falt = new QGridLayout;
    auto* lblOmg = new QLabel(QStringLiteral("Omg"), this);
    lblOmg->setObjectName(QStringLiteral("lblOmg"));
    auto* lblBeskrivning = new QLabel(QStringLiteral("Beskrivning"), this);
    lblBeskrivning->setObjectName(QStringLiteral("lblBeskrivning"));
    falt->addWidget(lblOmg, 0, 0);
    falt->addWidget(lblBeskrivning, 0, 1);
    falt->addWidget(txtOmg, 1, 0);
    falt->addWidget(txtBeskrivning, 1, 1);
    falt->setColumnStretch(1, 1);
    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdRadera);
    knappar->addWidget(cmdAvbryt);
    knappar->addStretch();
    knappar->addWidget(cmdNy);
    knappar->addWidget(cmdAndraTavling);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(vbagrTavlingar, 1);
    layout->addLayout(falt);
    layout->addLayout(knappar);

    connect(cmdNy, &QPushButton::clicked, this, &FlikOmgangar::cmdNy_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &FlikOmgangar::cmdAvbryt_Click);
    connect(cmdAndraTavling, &QPushButton::clicked, this, &FlikOmgangar::cmdAndraTavling_Click);
    connect(cmdRadera, &QPushButton::clicked, this, &FlikOmgangar::cmdRadera_Click);
    connect(mnuNyTavling, &QAction::triggered, this, &FlikOmgangar::cmdNy_Click);
    connect(mnuAndraTavling, &QAction::triggered, this, &FlikOmgangar::cmdAndraTavling_Click);
    connect(mnuRaderaTavling, &QAction::triggered, this, &FlikOmgangar::cmdRadera_Click);
    connect(vbagrTavlingar, &Rutnat::itemSelectionChanged, this,
            &FlikOmgangar::vbagrTavlingar_SelectionChange);
    connect(vbagrTavlingar, &Rutnat::cellClicked, this, &FlikOmgangar::vbagrTavlingar_Click);
    connect(vbagrTavlingar, &Rutnat::cellDoubleClicked, this, &FlikOmgangar::vbagrTavlingar_DblClick);
    connect(vbagrTavlingar, &Rutnat::hogerklick, this, &FlikOmgangar::vbagrTavlingar_MouseUp);

    // Nothing is shown yet: the boxes are locked and only a new round can be made.
    sattLast(txtOmg, true);
    sattLast(txtBeskrivning, true);
    cmdAvbryt->setEnabled(false);
    sattAndraRadera(false, false);
}

void FlikOmgangar::visa(const Installningsvarden&) {
    if (m_k.g().blnFleraTavlingar)
        Hamta_in_tavlingar_till_gridden();
}

void FlikOmgangar::lamnas() {
    if (iInmatning())
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

void FlikOmgangar::sattLast(QLineEdit* falt, bool last) {
    falt->setEnabled(!last);
    sattGra(falt, last);
}

void FlikOmgangar::sattAndraRadera(bool andra, bool radera) {
    cmdAndraTavling->setEnabled(andra);
    mnuAndraTavling->setEnabled(andra);
    cmdRadera->setEnabled(radera);
    mnuRaderaTavling->setEnabled(radera);
}

void FlikOmgangar::visaValdOmgang(bool klick) {
    if (iInmatning())
        return;
    const int rad = vbagrTavlingar->valdRad();
    if (rad == 0)
        return;
    Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"), QStringLiteral("vbagrTävlingar"))([&] {
        const std::optional<Omgangar::Omgang> omgang =
            Omgangar::hitta(m_k.db(), vbagrTavlingar->cell(rad, 1).toInt());
        m_visadOmg = omgang ? omgang->omg : 0;
        txtOmg->setText(omgang ? QString::number(omgang->omg) : QString());
        txtBeskrivning->setText(omgang ? omgang->beskrivning : QString());
    });
    // The last round cannot be deleted: its button is not offered.
    sattAndraRadera(m_visadOmg != 0, m_visadOmg != 0 && vbagrTavlingar->antalRader() != 1);
    sattLast(txtOmg, true);
    sattLast(txtBeskrivning, true);
    if (klick) {
        cmdNy->setText(NyTavling);
        mnuNyTavling->setEnabled(true);
        cmdAvbryt->setEnabled(false);
    }
}

void FlikOmgangar::vbagrTavlingar_SelectionChange() {
    visaValdOmgang(false);
}

void FlikOmgangar::vbagrTavlingar_Click() {
    visaValdOmgang(true);
}

void FlikOmgangar::vbagrTavlingar_DblClick() {
    visaValdOmgang(false);
}

void FlikOmgangar::vbagrTavlingar_MouseUp(const QPoint& var) {
    mnuPopupTavlingar->popup(var);
}

void FlikOmgangar::cmdNy_Click() {
    if (iInmatning()) {
        spara();
        return;
    }
    m_lage = Lage::NyOmgang;
    m_visadOmg = 0;
    sattLast(txtOmg, false);
    sattLast(txtBeskrivning, false);
    txtOmg->clear();
    txtBeskrivning->clear();
    txtOmg->setFocus();
    cmdNy->setText(Spara);
    cmdAvbryt->setEnabled(true);
    mnuNyTavling->setEnabled(false);
    sattAndraRadera(false, false);
}

void FlikOmgangar::cmdAndraTavling_Click() {
    if (iInmatning())
        return;
    // After a cancel or a delete the boxes are empty: the selected round is the one changed.
    if (m_visadOmg == 0) {
        const int rad = vbagrTavlingar->valdRad();
        if (rad == 0)
            return;
        const bool hittad = Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"),
                                               QStringLiteral("cmdÄndraTävling_Click"))([&] {
            if (const std::optional<Omgangar::Omgang> omgang =
                    Omgangar::hitta(m_k.db(), vbagrTavlingar->cell(rad, 1).toInt())) {
                m_visadOmg = omgang->omg;
                txtOmg->setText(QString::number(omgang->omg));
                txtBeskrivning->setText(omgang->beskrivning);
            }
        });
        if (!hittad || m_visadOmg == 0)
            return;
    }
    m_lage = Lage::AndraOmgang;
    // The number is the round's key: only the description can change.
    sattLast(txtOmg, true);
    sattLast(txtBeskrivning, false);
    txtBeskrivning->setFocus();
    cmdNy->setText(Spara);
    cmdAvbryt->setEnabled(true);
    mnuNyTavling->setEnabled(false);
    sattAndraRadera(false, false);
}

void FlikOmgangar::spara() {
    Meddelanden& m = m_k.m();
    txtOmg->setText(txtOmg->text().trimmed());
    txtBeskrivning->setText(txtBeskrivning->text().trimmed());
    QLineEdit* forsta = txtOmg->isEnabled() ? txtOmg : txtBeskrivning;
    std::optional<Omgangar::Vagran> vagran;
    int sparad = 0;
    // A failure keeps the entry open with what was typed.
    const bool klar = Felfalla(m, QString(), Ikon::Ingen, QString())([&] {
        if (m_lage == Lage::NyOmgang) {
            vagran = Omgangar::laggTill(m_k.db(), txtOmg->text(), txtBeskrivning->text());
            if (!vagran)
                sparad = *Omgangar::tolkaNummer(txtOmg->text()).omg;
        } else {
            vagran = Omgangar::andraBeskrivning(m_k.db(), m_visadOmg, txtBeskrivning->text());
            sparad = m_visadOmg;
        }
    });
    if (!klar)
        return;
    if (vagran) {
        m.visa(vagran->text, vagran->titel, Ikon::Kritisk);
        forsta->setFocus();
        return;
    }
    m_lage = Lage::Vilande;
    m_visadOmg = sparad;
    emit omgangarAndrade();
    Felfalla::standard(m, QStringLiteral("frmInställningar"),
                       QStringLiteral("cmdNy_Click"))([&] { Hamta_in_tavlingar_till_gridden(); });
    cmdNy->setText(NyTavling);
    mnuNyTavling->setEnabled(true);
    sattLast(txtOmg, true);
    sattLast(txtBeskrivning, true);
    cmdAvbryt->setEnabled(false);
    const bool vald = vbagrTavlingar->valdRad() != 0;
    sattAndraRadera(vald, vald);
}

void FlikOmgangar::Avsluta_andring_omgang() {
    m_lage = Lage::Vilande;
    m_visadOmg = 0;
    txtOmg->clear();
    txtBeskrivning->clear();
    sattLast(txtOmg, true);
    sattLast(txtBeskrivning, true);
    cmdNy->setText(NyTavling);
    mnuNyTavling->setEnabled(true);
    cmdAvbryt->setEnabled(false);
    const bool vald = vbagrTavlingar->valdRad() != 0;
    sattAndraRadera(vald, vald && vbagrTavlingar->antalRader() != 1);
}

void FlikOmgangar::cmdAvbryt_Click() {
    Avsluta_andring_omgang();
}

void FlikOmgangar::cmdRadera_Click() {
    if (iInmatning())
        return;
    const int rad = vbagrTavlingar->valdRad();
    if (rad == 0)
        return;
    Meddelanden& m = m_k.m();
    const int omg = vbagrTavlingar->cell(rad, 1).toInt();
    Felfalla::standard(m, QStringLiteral("frmInställningar"), QStringLiteral("cmdRadera_Click"))([&] {
        std::optional<Omgangar::Vagran> vagran = Omgangar::borttagVagras(m_k.db(), omg);
        if (vagran) {
            m.visa(vagran->text, vagran->titel, Ikon::Kritisk);
            return;
        }
        const std::optional<Omgangar::Omgang> omgang = Omgangar::hitta(m_k.db(), omg);
        if (!omgang) {
            // Gone since the grid was filled: the grid is brought up to date.
            Hamta_in_tavlingar_till_gridden();
        } else {
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
            txtOmg->clear();
            txtBeskrivning->clear();
            Hamta_in_tavlingar_till_gridden();
        }
        const bool vald = vbagrTavlingar->valdRad() != 0;
        sattAndraRadera(vald, vald);
    });
}

bool FlikOmgangar::eventFilter(QObject* o, QEvent* e) {
    if ((o == txtOmg || o == txtBeskrivning) && e->type() == QEvent::KeyPress) {
        if (Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
            focusNextChild();
            return true;
        }
    }
    return Installningsflik::eventFilter(o, e);
}
