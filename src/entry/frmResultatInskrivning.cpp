#include "entry/frmResultatInskrivning.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "competition/Skjuttider.h"
#include "entry/Banrader.h"
#include "entry/Inmatningsregler.h"
#include "entry/frm1098.h"
#include "entry/frmSfS.h"
#include "entry/frmValjSkjutlag.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Grafik.h"
#include "shell/Tangentregler.h"
#include "shell/Twips.h"
#include "shell/Upptagen.h"
#include "shell/modGlobalt.h"
#include "spectator/Askadarflode.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <utility>

namespace {
using Ikon = Meddelanden::Ikon;

const QString Form = QStringLiteral("frmResultatInskrivning");

// Most traps of this window show "frmResultatInskrivning, procedure: 13 ...".
Felfalla falla(Meddelanden& m, const QString& procedur) {
    return Felfalla::standard(m, Form, procedur);
}

// A series that could not be checked or saved has always been told as the bare
// number and description run together, without an icon, under the program's
// own title.
Felfalla sparfalla(Meddelanden& m) {
    return Felfalla(m, QString(), Ikon::Ingen, QString(), QString());
}

// The machine's status pictures are the small size of their icons.
constexpr int BildSida = 16;

bool arSiffertangent(int tangent) {
    return tangent >= Qt::Key_0 && tangent <= Qt::Key_9;
}

bool lanadFokus(Qt::FocusReason orsak) {
    // A message box, a dialog or a menu takes the focus for a while and gives it
    // back to the same field: the field is neither left nor entered. Whatever
    // the menu then does to the window runs the window's own leaving first.
    return orsak == Qt::ActiveWindowFocusReason || orsak == Qt::PopupFocusReason ||
           orsak == Qt::MenuBarFocusReason;
}
} // namespace

frmResultatInskrivning::frmResultatInskrivning(Formkontext& k, Askadarflode& flode, int askadarIntervallMs,
                                               Tolklank::Tider tolktider, QWidget* parent)
    : QWidget(parent), m_k(k), m_flode(flode), m_sparning(k.g()),
      m_askadaruppdatering(k.g(), flode, askadarIntervallMs), m_tolktider(tolktider) {
    setObjectName(Form);
    setWindowTitle(QStringLiteral("Resultatinskrivning"));
    byggFormular();

    connect(&k, &Formkontext::aktiverad, this, [this](QWidget* w) {
        if (w == this)
            Form_Activate();
    });
    Form_Load();
}

frmResultatInskrivning::~frmResultatInskrivning() {
    // The fields go down with the window; their last focus events are nobody's.
    m_stangd = true;
    // The link goes first: nothing it still has to say may reach a half-gone window.
    if (m_tolklank)
        m_tolklank->disconnect(this);
    m_tolklank.reset();
}

void frmResultatInskrivning::byggFormular() {
    // Every control stands where it is placed, so the window is never smaller
    // than the place they take.
    setMinimumSize(twips(11895), twips(8310));
    resize(minimumSize());

    auto* Label13 =
        new QLabel(QStringLiteral("Förklaringar till dom olika färgerna i resultat rutorna."), this);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->setGeometry(8, 4, 500, 18);
    const auto ruta = [this](const QString& namn, const QColor& farg, int x) {
        auto* t = new QLineEdit(this);
        t->setObjectName(namn);
        t->setReadOnly(true);
        t->setFocusPolicy(Qt::NoFocus);
        QPalette p = t->palette();
        p.setColor(QPalette::Base, farg);
        t->setPalette(p);
        t->setGeometry(x, 24, 24, 18);
        return t;
    };
    const auto forklaring = [this](const QString& namn, const QString& text, int x) {
        auto* l = new QLabel(text, this);
        l->setObjectName(namn);
        l->setGeometry(x, 24, 360, 18);
        return l;
    };
    ruta(QStringLiteral("txtRodForkl"), QColor(0xFF, 0xC0, 0xC0), 8);
    forklaring(QStringLiteral("lblRodForkl"),
               QStringLiteral("Serierna ingår inte i skyttens klass och ska inte skjutas."), 38);
    ruta(QStringLiteral("txtGronForkl"), QColor(0xC0, 0xFF, 0xC0), 396);
    forklaring(QStringLiteral("lblGronForkl"),
               QStringLiteral("Skytten måste skjuta extra skott för laget/vandringspriset."), 426);

    m_banrader = new Banrader(this, this);
    m_banrader->move(0, 48);
    m_banrader->malaRad = [this](int rad) { malaRad(rad); };
    connect(m_banrader, &Banrader::antalKlickat, this, &frmResultatInskrivning::cmd1098_Click);
    connect(m_banrader, &Banrader::serieRedigerad, this, &frmResultatInskrivning::serieRedigerad);

    const int knappY = m_banrader->y() + m_banrader->height() + 6;
    auto* cmdBytSkjutlag = new QPushButton(QStringLiteral("&Byt skjutlag"), this);
    cmdBytSkjutlag->setObjectName(QStringLiteral("cmdBytSkjutlag"));
    cmdBytSkjutlag->setToolTip(QStringLiteral("Byter det aktuella skjutlaget mot ett nytt."));
    cmdBytSkjutlag->setGeometry(32, knappY, 120, 26);
    auto* cmdAterga = new QPushButton(QStringLiteral("&Stäng"), this);
    cmdAterga->setObjectName(QStringLiteral("cmdAterga"));
    cmdAterga->setToolTip(QStringLiteral("Återgå."));
    cmdAterga->setGeometry(m_banrader->width() - 120 - 20, knappY, 120, 26);
    connect(cmdBytSkjutlag, &QPushButton::clicked, this, &frmResultatInskrivning::cmdBytSkjutlag_Click);
    connect(cmdAterga, &QPushButton::clicked, this, &frmResultatInskrivning::cmdAterga_Click);

    sbrResultatInskr = new QStatusBar(this);
    sbrResultatInskr->setObjectName(QStringLiteral("sbrResultatInskr"));
    sbrResultatInskr->setSizeGripEnabled(false);
    sbrResultatInskr->setGeometry(0, knappY + 32, width(), 24);
}

