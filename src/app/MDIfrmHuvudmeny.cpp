#include "app/MDIfrmHuvudmeny.h"

#include "app/frmSplash.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "shell/Felfalla.h"
#include "shell/Fonsternamn.h"
#include "shell/Grafik.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "shell/modGlobalt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

MDIfrmHuvudmeny::MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger,
                                 Askadarflode& flode, QWidget* parent)
    : MDIfrmHuvudmeny(g, m, dialoger, nullptr, &flode, parent) {}

MDIfrmHuvudmeny::MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger, quint16 tcpPort,
                                 const QHostAddress& tcpAdress, QWidget* parent)
    : MDIfrmHuvudmeny(g, m, dialoger, std::make_unique<Askadarflode>(g, m, tcpPort, tcpAdress), nullptr,
                      parent) {}

MDIfrmHuvudmeny::MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger,
                                 std::unique_ptr<Askadarflode> egetFlode, Askadarflode* flode,
                                 QWidget* parent)
    : QMainWindow(parent), m_g(g), m_m(m), m_dialoger(dialoger), m_egetFlode(std::move(egetFlode)),
      m_flode(flode ? *flode : *m_egetFlode), m_mdi(new QMdiArea(this)), m_vard(g, m, dialoger, m_mdi, this) {
    setObjectName(QStringLiteral("MDIfrmHuvudmeny"));
    setWindowTitle(Meddelanden::programtitel());
    setCentralWidget(m_mdi);
    // A child window larger than the frame (result entry on the program's
    // first size) can be scrolled into view instead of being cut off.
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    byggMenyer();
    kopplaKommandon();
    m_tmrSplash.setSingleShot(true);
    connect(&m_tmrSplash, &QTimer::timeout, this, &MDIfrmHuvudmeny::tmrSplash_Timer);
    // The information window goes when another window of ours becomes the
    // active one.
    connect(&m_vard, &Fonstervard::barnAktiverat, this, [this](QMdiSubWindow* sub) {
        if (!sub->widget() || sub->widget()->objectName() != Fonsternamn::Oppnat.namn)
            stangInformationsfonster();
    });
    connect(&m_vard, &Fonstervard::tavlingSkapad, this, &MDIfrmHuvudmeny::tavlingSkapad);
    m_vard.sattAnslutningsfraga([this] { return m_flode.ansluten(); });

    // The information window goes as soon as the operator turns to anything
    // else: another window of ours, the background, a dialog.
    m_mdi->viewport()->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* fonster) {
        if (fonster && fonster != windowHandle())
            stangInformationsfonster();
    });
    // Access keys of the active child window go before the menu bar's.
    qApp->installEventFilter(this);
}

MDIfrmHuvudmeny::~MDIfrmHuvudmeny() {
    qApp->removeEventFilter(this);
    // While the window goes nothing reaches its slots: the area names a new
    // active child as each one goes, and the focus window changes. Left to the
    // base class, these would come after the members are gone.
    m_mdi->disconnect(this);
    qApp->disconnect(this);
    // The child windows were handed the host's context and use it to their end
    // (a field checked as it loses the focus), so they go now, while it is still
    // here, not with the base class.
    m_vard.forstorAlla();
}

void MDIfrmHuvudmeny::byggMenyer() {
    // The host holds the items; this window only arranges them in its menus.
    QMenu* menyer[4] = {nullptr, nullptr, nullptr, nullptr};
    for (size_t i = 0; i < menytrad.size(); ++i) {
        const Menystart& post = menytrad[i];
        QAction* a = menyval(post.meny);
        const bool harUndermeny = i + 1 < menytrad.size() && menytrad[i + 1].niva > post.niva;
        if (harUndermeny) {
            auto* meny = new QMenu(a->text(), this);
            meny->setObjectName(a->objectName() + QStringLiteral("_meny"));
            a->setMenu(meny);
            menyer[post.niva] = meny;
        }
        if (post.niva == 1)
            menuBar()->addAction(a);
        else
            menyer[post.niva - 1]->addAction(a);
    }
    menyval(Meny::mnuInnehall)->setShortcut(QKeySequence(Qt::Key_F1));
}

