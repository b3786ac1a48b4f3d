#include "registration/frmLagInskrivning.h"

#include "common/Fel.h"
#include "competition/Lag.h"
#include "competition/Lagtavlingar.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Rutnat.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/modGlobalt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using Ikon = Meddelanden::Ikon;
const QString Formular = QStringLiteral("frmLagInskrivning");

constexpr int Typroll = Qt::UserRole;
constexpr int Nyckelroll = Qt::UserRole + 1;
// The number the old database engine gave a row that is no longer there.
constexpr int IngenAktuellPost = 3021;

QLineEdit* textruta(QWidget* foralder, const QString& namn, const QString& tips) {
    auto* t = new QLineEdit(foralder);
    t->setObjectName(namn);
    t->setToolTip(tips);
    return t;
}

QPushButton* knapp(QWidget* foralder, const QString& namn, const QString& text, const QString& tips) {
    auto* k = new QPushButton(text, foralder);
    k->setObjectName(namn);
    k->setToolTip(tips);
    return k;
}

} // namespace

frmLagInskrivning::frmLagInskrivning(Formkontext& k, QWidget* parent) : QWidget(parent), m_k(k) {
    setObjectName(Formular);
    setWindowTitle(QStringLiteral("Lag inskrivning"));
    setAttribute(Qt::WA_DeleteOnClose);

    tvwLagtavlingar = new QTreeWidget(this);
    tvwLagtavlingar->setObjectName(QStringLiteral("tvwLagtavlingar"));
    tvwLagtavlingar->setToolTip(QStringLiteral("Välj ut vilken lagtävling och lag du vill se eller ändra."));
    tvwLagtavlingar->setColumnCount(1);
    tvwLagtavlingar->setHeaderHidden(true);
    tvwLagtavlingar->setRootIsDecorated(true);
    tvwLagtavlingar->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvwLagtavlingar->setSelectionMode(QAbstractItemView::SingleSelection);

    lblLagtavlingOverskrift = new QLabel(QStringLiteral("Lagtävling"), this);
    lblLagtavlingOverskrift->setObjectName(QStringLiteral("lblLagtavlingOverskrift"));
    QFont stor = lblLagtavlingOverskrift->font();
    stor.setPointSize(24);
    lblLagtavlingOverskrift->setFont(stor);
    lblLaget = new QLabel(QStringLiteral("Laget"), this);
    lblLaget->setObjectName(QStringLiteral("lblLaget"));
    QFont mellan = lblLaget->font();
    mellan.setPointSize(12);
    lblLaget->setFont(mellan);

    vbagrLag = new Rutnat(this);
    vbagrLag->setObjectName(QStringLiteral("vbagrLag"));
    vbagrLag->setToolTip(
        QStringLiteral("Här visas alla skyttar som ingår i laget. Markera för att få se uppgifterna nedan."));

    cmdNyttLag = knapp(this, QStringLiteral("cmdNyttLag"), QStringLiteral("&Nytt lag"),
                       QStringLiteral("Skapa ett nytt lag."));
    cmdTaBortLag = knapp(this, QStringLiteral("cmdTaBortLag"), QStringLiteral("&Radera lag"),
                         QStringLiteral("Ta bort laget."));
    auto* cmdAterga =
        knapp(this, QStringLiteral("cmdAterga"), QStringLiteral("Stäng"), QStringLiteral("Återgå."));

    auto* frameSkytt = new QGroupBox(QStringLiteral("Skytt"), this);
    frameSkytt->setObjectName(QStringLiteral("frameSkytt"));
    auto* Label1 = new QLabel(
        QStringLiteral(
            "Skriv del av eller hela skyttens namn och tryck på enter för att söka skytt till laget."),
        frameSkytt);
    Label1->setWordWrap(true);
    const QString sokTips = QStringLiteral(
        "För att lägga till en skytt skriver man in hela/delar av namnet och trycker på enter så "
        "söken programmet upp den skytt som passar bäst.");
    txtNamn = textruta(frameSkytt, QStringLiteral("txtNamn"), sokTips);
    txtEfternamn = textruta(frameSkytt, QStringLiteral("txtEfternamn"), sokTips);
    txtStartNummer =
        textruta(frameSkytt, QStringLiteral("txtStartNummer"), QStringLiteral("Skyttens startnummer."));
    txtForening = textruta(frameSkytt, QStringLiteral("txtForening"), QStringLiteral("Skyttens förening."));
    txtKlass = textruta(frameSkytt, QStringLiteral("txtKlass"), QStringLiteral("Skyttens klass."));
    // Shown, never typed in.
    for (QLineEdit* visning : {txtStartNummer, txtForening, txtKlass}) {
        visning->setReadOnly(true);
        visning->setEnabled(false);
        sattGra(visning, true);
    }
    cmdTaBort = knapp(frameSkytt, QStringLiteral("cmdTaBort"), QStringLiteral("&Ta bort"),
                      QStringLiteral("Ta bort skytten ur laget."));
    cmdRensaFalt = knapp(frameSkytt, QStringLiteral("cmdRensaFalt"), QStringLiteral("Töm &fält"),
                         QStringLiteral("Töm uppgiftsfälten utan att ta bort skytten."));

    auto* skytt = new QGridLayout(frameSkytt);
    skytt->addWidget(Label1, 0, 0, 1, 4);
    skytt->addWidget(new QLabel(QStringLiteral("Namn"), frameSkytt), 1, 0);
    skytt->addWidget(txtNamn, 1, 1);
    skytt->addWidget(new QLabel(QStringLiteral("Efternamn"), frameSkytt), 1, 2);
    skytt->addWidget(txtEfternamn, 1, 3);
    skytt->addWidget(new QLabel(QStringLiteral("Start nr."), frameSkytt), 2, 0);
    skytt->addWidget(txtStartNummer, 2, 1);
    skytt->addWidget(new QLabel(QStringLiteral("Förening"), frameSkytt), 2, 2);
    skytt->addWidget(txtForening, 2, 3);
    skytt->addWidget(new QLabel(QStringLiteral("Klass"), frameSkytt), 3, 0);
    skytt->addWidget(txtKlass, 3, 1);
    auto* skyttknappar = new QHBoxLayout;
    skyttknappar->addStretch();
    skyttknappar->addWidget(cmdTaBort);
    skyttknappar->addWidget(cmdRensaFalt);
    skytt->addLayout(skyttknappar, 4, 0, 1, 4);

    auto* lagknappar = new QHBoxLayout;
    lagknappar->addWidget(cmdNyttLag);
    lagknappar->addWidget(cmdTaBortLag);
    lagknappar->addStretch();
    auto* hoger = new QVBoxLayout;
    hoger->addWidget(lblLagtavlingOverskrift);
    hoger->addWidget(lblLaget);
    hoger->addWidget(vbagrLag, 1);
    hoger->addLayout(lagknappar);
    hoger->addWidget(frameSkytt);
    auto* stang = new QHBoxLayout;
    stang->addStretch();
    stang->addWidget(cmdAterga);
    hoger->addLayout(stang);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tvwLagtavlingar, 2);
    layout->addLayout(hoger, 3);

    setTabOrder(tvwLagtavlingar, vbagrLag);
    setTabOrder(vbagrLag, cmdNyttLag);
    setTabOrder(cmdNyttLag, cmdTaBortLag);
    setTabOrder(cmdTaBortLag, txtNamn);
    setTabOrder(txtNamn, txtEfternamn);
    setTabOrder(txtEfternamn, cmdTaBort);
    setTabOrder(cmdTaBort, cmdRensaFalt);
    setTabOrder(cmdRensaFalt, cmdAterga);

    txtNamn->installEventFilter(this);
    txtEfternamn->installEventFilter(this);
    vbagrLag->installEventFilter(this);
    vbagrLag->viewport()->installEventFilter(this);

    // A click and the keys both choose a node; a click on the node already
    // chosen shows it afresh.
    connect(tvwLagtavlingar, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* ny, QTreeWidgetItem* forra) {
                if (forra && nodtyp(forra) == Nodtyp::Lag)
                    forra->setIcon(0, m_lag);
                if (ny && nodtyp(ny) == Nodtyp::Lag)
                    ny->setIcon(0, m_pil);
                if (!m_valjer && ny)
                    tvwLagtavlingar_NodeClick(ny);
            });
    connect(tvwLagtavlingar, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* nod) { tvwLagtavlingar_NodeClick(nod); });
    connect(tvwLagtavlingar, &QTreeWidget::itemExpanded, this, &frmLagInskrivning::tvwLagtavlingar_Expand);
    connect(tvwLagtavlingar, &QTreeWidget::itemCollapsed, this, &frmLagInskrivning::tvwLagtavlingar_Collapse);
    connect(cmdNyttLag, &QPushButton::clicked, this, &frmLagInskrivning::cmdNyttLag_Click);
    connect(cmdTaBortLag, &QPushButton::clicked, this, &frmLagInskrivning::cmdTaBortLag_Click);
    connect(cmdAterga, &QPushButton::clicked, this, &frmLagInskrivning::cmdAterga_Click);
    connect(cmdTaBort, &QPushButton::clicked, this, &frmLagInskrivning::cmdTaBort_Click);
    connect(cmdRensaFalt, &QPushButton::clicked, this, &frmLagInskrivning::cmdRensaFalt_Click);
    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });

    Form_Load();
}

