#include "registration/frmInskrivningSkyttar.h"

#include "common/Databasnamn.h"
#include "competition/Klassmodell.h"
#include "competition/Omgangar.h"
#include "competition/Skjutlag.h"
#include "competition/Skjuttider.h"
#include "platform/Databas.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {
using Ikon = Meddelanden::Ikon;
using Knappar = Meddelanden::Knappar;
using Svar = Meddelanden::Svar;

const QColor Ledigt(0, 0x40, 0); // dark green: the squad has a free lane
const QColor Fullt(255, 0, 0);

// A push button paints its label with ButtonText and an option button with
// WindowText; both are set, so the squad's colour shows whichever kind of
// button the style draws.
void fargaEtikett(QWidget* knapp, const QColor& farg) {
    QPalette p = knapp->palette();
    p.setColor(QPalette::ButtonText, farg);
    p.setColor(QPalette::WindowText, farg);
    knapp->setPalette(p);
}

const QString Form = QStringLiteral("frmInskrivningSkyttar");

// Most procedures of this window have always shown their prefix with a comma
// and no blank ("frmInskrivningSkyttar,Opt_Click: ").
Felfalla falla(Meddelanden& m, const QString& procedur) {
    return Felfalla(m, Form + QLatin1Char(',') + procedur + QStringLiteral(": "));
}

QPushButton* knapp(QWidget* foralder, const QString& namn, const QString& text, const QString& tips) {
    auto* b = new QPushButton(text, foralder);
    b->setObjectName(namn);
    b->setToolTip(tips);
    return b;
}

QLineEdit* falt(QWidget* foralder, const QString& namn, const QString& tips) {
    auto* t = new QLineEdit(foralder);
    t->setObjectName(namn);
    t->setToolTip(tips);
    return t;
}

void siffror(QLineEdit* t, int langd) {
    t->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(langd)), t));
    t->setMaxLength(langd);
}

bool arSiffra(const QKeyEvent* e) {
    const QString t = e->text();
    return t.size() == 1 && t.at(0) >= u'0' && t.at(0) <= u'9';
}
} // namespace

frmInskrivningSkyttar::frmInskrivningSkyttar(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Inskrivning av skyttar"));
    setAttribute(Qt::WA_DeleteOnClose);
    byggFormular();
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });
    Form_Load();
}