void MDIfrmHuvudmeny::kopplaKommandon() {
    auto koppla = [this](Meny meny, auto slot) { connect(menyval(meny), &QAction::triggered, this, slot); };
    koppla(Meny::mnuNy, &MDIfrmHuvudmeny::mnuNy_Click);
    koppla(Meny::mnuOppna, &MDIfrmHuvudmeny::mnuOppna_Click);
    koppla(Meny::mnuStang, &MDIfrmHuvudmeny::mnuStang_Click);
    koppla(Meny::mnuImportera, &MDIfrmHuvudmeny::mnuImportera_Click);
    koppla(Meny::mnuExportera, &MDIfrmHuvudmeny::mnuExportera_Click);
    koppla(Meny::mnuInstallningar, &MDIfrmHuvudmeny::mnuInstallningar_Click);
    koppla(Meny::mnuSkrivare, &MDIfrmHuvudmeny::mnuSkrivare_Click);
    koppla(Meny::mnuAvsluta, &MDIfrmHuvudmeny::mnuAvsluta_Click);
    koppla(Meny::mnuSokSkytt, &MDIfrmHuvudmeny::mnuSokSkytt_Click);
    koppla(Meny::mnuInskrivningSkyttar, &MDIfrmHuvudmeny::mnuInskrivningSkyttar_Click);
    koppla(Meny::mnuLag, &MDIfrmHuvudmeny::mnuLag_Click);
    koppla(Meny::mnuResultatInskrivning, &MDIfrmHuvudmeny::mnuResultatInskrivning_Click);
    koppla(Meny::mnuResGrund, &MDIfrmHuvudmeny::mnuResGrund_Click);
    koppla(Meny::mnuKonfigAskSkarm, &MDIfrmHuvudmeny::mnuKonfigAskSkarm_Click);
    koppla(Meny::mnuVisaAskSkarm, &MDIfrmHuvudmeny::mnuVisaAskSkarm_Click);
    koppla(Meny::mnuInnehall, &MDIfrmHuvudmeny::mnuInnehall_Click);
    koppla(Meny::mnuOm, &MDIfrmHuvudmeny::mnuOm_Click);
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i)
        connect(menyval(mnuFil(i)), &QAction::triggered, this, [this, i] { mnuFil_Click(i); });

    struct Lista {
        Meny skrivare;
        Meny fil;
        const Fonsterid<Utskriftsmal>& fonster;
    };
    for (const Lista& l :
         {Lista{Meny::mnuSkjutlagslista, Meny::mnuSkjutlagslistaFil, Fonsternamn::UtskriftSkjutlag},
          Lista{Meny::mnuForeningslista, Meny::mnuForeningslistaFil, Fonsternamn::Foreningsutskrift},
          Lista{Meny::mnuResGrundPrinter, Meny::mnuResGrundFil, Fonsternamn::ValResSkarmGrund}}) {
        const Fonsterid<Utskriftsmal> fonster = l.fonster;
        connect(menyval(l.skrivare), &QAction::triggered, this,
                [this, fonster] { listkommando(Utskriftsmal::Printer, fonster); });
        connect(menyval(l.fil), &QAction::triggered, this,
                [this, fonster] { listkommando(Utskriftsmal::Fil, fonster); });
    }
    connect(menyval(Meny::mnuLagutskrift), &QAction::triggered, this,
            [this] { lagutskrift(Utskriftsmal::Printer); });
    connect(menyval(Meny::mnuLagutskriftFil), &QAction::triggered, this,
            [this] { lagutskrift(Utskriftsmal::Fil); });
    connect(menyval(Meny::mnuResVandringsprisPrinter), &QAction::triggered, this,
            [this] { vandringsprislista(Utskriftsmal::Printer); });
    connect(menyval(Meny::mnuResVandringsprisFil), &QAction::triggered, this,
            [this] { vandringsprislista(Utskriftsmal::Fil); });
}