frmLagInskrivning::Nodtyp frmLagInskrivning::nodtyp(const QTreeWidgetItem* nod) {
    return static_cast<Nodtyp>(nod->data(0, Typroll).toInt());
}

qint64 frmLagInskrivning::nodnyckel(const QTreeWidgetItem* nod) {
    return nod->data(0, Nyckelroll).toLongLong();
}

QTreeWidgetItem* frmLagInskrivning::hitta(Nodtyp typ, qint64 nyckel) const {
    for (int i = 0; i < tvwLagtavlingar->topLevelItemCount(); ++i) {
        QTreeWidgetItem* lt = tvwLagtavlingar->topLevelItem(i);
        if (typ == Nodtyp::Lagtavling && nodnyckel(lt) == nyckel)
            return lt;
        if (typ == Nodtyp::Lag)
            for (int j = 0; j < lt->childCount(); ++j)
                if (nodnyckel(lt->child(j)) == nyckel)
                    return lt->child(j);
    }
    return nullptr;
}

QTreeWidgetItem* frmLagInskrivning::nodForLagtavling(qint64 lagtavling) const {
    return hitta(Nodtyp::Lagtavling, lagtavling);
}

QTreeWidgetItem* frmLagInskrivning::nodForLag(qint64 lagNr) const {
    return hitta(Nodtyp::Lag, lagNr);
}