void frmInskrivningSkyttar::byggFormular() {
    // --- The squads ---
    frameSkjutlag = new QGroupBox(QStringLiteral("Skjutlag (Rött = Fullt skjutlag)"), this);
    frameSkjutlag->setObjectName(QStringLiteral("frameSkjutlag"));
    frameSkjutlag->setMouseTracking(true);
    frameSkjutlag->installEventFilter(this);
    m_optGrupp = new QButtonGroup(this);
    m_optGrupp->setExclusive(true);
    auto* optRutor = new QGridLayout;
    optRutor->setSpacing(twips(660 - 495));
    Opt.append(nullptr);
    for (int i = 1; i <= Skjutlag::StorstaAntal; ++i) {
        auto* b = new QPushButton(QString::number(i), frameSkjutlag);
        b->setObjectName(QStringLiteral("Opt%1").arg(i));
        b->setToolTip(QStringLiteral("Klicka för att visa skjutlaget."));
        b->setCheckable(true);
        b->setFixedSize(twips(495), twips(495));
        b->setVisible(false);
        b->installEventFilter(this);
        fargaEtikett(b, Ledigt);
        m_optGrupp->addButton(b, i);
        // Odd squads above, even below: squads 1 and 2 share the first column.
        optRutor->addWidget(b, (i - 1) % 2, (i - 1) / 2);
        Opt.append(b);
    }
    // Hidden buttons keep their places: the squads stand where they always do.
    for (int kolumn = 0; kolumn < Skjutlag::StorstaAntal / 2; ++kolumn)
        optRutor->setColumnMinimumWidth(kolumn, twips(495));
    for (int rad = 0; rad < 2; ++rad)
        optRutor->setRowMinimumHeight(rad, twips(495));
    optRutor->setColumnStretch(Skjutlag::StorstaAntal / 2, 1);
    cmdNyttSkjutlag = knapp(frameSkjutlag, QStringLiteral("cmdNyttSkjutlag"), QStringLiteral("&Nytt"),
                            QStringLiteral("Lägg till ett nytt skjutlag på slutet."));
    cmdInfogaNyttSkjutlag =
        knapp(frameSkjutlag, QStringLiteral("cmdInfogaNyttSkjutlag"), QStringLiteral("&Infoga nytt"),
              QStringLiteral("Lägg till ett nytt skjutlag före det markerade skjutlaget."));
    cmdTabortSkjutlag = knapp(frameSkjutlag, QStringLiteral("cmdTabortSkjutlag"), QStringLiteral("Ta &bort"),
                              QStringLiteral("Ta bort sista skjutlaget."));
    cmdTabortValtSkjutlag =
        knapp(frameSkjutlag, QStringLiteral("cmdTabortValtSkjutlag"), QStringLiteral("Ta bort &valt"),
              QStringLiteral("Ta bort det markerade skjutlaget."));
    lblLedigaBanor = new QLabel(QStringLiteral("Lediga banor:"), frameSkjutlag);
    lblLedigaBanor->setObjectName(QStringLiteral("lblLedigaBanor"));
    lblSkjuttidOpt = new QLabel(frameSkjutlag);
    lblSkjuttidOpt->setObjectName(QStringLiteral("lblSkjuttidOpt"));
    auto* skjutlagsknappar = new QHBoxLayout;
    skjutlagsknappar->addWidget(cmdNyttSkjutlag);
    skjutlagsknappar->addWidget(cmdInfogaNyttSkjutlag);
    skjutlagsknappar->addWidget(cmdTabortSkjutlag);
    skjutlagsknappar->addWidget(cmdTabortValtSkjutlag);
    skjutlagsknappar->addSpacing(12);
    skjutlagsknappar->addWidget(lblLedigaBanor);
    skjutlagsknappar->addSpacing(12);
    skjutlagsknappar->addWidget(lblSkjuttidOpt, 1);
    auto* frameLayout = new QVBoxLayout(frameSkjutlag);
    frameLayout->addLayout(optRutor);
    frameLayout->addLayout(skjutlagsknappar);

    txtSkjutlag =
        falt(this, QStringLiteral("txtSkjutlag"), QStringLiteral("Här visas aktuellt valt skjutlag."));
    txtSkjutlag->setEnabled(false);
    sattGra(txtSkjutlag, true);
    txtSkjutlag->setMaximumWidth(50);
    txtSkjuttid = falt(this, QStringLiteral("txtSkjuttid"),
                       QStringLiteral("Här visas skjuttiden för aktuellt skjutlag, ändra måste man göra i "
                                      "inställningarna."));
    txtSkjuttid->installEventFilter(this);
    auto* aktuellt = new QHBoxLayout;
    aktuellt->addWidget(new QLabel(QStringLiteral("Skjutlag"), this));
    aktuellt->addWidget(txtSkjutlag);
    aktuellt->addSpacing(12);
    aktuellt->addWidget(new QLabel(QStringLiteral("Skjuttid:"), this));
    aktuellt->addWidget(txtSkjuttid, 1);

    // --- The shooter ---
    auto* frameUppgifter = new QGroupBox(QStringLiteral("Uppgifter"), this);
    frameUppgifter->setObjectName(QStringLiteral("frameUppgifter"));
    cboTavlingsOmg = new QComboBox(frameUppgifter);
    cboTavlingsOmg->setObjectName(QStringLiteral("cboTavlingsOmg"));
    lblTavlingsOmg = new QLabel(QStringLiteral("Tävlings omgång"), frameUppgifter);
    lblTavlingsOmg->setObjectName(QStringLiteral("lblTavlingsOmg"));
    cboStartnummer = new QComboBox(frameUppgifter);
    cboStartnummer->setObjectName(QStringLiteral("cboStartnummer"));
    cboStartnummer->setToolTip(QStringLiteral("Vilket startnummer ska skytten få. "));
    cboStartnummer->setEditable(true);
    cboStartnummer->setInsertPolicy(QComboBox::NoInsert);
    siffror(cboStartnummer->lineEdit(), 9);
    txtNamn = falt(frameUppgifter, QStringLiteral("txtNamn"), QStringLiteral("Förnamnet på skytten."));
    txtEfternamn =
        falt(frameUppgifter, QStringLiteral("txtEfternamn"), QStringLiteral("Efternamnet på skytten."));
    cboForening = new QComboBox(frameUppgifter);
    cboForening->setObjectName(QStringLiteral("cboForening"));
    cboForening->setToolTip(QStringLiteral(
        "I listan till den här rutan finns alla föreningar som är inskrivna just nu. För att få "
        "auto ifyllnad så skriver man ex Sa och trycker på pil ner så fylls Sandviken i om den "
        "finns."));
    cboForening->setEditable(true);
    cboForening->setInsertPolicy(QComboBox::NoInsert);
    cboForening->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    cboForening->completer()->setCompletionMode(QCompleter::InlineCompletion);
    cboKlassADO = new QComboBox(frameUppgifter);
    cboKlassADO->setObjectName(QStringLiteral("cboKlassADO"));
    cboKlassADO->setToolTip(
        QStringLiteral("Välj ur listan mellan som klasser som är inskrivna i inställningar."));
    txtLicensnr = falt(frameUppgifter, QStringLiteral("txtLicensnr"),
                       QStringLiteral("Skriv in vilket licensnummer skytten har."));
    txtLicensnr->setMaxLength(50);
    txtSkyttekortNr = falt(frameUppgifter, QStringLiteral("txtSkyttekortNr"), QString());
    txtFodelsenr = falt(frameUppgifter, QStringLiteral("txtFodelsenr"),
                        QStringLiteral("Skriv in vilket födelseår skytten har."));
    siffror(txtFodelsenr, 4);
    txtBana = falt(frameUppgifter, QStringLiteral("txtBana"),
                   QStringLiteral("Vilken bana ska skytten ha i det skjutlag som visas till höger."));
    siffror(txtBana, 4);
    const QString prisTips = QStringLiteral("Kryssa för här om skytten ska ingå i vandringspriset.");
    lblVandringspris = new QLabel(QStringLiteral("Vandringspris"), frameUppgifter);
    lblVandringspris->setObjectName(QStringLiteral("lblVandringspris"));
    lblVandringspris->setToolTip(prisTips);
    chkVandringspris = new QCheckBox(frameUppgifter);
    chkVandringspris->setObjectName(QStringLiteral("chkVandringspris"));
    chkVandringspris->setToolTip(prisTips);

    for (QWidget* w :
         QList<QWidget*>{cboTavlingsOmg, cboStartnummer, txtNamn, txtEfternamn, cboForening, cboKlassADO,
                         txtLicensnr, txtSkyttekortNr, txtFodelsenr, txtBana, chkVandringspris})
        w->installEventFilter(this);

    cmdSparaSkytt = knapp(frameUppgifter, QStringLiteral("cmdSparaSkytt"), QStringLiteral("S&para"),
                          QStringLiteral("Spara inskriven eller ändrad skytt."));
    cmdSparaSkytt->installEventFilter(this);
    cmdAndraSkytt = knapp(frameUppgifter, QStringLiteral("cmdAndraSkytt"), QStringLiteral("Än&dra"),
                          QStringLiteral("Ändra vald skytt."));
    cmdTabortSkytt = knapp(frameUppgifter, QStringLiteral("cmdTabortSkytt"), QStringLiteral("&Ta bort"),
                           QStringLiteral("Ta bort vald skytt."));
    cmdTomFalt = knapp(frameUppgifter, QStringLiteral("cmdTomFalt"), QStringLiteral("Töm &fält"),
                       QStringLiteral("Töm uppgiftsfälten utan att ta bort skytten."));
    cmdCopy = knapp(frameUppgifter, QStringLiteral("cmdCopy"), QStringLiteral("&Kopiera skytt"),
                    QStringLiteral("Kopierar en skytt ifall den ska skjuta flera gånger."));
    auto* cmdAterga =
        knapp(this, QStringLiteral("cmdAterga"), QStringLiteral("&Stäng"), QStringLiteral("Återgå."));

    auto* uppgifter = new QGridLayout;
    int rad = 0;
    const auto lagg = [&](const QString& etikett, QWidget* w, QLabel* lbl = nullptr) {
        if (!lbl)
            lbl = new QLabel(etikett, frameUppgifter);
        lbl->setBuddy(w);
        uppgifter->addWidget(lbl, rad, 0);
        uppgifter->addWidget(w, rad, 1);
        ++rad;
    };
    lagg(QString(), cboTavlingsOmg, lblTavlingsOmg);
    lagg(QStringLiteral("Start nummer"), cboStartnummer);
    lagg(QStringLiteral("Förnamn"), txtNamn);
    lagg(QStringLiteral("Efternamn"), txtEfternamn);
    lagg(QStringLiteral("Förening"), cboForening);
    lagg(QStringLiteral("Klass"), cboKlassADO);
    lagg(QStringLiteral("Aktivitetskort"), txtLicensnr);
    lagg(QStringLiteral("Skyttekort nummer"), txtSkyttekortNr);
    lagg(QStringLiteral("Födelse år"), txtFodelsenr);
    lagg(QStringLiteral("Bana"), txtBana);
    lagg(QString(), chkVandringspris, lblVandringspris);
    uppgifter->setColumnStretch(1, 1);
    auto* skyttknappar = new QGridLayout;
    skyttknappar->addWidget(cmdSparaSkytt, 0, 0);
    skyttknappar->addWidget(cmdAndraSkytt, 0, 1);
    skyttknappar->addWidget(cmdTabortSkytt, 0, 2);
    skyttknappar->addWidget(cmdTomFalt, 1, 0);
    skyttknappar->addWidget(cmdCopy, 1, 1, 1, 2);
    auto* uppgiftsLayout = new QVBoxLayout(frameUppgifter);
    uppgiftsLayout->addLayout(uppgifter);
    uppgiftsLayout->addStretch();
    uppgiftsLayout->addLayout(skyttknappar);

    vbagrSkjutlag = new Rutnat(this);
    vbagrSkjutlag->setObjectName(QStringLiteral("vbagrSkjutlag"));
    vbagrSkjutlag->installEventFilter(this);

    auto* nederst = new QHBoxLayout;
    nederst->addWidget(frameUppgifter);
    auto* hoger = new QVBoxLayout;
    hoger->addLayout(aktuellt);
    hoger->addWidget(vbagrSkjutlag, 1);
    auto* stang = new QHBoxLayout;
    stang->addStretch();
    stang->addWidget(cmdAterga);
    hoger->addLayout(stang);
    nederst->addLayout(hoger, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frameSkjutlag);
    layout->addLayout(nederst, 1);

    // The order Tab and Enter move in: the entry order of a shooter.
    const QList<QWidget*> ordning = {cboTavlingsOmg, cboStartnummer, txtNamn,          txtEfternamn,
                                     cboForening,    cboKlassADO,    txtLicensnr,      txtSkyttekortNr,
                                     txtFodelsenr,   txtBana,        chkVandringspris, cmdSparaSkytt,
                                     cmdAndraSkytt,  cmdTabortSkytt, cmdTomFalt,       cmdCopy,
                                     vbagrSkjutlag,  txtSkjuttid,    cmdAterga};
    for (int i = 1; i < ordning.size(); ++i)
        setTabOrder(ordning[i - 1], ordning[i]);

    connect(m_optGrupp, &QButtonGroup::idClicked, this, &frmInskrivningSkyttar::Opt_Click);
    connect(cmdNyttSkjutlag, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdNyttSkjutlag_Click);
    connect(cmdInfogaNyttSkjutlag, &QPushButton::clicked, this,
            &frmInskrivningSkyttar::cmdInfogaNyttSkjutlag_Click);
    connect(cmdTabortSkjutlag, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdTabortSkjutlag_Click);
    connect(cmdTabortValtSkjutlag, &QPushButton::clicked, this,
            &frmInskrivningSkyttar::cmdTabortValtSkjutlag_Click);
    connect(cmdSparaSkytt, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdSparaSkytt_Click);
    connect(cmdAndraSkytt, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdAndraSkytt_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdCopy_Click);
    connect(cmdTabortSkytt, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdTabortSkytt_Click);
    connect(cmdTomFalt, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdTomFalt_Click);
    connect(cmdAterga, &QPushButton::clicked, this, &frmInskrivningSkyttar::cmdAterga_Click);
    connect(txtSkjuttid, &QLineEdit::textEdited, this, [this] { m_blnSkjuttidAndrad = true; });
    // Only what the operator does to the club and the class opens the next
    // field; the form's own filling and clearing do not.
    connect(cboForening->lineEdit(), &QLineEdit::textEdited, this, [this] {
        if (pagarInmatning())
            cboKlassADO->setEnabled(true);
    });
    connect(cboForening, &QComboBox::activated, this, [this] {
        if (pagarInmatning())
            cboKlassADO->setEnabled(true);
    });
    connect(cboKlassADO, &QComboBox::activated, this, [this] {
        if (pagarInmatning())
            aktiveraKlassfalt();
    });
    connect(vbagrSkjutlag, &Rutnat::itemSelectionChanged, this, [this] {
        if (vbagrSkjutlag->valdRad() != 0)
            Ny_Skytt_Markerad(QStringLiteral("vbagrSkjutlag_SelectionChange"));
    });
    // A click on the row already selected chooses it again (after a save the
    // saved lane stays selected); choosing a row twice does the same as once.
    connect(vbagrSkjutlag, &Rutnat::cellClicked, this,
            [this] { Ny_Skytt_Markerad(QStringLiteral("vbagrSkjutlag_Click")); });
    connect(vbagrSkjutlag, &Rutnat::cellDoubleClicked, this,
            [this] { Ny_Skytt_Markerad(QStringLiteral("vbagrSkjutlag_DblClick")); });
}