// --- Load, splash, unload ---

void MDIfrmHuvudmeny::MDIForm_Load(frmSplash* splash, int splashTidMs) {
    Grafik grafik(m_g.strProgrammapp, m_m, objectName(), QStringLiteral("Ikon saknas!"),
                  Meddelanden::Ikon::Information, QStringLiteral("Ikon saknas"));
    setWindowIcon(grafik.ikon(QStringLiteral("Grafik/Ikoner/PK.ico")));

    Felfalla::standard(m_m, objectName(), QStringLiteral("Form_load"))([&] {
        if (m_g.lngAntalSkrivare == 0)
            sattMeny(Meny::mnuUtskriftSkrivare, false);

        const QScreen* skarm = QGuiApplication::primaryScreen();
        if (skarm && skarm->size() == QSize(800, 600))
            setWindowState(windowState() | Qt::WindowMaximized);
        else
            resize(twips(12000), twips(8700));

        Hamta_5_senaste_filer();

        const QString lagsort = m_g.iniProgram.GetKeyValue(Ini::LagsortVal.sektion, Ini::LagsortVal.nyckel,
                                                           Ini::LagsortVal.standard);
        if (!Konvertering::lagsortValPa(lagsort) &&
            !m_g.iniProgram.WriteKey(Ini::LagsortVal.sektion, Ini::LagsortVal.nyckel,
                                     QStringLiteral("False")))
            throw Fel(Felnummer::SokvagsAtkomstfel, m_g.iniProgram.senasteFel());

        m_g.cnnTavling.Close();
    });

    m_splash = splash;
    if (!m_laddadForut) {
        // Keeps the splash in front and painted while this window is still hidden.
        if (m_splash)
            m_splash->raise();
        m_laddadForut = true;
    }
    m_tmrSplash.start(splashTidMs);
}

void MDIfrmHuvudmeny::tmrSplash_Timer() {
    show();
    if (m_splash)
        m_splash->close();
    m_splash = nullptr;
    m_tmrSplash.stop();
}

void MDIfrmHuvudmeny::MDIForm_Unload() {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny.Unload "))([&] {
        if (tcpPeer().State() != TcpPeer::Stangd)
            tcpPeer().Close();
        Tavling::stang(m_g);
    });
}

void MDIfrmHuvudmeny::closeEvent(QCloseEvent* e) {
    // A child window with unsaved input may say no; then the program stays.
    if (!stangAllaBarn()) {
        e->ignore();
        return;
    }
    MDIForm_Unload();
    e->accept();
}

void MDIfrmHuvudmeny::avslutaUtanSvar() {
    // Each window is asked, as Avsluta asks them, and saves what it saves when
    // it closes; what it asks is answered as unanswered. One that would keep
    // the program open even so (a shooter half typed, a field it does not
    // accept) goes without its close, and what it held unsaved with it: the
    // system ends the program anyway, and the competition's lock must not be
    // left behind.
    for (QMdiSubWindow* sub : m_mdi->subWindowList())
        sub->close();
    m_vard.forstorAlla();
    m_tmrSplash.stop();
    if (m_splash)
        m_splash->close();
    MDIForm_Unload();
    hide();
}

void MDIfrmHuvudmeny::mnuAvsluta_Click() {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny.mnuAvsluta "))([&] { close(); });
}

QWidget* MDIfrmHuvudmeny::barnetsAtkomsttangent(int tangent) const {
    const QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub || !sub->widget() || !isActiveWindow())
        return nullptr;
    const QKeySequence sokt(Qt::ALT | Qt::Key(tangent));
    for (QWidget* w : sub->widget()->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        if (auto* knapp = qobject_cast<QAbstractButton*>(w);
            knapp && QKeySequence::mnemonic(knapp->text()) == sokt)
            return knapp;
        if (auto* etikett = qobject_cast<QLabel*>(w);
            etikett && etikett->buddy() && QKeySequence::mnemonic(etikett->text()) == sokt)
            return etikett->buddy();
    }
    return nullptr;
}