bool frmLagInskrivning::medlemsinmatningOppen() const {
    return txtNamn->isEnabled() && txtEfternamn->isEnabled();
}

void frmLagInskrivning::Form_Load() {
    const modGlobalt& g = m_k.g();
    Grafik grafik(g.strProgrammapp, m_k.m(), Formular, QStringLiteral("Ikon saknas!"), Ikon::Information,
                  QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("grafik/ikoner/Skyttar.ico")));
    m_stangd = grafik.ikon(QStringLiteral("Grafik/Ikoner/ClosedFolder.ico"));
    m_oppen = grafik.ikon(QStringLiteral("Grafik/Ikoner/OpenFolder.ico"));
    m_lag = grafik.ikon(QStringLiteral("Grafik/Ikoner/Skyttar.ico"));
    m_pil = grafik.ikon(QStringLiteral("Grafik/Ikoner/ArrowRight.ico"));
    m_laddas.emplace();

    sattMedlemsinmatning(false);
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    cmdTaBortLag->setEnabled(false);
    cmdNyttLag->setEnabled(false);
    const bool laddat = Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_load"))([&] {
        m_laddas->steg([&] {
            Skapa_rutnat();
            Hamta_lagtavlingar_till_tradet();
        });
    });
    if (!laddat)
        m_laddas.reset();
    resize(twips(9540), twips(7665));
}

void frmLagInskrivning::Skapa_rutnat() {
    vbagrLag->laggTillKolumn(QString(), 30);
    vbagrLag->laggTillKolumn(QString(), 230);
    vbagrLag->laggTillKolumn(QString(), 60);
    vbagrLag->laggTillKolumn(QString(), 40, true); // Löpnummer, the row's key
    vbagrLag->horizontalHeader()->hide();
}