// --- Loading, activation, closing ---

void frmInskrivningSkyttar::Form_Load() {
    modGlobalt& g = m_k.g();
    Grafik grafik(g.strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"), Ikon::Information,
                  QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Skytt.ico")));
    m_laddas.emplace();
    resize(twips(11895), twips(8310));

    // Before anything can fail, the form is in its idle state.
    lblTavlingsOmg->setEnabled(g.blnFleraTavlingar);
    cboTavlingsOmg->setEnabled(g.blnFleraTavlingar);
    if (g.blnNationellt) {
        txtLicensnr->setFocusPolicy(Qt::NoFocus);
        sattGra(txtLicensnr, true);
    }
    lblVandringspris->setVisible(false);
    chkVandringspris->setVisible(false);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Bana"), 37);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Namn"), 135);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Förening"), 95);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Klass"), 55);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Lic.nr."), 48);
    if (g.blnFleraTavlingar)
        vbagrSkjutlag->laggTillKolumn(QStringLiteral("Omg"), 35);
    vbagrSkjutlag->laggTillKolumn(QStringLiteral("Löpnummer"), 50, true);
    vbagrSkjutlag->setMinimumWidth(twips(5885) + (g.blnFleraTavlingar ? 35 : 0));
    Opt[1]->setChecked(true);
    visaLedigBana();

    const bool laddat = Felfalla(m_k.m(), Form + QStringLiteral(", Form_load: "))([&] {
        m_laddas->steg([&] {
            m_prisregel = Skyttregister::Prisregel::las(g.iniTavling);
            lblVandringspris->setVisible(m_prisregel.pa);
            chkVandringspris->setVisible(m_prisregel.pa);
            m_lage.antalSkjutlag = Skjutlag::antal(g.cnnTavling);
            m_intAktuelltSkjutlag = 1;
            txtSkjutlag->setText(QStringLiteral("1"));
            fyllForeningar();
            if (g.blnFleraTavlingar)
                Hamta_omg();
            Hamta_klasser();
            Hamta_skyttar_till_gridden();
            visaSkjuttid();
        });
    });
    if (laddat)
        StallinFargerOpt();
    else
        m_laddas.reset();
}