bool MDIfrmHuvudmeny::eventFilter(QObject* o, QEvent* e) {
    if (o == m_mdi->viewport() && e->type() == QEvent::MouseButtonPress) {
        stangInformationsfonster();
        return false;
    }
    if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress)
        return false;
    auto* tangent = static_cast<QKeyEvent*>(e);
    if (tangent->modifiers() != Qt::AltModifier || !o->isWidgetType() ||
        static_cast<QWidget*>(o)->window() != this)
        return false;
    QWidget* mal = barnetsAtkomsttangent(tangent->key());
    if (!mal)
        return false;
    if (e->type() == QEvent::ShortcutOverride) {
        // Taken by the child window: the menu bar does not see it, and the key
        // press itself comes here next.
        e->accept();
        return true;
    }
    mal->setFocus(Qt::ShortcutFocusReason);
    if (auto* knapp = qobject_cast<QAbstractButton*>(mal))
        knapp->click();
    return true;
}

// --- The information window ---

QWidget* MDIfrmHuvudmeny::informationsfonster() const {
    return m_vard.fonster(Fonsternamn::Oppnat);
}

void MDIfrmHuvudmeny::stangInformationsfonster() {
    if (QWidget* info = informationsfonster())
        m_vard.stangFonster(info);
}

void MDIfrmHuvudmeny::visaInformationsfonster() {
    // A new one for the competition just opened, not the last one brought forward.
    stangInformationsfonster();
    m_vard.visaFonster(Fonsternamn::Oppnat);
}

// --- Opening and closing ---

void MDIfrmHuvudmeny::visaOppenTavling(bool lagtavling, bool vandringspris) {
    sattMeny(Meny::mnuLag, lagtavling);
    sattMeny(Meny::mnuUtskrift, true);
    kontext().sattMenyer({Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera}, false);
    kontext().sattMenyer({Meny::mnuInskrivning, Meny::mnuInstallningar, Meny::mnuSkrivare, Meny::mnuStang},
                         true);
    setWindowTitle(m_g.strTavlingsnamn);
    sattMeny(Meny::mnuAskadarskarm, !m_g.blnTCPStartFel);
    if (vandringspris) {
        visaMeny(Meny::mnuResVandringsprisPrinter, true);
        visaMeny(Meny::mnuResVandringsprisFil, true);
    }
}

void MDIfrmHuvudmeny::VisaIngenTavling() {
    setWindowTitle(Meddelanden::programtitel());
    kontext().sattMenyer({Meny::mnuNy, Meny::mnuOppna, Meny::mnuImportera}, true);
    kontext().sattMenyer({Meny::mnuStang, Meny::mnuInstallningar, Meny::mnuSkrivare, Meny::mnuInskrivning,
                          Meny::mnuUtskrift, Meny::mnuAskadarskarm},
                         false);
    visaMeny(Meny::mnuResVandringsprisPrinter, false);
    visaMeny(Meny::mnuResVandringsprisFil, false);
}

bool MDIfrmHuvudmeny::OppnaTavling(bool hoppaOver) {
    const Tavling::Oppning o = Tavling::OppnaTavling(m_g, m_m, hoppaOver);
    if (o.utfall != Tavling::Utfall::Oppnad) {
        Tavling::stang(m_g);
        VisaIngenTavling();
        return false;
    }
    if (!hoppaOver)
        visaOppenTavling(o.menyval.lagtavling, o.menyval.vandringspris);
    m_flode.tavlingOppnad();
    if (m_g.blnTCPStartFel)
        sattMeny(Meny::mnuAskadarskarm, false);
    if (!hoppaOver)
        visaInformationsfonster();
    return true;
}