void frmLagInskrivning::Hamta_lagtavlingar_till_tradet() {
    const Databas& db = m_k.db();
    for (const Lagtavlingar::Lagtavling& lt : Lagtavlingar::lista(db)) {
        auto* rot = new QTreeWidgetItem(tvwLagtavlingar, {lt.namn});
        rot->setData(0, Typroll, int(Nodtyp::Lagtavling));
        rot->setData(0, Nyckelroll, lt.nyckel);
        rot->setIcon(0, m_stangd);
        for (const Lag::Lagpost& lag : Lag::lista(db, lt.nyckel)) {
            auto* nod = new QTreeWidgetItem(rot, {lag.namn});
            nod->setData(0, Typroll, int(Nodtyp::Lag));
            nod->setData(0, Nyckelroll, lag.nr);
            nod->setIcon(0, m_lag);
        }
    }
}

void frmLagInskrivning::Form_Activate() {
    m_laddas.reset();
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("Form_Activate"))([&] {
        // Every activation starts again at the first team competition, so that
        // coming back to the window never shows a half-finished member search.
        QTreeWidgetItem* nod = tvwLagtavlingar->topLevelItem(0);
        if (!nod) {
            // No team competition: nothing to choose and nowhere to put a team.
            m_lagtavling = 0;
            m_lagNr = 0;
            m_antalMedlemmar = 0;
            vbagrLag->tom();
            lblLaget->setText(QStringLiteral("Laget"));
            sattMedlemsinmatning(false);
            tomMedlemsfalten();
            cmdTaBort->setEnabled(false);
            cmdRensaFalt->setEnabled(false);
            cmdTaBortLag->setEnabled(false);
            cmdNyttLag->setEnabled(false);
            return;
        }
        if (nod->childCount() > 0)
            nod->setExpanded(true);
        valjNod(nod);
        visaLagtavling(nodnyckel(nod));
    });
    tvwLagtavlingar->setFocus();
}

void frmLagInskrivning::valjNod(QTreeWidgetItem* nod) {
    m_valjer = true;
    tvwLagtavlingar->setCurrentItem(nod);
    m_valjer = false;
}

void frmLagInskrivning::tvwLagtavlingar_NodeClick(QTreeWidgetItem* nod) {
    if (!nod)
        return;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("tvwLagtävlingar_NodeClick"))([&] {
        if (nodtyp(nod) == Nodtyp::Lagtavling)
            visaLagtavling(nodnyckel(nod));
        else
            visaLag(nodnyckel(nod));
    });
    tvwLagtavlingar->setFocus();
}

void frmLagInskrivning::tvwLagtavlingar_Expand(QTreeWidgetItem* nod) {
    nod->setIcon(0, m_oppen);
}

void frmLagInskrivning::tvwLagtavlingar_Collapse(QTreeWidgetItem* nod) {
    nod->setIcon(0, m_stangd);
}

void frmLagInskrivning::visaLagtavling(qint64 lagtavling) {
    const std::optional<Lagtavlingar::Lagtavling> lt = Lagtavlingar::hamta(m_k.db(), lagtavling);
    if (!lt)
        throw Fel(IngenAktuellPost, QStringLiteral("Lagtävlingen finns inte längre."));
    vbagrLag->tom();
    lblLaget->setText(QStringLiteral("Laget"));
    m_lagtavling = lt->nyckel;
    m_lagstorlek = lt->antalSkyttar;
    m_lagNr = 0;
    m_antalMedlemmar = 0;
    sattMedlemsinmatning(false);
    tomMedlemsfalten();
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    cmdTaBortLag->setEnabled(false);
    cmdNyttLag->setEnabled(true);
    lblLagtavlingOverskrift->setText(lt->namn);
}

void frmLagInskrivning::visaLag(qint64 lagNr) {
    const Databas& db = m_k.db();
    const std::optional<Lag::Lagpost> lag = Lag::hamta(db, lagNr);
    const std::optional<Lagtavlingar::Lagtavling> lt =
        lag ? Lagtavlingar::hamta(db, lag->lagtavling) : std::nullopt;
    if (!lt)
        throw Fel(IngenAktuellPost, QStringLiteral("Laget finns inte längre."));
    m_lagtavling = lt->nyckel;
    m_lagstorlek = lt->antalSkyttar;
    lblLagtavlingOverskrift->setText(lt->namn);
    m_lagNr = lag->nr;
    lblLaget->setText(lag->namn);
    visaMedlemmar();
    // A team made bigger than its size before the size was lowered stays closed.
    medlemsinmatningEfterLaget(false);
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    cmdTaBortLag->setEnabled(true);
    cmdNyttLag->setEnabled(true);
}