void frmInskrivningSkyttar::Form_Activate() {
    m_laddas.reset();
    falla(m_k.m(), QStringLiteral("Form_Activate"))([&] {
        txtSkjutlag->setText(QString::number(m_intAktuelltSkjutlag));
        Hamta_skyttar_till_gridden();
        // A time being typed is kept until the box is left.
        if (!m_blnSkjuttidAndrad)
            visaSkjuttid();
        Hamta_klasser();
        if (txtNamn->isEnabled())
            txtNamn->setFocus();
    });
}

bool frmInskrivningSkyttar::Form_QueryUnload() {
    // A new shooter half typed (an edit shows Ändra off as well).
    if (!cmdAndraSkytt->isEnabled() && !cboStartnummer->currentText().isEmpty() && !txtNamn->text().isEmpty())
        return m_k.m().visa(QStringLiteral("Du håller på och skriver in en skytt. Vill du ta bort den?"),
                            QStringLiteral("Bekfäfta borttag."), Ikon::Fraga, Knappar::JaNej) == Svar::Ja;
    return true;
}

void frmInskrivningSkyttar::Form_Unload() {
    falla(m_k.m(), QStringLiteral("Form_Unload"))([&] {
        sparaSkjuttid();
        // The search follows its hits here; without this window it has nothing to show them in.
        if (QWidget* sok = m_k.fonster().fonster(Fonsternamn::SokSkytt))
            m_k.fonster().stangFonster(sok);
    });
    m_blnRadVald = false;
    // The other items come back through the window's menu states; this one
    // only while a display is connected to show it on.
    m_k.sattMeny(Meny::mnuVisaAskSkarm, m_k.fonster().askadarskarmAnsluten());
}

void frmInskrivningSkyttar::closeEvent(QCloseEvent* e) {
    if (m_stangd) {
        e->accept();
        return;
    }
    bool fortsatt = true;
    falla(m_k.m(), QStringLiteral("Form_QueryUnload"))([&] { fortsatt = Form_QueryUnload(); });
    if (!fortsatt) {
        e->ignore();
        return;
    }
    Form_Unload();
    m_stangd = true;
    m_laddas.reset();
    e->accept();
}

void frmInskrivningSkyttar::cmdAterga_Click() {
    falla(m_k.m(), QStringLiteral("cmdÅtergå_Click"))([&] { m_k.fonster().stangFonster(this); });
}

void frmInskrivningSkyttar::tillampaLage() {
    const Inskrivningslage::Knappar k = m_lage.knappar();
    cmdSparaSkytt->setEnabled(k.spara);
    cmdAndraSkytt->setEnabled(k.andra);
    cmdTabortSkytt->setEnabled(k.taBort);
    cmdTomFalt->setEnabled(k.tomFalt);
    cmdCopy->setEnabled(k.kopiera);
    cmdTabortSkytt->setText(k.taBortText);
    cmdTomFalt->setText(k.tomFaltText);
    cmdNyttSkjutlag->setEnabled(k.nyttSkjutlag);
    cmdInfogaNyttSkjutlag->setEnabled(k.infogaSkjutlag);
    cmdTabortSkjutlag->setEnabled(k.taBortSistaSkjutlag);
    cmdTabortValtSkjutlag->setEnabled(k.taBortValtSkjutlag);
    m_k.sattMeny(Meny::mnuSokSkytt, k.sokSkytt);
}

// --- The squads ---

void frmInskrivningSkyttar::StallinFargerOpt() {
    Felfalla(m_k.m(), Form + QStringLiteral(".StällinFärgerOpt: "), Ikon::Ingen, QString())([&] {
        m_lage.antalSkjutlag = Skjutlag::antal(m_k.db());
        const int synliga = qBound(0, m_lage.antalSkjutlag, Skjutlag::StorstaAntal);
        tillampaLage();
        const QList<int> lediga = Skjutlag::ledigaPerSkjutlag(m_k.db(), synliga);
        for (int i = 1; i <= Skjutlag::StorstaAntal; ++i) {
            Opt[i]->setVisible(i <= synliga);
            if (i > synliga)
                continue;
            fargaEtikett(Opt[i], lediga[i - 1] > 0 ? Ledigt : Fullt);
        }
    });
}

void frmInskrivningSkyttar::Rakna_lediga_banor(int skjutlag, bool visaTid) {
    falla(m_k.m(), QStringLiteral("Sub Räkna_lediga_banor"))([&] {
        lblLedigaBanor->setText(QStringLiteral("Lediga banor = ") +
                                QString::number(Skjutlag::ledigaBanor(m_k.db(), skjutlag)));
        if (visaTid) {
            int lage = Skjuttider::Las;
            lblSkjuttidOpt->setText(
                QStringLiteral("Skjuttid: ") +
                HanteraSkjuttid(m_k.db(), skjutlag, lage, QString(), Skjuttider::LasEllerSkriv));
        } else {
            lblSkjuttidOpt->clear();
        }
        m_intSenastVisatSkjutlag = skjutlag;
        m_blnBanetextAterstalld = false;
    });
}

void frmInskrivningSkyttar::Opt_MouseMove(int index) {
    if (m_intSenastVisatSkjutlag != index)
        Rakna_lediga_banor(index, true);
}

void frmInskrivningSkyttar::frameSkjutlag_MouseMove() {
    if (m_blnBanetextAterstalld)
        return;
    Rakna_lediga_banor(m_intAktuelltSkjutlag, false);
    m_blnBanetextAterstalld = true;
    m_intSenastVisatSkjutlag = 0;
}

void frmInskrivningSkyttar::visaSkjuttid() {
    int lage = Skjuttider::Las;
    txtSkjuttid->setText(
        HanteraSkjuttid(m_k.db(), m_intAktuelltSkjutlag, lage, QString(), Skjuttider::LasEllerSkriv));
    m_blnSkjuttidAndrad = false;
}

void frmInskrivningSkyttar::sparaSkjuttid() {
    if (!m_blnSkjuttidAndrad)
        return;
    int lage = Skjuttider::Skriv;
    HanteraSkjuttid(m_k.db(), m_intAktuelltSkjutlag, lage, txtSkjuttid->text(), Skjuttider::LasEllerSkriv);
    m_blnSkjuttidAndrad = false;
}