void frmResultatInskrivning::Skapa_paneler() {
    for (QLabel* l : std::as_const(m_paneler)) {
        sbrResultatInskr->removeWidget(l);
        delete l;
    }
    m_paneler.clear();
    const std::pair<const QString&, int> paneler[] = {
        {PanelSkjutlag, 1000},         {PanelBana, 900},      {PanelKlass, 900},   {PanelForening, 1600},
        {PanelStatusTolkmaskin, 5020}, {PanelAuto1098, 1200}, {PanelAuto10, 1200},
    };
    for (const auto& [nyckel, bredd] : paneler) {
        auto* l = new QLabel(sbrResultatInskr);
        l->setObjectName(QStringLiteral("panel") + nyckel);
        // A panel is never narrower than its width; the machine's status, the
        // widest, gives way when another text needs more room.
        if (nyckel == PanelStatusTolkmaskin)
            l->setMinimumWidth(twips(bredd) / 2);
        else
            l->setMinimumWidth(twips(bredd));
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        sbrResultatInskr->addWidget(l, nyckel == PanelStatusTolkmaskin ? 1 : 0);
        m_paneler.insert(nyckel, l);
        if (nyckel == PanelStatusTolkmaskin) {
            // The machine's texts are long for the room the other panels leave:
            // a point smaller they show nearly whole, and whole as a tooltip.
            QFont font = l->font();
            font.setPointSizeF(font.pointSizeF() - 1);
            l->setFont(font);
            // The machine's picture stands before its text, inside the panel.
            auto* lager = new QHBoxLayout(l);
            lager->setContentsMargins(3, 0, 0, 0);
            m_tolkbildPanel = new QLabel(l);
            m_tolkbildPanel->setObjectName(QStringLiteral("bildStatusTolkmaskin"));
            m_tolkbildPanel->setFixedSize(BildSida, BildSida);
            m_tolkbildPanel->hide();
            lager->addWidget(m_tolkbildPanel);
            lager->addStretch();
        }
    }
}

void frmResultatInskrivning::sattPanel(const QString& nyckel, const QString& text) {
    if (QLabel* l = m_paneler.value(nyckel); l && l->text() != text)
        l->setText(text);
}

int frmResultatInskrivning::intAntalRader() const {
    return m_banrader->antal();
}

QSize frmResultatInskrivning::sizeHint() const {
    return minimumSize();
}

QLineEdit* frmResultatInskrivning::txtSer(int serie, int rad) {
    return m_banrader->rad(rad).txtSer[size_t(serie - 1)];
}

// --- Loading, opening and switching ---

void frmResultatInskrivning::Form_Load() {
    modGlobalt& g = m_k.g();
    intAktuellRad = 0;
    Felfalla(m_k.m(), Form + QStringLiteral(", Form_load: "))([&] {
        Grafik grafik(g.strProgrammapp, m_k.m(), Form, QStringLiteral("Ikon saknas!"), Ikon::Information,
                      QStringLiteral("Ikon saknas"));
        setWindowIcon(grafik.ikon(QStringLiteral("Grafik/Ikoner/Inskrivning.ico")));
        m_banrader->sattInnehallSynligt(false);
        Skapa_paneler();
        sattPanel(PanelAuto1098, m_sparning.panelAuto1098());
        sattPanel(PanelAuto10, m_sparning.panelAuto10());
        if (g.blnTolkmaskinGrundomg) {
            for (const auto bild : {Tolklank::Bild::ComConn, Tolklank::Bild::ComOkRec,
                                    Tolklank::Bild::ComOkSend, Tolklank::Bild::NoComConn})
                m_tolkbilder[size_t(bild)] =
                    grafik.ikon(QStringLiteral("Grafik/Ikoner/%1.ico").arg(Tolklank::bildnamn(bild)));
            // The port is opened by the link when a read starts; its number,
            // settings and model are read then, so a change in the settings
            // counts from the next read.
            m_tolklank = std::make_unique<Tolklank>(g, m_k.m(), m_tolktider);
            m_tolklank->serieMarkerad = [this] { return blnSerieMarkerad; };
            connect(m_tolklank.get(), &Tolklank::statusAndrad, this, &frmResultatInskrivning::visaTolkstatus);
            connect(m_tolklank.get(), &Tolklank::tavelsvar, this, &frmResultatInskrivning::tavelsvarMottaget);
            visaTolkstatus(TolkmaskinVilar, Tolklank::Bild::Ingen);
        }
    });
}

void frmResultatInskrivning::Oppna_databaser_mm(int skjutlag) {
    modGlobalt& g = m_k.g();
    g.intValtSkjutlag = skjutlag;
    falla(m_k.m(),
          QStringLiteral("Öppna_databaser_mm"))([&] { m_klasser = std::make_unique<Klassuppslag>(g); });
    Oppna_skjutlag(skjutlag);
    sattRubrik(skjutlag);
    Hamta_in_skyttarna_till_txt();
    if (g.blnNationellt)
        m_banrader->nationellaRubriker();
    m_flode.visaOppnatSkjutlag(skjutlag);
}