void MDIfrmHuvudmeny::tavlingSkapad() {
    OppnaTavling(true);
    const bool lag = Konvertering::lagtavlingPa(m_g.iniTavling.GetKeyValue(
        Ini::Lagtavling.sektion, Ini::Lagtavling.nyckel, Ini::Lagtavling.standard));
    visaOppenTavling(lag, false);
    Hamta_5_senaste_filer();
    visaInformationsfonster();
}

bool MDIfrmHuvudmeny::stangTavling() {
    if (!stangAllaBarn())
        return false;
    Tavling::stang(m_g);
    VisaIngenTavling();
    return true;
}

void MDIfrmHuvudmeny::mnuOppna_Click() {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny_mnuÖppna_click: "), Meddelanden::Ikon::Ingen, {})([&] {
        const QString start = m_g.iniProgram.GetKeyValue(
            Ini::Tavlingskatalog.sektion, Ini::Tavlingskatalog.nyckel, m_g.programmappMedAvslut());
        const QString fil = m_dialoger.oppnaFil(this, QStringLiteral("Öppna tävling"), start,
                                                QStringLiteral("Tävlingar (*.air)"));
        if (fil.isEmpty())
            return;
        m_g.NollstallTavlingsdata();
        Tavling::sattSokvagar(m_g, QDir::toNativeSeparators(fil));
        m_g.cnnTavling.Close();
        if (!OppnaTavling(false))
            return;
        if (!SenasteFiler::Finns_filnamnet_redan(m_g))
            SenasteFiler::laggForst(m_g, m_m);
        Hamta_5_senaste_filer();
    });
}

void MDIfrmHuvudmeny::mnuFil_Click(int index) {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny.mnuFil_Click "), Meddelanden::Ikon::Ingen, {})([&] {
        // Whatever is open goes first: a new-competition dialog left open would
        // otherwise work on top of the competition opened here.
        if (m_vard.menyPa(Meny::mnuStang) ? !stangTavling() : !stangAllaBarn())
            return;
        const QString sokvag = SenasteFiler::filnamn(m_g, index);
        if (sokvag.isEmpty())
            return;
        // A copy into it that was cut off may have left the name empty;
        // opening ends the copy or takes it back.
        if (!QFileInfo::exists(sokvag) && !Tavling::saknadEfterAvbrutenKopia(sokvag)) {
            m_m.visa(QStringLiteral("Tävlingen finns inte på det ställe du har valt!"),
                     QStringLiteral("Ingen tävling."), Meddelanden::Ikon::Kritisk);
            return;
        }
        m_g.NollstallTavlingsdata();
        Tavling::sattSokvagar(m_g, sokvag);
        m_g.cnnTavling.Close();
        OppnaTavling(false);
    });
}

void MDIfrmHuvudmeny::mnuStang_Click() {
    Felfalla::standard(m_m, objectName(), QStringLiteral("mnuStäng_Click"))([&] { stangTavling(); });
}

void MDIfrmHuvudmeny::Hamta_5_senaste_filer() {
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        const QString sokvag = SenasteFiler::filnamn(m_g, i);
        if (sokvag.isEmpty())
            continue;
        m_vard.sattMenytext(mnuFil(i), SenasteFiler::menytext(i, sokvag));
        visaMeny(mnuFil(i), true);
        visaMeny(Meny::mnuLineFiler, true);
    }
}

// --- Menu commands ---

void MDIfrmHuvudmeny::listkommando(Utskriftsmal mal, const Fonsterid<Utskriftsmal>& lista) {
    m_vard.visaFonster(lista, mal);
}

void MDIfrmHuvudmeny::lagutskrift(Utskriftsmal mal) {
    // Without rounds the printout is made as the window loads; there is nothing
    // left for the window to ask, and the information window would only stand
    // in front of the status window.
    if (!m_g.blnFleraTavlingar)
        stangInformationsfonster();
    if (QWidget* w = m_vard.visaFonster(Fonsternamn::Lagutskrift, mal); w && !m_g.blnFleraTavlingar)
        m_vard.stangFonster(w);
}