void frmInskrivningSkyttar::Opt_Click(int index) {
    falla(m_k.m(), QStringLiteral("Opt_Click"))([&] {
        // A time typed for the squad being left belongs to that squad.
        sparaSkjuttid();
        m_blnHoppaOverHamtning = true;
        m_intAktuelltSkjutlag = index;
        txtSkjutlag->setText(QString::number(index));
        Hamta_skyttar_till_gridden();
        visaSkjuttid();
        // A saved shooter on show gives way to the new squad's free-lane state;
        // a shooter being typed, edited or copied stays in the fields.
        if (!txtNamn->isEnabled())
            m_blnHoppaOverHamtning = false;
        HamtaSkytt();
        m_blnHoppaOverHamtning = false;
        // While the search drives this window, the focus stays in the search.
        if (!QApplication::activeModalWidget())
            fokusForstaFaltet();
    });
}

void frmInskrivningSkyttar::valjSkjutlag(int skjutlag) {
    if (skjutlag < 1 || skjutlag > Skjutlag::StorstaAntal)
        return;
    Opt[skjutlag]->setChecked(true);
    Opt_Click(skjutlag);
}

void frmInskrivningSkyttar::bytTillSkjutlag(int skjutlag) {
    StallinFargerOpt();
    valjSkjutlag(skjutlag);
}

void frmInskrivningSkyttar::cmdNyttSkjutlag_Click() {
    if (pagarInmatning())
        return;
    falla(m_k.m(), QStringLiteral("cmdNyttSkjutlag_Click"))([&] { Skjutlag::laggTill(m_k.g(), m_k.m()); });
    StallinFargerOpt();
}

Skjutlag::Resultatinskrivning frmInskrivningSkyttar::resultatinskrivning() const {
    return m_k.fonster().fonster(Fonsternamn::ResultatInskrivning) ? Skjutlag::Resultatinskrivning::Oppen
                                                                   : Skjutlag::Resultatinskrivning::Stangd;
}

void frmInskrivningSkyttar::cmdInfogaNyttSkjutlag_Click() {
    if (pagarInmatning())
        return;
    const int fore = m_intAktuelltSkjutlag;
    Skjutlag::Utfall utfall = Skjutlag::Utfall::Vagrat;
    falla(m_k.m(), QStringLiteral("cmdInfogaNyttSkjutlag_Click"))(
        [&] { utfall = Skjutlag::infoga(m_k.g(), m_k.m(), fore, resultatinskrivning()); });
    if (utfall == Skjutlag::Utfall::Klart)
        bytTillSkjutlag(fore);
    else
        StallinFargerOpt();
}

void frmInskrivningSkyttar::cmdTabortSkjutlag_Click() {
    if (pagarInmatning())
        return;
    Skjutlag::Utfall utfall = Skjutlag::Utfall::Vagrat;
    falla(m_k.m(), QStringLiteral("cmdTaBortSkjutlag_Click"))(
        [&] { utfall = Skjutlag::taBortSista(m_k.g(), m_k.m(), resultatinskrivning()); });
    if (utfall == Skjutlag::Utfall::Klart)
        bytTillSkjutlag(1);
    else
        StallinFargerOpt();
}

void frmInskrivningSkyttar::cmdTabortValtSkjutlag_Click() {
    if (pagarInmatning())
        return;
    Skjutlag::Utfall utfall = Skjutlag::Utfall::Vagrat;
    falla(m_k.m(), QStringLiteral("cmdTaBortValtSkjutlag_Click"))([&] {
        utfall = Skjutlag::taBortValt(m_k.g(), m_k.m(), m_intAktuelltSkjutlag, resultatinskrivning());
    });
    if (utfall == Skjutlag::Utfall::Klart)
        bytTillSkjutlag(1);
    else
        StallinFargerOpt();
}

// --- The grid and the lists ---

int frmInskrivningSkyttar::kolumnLopnummer() const {
    return m_k.g().blnFleraTavlingar ? 7 : 6;
}

void frmInskrivningSkyttar::Hamta_skyttar_till_gridden() {
    falla(m_k.m(), QStringLiteral("Hämta_skyttar_till_gridden"))([&] {
        const QList<Skjutlag::Rad> rader = Skjutlag::vy(m_k.db(), m_intAktuelltSkjutlag);
        const bool omg = m_k.g().blnFleraTavlingar;
        // Filling the grid chooses no row.
        const QSignalBlocker tyst(vbagrSkjutlag);
        vbagrSkjutlag->setUpdatesEnabled(false);
        vbagrSkjutlag->tom();
        for (const Skjutlag::Rad& r : rader) {
            QStringList celler = {QString::number(r.bana)};
            if (r.ledig())
                celler << QString() << QString() << QString() << QString();
            else
                celler << r.namn + QLatin1Char(' ') + r.efternamn << r.forening << r.klass << r.licensnr;
            if (omg)
                celler << (r.ledig() ? QString() : QString::number(r.omg));
            celler << QString::number(r.lopnummer);
            vbagrSkjutlag->laggTillRad(celler);
        }
        vbagrSkjutlag->setUpdatesEnabled(true);
    });
}

void frmInskrivningSkyttar::markeraBana(int bana) {
    for (int rad = 1; rad <= vbagrSkjutlag->antalRader(); ++rad) {
        if (vbagrSkjutlag->cell(rad, 1).toInt() == bana) {
            const QSignalBlocker tyst(vbagrSkjutlag);
            vbagrSkjutlag->valjRad(rad);
            vbagrSkjutlag->scrollToItem(vbagrSkjutlag->item(rad - 1, 0));
            return;
        }
    }
}

bool frmInskrivningSkyttar::valjBana(int bana) {
    for (int rad = 1; rad <= vbagrSkjutlag->antalRader(); ++rad) {
        if (vbagrSkjutlag->cell(rad, 1).toInt() == bana) {
            markeraBana(bana);
            if (!pagarInmatning())
                m_blnRadVald = true;
            return true;
        }
    }
    return false;
}

void frmInskrivningSkyttar::Hamta_klasser() {
    const QString vald = cboKlassADO->currentText();
    const QStringList koder = Klassmodell::klasskoder(m_k.g());
    const QSignalBlocker tyst(cboKlassADO);
    cboKlassADO->clear();
    cboKlassADO->addItems(koder);
    // Coming back from the settings keeps the class being typed.
    cboKlassADO->setCurrentIndex(vald.isEmpty() ? -1 : cboKlassADO->findText(vald, Qt::MatchExactly));
}

