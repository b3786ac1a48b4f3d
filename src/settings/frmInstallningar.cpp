#include "settings/frmInstallningar.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "competition/Vandringspris.h"
#include "platform/Meddelanden.h"
#include "settings/FlikKlasser.h"
#include "settings/FlikLagtavling.h"
#include "settings/FlikOmgangar.h"
#include "settings/FlikSkjuttider.h"
#include "settings/FlikTolkmaskin.h"
#include "settings/FlikUtskrift.h"
#include "settings/FlikVandringspris.h"
#include "settings/Installningsvarden.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/SenasteFiler.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/frmBladdra.h"
#include "shell/modGlobalt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
using Ikon = Meddelanden::Ikon;
} // namespace

frmInstallningar::frmInstallningar(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {
    setObjectName(QStringLiteral("frmInstallningar"));
    setWindowTitle(QStringLiteral("Inställningar"));
    setAttribute(Qt::WA_DeleteOnClose);

    tabInstallningar = new QTabWidget(this);
    tabInstallningar->setObjectName(QStringLiteral("tabInstallningar"));
    flikKlasser = new FlikKlasser(k);
    flikLagtavling = new FlikLagtavling(k);
    flikSkjuttider = new FlikSkjuttider(k);
    flikTolkmaskin = new FlikTolkmaskin(k);
    flikUtskrift = new FlikUtskrift(k);
    flikOmgangar = new FlikOmgangar(k);
    flikVandringspris = new FlikVandringspris(k);

    auto* final = new QWidget;
    chkDecimalerIFinal = new QCheckBox(QStringLiteral("Decimaler i finalen."), final);
    chkDecimalerIFinal->setObjectName(QStringLiteral("chkDecimalerIFinal"));
    chkDecimalerIFinal->setToolTip(QStringLiteral("Detta finns inte än."));
    auto* finalLayout = new QVBoxLayout(final);
    finalLayout->addWidget(chkDecimalerIFinal);
    finalLayout->addStretch();

    auto* resultat = new QWidget;
    auto* frameAntalSkott = new QGroupBox(QStringLiteral("Resultat inskrivn med"), resultat);
    optSkottForSkott = new QRadioButton(QStringLiteral("Skott för skott"), frameAntalSkott);
    optSkottForSkott->setObjectName(QStringLiteral("optSkottForSkott"));
    optSkottForSkott->setToolTip(QStringLiteral("Detta finns inte än."));
    optSkottForSkott->setEnabled(false);
    optFemSkott = new QRadioButton(QStringLiteral("Femskotts serier"), frameAntalSkott);
    optFemSkott->setObjectName(QStringLiteral("optFemSkott"));
    optFemSkott->setToolTip(QStringLiteral("Ska man skriva in resultaten med femskotts serier?"));
    auto* antalSkottLayout = new QVBoxLayout(frameAntalSkott);
    antalSkottLayout->addWidget(optSkottForSkott);
    antalSkottLayout->addWidget(optFemSkott);
    auto* resultatLayout = new QVBoxLayout(resultat);
    resultatLayout->addWidget(frameAntalSkott);
    resultatLayout->addStretch();

    auto* allmant = new QWidget;
    txtStandardSokvag = new QLineEdit(allmant);
    txtStandardSokvag->setObjectName(QStringLiteral("txtStandardSokvag"));
    txtStandardSokvag->setToolTip(
        QStringLiteral("Här skriver man in standard sökvägen till katalogen där alla tävlingar finns. Inte "
                       "nödvändigt men det underlättar vid skapandet och öpnandet av tävlingar."));
    cmdBladdra = new QPushButton(QStringLiteral("Bläddra.."), allmant);
    cmdBladdra->setObjectName(QStringLiteral("cmdBladdra"));
    cmdBladdra->setToolTip(QStringLiteral("Visa windows öppna dialog för att välja sökvägen."));
    txtTavlingsdatum = new QLineEdit(allmant);
    txtTavlingsdatum->setObjectName(QStringLiteral("txtTavlingsdatum"));
    txtTavlingsdatum->setToolTip(
        QStringLiteral("Här skriver man in datumet då tävlingen ska gå. Detta kommer med i utskrifterna."));
    txtTavlingsdatum->installEventFilter(this);
    cmdRensaArkivMeny = new QPushButton(QStringLiteral("&Tabort filnamn"), allmant);
    cmdRensaArkivMeny->setObjectName(QStringLiteral("cmdRensaArkivMeny"));
    cmdRensaArkivMeny->setToolTip(QStringLiteral("Klicka här för att tabort filnamnen från Arkivmenyn."));
    auto* lblRensasArkivMenyn = new QLabel(
        QStringLiteral(
            "Filnamnen i Arkivmenyn tas bort med knappen \"Tabort filnamn\". Listan börjar sedan om "
            "från början när en tävling öppnas eller skapas."),
        allmant);
    lblRensasArkivMenyn->setWordWrap(true);
    auto* sokvagsrad = new QHBoxLayout;
    sokvagsrad->addWidget(txtStandardSokvag, 1);
    sokvagsrad->addWidget(cmdBladdra);
    auto* allmantLayout = new QVBoxLayout(allmant);
    allmantLayout->addWidget(new QLabel(QStringLiteral("Sökväg till tävlingskatalogen."), allmant));
    allmantLayout->addLayout(sokvagsrad);
    allmantLayout->addWidget(new QLabel(QStringLiteral("Tävlings datum:"), allmant));
    allmantLayout->addWidget(txtTavlingsdatum);
    allmantLayout->addSpacing(12);
    allmantLayout->addWidget(lblRensasArkivMenyn);
    allmantLayout->addWidget(cmdRensaArkivMeny, 0, Qt::AlignLeft);
    allmantLayout->addStretch();

    tabInstallningar->addTab(flikKlasser, QStringLiteral("&Klasser"));
    tabInstallningar->addTab(flikLagtavling, QStringLiteral("&Lagtävling"));
    tabInstallningar->addTab(flikSkjuttider, QStringLiteral("&Skjuttider"));
    tabInstallningar->addTab(final, QStringLiteral("&Final"));
    tabInstallningar->addTab(flikTolkmaskin, QStringLiteral("&Tolkmaskin"));
    tabInstallningar->addTab(flikUtskrift, QStringLiteral("&Utskrift"));
    tabInstallningar->addTab(resultat, QStringLiteral("&Resultat"));
    tabInstallningar->addTab(allmant, QStringLiteral("&Allmänt"));
    tabInstallningar->addTab(flikOmgangar, QStringLiteral("F&lera tävlingar"));
    tabInstallningar->addTab(flikVandringspris, QStringLiteral("&Vandringspris/Totaltävling"));

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setToolTip(QStringLiteral("Stäng inställningarna."));
    auto* knappar = new QHBoxLayout;
    knappar->addStretch();
    knappar->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabInstallningar);
    layout->addLayout(knappar);

    connect(cmdOK, &QPushButton::clicked, this, &frmInstallningar::cmdOK_Click);
    connect(cmdBladdra, &QPushButton::clicked, this, &frmInstallningar::cmdBladdra_Click);
    connect(cmdRensaArkivMeny, &QPushButton::clicked, this, &frmInstallningar::cmdRensaArkivMeny_Click);
    connect(flikOmgangar, &FlikOmgangar::omgangarAndrade, flikLagtavling, &FlikLagtavling::omgangarAndrade);
    connect(tabInstallningar, &QTabWidget::currentChanged, this, [this](int ny) {
        const int forra = m_aktuellFlik;
        m_aktuellFlik = ny;
        tabInstallningar_Click(forra);
    });
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });

    Form_Load();
}