void frmResultatInskrivning::Oppna_skjutlag(int skjutlag, Upptagen* upptagen) {
    m_skjutlag.clear();
    falla(m_k.m(), QStringLiteral("Öppna_skjutlag"))([&] {
        const auto las = [&] { return hamtaSkjutlag(m_k.g(), skjutlag); };
        m_skjutlag = upptagen ? upptagen->steg(las) : las();
    });
}

void frmResultatInskrivning::sattRubrik(int skjutlag) {
    int lage = Skjuttider::Las;
    const QString tid = HanteraSkjuttid(m_k.db(), skjutlag, lage, QString(), Skjuttider::LasEllerSkriv);
    setWindowTitle(QStringLiteral("Resultatinskrivning Skjutlag %1 %2").arg(skjutlag).arg(tid));
    sattPanel(PanelSkjutlag, QStringLiteral("Skjutlag %1").arg(skjutlag));
}

void frmResultatInskrivning::Byt_Skjutlag(int skjutlag) {
    modGlobalt& g = m_k.g();
    m_byggerOm = true;
    m_banrader->sattInnehallSynligt(false);
    g.intValtSkjutlag = skjutlag;
    m_flode.visaOppnatSkjutlag(skjutlag);
    // The hourglass comes after the display's question, which wants an answer
    // and not a wait.
    Upptagen upptagen;
    Oppna_skjutlag(skjutlag, &upptagen);
    Ta_bort_rader(&upptagen);
    Hamta_in_skyttarna_till_txt(&upptagen);
    if (!m_skjutlag.isEmpty())
        txtVisible();
    m_banrader->uppdateraVScrollMax();
    m_banrader->sattVScroll(0);
    sattRubrik(skjutlag);
    upptagen.klar();
    m_fokusFalt = nullptr;
    m_blnSerieAndrad = false;
    m_byggerOm = false;
    m_banrader->sattInnehallSynligt(true);
    if (!m_skjutlag.isEmpty())
        txtSer(1, 0)->setFocus(Qt::OtherFocusReason);
}

void frmResultatInskrivning::Ta_bort_rader(Upptagen* upptagen) {
    const bool byggde = std::exchange(m_byggerOm, true);
    Felfalla(m_k.m(), Form + QStringLiteral(",Ta_Bort_Rader: "))([&] {
        const auto ta = [&] { m_banrader->Ta_bort_rader(); };
        upptagen ? upptagen->steg(ta) : ta();
    });
    m_radbilder.clear();
    m_byggerOm = byggde;
}

void frmResultatInskrivning::Hamta_in_skyttarna_till_txt(Upptagen* upptagen) {
    sattPanel(PanelBana, QString());
    sattPanel(PanelKlass, QString());
    sattPanel(PanelForening, QString());
    const bool byggde = std::exchange(m_byggerOm, true);
    const int antal = int(m_skjutlag.size());
    m_radbilder = QList<Radbild>(antal);
    const auto ingenKlass = [&](int bana) {
        const auto visa = [&] { m_k.m().visa(ingenKlassText(bana), IngenKlassTitel, Ikon::Kritisk); };
        upptagen ? upptagen->utanTimglas(visa) : visa();
    };
    Felfalla(m_k.m(), QStringLiteral("frmResultatinskrivning Hämta_in_skyttarna_till_txt:"), Ikon::Ingen,
             QString())([&] {
        const auto fyll = [&] {
            // Every lane of the squad is looked at here, in view or not: a
            // missing class is told for each as the squad opens, and the
            // keyboard knows every row's fields before the row is built.
            for (intAktuellRad = 0; intAktuellRad < antal; ++intAktuellRad) {
                const Banrad& b = m_skjutlag.at(intAktuellRad);
                Radbild& bild = m_radbilder[intAktuellRad];
                bild.klassensSerier = m_klasser ? m_klasser->klassensSerier(b.klass) : std::nullopt;
                if (!bild.klassensSerier && m_klasser)
                    ingenKlass(b.bana);
                bild.extraSerier = Serieregler::extraSerier(b.lagserier, b.vandringsSerier);
                radsynlighet(intAktuellRad);
            }
            // The rows in view are built and painted now, the others as they come.
            m_banrader->forbered(antal);
        };
        upptagen ? upptagen->steg(fyll) : fyll();
    });
    intAktuellRad = 0;
    m_byggerOm = byggde;
}

void frmResultatInskrivning::malaRad(int rad) {
    if (rad < 0 || rad >= m_skjutlag.size() || rad >= m_radbilder.size())
        return;
    const Banrad& b = m_skjutlag.at(rad);
    const Radbild& bild = m_radbilder.at(rad);
    const Radfalt* r = m_banrader->radOmKlar(rad);
    if (!r)
        return;
    r->txtBana->setText(QString::number(b.bana));
    r->txtNamn->setText(b.heltNamn());
    r->txtSarskjutning->setText(Serieregler::visaSarskjutning(b.sarskjutning));
    // Without its class the row shows every series as its own.
    m_banrader->txtFarger(rad, bild.klassensSerier.value_or(Serieregler::AntalSerier), bild.extraSerier);
    m_banrader->malaSerier(rad, b.res);
    m_banrader->visaFalt(rad, bild.synlighet);
}