void frmInskrivningSkyttar::Hamta_omg() {
    const QSignalBlocker tyst(cboTavlingsOmg);
    cboTavlingsOmg->clear();
    // Each item carries its round's key: two rounds may share a description.
    for (const Omgangar::Omgang& o : Omgangar::alla(m_k.db()))
        cboTavlingsOmg->addItem(o.beskrivning, o.omg);
    cboTavlingsOmg->setCurrentIndex(-1);
}

void frmInskrivningSkyttar::fyllForeningar() {
    const QString text = cboForening->currentText();
    const QSignalBlocker tyst(cboForening);
    cboForening->clear();
    cboForening->addItems(Skyttregister::foreningar(m_k.db()));
    cboForening->setCurrentIndex(-1);
    cboForening->setEditText(text);
}

void frmInskrivningSkyttar::Ny_Skytt_Markerad(const QString& procedur) {
    falla(m_k.m(), procedur)([&] {
        const int rad = vbagrSkjutlag->valdRad();
        if (rad == 0)
            return;
        if (m_lage.lage != Lage::Ny) {
            m_blnRadVald = true;
            if (m_lage.lage != Lage::Andrar && m_lage.lage != Lage::Kopierar) {
                HamtaSkytt();
                for (QWidget* w : {txtLicensnr, txtSkyttekortNr, txtFodelsenr, txtBana})
                    w->setEnabled(false);
            } else {
                // Editing or copying: the row picks the lane to go to.
                txtBana->setText(vbagrSkjutlag->cell(rad, 1));
            }
        } else if (txtBana->isEnabled()) {
            txtBana->setText(vbagrSkjutlag->cell(rad, 1));
            m_lage.banaSkriven = true;
            tillampaLage();
            cmdSparaSkytt->setFocus();
        }
    });
}

// --- The shooter ---

void frmInskrivningSkyttar::HamtaSkytt(bool franSokSkytt) {
    falla(m_k.m(), QStringLiteral("HämtaSkytt"))([&] {
        if (m_blnHoppaOverHamtning) {
            m_blnHoppaOverHamtning = false;
            return;
        }
        const bool andrar = m_lage.lage == Lage::Andrar;
        if ((m_blnRadVald && !andrar) || franSokSkytt) {
            const int rad = vbagrSkjutlag->valdRad();
            const qint64 lopnummer =
                rad == 0 ? PlatshallareLopnummer : vbagrSkjutlag->cell(rad, kolumnLopnummer()).toLongLong();
            const std::optional<Skytt> skytt = Skyttregister::hamta(m_k.db(), lopnummer);
            if (!skytt) {
                m_blnRadVald = false;
                visaLedigBana();
                return;
            }
            visaSkytt(*skytt, vbagrSkjutlag->cell(rad, 1));
            return;
        }
        if (m_blnRadVald && andrar)
            return;
        visaLedigBana();
    });
}

void frmInskrivningSkyttar::visaSkytt(const Skytt& skytt, const QString& bana) {
    m_lage.visa(skytt.lopnummer);
    m_blnRadVald = false;
    cboStartnummer->clear();
    cboStartnummer->setEditText(QString::number(skytt.startnr));
    txtLicensnr->setText(skytt.licensnr);
    txtSkyttekortNr->setText(skytt.skyttekortNr);
    txtFodelsenr->setText(skytt.fodelsear);
    txtBana->setText(bana);
    txtNamn->setText(skytt.namn);
    txtEfternamn->setText(skytt.efternamn);
    cboForening->setCurrentIndex(-1);
    cboForening->setEditText(skytt.forening);
    cboKlassADO->setCurrentIndex(cboKlassADO->findText(skytt.klass, Qt::MatchExactly));
    chkVandringspris->setChecked(skytt.vandringsSerier > 0);
    if (m_k.g().blnFleraTavlingar) {
        cboTavlingsOmg->setCurrentIndex(cboTavlingsOmg->findData(skytt.omg));
        cboTavlingsOmg->setEnabled(false);
    }
    for (QWidget* w :
         QList<QWidget*>{txtNamn, txtEfternamn, cboStartnummer, txtBana, txtLicensnr, txtSkyttekortNr,
                         txtFodelsenr, cboForening, cboKlassADO, chkVandringspris})
        w->setEnabled(false);
    tillampaLage();
}

void frmInskrivningSkyttar::visaLedigBana() {
    m_lage.visaLedig();
    m_blnRadVald = false;
    txtNamn->setEnabled(true);
    for (QLineEdit* t : {txtLicensnr, txtSkyttekortNr, txtFodelsenr, txtNamn, txtEfternamn, txtBana})
        t->clear();
    cboForening->setCurrentIndex(-1);
    cboForening->setEditText(QString());
    cboStartnummer->clear();
    cboStartnummer->setEditText(QString());
    cboKlassADO->setCurrentIndex(-1);
    chkVandringspris->setChecked(false);
    if (m_k.g().blnFleraTavlingar) {
        cboTavlingsOmg->setCurrentIndex(-1);
        cboTavlingsOmg->setEnabled(true);
    }
    for (QWidget* w : QList<QWidget*>{cboStartnummer, txtEfternamn, cboForening, cboKlassADO, txtLicensnr,
                                      txtSkyttekortNr, txtFodelsenr, txtBana, chkVandringspris})
        w->setEnabled(false);
    tillampaLage();
}

void frmInskrivningSkyttar::fokusForstaFaltet() {
    if (m_k.g().blnFleraTavlingar) {
        cboTavlingsOmg->setEnabled(true);
        cboTavlingsOmg->setFocus();
    } else {
        txtNamn->setEnabled(true);
        txtNamn->setFocus();
    }
}

void frmInskrivningSkyttar::Sok_ledigt_startnummer() {
    const Skyttregister::LedigaStartnummer lediga = Skyttregister::ledigaStartnummer(m_k.db());
    cboStartnummer->clear();
    for (const int nr : lediga.lista)
        cboStartnummer->addItem(QString::number(nr));
    cboStartnummer->setCurrentIndex(-1);
    cboStartnummer->setEditText(QString::number(lediga.forslag));
}

void frmInskrivningSkyttar::LaggTillSkytt() {
    falla(m_k.m(), QStringLiteral("LäggTillSkytt"))([&] {
        Sok_ledigt_startnummer();
        if (m_prisregel.allaDeltar())
            chkVandringspris->setChecked(true);
    });
}

void frmInskrivningSkyttar::borjaNySkytt() {
    txtEfternamn->setEnabled(true);
    cboStartnummer->setEnabled(true);
    m_lage.borjaNy();
    LaggTillSkytt();
    if (m_k.g().blnFleraTavlingar) {
        cboTavlingsOmg->setEnabled(true);
        if (cboTavlingsOmg->currentIndex() < 0 && cboTavlingsOmg->count() > 0)
            cboTavlingsOmg->setCurrentIndex(0);
    }
    tillampaLage();
}

