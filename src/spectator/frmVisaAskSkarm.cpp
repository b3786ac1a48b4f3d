#include "spectator/frmVisaAskSkarm.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "competition/Skjutlag.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"
#include "spectator/Askadarmenyer.h"
#include "spectator/SkapaTCPData.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
const QString Form = QStringLiteral("frmVisaÅskSkärm");
} // namespace

frmVisaAskSkarm::frmVisaAskSkarm(Formkontext& k, Askadarflode& flode, QWidget* parent)
    : QWidget(parent), m_k(k), m_flode(flode) {
    setObjectName(QStringLiteral("frmVisaAskSkarm"));
    setWindowTitle(QStringLiteral("Visning åskådarskärm"));

    auto namnge = [](QWidget* w, const char* namn) { w->setObjectName(QString::fromLatin1(namn)); };
    auto* lblOverskrift =
        new QLabel(QStringLiteral("Här väljer man vilket skjutlag som ska visas på åskådarskärmen."), this);
    namnge(lblOverskrift, "lblOverskrift");
    lblOverskrift->setWordWrap(true);
    auto* frameVal = new QGroupBox(QStringLiteral("Val"), this);
    namnge(frameVal, "frameVal");
    auto* lblVal = new QLabel(QStringLiteral("Vad ska visas på åskådarskärmen?"), frameVal);
    namnge(lblVal, "lblVal");
    lblVal->setWordWrap(true);
    auto* optSkjutlag = new QRadioButton(QStringLiteral("Skjutlagslista"), frameVal);
    namnge(optSkjutlag, "optSkjutlag");
    optSkjutlag->setToolTip(QStringLiteral("Visa skjutlags listan på åskådarskärmen."));
    optSkjutlag->setChecked(true);
    auto* optResultatlista = new QRadioButton(QStringLiteral("Resultatlista"), frameVal);
    namnge(optResultatlista, "optResultatlista");
    optResultatlista->setToolTip(QStringLiteral("Detta finns inte än."));
    optResultatlista->setEnabled(false);
    auto* lblSkjutlag = new QLabel(QStringLiteral("Vilket skjutlag?"), frameVal);
    namnge(lblSkjutlag, "lblSkjutlag");
    cboSkjutlag = new QComboBox(frameVal);
    namnge(cboSkjutlag, "cboSkjutlag");
    cboSkjutlag->setEditable(false);
    cboSkjutlag->setToolTip(QStringLiteral("Vilket skjutlag ska visas för tillfället?"));
    lblSkjutlag->setBuddy(cboSkjutlag);
    auto* lblAllaBanor = new QLabel(QStringLiteral("Ska tomma banor visas?"), frameVal);
    namnge(lblAllaBanor, "lblAllaBanor");
    chkAllaBanor = new QCheckBox(frameVal);
    namnge(chkAllaBanor, "chkAllaBanor");
    chkAllaBanor->setToolTip(QStringLiteral(
        "Markera denna om du vill att alla banor inklusive tomma ska visas på åskådarskärmen."));
    lblAllaBanor->setBuddy(chkAllaBanor);

    auto* val = new QVBoxLayout(frameVal);
    val->addWidget(lblVal);
    val->addWidget(optSkjutlag);
    val->addWidget(optResultatlista);
    val->addWidget(lblSkjutlag);
    val->addWidget(cboSkjutlag);
    auto* banor = new QHBoxLayout;
    banor->addWidget(lblAllaBanor, 1);
    banor->addWidget(chkAllaBanor);
    val->addLayout(banor);

    auto* cmdOK = new QPushButton(QStringLiteral("&Uppdatera"), this);
    namnge(cmdOK, "cmdOK");
    cmdOK->setToolTip(QStringLiteral("Uppdatera bilden på åskådarskärmen med den som är vald."));
    cmdOK->setDefault(true);
    auto* cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    namnge(cmdAvbryt, "cmdAvbryt");
    cmdAvbryt->setToolTip(QStringLiteral("Gör inga ändringar."));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblOverskrift);
    layout->addWidget(frameVal);
    layout->addStretch();
    auto* knappar = new QHBoxLayout;
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdAvbryt);
    layout->addLayout(knappar);

    connect(cmdOK, &QPushButton::clicked, this, &frmVisaAskSkarm::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmVisaAskSkarm::cmdAvbryt_Click);

    Form_Load();
}

void frmVisaAskSkarm::Form_Load() {
    Grafik grafik(m_k.g().strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Skärm.ico")));
    resize(twips(4000), twips(5900));
    const clsIni& ini = m_k.g().iniTavling;
    chkAllaBanor->setChecked(SkapaTCPData::allaBanor(ini));

    // A squad count that cannot be read still leaves squad 1 to choose, so the
    // list is never empty and "&Uppdatera" always has a squad to send.
    int antal = 1;
    try {
        antal = Skjutlag::antal(m_k.db());
    } catch (const Fel&) {
        antal = 1;
    }
    antal = std::max(antal, 1);
    for (int i = 1; i <= antal; ++i)
        cboSkjutlag->addItem(QString::number(i), i);
    // The squad on screen when there is one that still exists, else the first.
    const int paSkarm = m_k.g().intSkjutlagPaSkarm;
    cboSkjutlag->setCurrentIndex(paSkarm >= 1 && paSkarm <= antal ? paSkarm - 1 : 0);
}

void frmVisaAskSkarm::cmdOK_Click() {
    Felfalla::standard(m_k.m(), Form, QStringLiteral("cmdOK_Click"))([&] {
        clsIni& ini = m_k.g().iniTavling;
        if (!ini.WriteKey(Ini::AllaBanor.sektion, Ini::AllaBanor.nyckel,
                          chkAllaBanor->isChecked() ? QStringLiteral("1") : QStringLiteral("0")))
            throw Fel(Felnummer::SokvagsAtkomstfel, ini.senasteFel());
        m_flode.begarOmritning(true);
        m_flode.visaSkjutlag(cboSkjutlag->currentData().toInt());
        m_k.fonster().stangFonster(this);
    });
}

void frmVisaAskSkarm::cmdAvbryt_Click() {
    m_k.fonster().stangFonster(this);
}

void frmVisaAskSkarm::closeEvent(QCloseEvent* e) {
    // Registration and result entry keep "&Konfigurera" until they close.
    if (!Askadarmenyer::inskrivningOppen(m_k.fonster(), m_flode))
        m_k.sattMeny(Meny::mnuKonfigAskSkarm, true);
    e->accept();
}