frmInstallningar::~frmInstallningar() = default;

QList<Installningsflik*> frmInstallningar::flikar() const {
    return {flikKlasser,  flikLagtavling, flikSkjuttider,   flikTolkmaskin,
            flikUtskrift, flikOmgangar,   flikVandringspris};
}

bool frmInstallningar::erbjuds(Flik flik) const {
    return tabInstallningar->isTabVisible(flik);
}

void frmInstallningar::Form_Load() {
    const modGlobalt& g = m_k.g();
    Grafik grafik(g.strProgrammapp, m_k.m(), QStringLiteral("frmInställningar"),
                  QStringLiteral("Ikon saknas!"), Ikon::Information, QStringLiteral("Ikon saknas"));
    // The hourglass is up from the start of the form; a missing icon is told
    // with it down.
    setWindowIcon(
        m_laddas.utanTimglas([&] { return grafik.ikon(QStringLiteral("grafik/ikoner/Inställningar.ico")); }));
    // Shot by shot was never made; a tab of rounds without rounds, and a prize
    // tab in a mixed competition, have nothing to set.
    tabInstallningar->setTabVisible(Resultat, false);
    tabInstallningar->setTabVisible(FleraTavlingar, g.blnFleraTavlingar);
    tabInstallningar->setTabVisible(Vandringspris, !g.blnMix);
    // Wide enough to show every tab's caption at once, where the fonts allow.
    resize(std::max(twips(6585), tabInstallningar->tabBar()->sizeHint().width() + 40), twips(7440));

    m_laddat =
        Felfalla::standard(m_k.m(), QStringLiteral("frmInställningar"), QStringLiteral("Form_load"))([&] {
            // A failure is told once the hourglass is down.
            m_laddas.steg([&] {
                const Installningsvarden v = Installningar::las(g);
                for (Installningsflik* flik : flikar())
                    flik->visa(v);
                chkDecimalerIFinal->setChecked(v.decimalerIFinal);
                optFemSkott->setChecked(v.femskottsserier == true);
                optSkottForSkott->setChecked(v.femskottsserier == false);
                txtTavlingsdatum->setText(v.datum);
                txtStandardSokvag->setText(v.tavlingskatalog);
            });
        });
    // A form that could not load all it needs waits for nothing more.
    if (!m_laddat)
        m_laddas.klar();
}