void frmResultatInskrivning::txtVisible() {
    if (m_skjutlag.isEmpty())
        return;
    Felfalla(m_k.m(), Form + QStringLiteral(",txtVisible: "))([&] {
        // Rows not built are shown right when they are.
        for (int i = 0; i < m_skjutlag.size() && i < m_radbilder.size(); ++i)
            m_banrader->visaFalt(i, radsynlighet(i));
    });
}

void frmResultatInskrivning::txtRes60_visible(int rad) {
    if (rad < 0 || rad >= m_skjutlag.size() || rad >= m_radbilder.size())
        return;
    m_banrader->visaRes60(rad, radsynlighet(rad).totalt60);
}

// Which fields of a row show, by its row kind, class and series; kept for the
// keyboard's moves.
Inmatningsregler::Radsynlighet frmResultatInskrivning::radsynlighet(int rad) {
    const modGlobalt& g = m_k.g();
    const Banrad& b = m_skjutlag.at(rad);
    Radbild& bild = m_radbilder[rad];
    const bool nationell =
        Inmatningsregler::arNationellRad(g.blnMix, g.blnNationellt, g.blnSportskytte, b.sportNat);
    bild.synlighet =
        Inmatningsregler::synlighet(nationell, bild.klassensSerier, b.lagserier, b.vandringsSerier, b.res);
    return bild.synlighet;
}

void frmResultatInskrivning::Rakna() {
    // A row not built yet shows its Banrad when it is.
    if (intAktuellRad < 0 || intAktuellRad >= m_skjutlag.size())
        return;
    m_banrader->malaSerier(intAktuellRad, m_skjutlag.at(intAktuellRad).res);
}

void frmResultatInskrivning::Form_Activate() {
    if (m_stangd)
        return;
    falla(m_k.m(), QStringLiteral("Form_Activate"))([&] {
        m_banrader->uppdateraVScrollMax();
        if (!m_skjutlag.isEmpty())
            txtVisible();
        m_banrader->sattInnehallSynligt(true);
        // Coming back to the window leaves the operator where he was; only its
        // first activation starts at the first series of the first lane.
        if (std::exchange(m_forstaAktiveringen, false) && !m_skjutlag.isEmpty())
            txtSer(1, 0)->setFocus(Qt::OtherFocusReason);
    });
}

// --- Closing ---

bool frmResultatInskrivning::lamnaFalten() {
    return lamnaFalt(m_fokusFalt);
}

bool frmResultatInskrivning::lamnaFalt(QWidget* falt) {
    if (!falt)
        return true;
    const std::optional<Banrader::Plats> p = m_banrader->plats(falt);
    if (!p)
        return true;
    switch (p->slag) {
    case Banrader::Slag::Serie:
        return Serie_LostFocus(p->rad, p->serie);
    case Banrader::Slag::Sarskjutning:
        return txtSarskjutning_LostFocus(p->rad);
    case Banrader::Slag::Antal:
        break;
    }
    return true;
}

void frmResultatInskrivning::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // A window made wider gives the status panels, the machine's long texts
    // above all, the room.
    if (sbrResultatInskr)
        sbrResultatInskr->setGeometry(0, sbrResultatInskr->y(), width(), sbrResultatInskr->height());
}

void frmResultatInskrivning::closeEvent(QCloseEvent* e) {
    if (m_stangd) {
        e->accept();
        return;
    }
    if (!lamnaFalten()) {
        e->ignore();
        return;
    }
    Form_QueryUnload();
    Form_Unload();
    m_stangd = true;
    e->accept();
}

void frmResultatInskrivning::Form_QueryUnload() {
    if (m_k.g().blnTolkmaskinGrundomg)
        AvbrytKommTolkmaskin();
}

void frmResultatInskrivning::Form_Unload() {
    modGlobalt& g = m_k.g();
    Felfalla(m_k.m(), Form + QStringLiteral(".Form_Unload: "))([&] {
        m_askadaruppdatering.skickaVantande();
        // The other items come back through the window's menu states; this one
        // only while a display is connected to show it on.
        m_k.sattMeny(Meny::mnuVisaAskSkarm, m_k.fonster().askadarskarmAnsluten());
        if (!g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel,
                                   g.blnEjAuto1098 ? QStringLiteral("1") : QStringLiteral("0")))
            throw Fel(Felnummer::SokvagsAtkomstfel, g.iniTavling.senasteFel());
    });
    g.intValtSkjutlag = 0;
}

void frmResultatInskrivning::cmdAterga_Click() {
    // A check that refused as the button took the focus keeps the window open.
    if (std::exchange(m_vagrat, false))
        return;
    falla(m_k.m(), QStringLiteral("cmdÅtergå_Click"))([&] { m_k.fonster().stangFonster(this); });
}

void frmResultatInskrivning::cmdBytSkjutlag_Click() {
    if (std::exchange(m_vagrat, false))
        return;
    modGlobalt& g = m_k.g();
    falla(m_k.m(), QStringLiteral("cmdBytSkjutlag_Click"))([&] {
        if (g.blnTolkmaskinGrundomg)
            AvbrytKommTolkmaskin();
        if (!lamnaFalten())
            return;
        const std::optional<int> valt = frmValjSkjutlag::valj(m_k, g.intValtSkjutlag, this);
        if (m_fokusFalt && m_banrader->plats(m_fokusFalt) &&
            m_banrader->plats(m_fokusFalt)->slag == Banrader::Slag::Serie)
            blnSerieMarkerad = true;
        if (!valt || *valt == g.intValtSkjutlag)
            return;
        m_askadaruppdatering.skickaVantande();
        m_flode.begarOmritning(false);
        Byt_Skjutlag(*valt);
    });
}

