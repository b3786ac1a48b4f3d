#include "shell/frmNyTavling.h"

#include "common/IniNamn.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/NyTavling.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/frmBladdra.h"
#include "shell/modGlobalt.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>


frmNyTavling::frmNyTavling(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {
    const modGlobalt& g = k.g();
    setObjectName(QStringLiteral("frmNyTavling"));
    setWindowTitle(QStringLiteral("Ny Tävling"));
    setAttribute(Qt::WA_DeleteOnClose);

    txtTavlingensNamn = new QLineEdit(this);
    txtTavlingensNamn->setObjectName(QStringLiteral("txtTavlingensNamn"));
    txtTavlingensNamn->setToolTip(QStringLiteral("Vad ska tävlingen heta?"));
    txtAntalBanor = new QLineEdit(this);
    txtAntalBanor->setObjectName(QStringLiteral("txtAntalBanor"));
    txtAntalBanor->setToolTip(QStringLiteral("Hur många banor finns det?"));
    txtTavlingsdatum = new QLineEdit(this);
    txtTavlingsdatum->setObjectName(QStringLiteral("txtTavlingsdatum"));
    txtTavlingsdatum->setToolTip(
        QStringLiteral("Här skriver man in datumet då tävlingen ska gå. Detta kommer med i utskrifterna."));

    auto* fraTyp = new QGroupBox(QStringLiteral("Typ:"), this);
    fraTyp->setObjectName(QStringLiteral("fraTyp"));
    auto* optNationellt = new QRadioButton(QStringLiteral("Nationellt"), fraTyp);
    optSportskytte = new QRadioButton(QStringLiteral("Sportskytte"), fraTyp);
    optMix = new QRadioButton(QStringLiteral("Mix"), fraTyp);
    optNationellt->setObjectName(QStringLiteral("optNationellt"));
    optSportskytte->setObjectName(QStringLiteral("optSportskytte"));
    optMix->setObjectName(QStringLiteral("optMix"));
    for (QRadioButton* o : {optNationellt, optSportskytte, optMix})
        o->setToolTip(QStringLiteral("Vilken typ av tävling är det?"));
    optNationellt->setChecked(true);
    auto* typLayout = new QVBoxLayout(fraTyp);
    typLayout->addWidget(optNationellt);
    typLayout->addWidget(optSportskytte);
    typLayout->addWidget(optMix);

    auto* chkMasterskap = new QCheckBox(QStringLiteral("Mästerskap (Final)?"), this);
    chkMasterskap->setObjectName(QStringLiteral("chkMasterskap"));
    chkMasterskap->setToolTip(
        QStringLiteral("Ska tävlingen innehålla ett mästerskap med final?(Finns inte än)"));
    chkMasterskap->setEnabled(false);
    chkFleraTavlingar = new QCheckBox(QStringLiteral("Ska det finnas flera tävlingar?"), this);
    chkFleraTavlingar->setObjectName(QStringLiteral("chkFleraTavlingar"));
    chkFleraTavlingar->setToolTip(QStringLiteral("Ska det finnas flera tävlingar i samma tävling."));

    txtSokvag = new QLineEdit(this);
    txtSokvag->setObjectName(QStringLiteral("txtSokvag"));
    txtSokvag->setToolTip(
        QStringLiteral("Här väljs vart den nya tävlingskatalogen ska hamna. Det skapas en ny katalog "
                       "med namnet på tävlingen på detta ställe."));
    txtSokvag->setText(g.iniProgram.GetKeyValue(Ini::Tavlingskatalog.sektion, Ini::Tavlingskatalog.nyckel,
                                                g.programmappMedAvslut()));
    auto* cmdBladdra = new QPushButton(QStringLiteral("Bläddra..."), this);
    cmdBladdra->setObjectName(QStringLiteral("cmdBladdra"));
    cmdBladdra->setToolTip(QStringLiteral("Välj eller skapa sökväg till tävlingen."));
    cmdOK = new QPushButton(QStringLiteral("&Skapa"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Skapa tävlingen."));
    cmdOK->setEnabled(false);
    auto* cmdAvbryt = new QPushButton(QStringLiteral("&Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setToolTip(QStringLiteral("Återgå utan att skapa en tävling."));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Tävlingens namn:"), txtTavlingensNamn);
    form->addRow(QStringLiteral("Skjutlagsstorlek:"), txtAntalBanor);
    form->addRow(QStringLiteral("Tävlings datum:"), txtTavlingsdatum);
    auto* sokvagsrad = new QHBoxLayout;
    sokvagsrad->addWidget(txtSokvag);
    sokvagsrad->addWidget(cmdBladdra);
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    knappar->addWidget(cmdAvbryt);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(fraTyp);
    layout->addWidget(chkMasterskap);
    layout->addWidget(chkFleraTavlingar);
    layout->addWidget(new QLabel(QStringLiteral("Skriv sökväg dit tävlingskatalogen ska hamna."), this));
    layout->addLayout(sokvagsrad);
    layout->addStretch();
    layout->addLayout(knappar);

    setTabOrder(txtTavlingensNamn, txtAntalBanor);
    setTabOrder(txtAntalBanor, txtTavlingsdatum);
    setTabOrder(txtTavlingsdatum, optNationellt);
    setTabOrder(optNationellt, optSportskytte);
    setTabOrder(optSportskytte, optMix);
    setTabOrder(optMix, chkFleraTavlingar);
    setTabOrder(chkFleraTavlingar, txtSokvag);
    setTabOrder(txtSokvag, cmdBladdra);
    setTabOrder(cmdBladdra, cmdOK);
    setTabOrder(cmdOK, cmdAvbryt);

    for (QWidget* w : std::initializer_list<QWidget*>{txtTavlingensNamn, txtAntalBanor, txtTavlingsdatum,
                                                      txtSokvag, optNationellt, optSportskytte, optMix})
        w->installEventFilter(this);
    connect(txtTavlingensNamn, &QLineEdit::textChanged, this, &frmNyTavling::KollacmdOK);
    connect(txtAntalBanor, &QLineEdit::textChanged, this, &frmNyTavling::KollacmdOK);
    connect(txtSokvag, &QLineEdit::textChanged, this, &frmNyTavling::KollacmdOK);
    connect(cmdOK, &QPushButton::clicked, this, &frmNyTavling::cmdOK_Click);
    connect(cmdAvbryt, &QPushButton::clicked, this, &frmNyTavling::cmdAvbryt_Click);
    connect(cmdBladdra, &QPushButton::clicked, this, &frmNyTavling::cmdBladdra_Click);

    Grafik grafik(g.strProgrammapp, k.m(), QStringLiteral("frmNyTävling"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/ny.ico")));
    resize(twips(5955), twips(6555));
}

void frmNyTavling::KollacmdOK() {
    cmdOK->setEnabled(!txtTavlingensNamn->text().isEmpty() && !txtAntalBanor->text().isEmpty() &&
                      !txtSokvag->text().isEmpty());
}

bool frmNyTavling::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        if (Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
            focusNextChild();
            return true;
        }
    } else if (e->type() == QEvent::FocusOut) {
        if (o == txtTavlingensNamn) {
            txtTavlingensNamn->setText(txtTavlingensNamn->text().trimmed());
            KollacmdOK();
        } else if (o == txtAntalBanor) {
            txtAntalBanor->setText(txtAntalBanor->text().trimmed());
            KollacmdOK();
            txtAntalBanor_Validate();
        } else if (o == txtSokvag) {
            txtSokvag_LostFocus();
        }
    }
    return QWidget::eventFilter(o, e);
}

void frmNyTavling::txtAntalBanor_Validate() {
    if (m_validerar)
        return;
    m_validerar = true;
    const NyTavling::Bankontroll k = NyTavling::kontrolleraAntalBanor(txtAntalBanor->text());
    if (!NyTavling::visaBankontroll(k, m_k.m()))
        QTimer::singleShot(0, txtAntalBanor, [this] { txtAntalBanor->setFocus(); });
    m_validerar = false;
}

void frmNyTavling::txtSokvag_LostFocus() {
    const QString text = txtSokvag->text().trimmed();
    if (text.isEmpty()) {
        txtSokvag->clear();
        cmdOK->setEnabled(false);
        return;
    }
    txtSokvag->setText(NyTavling::medAvslut(text));
    KollacmdOK();
}

void frmNyTavling::cmdOK_Click() {
    Felfalla(m_k.m(), QStringLiteral("frmNyTävling: cmdOk "), Meddelanden::Ikon::Kritisk, {})([&] {
        NyTavling::Uppgifter u;
        u.namn = txtTavlingensNamn->text();
        u.antalBanor = txtAntalBanor->text();
        u.datum = txtTavlingsdatum->text();
        u.typ = optSportskytte->isChecked() ? NyTavling::Typ::Sportskytte
                : optMix->isChecked()       ? NyTavling::Typ::Mix
                                            : NyTavling::Typ::Nationellt;
        u.fleraTavlingar = chkFleraTavlingar->isChecked();
        u.sokvag = txtSokvag->text();
        if (!u.sokvag.trimmed().isEmpty())
            txtSokvag->setText(NyTavling::medAvslut(u.sokvag.trimmed()));
        if (!NyTavling::skapa(m_k.g(), m_k.m(), u))
            return;
        Fonstervard& fonster = m_k.fonster();
        fonster.stangFonster(this);
        fonster.meddelaTavlingSkapad();
    });
}

void frmNyTavling::cmdAvbryt_Click() {
    m_k.fonster().stangFonster(this);
}

void frmNyTavling::cmdBladdra_Click() {
    auto* bladdra = new frmBladdra(m_k, this, QString());
    connect(bladdra, &frmBladdra::valt, this, [this](const QString& mapp) {
        txtSokvag->setText(mapp);
        KollacmdOK();
    });
    bladdra->move(mapToGlobal(QPoint(twips(1000), twips(1000))));
    bladdra->show();
}