void frmLagInskrivning::visaMedlemmar() {
    const QList<Skytt> medlemmar = Lagmedlemmar::lista(m_k.db(), m_lagNr);
    m_antalMedlemmar = int(medlemmar.size());
    if (medlemmar.isEmpty()) {
        vbagrLag->tom();
        tomMedlemsfalten();
        return;
    }
    Hamta_lagmedlemmar_till_gridden(medlemmar);
}

void frmLagInskrivning::Hamta_lagmedlemmar_till_gridden(const QList<Skytt>& medlemmar) {
    vbagrLag->setUpdatesEnabled(false);
    vbagrLag->tom();
    tomMedlemsfalten();
    for (const Skytt& s : medlemmar)
        vbagrLag->laggTillRad({QString::number(s.startnr), s.namn + QLatin1Char(' ') + s.efternamn, s.klass,
                               QString::number(s.lopnummer)});
    vbagrLag->setUpdatesEnabled(true);
}

void frmLagInskrivning::sattMedlemsinmatning(bool oppen) {
    for (QLineEdit* t : {txtNamn, txtEfternamn}) {
        t->setEnabled(oppen);
        sattGra(t, !oppen);
    }
}

void frmLagInskrivning::medlemsinmatningEfterLaget(bool medFokus) {
    const bool oppen = m_lagNr != 0 && m_antalMedlemmar < m_lagstorlek;
    sattMedlemsinmatning(oppen);
    if (oppen && medFokus)
        txtNamn->setFocus();
}

void frmLagInskrivning::tomMedlemsfalten() {
    for (QLineEdit* t : {txtStartNummer, txtNamn, txtEfternamn, txtForening, txtKlass})
        t->clear();
    m_visadMedlem = 0;
}

void frmLagInskrivning::visaSkytt(const Skytt& s) {
    txtStartNummer->setText(QString::number(s.startnr));
    txtForening->setText(s.forening);
    txtKlass->setText(s.klass);
    txtNamn->setText(s.namn);
    txtEfternamn->setText(s.efternamn);
}

void frmLagInskrivning::aterstallPanelen() {
    tomMedlemsfalten();
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    medlemsinmatningEfterLaget(true);
}

void frmLagInskrivning::cmdNyttLag_Click() {
    if (m_lagtavling == 0)
        return;
    const bool klart = Felfalla(m_k.m(), QStringLiteral("frmLagInskrivning.cmdNyttLag.Click "))([&] {
        const std::optional<Lag::Nytt> nytt =
            Lag::NyttLag(m_k.db(), m_k.m(), m_lagtavling, [] { QApplication::beep(); });
        if (nytt)
            Skapa_nytt_lag(nytt->nr, nytt->namn);
    });
    // The team competition went away under the window: what it shows is no
    // longer true.
    if (!klart)
        m_k.fonster().stangFonster(this);
}

void frmLagInskrivning::Skapa_nytt_lag(qint64 nr, const QString& namn) {
    QTreeWidgetItem* rot = nodForLagtavling(m_lagtavling);
    if (!rot)
        throw Fel(IngenAktuellPost, QStringLiteral("Lagtävlingen finns inte längre."));
    auto* nod = new QTreeWidgetItem(rot, {namn});
    nod->setData(0, Typroll, int(Nodtyp::Lag));
    nod->setData(0, Nyckelroll, nr);
    nod->setIcon(0, m_lag);

    m_lagNr = nr;
    m_antalMedlemmar = 0;
    lblLaget->setText(namn);
    rot->setExpanded(true);
    valjNod(nod);
    vbagrLag->tom();
    tomMedlemsfalten();
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    cmdTaBortLag->setEnabled(true);
    cmdNyttLag->setEnabled(true);
    medlemsinmatningEfterLaget(true);
}