// --- The series fields ---

void frmResultatInskrivning::Serie_GotFocus(int rad, int serie) {
    m_blnNyFokus = true;
    blnSerieMarkerad = true;
    intMarkeradRad = rad;
    intMarkeradSerie = serie;
    intAktuellRad = rad;
    txtSer(serie, rad)->selectAll();
    if (rad < m_skjutlag.size()) {
        const Banrad& b = m_skjutlag.at(rad);
        sattPanel(PanelBana, QStringLiteral("Bana ") + QString::number(b.bana));
        sattPanel(PanelKlass, b.klass);
        sattPanel(PanelForening, b.forening);
    }
    if (serie == 1 && m_banrader->innehallVanster() < 0)
        sattHScroll(0);
    visaRadVidFokus(rad, 10);
}

void frmResultatInskrivning::visaRadVidFokus(int rad, int marginal) {
    const Banrader& b = *m_banrader;
    if (b.innehallTopp() < -Banrader::Radhojd * rad)
        sattVScroll(b.vScroll() >= Banrader::Radhojd ? Banrader::Radhojd * rad : 0);
    const float topp = float(b.innehallTopp());
    if (topp / -float(Banrader::Radhojd) + float(marginal) < float(rad))
        sattVScroll(b.vScrollMax() - b.vScroll() <= Banrader::Radhojd ? b.vScrollMax()
                                                                      : Banrader::Radhojd * (rad - marginal));
}

void frmResultatInskrivning::sattVScroll(int varde) {
    m_banrader->sattVScroll(varde);
}

void frmResultatInskrivning::sattHScroll(int varde) {
    m_banrader->sattHScroll(varde);
}

bool frmResultatInskrivning::Serie_LostFocus(int rad, int serie) {
    blnSerieMarkerad = false;
    // The edit belongs to this field; whatever happens below, the next field
    // starts unedited.
    const bool andrad = std::exchange(m_blnSerieAndrad, false);
    QLineEdit* falt = txtSer(serie, rad);
    if (falt->text().trimmed().isEmpty())
        falt->setText(QStringLiteral("0"));
    bool ok = true;
    int varde = 0;
    if (!sparfalla(m_k.m())([&] { varde = Serieregler::heltalsdel(falt->text()); })) {
        if (rad < m_skjutlag.size())
            falt->setText(QString::number(m_skjutlag.at(rad).res[size_t(serie - 1)]));
        falt->setFocus(Qt::OtherFocusReason);
        falt->selectAll();
        m_vagrat = true;
        return false;
    }
    if (varde > Serieregler::MaxSerie) {
        m_k.m().visa(QStringLiteral("Du får inte skriva in resultat högre än 50 poäng!"),
                     QStringLiteral("Fel"), Ikon::Kritisk);
        falt->setFocus(Qt::OtherFocusReason);
        falt->setText(QStringLiteral("0"));
        falt->selectAll();
        varde = 0;
        ok = false;
    }
    if (andrad && !SparaSerie(rad, serie, varde))
        ok = false;
    m_vagrat = !ok;
    return ok;
}

bool frmResultatInskrivning::SparaSerie(int rad, int serie, int varde) {
    if (rad < 0 || rad >= m_skjutlag.size())
        return true;
    Banrad& b = m_skjutlag[rad];
    Resultatsparning::Utfall utfall;
    const bool sparat =
        sparfalla(m_k.m())([&] { utfall = m_sparning.sparaSerie(b, serie, varde, std::nullopt); });
    intAktuellRad = rad;
    // The screen shows what is stored, saved or not.
    Rakna();
    if (!sparat) {
        QLineEdit* falt = txtSer(serie, rad);
        falt->setFocus(Qt::OtherFocusReason);
        falt->selectAll();
        return false;
    }
    if (serie >= 9)
        txtRes60_visible(rad);
    visaAntalpaneler(utfall);
    m_askadaruppdatering.serieSparad(utfall.parsummaAndrad);
    return true;
}

void frmResultatInskrivning::visaAntalpaneler(const Resultatsparning::Utfall& utfall) {
    // Every hand-entered save shows it, also in a competition that had switched
    // before the window opened with the machine's inner-ten panel still "Auto".
    if (utfall.manuellaAntal) {
        sattPanel(PanelAuto1098, Panel::Man1098);
        sattPanel(PanelAuto10, Panel::Manuella10);
    }
    if (!utfall.iniFel.isEmpty())
        m_k.m().visa(utfall.iniFel, QStringLiteral("Fel"), Ikon::Kritisk);
}

bool frmResultatInskrivning::serie9Syns(int rad) const {
    return rad >= 0 && rad < m_radbilder.size() ? m_radbilder.at(rad).synlighet.serier9till12 : true;
}

void frmResultatInskrivning::gaTill(const Banrader::Plats& till) {
    QWidget* falt = m_banrader->falt(till);
    if (!falt->isHidden())
        falt->setFocus(Qt::TabFocusReason);
}

void frmResultatInskrivning::gaTill(int serie, int rad) {
    gaTill({Banrader::Slag::Serie, rad, serie});
}