void MDIfrmHuvudmeny::vandringsprislista(Utskriftsmal mal) {
    // The builder's declared items are off while it runs; it gives them back
    // itself, the host when it throws.
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny.SkrivVandringsprisLista "))(
        [&] { m_vard.byggLista(Fonsternamn::VandringsprisLista, mal); });
}

void MDIfrmHuvudmeny::mnuNy_Click() {
    m_vard.visaFonster(Fonsternamn::NyTavling);
}

void MDIfrmHuvudmeny::mnuImportera_Click() {
    m_vard.visaDialog(Fonsternamn::ImporteraGuide);
}

void MDIfrmHuvudmeny::mnuExportera_Click() {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny_mnuExportera_click: "), Meddelanden::Ikon::Ingen,
             {})([&] { m_vard.visaDialog(Fonsternamn::ExporteraGuide); });
}

void MDIfrmHuvudmeny::mnuInstallningar_Click() {
    m_vard.visaFonster(Fonsternamn::Installningar);
}

void MDIfrmHuvudmeny::mnuSkrivare_Click() {
    Felfalla(m_m, QStringLiteral("MDIfrmHuvudmeny: mnuSkrivare_click "), Meddelanden::Ikon::Ingen, {})([&] {
        stangInformationsfonster();
        const auto val = m_dialoger.valjKopior(
            this, {m_g.intAntalKopior > 0 ? m_g.intAntalKopior : 1, m_g.strValdSkrivare});
        if (!val)
            return;
        m_g.intAntalKopior = val->antal;
        m_g.strValdSkrivare = val->skrivare;
    });
}

void MDIfrmHuvudmeny::mnuSokSkytt_Click() {
    // The search is a window of its own, modal to this one, that drives the
    // registration window beneath it; it places itself.
    m_vard.visaDialog(Fonsternamn::SokSkytt);
}

void MDIfrmHuvudmeny::mnuInskrivningSkyttar_Click() {
    m_vard.visaFonster(Fonsternamn::InskrivningSkyttar);
}

void MDIfrmHuvudmeny::mnuLag_Click() {
    m_vard.visaFonster(Fonsternamn::LagInskrivning);
}

void MDIfrmHuvudmeny::mnuResultatInskrivning_Click() {
    // A new "&Resultat" starts the picker from the first squad; a cancelled
    // picker opens nothing and leaves the menu as it was.
    m_vard.visaDialog(Fonsternamn::ValjSkjutlag, Skjutlagsbegaran{0});
}

void MDIfrmHuvudmeny::mnuResGrund_Click() {
    m_vard.visaFonster(Fonsternamn::ValResSkarmGrund, Utskriftsmal::Skarm);
}

void MDIfrmHuvudmeny::mnuKonfigAskSkarm_Click() {
    m_vard.visaFonster(Fonsternamn::KonfigAskSkarm);
}

void MDIfrmHuvudmeny::mnuVisaAskSkarm_Click() {
    m_vard.visaFonster(Fonsternamn::VisaAskSkarm);
}

void MDIfrmHuvudmeny::mnuInnehall_Click() {
    const QString fil = hittaFil(m_g.strProgrammapp, QStringLiteral("Hjälp/pilkrona.chm"));
    if (fil.isEmpty()) {
        m_m.visa(QStringLiteral("Hjälpfilen %1 finns inte.").arg(QDir::toNativeSeparators(m_g.strHjalpfil)),
                 QStringLiteral("Hjälp"), Meddelanden::Ikon::Information);
        return;
    }
    if (!m_dialoger.oppnaDokument(fil))
        m_m.visa(QStringLiteral("Det finns inget program som kan visa hjälpfilen %1.").arg(fil),
                 QStringLiteral("Hjälp"), Meddelanden::Ikon::Information);
}

void MDIfrmHuvudmeny::mnuOm_Click() {
    m_vard.visaDialog(Fonsternamn::Om);
}