void frmLagInskrivning::cmdTaBortLag_Click() {
    if (m_lagNr == 0)
        return;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("cmdTaBortLag_Click"))([&] {
        if (!Lag::taBort(m_k.db(), m_k.m(), m_lagNr))
            return;
        // The node goes without the tree choosing a neighbour in its place;
        // the team competition is chosen instead.
        m_valjer = true;
        delete nodForLag(m_lagNr);
        m_valjer = false;
        m_lagNr = 0;
        QTreeWidgetItem* rot = nodForLagtavling(m_lagtavling);
        if (!rot)
            return;
        if (rot->childCount() == 0) {
            rot->setExpanded(false);
            rot->setIcon(0, m_stangd);
        }
        valjNod(rot);
        visaLagtavling(m_lagtavling);
    });
    tvwLagtavlingar->setFocus();
}

void frmLagInskrivning::cmdAterga_Click() {
    m_k.fonster().stangFonster(this);
}

void frmLagInskrivning::LaggTillSkytt() {
    // A full team, or a search already under way, takes no new search.
    if (m_lagNr == 0 || !medlemsinmatningOppen())
        return;
    const QString namn = txtNamn->text();
    const QString efternamn = txtEfternamn->text();
    Lagmedlemmar::Utfall utfall = Lagmedlemmar::Utfall::Avbruten;
    Felfalla(m_k.m(), QStringLiteral("frmLagInskrivning.LäggTillSkytt "))([&] {
        utfall =
            Lagmedlemmar::LaggTillSkytt(m_k.g(), m_k.m(), m_lagNr, namn, efternamn, [this](const Skytt& s) {
                // Waiting for the answer: nothing to type meanwhile.
                txtNamn->setEnabled(false);
                txtEfternamn->setEnabled(false);
                visaSkytt(s);
            });
        if (utfall == Lagmedlemmar::Utfall::Tillagd || utfall == Lagmedlemmar::Utfall::Fullt)
            visaMedlemmar();
    });
    aterstallPanelen();
}

void frmLagInskrivning::closeEvent(QCloseEvent* e) {
    // A window closed before it was ever activated leaves no hourglass behind.
    m_laddas.reset();
    QWidget::closeEvent(e);
}

bool frmLagInskrivning::eventFilter(QObject* o, QEvent* e) {
    if ((o == txtNamn || o == txtEfternamn) && e->type() == QEvent::KeyPress) {
        if (Tangentregler::arEnter(static_cast<QKeyEvent*>(e))) {
            LaggTillSkytt();
            return true;
        }
    } else if ((o == vbagrLag && e->type() == QEvent::KeyRelease &&
                !static_cast<QKeyEvent*>(e)->isAutoRepeat()) ||
               (o == vbagrLag->viewport() && e->type() == QEvent::MouseButtonRelease)) {
        vbagrLag_Slapp();
    }
    return QWidget::eventFilter(o, e);
}

void frmLagInskrivning::vbagrLag_Slapp() {
    tomMedlemsfalten();
    cmdTaBort->setEnabled(false);
    cmdRensaFalt->setEnabled(false);
    HamtaSkytt();
}

void frmLagInskrivning::HamtaSkytt() {
    Felfalla(m_k.m(), QStringLiteral("frmLagInskrivning.HämtaSkytt "))([&] {
        const int rad = vbagrLag->valdRad();
        if (m_antalMedlemmar == 0 || rad == 0)
            return;
        const std::optional<Skytt> s = Lagmedlemmar::hamta(m_k.db(), vbagrLag->cell(rad, 4).toLongLong());
        if (!s)
            throw Fel(IngenAktuellPost, QStringLiteral("Skytten finns inte längre."));
        visaSkytt(*s);
        m_visadMedlem = s->lopnummer;
        sattMedlemsinmatning(false);
        cmdTaBort->setEnabled(true);
        cmdRensaFalt->setEnabled(true);
    });
}

void frmLagInskrivning::cmdTaBort_Click() {
    if (m_lagNr == 0 || m_visadMedlem == 0)
        return;
    Felfalla::standard(m_k.m(), Formular, QStringLiteral("cmdTaBort_Click"))([&] {
        if (!Lagmedlemmar::taBort(m_k.db(), m_k.m(), m_lagNr, m_visadMedlem))
            return;
        visaMedlemmar();
        aterstallPanelen();
    });
}

void frmLagInskrivning::cmdRensaFalt_Click() {
    aterstallPanelen();
}