bool frmResultatInskrivning::Pil_KeyDown(const Banrader::Plats& fran, int tangent) {
    const std::optional<Inmatningsregler::Pilsteg> steg = Inmatningsregler::pilsteg(
        fran, tangent, intAntalRader(), [this](int rad) { return serie9Syns(rad); });
    if (!steg)
        return false;
    if (steg->till == fran)
        return true;
    if (steg->vy == Inmatningsregler::Pilsteg::Vy::Botten)
        sattVScroll(m_banrader->vScrollMax());
    else if (steg->vy == Inmatningsregler::Pilsteg::Vy::Topp)
        sattVScroll(0);
    gaTill(steg->till);
    return true;
}

void frmResultatInskrivning::serieRedigerad(int, int) {
    m_blnSerieAndrad = true;
}

bool frmResultatInskrivning::Serie_KeyDown(int rad, int serie, QKeyEvent* e) {
    const bool maskin = m_k.g().blnTolkmaskinGrundomg;
    const bool lasning = lasningPagar();
    switch (e->key()) {
    case Qt::Key_Escape:
        if (lasning)
            m_tolklank->avbrytMedEscape();
        return true;
    case Qt::Key_Delete:
        // The series has no shot values any more, whatever the field then holds.
        Nolla_SfST(serie, rad);
        m_blnSerieAndrad = true;
        return false;
    default:
        break;
    }
    if (Tangentregler::arEnter(e)) {
        if (lasning) {
            QApplication::beep();
        } else if (maskin) {
            intMarkeradRad = rad;
            intMarkeradSerie = serie;
            HamtaResFranTolkmaskin();
        } else {
            gaTill(Inmatningsregler::nastaSerie(serie, serie9Syns(rad)), rad);
        }
        return true;
    }
    if (!Tangentregler::skriverTecken(e))
        return false;
    if (lasning) {
        QApplication::beep();
        return true;
    }
    const bool klistrar = e->matches(QKeySequence::Paste);
    const QChar c = klistrar ? QChar() : e->text().at(0);
    if (maskin) {
        // In machine mode a series is typed shot by shot in a dialog of its own.
        if (!klistrar && (c == u'\b' || Serieregler::arSkottecken(c)))
            Visa_SfS(serie, rad);
        else
            QApplication::beep();
        return true;
    }
    // Pasted text meets the field's own check, as typed text meets this one.
    if (klistrar)
        return false;
    if (c == u'\b' || (c >= u'0' && c <= u'9')) {
        m_blnSerieAndrad = true;
        return false;
    }
    QApplication::beep();
    return true;
}

void frmResultatInskrivning::Serie_KeyUp(QLineEdit* falt, int rad, int serie, QKeyEvent* e) {
    // Only a key pressed in this field moves on, so the release of the digit
    // that filled the previous field does not also leave this one.
    if (e->isAutoRepeat() || m_blnNyFokus || m_k.g().blnTolkmaskinGrundomg)
        return;
    if (arSiffertangent(e->key()) && falt->text().size() >= 2)
        gaTill(Inmatningsregler::nastaSerie(serie, serie9Syns(rad)), rad);
}

void frmResultatInskrivning::Visa_SfS(int serie, int rad) {
    if (rad < 0 || rad >= m_skjutlag.size())
        return;
    Banrad& b = m_skjutlag[rad];
    frmSfS sfs(m_k, m_sparning, b, serie, this);
    sfs.exec();
    const std::optional<int> varde = sfs.sparatVarde();
    if (!varde)
        return;
    txtSer(serie, rad)->setText(QString::number(*varde));
    intAktuellRad = rad;
    Rakna();
    if (serie >= 9)
        txtRes60_visible(rad);
    m_askadaruppdatering.skottForSkottSparat();
}

void frmResultatInskrivning::Nolla_SfST(int serie, int rad) {
    if (rad < 0 || rad >= m_skjutlag.size())
        return;
    sparfalla(m_k.m())([&] { m_sparning.nollaSkottstrang(m_skjutlag[rad], serie); });
}

// --- The shoot-off field and the count button ---

void frmResultatInskrivning::txtSarskjutning_GotFocus(int rad) {
    m_banrader->rad(rad).txtSarskjutning->selectAll();
    if (m_banrader->innehallVanster() > -m_banrader->hScrollMax())
        sattHScroll(m_banrader->hScrollMax());
    visaRadVidFokus(rad, 11);
}

bool frmResultatInskrivning::txtSarskjutning_LostFocus(int rad) {
    if (rad < 0 || rad >= m_skjutlag.size())
        return true;
    QLineEdit* falt = m_banrader->rad(rad).txtSarskjutning;
    if (falt->text().trimmed().isEmpty())
        falt->setText(QStringLiteral("0"));
    intAktuellRad = rad;
    Banrad& b = m_skjutlag[rad];
    const std::optional<double> varde = Serieregler::tolkaSarskjutning(falt->text().trimmed());
    if (!varde) {
        m_k.m().visa(QStringLiteral("Särskjutningen måste vara ett tal med siffror och högst ett "
                                    "decimalkomma, till exempel 9,5."),
                     QStringLiteral("Fel"), Ikon::Kritisk);
        falt->setFocus(Qt::OtherFocusReason);
        falt->selectAll();
        m_vagrat = true;
        return false;
    }
    bool ok = true;
    if (*varde != b.sarskjutning)
        ok = falla(m_k.m(), QStringLiteral("txtSärskjutning_LostFocus"))(
            [&] { m_sparning.sparaSarskjutning(b, *varde); });
    falt->setText(Serieregler::visaSarskjutning(b.sarskjutning));
    if (!ok) {
        falt->setFocus(Qt::OtherFocusReason);
        falt->selectAll();
    }
    m_vagrat = !ok;
    return ok;
}