void frmInskrivningSkyttar::aktiveraKlassfalt() {
    if (!m_k.g().blnNationellt)
        txtLicensnr->setEnabled(true);
    if (m_prisregel.valjsForHand())
        chkVandringspris->setEnabled(true);
    txtSkyttekortNr->setEnabled(true);
    txtFodelsenr->setEnabled(true);
    txtBana->setEnabled(true);
}

void frmInskrivningSkyttar::cmdAndraSkytt_Click() {
    falla(m_k.m(), QStringLiteral("cmdÄndraSkytt_Click"))([&] {
        if (m_lage.lage != Lage::Visad)
            return;
        m_lage.andra();
        const QString startnr = cboStartnummer->currentText();
        Sok_ledigt_startnummer();
        cboStartnummer->setEditText(startnr);
        for (QWidget* w : QList<QWidget*>{cboStartnummer, txtNamn, txtEfternamn, cboForening, cboKlassADO,
                                          txtSkyttekortNr, txtFodelsenr, txtBana})
            w->setEnabled(true);
        txtLicensnr->setEnabled(!m_k.g().blnNationellt);
        chkVandringspris->setEnabled(m_prisregel.valjsForHand());
        tillampaLage();
        fokusForstaFaltet();
    });
}

void frmInskrivningSkyttar::cmdCopy_Click() {
    if (m_lage.lage != Lage::Visad)
        return;
    m_lage.kopiera();
    txtBana->clear();
    for (QWidget* w : QList<QWidget*>{cboStartnummer, txtNamn, txtEfternamn, cboForening, cboKlassADO,
                                      txtSkyttekortNr, txtFodelsenr, txtBana})
        w->setEnabled(true);
    txtLicensnr->setEnabled(!m_k.g().blnNationellt);
    chkVandringspris->setEnabled(m_prisregel.valjsForHand());
    tillampaLage();
    if (m_k.g().blnFleraTavlingar) {
        cboTavlingsOmg->setEnabled(true);
        cboTavlingsOmg->setFocus();
    } else {
        txtBana->setFocus();
    }
    LaggTillSkytt();
}

void frmInskrivningSkyttar::cboStartnummer_LostFocus() {
    falla(m_k.m(), QStringLiteral("cboStartnummer_LostFocus"))([&] {
        if (cboStartnummer->currentText().trimmed().isEmpty()) {
            cboStartnummer->setEditText(QStringLiteral("0"));
            return;
        }
        const int nr = Skyttregister::startnummer(cboStartnummer->currentText());
        if (!Skyttregister::startnummerFinns(m_k.db(), nr,
                                             m_lage.lage == Lage::Andrar ? m_lage.lopnummer : 0))
            return;
        m_k.m().visa(QStringLiteral("Detta startnummer finns redan!"), QStringLiteral("Dublettnr"),
                     Ikon::Kritisk);
        tillbakaTill(cboStartnummer);
    });
}

// The focus goes back to a refused field once the focus change under way is over.
void frmInskrivningSkyttar::tillbakaTill(QWidget* falt) {
    QTimer::singleShot(0, falt, [falt] {
        if (!falt->isVisible() || !falt->isEnabled())
            return;
        falt->setFocus();
        if (auto* cbo = qobject_cast<QComboBox*>(falt); cbo && cbo->lineEdit())
            cbo->lineEdit()->selectAll();
    });
}

void frmInskrivningSkyttar::cmdSparaSkytt_Click() {
    falla(m_k.m(), QStringLiteral("cmdSparaSkytt_Click"))([&] {
        modGlobalt& g = m_k.g();
        Skyttregister::Uppgifter u;
        u.namn = txtNamn->text();
        u.efternamn = txtEfternamn->text();
        u.forening = cboForening->currentText();
        u.klass = cboKlassADO->currentText();
        u.licensnr = txtLicensnr->text();
        u.skyttekortNr = txtSkyttekortNr->text();
        u.fodelsear = txtFodelsenr->text();
        u.startnr = cboStartnummer->currentText();
        u.bana = txtBana->text();
        if (g.blnFleraTavlingar && cboTavlingsOmg->currentIndex() >= 0)
            u.omg = cboTavlingsOmg->currentData().toInt();
        u.vandringspris = chkVandringspris->isChecked();
        Skyttregister::Sparning s;
        s.andrar = m_lage.lage == Lage::Andrar;
        s.lopnummer = m_lage.lopnummer;
        s.skjutlag = m_intAktuelltSkjutlag;

        const Skyttregister::Resultat r = Skyttregister::spara(g, m_k.m(), m_prisregel, s, u);
        using U = Skyttregister::Utfall;
        switch (r.utfall) {
        case U::FelBana:
            txtBana->clear();
            txtBana->setFocus();
            return;
        case U::BanaUpptagen:
        case U::BanaSaknas:
            txtBana->setFocus();
            return;
        case U::FelOmg:
            cboTavlingsOmg->setFocus();
            return;
        case U::FelNamn:
            txtNamn->setFocus();
            return;
        case U::FelForening:
            cboForening->setFocus();
            return;
        case U::FelKlass:
            cboKlassADO->setFocus();
            return;
        case U::FelFodelsear:
            txtFodelsenr->setFocus();
            return;
        case U::Dublett:
            cboStartnummer->setFocus();
            cboStartnummer->lineEdit()->selectAll();
            return;
        case U::Sparad:
        case U::BytetNekat:
            break;
        }
        // Saved, or the swap declined: the form is idle again.
        visaLedigBana();
        StallinFargerOpt();
        fyllForeningar();
        Hamta_skyttar_till_gridden();
        if (r.utfall == U::Sparad)
            markeraBana(r.bana);
        txtNamn->setFocus();
    });
}

void frmInskrivningSkyttar::cmdTabortSkytt_Click() {
    falla(m_k.m(), QStringLiteral("cmdTaBortSkytt_Click"))([&] {
        if (m_lage.lage == Lage::Ny || m_lage.lage == Lage::Kopierar) {
            // Nothing of a new or copied shooter is written before it is saved.
            if (m_lage.lage == Lage::Ny &&
                m_k.m().visa(QStringLiteral("Är du säker på att du vill ta bort den här skytten?"),
                             QStringLiteral("Bekräfta borttag."), Ikon::Fraga, Knappar::JaNej) != Svar::Ja)
                return;
            visaLedigBana();
        } else {
            if (m_lage.lage != Lage::Visad)
                return;
            const int bana = txtBana->text().toInt();
            if (!Skyttregister::taBort(m_k.db(), m_k.m(), m_lage.lopnummer))
                return;
            visaLedigBana();
            Hamta_skyttar_till_gridden();
            markeraBana(bana);
        }
        StallinFargerOpt();
        fokusForstaFaltet();
    });
}