void frmInstallningar::Form_Activate() {
    for (Installningsflik* flik : flikar())
        flik->aktiverad();
    m_laddas.klar();
}

void frmInstallningar::tabInstallningar_Click(int forra) {
    if (forra >= 0 && forra < tabInstallningar->count())
        if (auto* flik = qobject_cast<Installningsflik*>(tabInstallningar->widget(forra)))
            flik->lamnas();
}

Installningsvarden frmInstallningar::hamta() const {
    Installningsvarden v;
    for (const Installningsflik* flik : flikar())
        flik->hamta(v);
    v.decimalerIFinal = chkDecimalerIFinal->isChecked();
    if (optFemSkott->isChecked())
        v.femskottsserier = true;
    else if (optSkottForSkott->isChecked())
        v.femskottsserier = false;
    v.datum = txtTavlingsdatum->text();
    v.tavlingskatalog = txtStandardSokvag->text();
    return v;
}

void frmInstallningar::cmdOK_Click() {
    // Through the window host: closing only the form would leave its frame.
    m_k.fonster().stangFonster(this);
}

bool frmInstallningar::Kontrollera_installningar(const Installningsvarden& v) {
    bool ok = true;
    if (!Installningar::comportGodkand(v.comport)) {
        m_k.m().visa(QStringLiteral("Du måste ange en Comport mellan 1 och 9 för tolkmaskinen!"),
                     QStringLiteral("Felaktiga inställningar"), Ikon::Kritisk);
        tabInstallningar->setCurrentIndex(Tolkmaskin);
        flikTolkmaskin->fokuseraComport();
        ok = false;
    }
    if (!Installningar::innertiaGodkand(v.innertia)) {
        m_k.m().visa(QStringLiteral("Du får bara skriva ett värde mellan 10,1 och 10,9 på innertian!\r\n"
                                    "Innertian finns under fliken Tolkmaskin"),
                     QStringLiteral("Fel inmatat"), Ikon::Kritisk);
        tabInstallningar->setCurrentIndex(Tolkmaskin);
        flikTolkmaskin->tomOchFokuseraInnertia();
        ok = false;
    }
    return ok;
}