bool frmResultatInskrivning::txtSarskjutning_KeyDown(QLineEdit* falt, int rad, QKeyEvent* e) {
    if (Tangentregler::arEnter(e)) {
        gaTill(1, rad);
        return true;
    }
    if (!Tangentregler::skriverTecken(e) || e->matches(QKeySequence::Paste))
        return false;
    if (Tangentregler::tillatsIHeltal(e) || Tangentregler::tillatsIDecimal(falt, e))
        return false;
    QApplication::beep();
    return true;
}

void frmResultatInskrivning::cmd1098_GotFocus(int rad) {
    const Banrader& b = *m_banrader;
    if (b.innehallVanster() > -b.hScrollMax())
        sattHScroll(b.hScrollMax());
    // The view follows the button one row at a time.
    if (b.innehallTopp() < -Banrader::Radhojd * rad)
        sattVScroll(b.vScroll() >= Banrader::Radhojd ? b.vScroll() - Banrader::Radhojd : 0);
    if (float(b.innehallTopp()) / -float(Banrader::Radhojd) + 11.0f < float(rad))
        sattVScroll(b.vScroll() + Banrader::Radhojd);
}

void frmResultatInskrivning::cmd1098_Click(int rad) {
    if (rad < 0 || rad >= m_skjutlag.size())
        return;
    falla(m_k.m(), QStringLiteral("cmd1098_Click"))([&] {
        frm1098 antal(m_k, m_sparning, m_skjutlag[rad], this);
        antal.exec();
        if (antal.sparat() && m_k.g().blnEjAuto1098) {
            sattPanel(PanelAuto1098, Panel::Man1098);
            sattPanel(PanelAuto10, Panel::Manuella10);
        }
        if (antal.sparat() && !antal.utfall().iniFel.isEmpty())
            m_k.m().visa(antal.utfall().iniFel, QStringLiteral("Fel"), Ikon::Kritisk);
    });
}

// --- The scoring machine ---

void frmResultatInskrivning::HamtaResFranTolkmaskin() {
    if (m_tolklank)
        m_tolklank->HamtaResFranTolkmaskin();
}

void frmResultatInskrivning::AvbrytKommTolkmaskin() {
    if (m_tolklank)
        m_tolklank->AvbrytKommTolkmaskin();
}

bool frmResultatInskrivning::lasningPagar() const {
    return m_tolklank && m_tolklank->lasningPagar();
}

void frmResultatInskrivning::visaTolkstatus(const QString& text, Tolklank::Bild bild) {
    sattPanel(PanelStatusTolkmaskin, text);
    if (QLabel* l = m_paneler.value(PanelStatusTolkmaskin))
        l->setToolTip(text);
    m_tolkbild = bild;
    if (!m_tolkbildPanel)
        return;
    const QIcon& ikon = m_tolkbilder[size_t(bild)];
    if (bild == Tolklank::Bild::Ingen || ikon.isNull()) {
        m_tolkbildPanel->clear();
        m_tolkbildPanel->hide();
    } else {
        m_tolkbildPanel->setPixmap(ikon.pixmap(BildSida, BildSida));
        m_tolkbildPanel->show();
    }
    if (QLabel* l = m_paneler.value(PanelStatusTolkmaskin))
        l->setIndent(m_tolkbildPanel->isHidden() ? -1 : BildSida + 4);
}

void frmResultatInskrivning::tavelsvarMottaget(int varde, const QString& skottstrang) {
    const int rad = intMarkeradRad;
    const int serie = intMarkeradSerie;
    if (rad < 0 || rad >= m_skjutlag.size() || rad >= m_banrader->antal() || serie < 1 ||
        serie > Serieregler::AntalSerier) {
        m_tolklank->sparningMisslyckades();
        return;
    }
    Banrad& b = m_skjutlag[rad];
    if (const Radfalt* r = m_banrader->radOmKlar(rad))
        r->txtSer[size_t(serie - 1)]->setText(QString::number(varde));
    Resultatsparning::Utfall utfall;
    const bool sparat =
        sparfalla(m_k.m())([&] { utfall = m_sparning.sparaSerie(b, serie, varde, skottstrang); });
    // The field holds what the machine read until the save has run; now the
    // row shows what is stored, saved or not.
    intAktuellRad = rad;
    Rakna();
    // Whatever the field had been through (Delete before the card), it holds
    // the stored value now and leaving it saves nothing.
    if (const Radfalt* r = m_banrader->radOmKlar(rad); r && m_fokusFalt == r->txtSer[size_t(serie - 1)])
        m_blnSerieAndrad = false;
    if (!sparat) {
        m_tolklank->sparningMisslyckades();
        return;
    }
    if (serie >= 9)
        txtRes60_visible(rad);
    visaAntalpaneler(utfall);
    m_askadaruppdatering.serieSparad(utfall.parsummaAndrad);
    // The next card goes into the next series of the same shooter.
    flyttaFokus(Inmatningsregler::nastaSerie(serie, serie9Syns(rad)), rad);
    m_tolklank->startaOmSenare();
}

void frmResultatInskrivning::flyttaFokus(int serie, int rad) {
    QLineEdit* till = txtSer(serie, rad);
    if (till->isHidden())
        return;
    till->setFocus(Qt::TabFocusReason);
    if (m_fokusFalt == till)
        return;
    // The window is not the active one: Qt moved its focus without telling the
    // fields. The marked series follows it all the same, or the next card would
    // overwrite this one.
    if (QWidget* forra = std::exchange(m_fokusFalt, nullptr); forra && !lamnaFalt(forra))
        return;
    if (const std::optional<Banrader::Plats> p = m_banrader->plats(till))
        GotFocus(till, *p, Qt::TabFocusReason);
}