void frmInskrivningSkyttar::cmdTomFalt_Click() {
    falla(m_k.m(), QStringLiteral("cmdTömFält_Click"))([&] {
        // Whatever was shown or edited, nothing is saved: back to a free lane.
        visaLedigBana();
        fokusForstaFaltet();
    });
}

// --- Keys and focus ---

bool frmInskrivningSkyttar::eventFilter(QObject* o, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
        if (hanteraTangent(o, static_cast<QKeyEvent*>(e)))
            return true;
        break;
    case QEvent::FocusOut:
        if (Tangentregler::operatorenGickVidare(static_cast<QFocusEvent*>(e)))
            hanteraFokusUt(o);
        break;
    case QEvent::FocusIn:
        // Arriving by keyboard with no lane is told here; a click goes on to
        // the save, which tells it itself.
        if (o == cmdSparaSkytt && static_cast<QFocusEvent*>(e)->reason() != Qt::MouseFocusReason &&
            txtBana->text().trimmed().isEmpty()) {
            txtBana->setFocus();
            m_k.m().visa(QStringLiteral("Du måste skriva in en bana!"), QStringLiteral("Ingen bana"),
                         Ikon::Kritisk);
        }
        break;
    case QEvent::Enter:
    case QEvent::MouseMove:
        if (o == frameSkjutlag) {
            frameSkjutlag_MouseMove();
        } else if (auto* b = qobject_cast<QPushButton*>(o)) {
            const int i = m_optGrupp->id(b);
            if (i > 0)
                falla(m_k.m(), QStringLiteral("Opt_MouseMove"))([&] { Opt_MouseMove(i); });
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}

QWidget* frmInskrivningSkyttar::faltet(Tangentvag::Falt falt) const {
    using F = Tangentvag::Falt;
    switch (falt) {
    case F::Startnummer:
        return cboStartnummer;
    case F::TavlingsOmg:
        return cboTavlingsOmg;
    case F::Namn:
        return txtNamn;
    case F::Efternamn:
        return txtEfternamn;
    case F::Forening:
        return cboForening;
    case F::Klass:
        return cboKlassADO;
    case F::Licensnr:
        return txtLicensnr;
    case F::SkyttekortNr:
        return txtSkyttekortNr;
    case F::Fodelsear:
        return txtFodelsenr;
    case F::Bana:
        return txtBana;
    case F::Vandringspris:
        return chkVandringspris;
    case F::Spara:
        return cmdSparaSkytt;
    case F::Skjuttid:
        return txtSkjuttid;
    case F::Rutnat:
        return vbagrSkjutlag;
    case F::Ingen:
        break;
    }
    return nullptr;
}

bool frmInskrivningSkyttar::hanteraTangent(QObject* o, QKeyEvent* e) {
    using F = Tangentvag::Falt;
    using T = Tangentvag::Tangent;
    // Access keys belong to the buttons and labels.
    if (e->modifiers() & Qt::AltModifier)
        return false;
    F falt = F::Ingen;
    for (int i = int(F::Startnummer); i <= int(F::Rutnat) && falt == F::Ingen; ++i)
        if (faltet(F(i)) == o)
            falt = F(i);
    if (falt == F::Ingen)
        return false;
    const T tangent = Tangentregler::arEnter(e)          ? T::Enter
                      : !Tangentregler::skriverTecken(e) ? T::Annan
                      : e->key() == Qt::Key_Backspace    ? T::Backsteg
                      : arSiffra(e)                      ? T::Siffra
                                                         : T::Tecken;
    const Tangentvag::Lage lage{pagarInmatning(), m_prisregel.valjsForHand(), m_k.g().blnFleraTavlingar,
                                [this](F f) { return faltet(f)->isEnabled(); }};
    const Tangentvag::Steg steg = Tangentvag::steg(falt, tangent, lage);

    using Forst = Tangentvag::Forst;
    switch (steg.forst) {
    case Forst::Inget:
        break;
    case Forst::NySkytt:
        falla(m_k.m(), QStringLiteral("txtNamn_KeyPress"))([&] { borjaNySkytt(); });
        break;
    case Forst::ForeningPa:
        cboForening->setEnabled(true);
        break;
    case Forst::KlassPa:
        cboKlassADO->setEnabled(true);
        break;
    case Forst::Klassfalt:
        aktiveraKlassfalt();
        break;
    case Forst::BanaPa:
        txtBana->setEnabled(true);
        break;
    case Forst::BanaSkriven:
        m_lage.banaSkriven = true;
        tillampaLage();
        break;
    }

    using Gor = Tangentvag::Steg::Gor;
    switch (steg.gor) {
    case Gor::Slapp:
        return false;
    case Gor::Ata:
        return true;
    case Gor::Pip:
        QApplication::beep();
        return true;
    case Gor::Nasta:
        focusNextChild();
        return true;
    case Gor::Till:
        // As Tab brings it there, so the field left is checked as when tabbing.
        faltet(steg.till)->setFocus(Qt::TabFocusReason);
        return true;
    case Gor::ValjRad:
        Ny_Skytt_Markerad(QStringLiteral("vbagrSkjutlag_KeyPress"));
        return true;
    }
    return false;
}

void frmInskrivningSkyttar::hanteraFokusUt(QObject* o) {
    const auto versal = [&](QLineEdit* t, const QString& procedur) {
        falla(m_k.m(), procedur)([&] {
            const QString text = Skyttregister::storForstaBokstav(t->text());
            if (text != t->text())
                t->setText(text);
        });
    };
    if (o == txtNamn) {
        versal(txtNamn, QStringLiteral("txtNamn_Validate"));
    } else if (o == txtEfternamn) {
        versal(txtEfternamn, QStringLiteral("txtEfternamn_Validate"));
    } else if (o == cboForening) {
        versal(cboForening->lineEdit(), QStringLiteral("cboFörening_Validate"));
    } else if (o == txtFodelsenr) {
        if (!Skyttregister::fodelsearGodkant(txtFodelsenr->text().trimmed())) {
            m_k.m().visa(QStringLiteral("Du måste ange födelseåret med 4 siffror!"),
                         QStringLiteral("Fel antal siffror"), Ikon::Kritisk);
            tillbakaTill(txtFodelsenr);
        }
    } else if (o == cboStartnummer) {
        if (cboStartnummer->isEnabled())
            cboStartnummer_LostFocus();
    } else if (o == txtSkjuttid) {
        falla(m_k.m(), QStringLiteral("txtSkjuttid_LostFocus"))([&] { sparaSkjuttid(); });
    }
}