bool frmInstallningar::Form_QueryUnload(const Installningsvarden& v) {
    if (v.lagtavling && !flikLagtavling->FinnsLag())
        return false;
    if ((v.tolkmaskinIGrundomg || v.tolkmaskinIFinalen) && !Kontrollera_installningar(v))
        return false;
    return true;
}

bool frmInstallningar::Form_Unload() {
    modGlobalt& g = m_k.g();
    const QString gammalVilka =
        g.iniTavling.GetKeyValue(Ini::VandringsprisVilka.sektion, Ini::VandringsprisVilka.nyckel, QString());
    // The prize's decision may ask the operator and choose "Valda" again, so it
    // comes before the settings are gathered; its write waits until they are
    // saved, so that a failed save leaves the shooters as they were.
    Vandringspris::Stangningsbeslut beslut;
    if (erbjuds(Vandringspris))
        beslut = flikVandringspris->beslutaVidStangning(gammalVilka);
    const Installningsvarden v = hamta();
    try {
        Installningar::skriv(g, v);
    } catch (const Fel& fel) {
        // Everything typed is still in the tabs: the operator can free the
        // disk or the file and press OK again, or give the changes up.
        return m_k.m().visa(QStringLiteral("Inställningarna kunde inte sparas:\r\n") + fel.beskrivning() +
                                QStringLiteral("\r\n\r\nVill du stänga inställningarna utan att spara dem? "
                                               "Svara Nej för att rätta felet och försöka igen."),
                            QStringLiteral("Inställningarna sparades inte"), Ikon::Utropstecken,
                            Meddelanden::Knappar::JaNej) == Meddelanden::Svar::Ja;
    }
    if (erbjuds(Vandringspris))
        flikVandringspris->verkstallStangning(beslut);
    m_k.fonster().visaMeny(Meny::mnuResVandringsprisPrinter, v.vandringspris);
    m_k.fonster().visaMeny(Meny::mnuResVandringsprisFil, v.vandringspris);
    m_k.sattMeny(Meny::mnuLag, g.blnLagtavling);
    return true;
}

void frmInstallningar::closeEvent(QCloseEvent* e) {
    if (m_stangd) {
        e->accept();
        return;
    }
    // A form whose settings could not be read writes nothing back.
    if (!m_laddat) {
        m_stangd = true;
        e->accept();
        return;
    }
    for (Installningsflik* flik : flikar())
        flik->sparaVantande();
    if (!Form_QueryUnload(hamta())) {
        e->ignore();
        return;
    }
    flikTolkmaskin->avbrytTest();
    if (!Form_Unload()) {
        e->ignore();
        return;
    }
    m_stangd = true;
    e->accept();
}

void frmInstallningar::cmdBladdra_Click() {
    auto* bladdra = new frmBladdra(m_k, this, frmBladdra::TaggInstallningar);
    connect(bladdra, &frmBladdra::valt, this,
            [this](const QString& mapp) { txtStandardSokvag->setText(mapp); });
    bladdra->show();
}

void frmInstallningar::cmdRensaArkivMeny_Click() {
    if (m_k.m().visa(QStringLiteral("Är du säker att du vill tabort filnamnen?"),
                     QStringLiteral("Bekräfta borttag"), Ikon::Fraga,
                     Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
        return;
    const std::optional<QList<int>> tomda = SenasteFiler::tomLista(m_k.g(), m_k.m());
    if (!tomda || tomda->isEmpty())
        return;
    for (const int i : *tomda) {
        m_k.fonster().sattMenytext(mnuFil(i), QString());
        m_k.fonster().visaMeny(mnuFil(i), false);
    }
    m_k.fonster().visaMeny(Meny::mnuLineFiler, false);
}

bool frmInstallningar::eventFilter(QObject* o, QEvent* e) {
    if (o == txtTavlingsdatum && e->type() == QEvent::KeyPress) {
        if (Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}