// --- Events of the row fields ---

void frmResultatInskrivning::GotFocus(QWidget* w, const Banrader::Plats& p, Qt::FocusReason orsak) {
    m_fokusFalt = w;
    m_valjVidSlapp = nullptr;
    falla(m_k.m(), QStringLiteral("GotFocus"))([&] {
        switch (p.slag) {
        case Banrader::Slag::Serie:
            Serie_GotFocus(p.rad, p.serie);
            break;
        case Banrader::Slag::Sarskjutning:
            txtSarskjutning_GotFocus(p.rad);
            break;
        case Banrader::Slag::Antal:
            cmd1098_GotFocus(p.rad);
            return;
        }
        if (orsak == Qt::MouseFocusReason)
            m_valjVidSlapp = static_cast<QLineEdit*>(w);
    });
}

bool frmResultatInskrivning::eventFilter(QObject* o, QEvent* e) {
    if (m_stangd || !m_banrader)
        return false;
    const std::optional<Banrader::Plats> p = m_banrader->plats(o);
    if (!p)
        return false;
    auto* w = static_cast<QWidget*>(o);
    bool slukad = false;
    switch (e->type()) {
    case QEvent::FocusIn: {
        if (m_byggerOm)
            break;
        const auto* fe = static_cast<QFocusEvent*>(e);
        if (lanadFokus(fe->reason()) && w == m_fokusFalt)
            break;
        GotFocus(w, *p, fe->reason());
        break;
    }
    case QEvent::FocusOut: {
        const auto* fe = static_cast<QFocusEvent*>(e);
        if (m_byggerOm || w != m_fokusFalt || lanadFokus(fe->reason()))
            break;
        m_fokusFalt = nullptr;
        // The field finishes its own leaving first, so that a check that puts the
        // focus back is not undone by it.
        static_cast<QObject*>(w)->event(e);
        slukad = true;
        if (p->slag == Banrader::Slag::Serie)
            Serie_LostFocus(p->rad, p->serie);
        else if (p->slag == Banrader::Slag::Sarskjutning)
            txtSarskjutning_LostFocus(p->rad);
        break;
    }
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        // A key can reach the field the window meant to focus before the window
        // was active and the field had its focus-in: the field is entered now.
        if (w != m_fokusFalt && !m_byggerOm) {
            // In a window that is not the active one (no window manager gave it
            // back after a dialog) Qt moves the focus without telling the fields:
            // the field the keys left is left now, as a real leaving would be,
            // and a key it refuses to let go for is dropped.
            if (QWidget* forra = std::exchange(m_fokusFalt, nullptr); forra && !lamnaFalt(forra)) {
                slukad = true;
                break;
            }
            GotFocus(w, *p, Qt::OtherFocusReason);
        }
        falla(m_k.m(), QStringLiteral("KeyDown"))([&] {
            // A key has gone down in this series field since it was entered.
            if (p->slag == Banrader::Slag::Serie)
                m_blnNyFokus = false;
            if (Pil_KeyDown(*p, k->key())) {
                slukad = true;
                return;
            }
            switch (p->slag) {
            case Banrader::Slag::Serie:
                slukad = Serie_KeyDown(p->rad, p->serie, k);
                break;
            case Banrader::Slag::Sarskjutning:
                slukad = txtSarskjutning_KeyDown(static_cast<QLineEdit*>(w), p->rad, k);
                break;
            case Banrader::Slag::Antal:
                break;
            }
        });
        break;
    }
    case QEvent::KeyRelease:
        if (p->slag == Banrader::Slag::Serie)
            Serie_KeyUp(static_cast<QLineEdit*>(w), p->rad, p->serie, static_cast<QKeyEvent*>(e));
        break;
    case QEvent::MouseButtonDblClick:
        if (p->slag == Banrader::Slag::Serie && m_k.g().blnTolkmaskinGrundomg) {
            Visa_SfS(p->serie, p->rad);
            slukad = true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (w == m_valjVidSlapp) {
            auto* falt = static_cast<QLineEdit*>(w);
            if (!falt->hasSelectedText())
                falt->selectAll();
            m_valjVidSlapp = nullptr;
        }
        break;
    default:
        break;
    }
    return slukad;
}

// Tab goes through the rows in their order, and a row beyond the view may not
// be built yet: the row it goes to is built first. Tab leaves a row from its
// count button for the next row, Shift+Tab from its first series for the row
// above; from the buttons below the rows Tab goes on to the first row,
// Shift+Tab back to the last.
bool frmResultatInskrivning::focusNextPrevChild(bool next) {
    const int antal = intAntalRader();
    if (antal > 0 && !m_stangd) {
        int till = -1;
        if (const std::optional<Banrader::Plats> p = m_banrader->plats(focusWidget())) {
            if (next && p->slag == Banrader::Slag::Antal)
                till = p->rad + 1;
            else if (!next && p->slag == Banrader::Slag::Serie && p->serie == 1)
                till = p->rad - 1;
        } else {
            till = next ? 0 : antal - 1;
        }
        if (till >= 0 && till < antal)
            m_banrader->rad(till);
    }
    return QWidget::focusNextPrevChild(next);
}
