#include "shell/MDIfrmHuvudmeny.h"

#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "shell/Fonsternamn.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "shell/frmNyTavling.h"
#include "shell/frmOm.h"
#include "shell/frmOppnat.h"
#include "shell/frmSplash.h"
#include "shell/modGlobalt.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QUrl>

// clang-format off
const Menystart menytrad[] = {
    {1, "mnuArkiv", "&Arkiv", Menystart::Pa},
    {2, "mnuNy", "&Ny Tävling", Menystart::Pa},
    {2, "mnuOppna", "&Öppna Tävling", Menystart::Pa},
    {2, "mnuStang", "&Stäng Tävling", Menystart::Av},
    {2, "mnuLine", "-", Menystart::Pa},
    {2, "mnuImportera", "&Importera", Menystart::Pa},
    {2, "mnuExportera", "&Exportera", Menystart::Pa},
    {2, "mnuLineExpImp", "-", Menystart::Pa},
    {2, "mnuInstallningar", "&Inställningar", Menystart::Av},
    {2, "mnuSkrivare", "&Utskrifts alt.", Menystart::Av},
    {2, "mnuLine2", "-", Menystart::Pa},
    {2, "mnuFil1", "&1", Menystart::Dold},
    {2, "mnuFil2", "&2", Menystart::Dold},
    {2, "mnuFil3", "&3", Menystart::Dold},
    {2, "mnuFil4", "&4", Menystart::Dold},
    {2, "mnuFil5", "&5", Menystart::Dold},
    {2, "mnuLineFiler", "-", Menystart::Dold},
    {2, "mnuAvsluta", "&Avsluta", Menystart::Pa},
    {1, "mnuRedigera", "&Redigera", Menystart::Pa},
    {2, "mnuSokSkytt", "&Sök skytt", Menystart::Av},
    {1, "mnuInskrivning", "&Inskrivning", Menystart::Av},
    {2, "mnuInskrivningSkyttar", "&Skyttar", Menystart::Pa},
    {2, "mnuLag", "&Lag", Menystart::Av},
    {2, "mnuResultatInskrivning", "&Resultat", Menystart::Pa},
    {1, "mnuUtskrift", "&Utskrift", Menystart::Av},
    {2, "mnuUtskriftSkarm", "&Skärm", Menystart::Pa},
    {3, "mnuResVandrings", "&Res Vandringspris", Menystart::Dold},
    {3, "mnuSkjutlagslistaPreview", "&Skjutlagslista(vbagr)", Menystart::Dold},
    {3, "mnuForeningslistaSkarm", "&Föreningslista(Word97)", Menystart::Dold},
    {3, "mnuResGrund", "&Resultat grundomg(vbagrid)", Menystart::Pa},
    {2, "mnuUtskriftSkrivare", "&Skrivare", Menystart::Pa},
    {3, "mnuSkjutlagslista", "&Skjutlagslista(Excel)", Menystart::Pa},
    {3, "mnuForeningslista", "&Föreningslista(Excel)", Menystart::Pa},
    {3, "mnuLagutskrift", "&Lagutskrift(Excel)", Menystart::Pa},
    {3, "mnuResGrundPrinter", "&Resultat grundomg(Excel)", Menystart::Pa},
    {3, "mnuResVandringsprisPrinter", "Resultat &vandringspris (Excel)", Menystart::Dold},
    {2, "mnuUtskriftFil", "&Fil", Menystart::Pa},
    {3, "mnuSkjutlagslistaFil", "&Skjutlagslista(Excel)", Menystart::Pa},
    {3, "mnuForeningslistaFil", "&Föreningslista(Excel)", Menystart::Pa},
    {3, "mnuLagutskriftFil", "&Lagutskrift(Excel)", Menystart::Pa},
    {3, "mnuResGrundFil", "&Resultat grundomg(Excel)", Menystart::Pa},
    {3, "mnuResVandringsprisFil", "Resultat &vandringspris (Excel)", Menystart::Dold},
    {1, "mnuAskadarskarm", "&Åskådarskärm", Menystart::Av},
    {2, "mnuKonfigAskSkarm", "&Konfigurera", Menystart::Pa},
    {2, "mnuVisaAskSkarm", "&Visa", Menystart::Av},
    {1, "mnuHjalp", "&Hjälp", Menystart::Pa},
    {2, "mnuInnehall", "&Innehåll", Menystart::Pa},
    {2, "mnuLineHjalp", "-", Menystart::Pa},
    {2, "mnuOm", "&Om", Menystart::Pa},
};
// clang-format on
const int antalMenyval = int(sizeof(menytrad) / sizeof(menytrad[0]));

MDIfrmHuvudmeny::MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, quint16 tcpPort,
                                 const QHostAddress& tcpAdress, QWidget* parent)
    : QMainWindow(parent), m_g(g), m_m(m), m_tcpPeer(g, tcpPort, tcpAdress), m_mdi(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MDIfrmHuvudmeny"));
    setWindowTitle(QStringLiteral("Pilkrona"));
    setCentralWidget(m_mdi);
    byggMenyer();
    kopplaKommandon();
    m_tmrSplash.setSingleShot(true);
    connect(&m_tmrSplash, &QTimer::timeout, this, &MDIfrmHuvudmeny::tmrSplash_Timer);

    valjTavlingsfil = [this](const QString& startmapp) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Öppna tävling"), startmapp,
                                            QStringLiteral("Tävlingar (*.air)"));
    };
    valjKopior = [this]() -> std::optional<std::pair<int, QString>> {
        QPrinter skrivare;
        skrivare.setCopyCount(m_g.intAntalKopior > 0 ? m_g.intAntalKopior : 1);
        if (!m_g.strValdSkrivare.isEmpty())
            skrivare.setPrinterName(m_g.strValdSkrivare);
        QPrintDialog dialog(&skrivare, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return std::make_pair(skrivare.copyCount(), skrivare.printerName());
    };
    oppnaHjalpfil = [](const QString& fil) { return QDesktopServices::openUrl(QUrl::fromLocalFile(fil)); };

    registreraFonster(Fonsternamn::NyTavling, [](MDIfrmHuvudmeny& h) { return new frmNyTavling(h); });
    registreraDialog(Fonsternamn::Om, [](MDIfrmHuvudmeny& h) {
        frmOm om(h.globalt().strProgrammapp, h.meddelanden(), &h);
        return om.exec() == QDialog::Accepted;
    });
}

MDIfrmHuvudmeny::~MDIfrmHuvudmeny() = default;

void MDIfrmHuvudmeny::byggMenyer() {
    QMenu* menyer[4] = {nullptr, nullptr, nullptr, nullptr};
    for (int i = 0; i < antalMenyval; ++i) {
        const Menystart& post = menytrad[i];
        const QString namn = QString::fromUtf8(post.kontroll);
        const QString text = QString::fromUtf8(post.text);
        const bool harUndermeny = i + 1 < antalMenyval && menytrad[i + 1].niva > post.niva;
        QAction* a = nullptr;
        if (harUndermeny) {
            QMenu* meny = post.niva == 1 ? menuBar()->addMenu(text) : menyer[post.niva - 1]->addMenu(text);
            meny->setObjectName(namn + QStringLiteral("_meny"));
            menyer[post.niva] = meny;
            a = meny->menuAction();
        } else if (text == QLatin1String("-")) {
            a = menyer[post.niva - 1]->addSeparator();
        } else {
            a = menyer[post.niva - 1]->addAction(text);
        }
        a->setObjectName(namn);
        a->setEnabled(post.lage != Menystart::Av);
        a->setVisible(post.lage != Menystart::Dold);
        m_menyval.insert(namn, a);
    }
    menyval(QStringLiteral("mnuInnehall"))->setShortcut(QKeySequence(Qt::Key_F1));
}

void MDIfrmHuvudmeny::kopplaKommandon() {
    auto koppla = [this](const char* namn, auto slot) {
        connect(menyval(QString::fromLatin1(namn)), &QAction::triggered, this, slot);
    };
    koppla("mnuNy", &MDIfrmHuvudmeny::mnuNy_Click);
    koppla("mnuOppna", &MDIfrmHuvudmeny::mnuOppna_Click);
    koppla("mnuStang", &MDIfrmHuvudmeny::mnuStang_Click);
    koppla("mnuImportera", &MDIfrmHuvudmeny::mnuImportera_Click);
    koppla("mnuExportera", &MDIfrmHuvudmeny::mnuExportera_Click);
    koppla("mnuInstallningar", &MDIfrmHuvudmeny::mnuInstallningar_Click);
    koppla("mnuSkrivare", &MDIfrmHuvudmeny::mnuSkrivare_Click);
    koppla("mnuAvsluta", &MDIfrmHuvudmeny::mnuAvsluta_Click);
    koppla("mnuSokSkytt", &MDIfrmHuvudmeny::mnuSokSkytt_Click);
    koppla("mnuInskrivningSkyttar", &MDIfrmHuvudmeny::mnuInskrivningSkyttar_Click);
    koppla("mnuLag", &MDIfrmHuvudmeny::mnuLag_Click);
    koppla("mnuResultatInskrivning", &MDIfrmHuvudmeny::mnuResultatInskrivning_Click);
    koppla("mnuResGrund", &MDIfrmHuvudmeny::mnuResGrund_Click);
    koppla("mnuKonfigAskSkarm", &MDIfrmHuvudmeny::mnuKonfigAskSkarm_Click);
    koppla("mnuVisaAskSkarm", &MDIfrmHuvudmeny::mnuVisaAskSkarm_Click);
    koppla("mnuInnehall", &MDIfrmHuvudmeny::mnuInnehall_Click);
    koppla("mnuOm", &MDIfrmHuvudmeny::mnuOm_Click);
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i)
        connect(mnuFil(i), &QAction::triggered, this, [this, i] { mnuFil_Click(i); });

    const QString printer = QStringLiteral("Printer"), fil = QStringLiteral("Fil");
    struct Lista {
        const char* skrivare;
        const char* fil;
        const QString& fonster;
    };
    for (const Lista& l : {Lista{"mnuSkjutlagslista", "mnuSkjutlagslistaFil", Fonsternamn::UtskriftSkjutlag},
                           Lista{"mnuForeningslista", "mnuForeningslistaFil", Fonsternamn::Foreningsutskrift},
                           Lista{"mnuResGrundPrinter", "mnuResGrundFil", Fonsternamn::ValResSkarmGrund}}) {
        const QString fonster = l.fonster;
        connect(menyval(QString::fromLatin1(l.skrivare)), &QAction::triggered, this,
                [this, printer, fonster] { listkommando(printer, fonster); });
        connect(menyval(QString::fromLatin1(l.fil)), &QAction::triggered, this,
                [this, fil, fonster] { listkommando(fil, fonster); });
    }
    connect(menyval(QStringLiteral("mnuLagutskrift")), &QAction::triggered, this,
            [this, printer] { lagutskrift(printer); });
    connect(menyval(QStringLiteral("mnuLagutskriftFil")), &QAction::triggered, this,
            [this, fil] { lagutskrift(fil); });
    connect(menyval(QStringLiteral("mnuResVandringsprisPrinter")), &QAction::triggered, this,
            [this, printer] { vandringsprislista(printer); });
    connect(menyval(QStringLiteral("mnuResVandringsprisFil")), &QAction::triggered, this,
            [this, fil] { vandringsprislista(fil); });
}

QAction* MDIfrmHuvudmeny::menyval(const QString& kontrollnamn) const {
    return m_menyval.value(kontrollnamn);
}

void MDIfrmHuvudmeny::satt(const QString& kontrollnamn, bool pa) const {
    if (QAction* a = menyval(kontrollnamn))
        a->setEnabled(pa);
}

QAction* MDIfrmHuvudmeny::mnuFil(int index) const {
    return menyval(QStringLiteral("mnuFil%1").arg(index));
}

void MDIfrmHuvudmeny::MDIForm_Load(frmSplash* splash, int splashTidMs) {
    const QString ikon = hittaFil(m_g.strProgrammapp, QStringLiteral("Grafik/Ikoner/PK.ico"));
    if (ikon.isEmpty())
        m_m.visa(QStringLiteral("MDIfrmHuvudmeny, Form_load: Ikon saknas!"), QStringLiteral("Ikon saknas"),
                 Meddelanden::Ikon::Information);
    else
        setWindowIcon(QIcon(ikon));

    if (m_g.lngAntalSkrivare == 0)
        satt(QStringLiteral("mnuUtskriftSkrivare"), false);

    const QScreen* skarm = QGuiApplication::primaryScreen();
    if (skarm && skarm->size() == QSize(800, 600))
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        resize(twips(12000), twips(8700));

    m_g.strUtskriftsmal = QStringLiteral("Printer");
    Hamta_5_senaste_filer();

    const QString lagsort =
        m_g.iniProgram.GetKeyValue(Ini::LagsortVal.sektion, Ini::LagsortVal.nyckel, Ini::LagsortVal.standard);
    if (!Konvertering::lagsortValPa(lagsort))
        m_g.iniProgram.WriteKey(Ini::LagsortVal.sektion, Ini::LagsortVal.nyckel, QStringLiteral("False"));

    m_g.cnnTavling.Close();

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
    if (m_splash) {
        m_splash->close();
        m_splash = nullptr;
    }
    m_tmrSplash.stop();
}

// --- Child windows ---

void MDIfrmHuvudmeny::registreraFonster(const QString& namn, Fonsterfabrik fabrik) {
    m_fabriker.insert(namn, std::move(fabrik));
}

void MDIfrmHuvudmeny::registreraDialog(const QString& namn, Dialogfabrik fabrik) {
    m_dialoger.insert(namn, std::move(fabrik));
}

QWidget* MDIfrmHuvudmeny::fonster(const QString& namn) const {
    // A closed window is gone, even before its frame has been deleted.
    const QPointer<QMdiSubWindow> sub = m_barn.value(namn);
    return sub && !sub->isHidden() ? sub->widget() : nullptr;
}

QWidget* MDIfrmHuvudmeny::visaFonster(const QString& namn, std::optional<QPoint> placeringTwips) {
    if (QWidget* finns = fonster(namn)) {
        m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(finns->parentWidget()));
        return finns;
    }
    const auto fabrik = m_fabriker.constFind(namn);
    if (fabrik == m_fabriker.constEnd())
        return nullptr;
    QWidget* w = (*fabrik)(*this);
    if (!w)
        return nullptr;
    QMdiSubWindow* sub = m_mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(namn + QStringLiteral("_ram"));
    m_barn.insert(namn, sub);
    if (placeringTwips)
        sub->move(twips(placeringTwips->x()), twips(placeringTwips->y()));
    sub->show();
    return w;
}

bool MDIfrmHuvudmeny::stangBarn(QWidget* w) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        return sub->close();
    return w->close();
}

bool MDIfrmHuvudmeny::stangAllaBarn() {
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (!sub->close()) {
            m_mdi->setActiveSubWindow(sub);
            sub->raise();
            return false;
        }
    }
    return true;
}

frmOppnat* MDIfrmHuvudmeny::informationsfonster() const {
    return m_oppnat && !m_oppnat->isHidden() ? qobject_cast<frmOppnat*>(m_oppnat->widget()) : nullptr;
}

void MDIfrmHuvudmeny::visaInformationsfonster() {
    if (m_oppnat)
        m_oppnat->close();
    auto* info = new frmOppnat(m_g, m_m);
    QMdiSubWindow* sub = m_mdi->addSubWindow(info, Qt::Dialog | Qt::WindowTitleHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QStringLiteral("frmOppnat_ram"));
    sub->setGeometry(twips(4000), twips(2800), twips(3975), twips(2310));
    m_oppnat = sub;
    // It goes away as soon as something else gets the operator's attention.
    connect(sub, &QMdiSubWindow::windowStateChanged, sub, [sub](Qt::WindowStates fore, Qt::WindowStates nu) {
        if ((fore & Qt::WindowActive) && !(nu & Qt::WindowActive))
            sub->close();
    });
    sub->show();
}

// --- Opening and closing ---

void MDIfrmHuvudmeny::visaOppenTavling(bool lagtavling, bool vandringspris) {
    satt(QStringLiteral("mnuLag"), lagtavling);
    satt(QStringLiteral("mnuUtskrift"), true);
    for (const char* namn : {"mnuNy", "mnuOppna", "mnuImportera"})
        satt(QString::fromLatin1(namn), false);
    for (const char* namn : {"mnuInskrivning", "mnuInstallningar", "mnuSkrivare", "mnuStang"})
        satt(QString::fromLatin1(namn), true);
    setWindowTitle(m_g.strTavlingsnamn);
    satt(QStringLiteral("mnuAskadarskarm"), !m_g.blnTCPStartFel);
    if (vandringspris) {
        menyval(QStringLiteral("mnuResVandringsprisPrinter"))->setVisible(true);
        menyval(QStringLiteral("mnuResVandringsprisFil"))->setVisible(true);
    }
}

void MDIfrmHuvudmeny::VisaIngenTavling() {
    setWindowTitle(QStringLiteral("Pilkrona"));
    for (const char* namn : {"mnuNy", "mnuOppna", "mnuImportera"})
        satt(QString::fromLatin1(namn), true);
    for (const char* namn :
         {"mnuStang", "mnuInstallningar", "mnuSkrivare", "mnuInskrivning", "mnuUtskrift", "mnuAskadarskarm"})
        satt(QString::fromLatin1(namn), false);
    menyval(QStringLiteral("mnuResVandringsprisPrinter"))->setVisible(false);
    menyval(QStringLiteral("mnuResVandringsprisFil"))->setVisible(false);
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
    m_tcpPeer.Starta_winsock_tcp(m_m);
    if (m_g.blnTCPStartFel)
        satt(QStringLiteral("mnuAskadarskarm"), false);
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
    const QString start = m_g.iniProgram.GetKeyValue(Ini::Tavlingskatalog.sektion,
                                                     Ini::Tavlingskatalog.nyckel, m_g.programmappMedAvslut());
    const QString fil = valjTavlingsfil ? valjTavlingsfil(start) : QString();
    if (fil.isEmpty())
        return;
    m_g.NollstallTavlingsdata();
    Tavling::sattSokvagar(m_g, QDir::toNativeSeparators(fil));
    m_g.cnnTavling.Close();
    if (!OppnaTavling(false))
        return;
    if (!SenasteFiler::Finns_filnamnet_redan(m_g)) {
        SenasteFiler::laggForst(m_g);
        Hamta_5_senaste_filer();
    }
}

void MDIfrmHuvudmeny::mnuFil_Click(int index) {
    // Whatever is open goes first: a new-competition dialog left open would
    // otherwise work on top of the competition opened here.
    if (menyval(QStringLiteral("mnuStang"))->isEnabled() ? !stangTavling() : !stangAllaBarn())
        return;
    const QString sokvag =
        m_g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(index), QString());
    if (sokvag.isEmpty())
        return;
    if (!QFileInfo::exists(sokvag)) {
        m_m.visa(QStringLiteral("Tävlingen finns inte på det ställe du har valt!"),
                 QStringLiteral("Ingen tävling."), Meddelanden::Ikon::Kritisk);
        return;
    }
    m_g.NollstallTavlingsdata();
    Tavling::sattSokvagar(m_g, sokvag);
    m_g.cnnTavling.Close();
    OppnaTavling(false);
}

void MDIfrmHuvudmeny::mnuStang_Click() {
    stangTavling();
}

void MDIfrmHuvudmeny::Hamta_5_senaste_filer() {
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        const QString sokvag =
            m_g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), QString());
        if (sokvag.isEmpty())
            continue;
        mnuFil(i)->setText(SenasteFiler::menytext(i, sokvag));
        mnuFil(i)->setVisible(true);
        menyval(QStringLiteral("mnuLineFiler"))->setVisible(true);
    }
}

// --- Menu commands ---

bool MDIfrmHuvudmeny::excelFinns() {
    if (!m_g.blnExcelSaknas)
        return true;
    m_m.visa(QStringLiteral("Du har inte Microsoft Excel installerat!"), QStringLiteral("Inget Excel"),
             Meddelanden::Ikon::Kritisk);
    return false;
}

void MDIfrmHuvudmeny::listkommando(const QString& mal, const QString& fonsternamn) {
    if (!excelFinns())
        return;
    m_g.strUtskriftsmal = mal;
    if (QWidget* w = visaFonster(fonsternamn))
        w->setWindowState(Qt::WindowNoState);
}

void MDIfrmHuvudmeny::lagutskrift(const QString& mal) {
    if (!excelFinns())
        return;
    m_g.strUtskriftsmal = mal;
    // Without rounds the printout is made as the window loads; there is nothing
    // left for the window to ask.
    if (QWidget* w = visaFonster(Fonsternamn::Lagutskrift); w && !m_g.blnFleraTavlingar)
        stangBarn(w);
}

void MDIfrmHuvudmeny::vandringsprislista(const QString& mal) {
    if (!excelFinns())
        return;
    m_g.strUtskriftsmal = mal;
    satt(QStringLiteral("mnuInskrivning"), false);
    satt(QStringLiteral("mnuUtskrift"), false);
    if (SkrivVandringsprisLista) {
        SkrivVandringsprisLista();
        return;
    }
    satt(QStringLiteral("mnuInskrivning"), true);
    satt(QStringLiteral("mnuUtskrift"), true);
}

void MDIfrmHuvudmeny::mnuNy_Click() {
    if (!visaFonster(Fonsternamn::NyTavling))
        return;
    for (const char* namn : {"mnuNy", "mnuOppna", "mnuImportera", "mnuStang"})
        satt(QString::fromLatin1(namn), false);
}

void MDIfrmHuvudmeny::mnuImportera_Click() {
    if (const auto d = m_dialoger.constFind(Fonsternamn::ImporteraGuide); d != m_dialoger.constEnd())
        (*d)(*this);
}

void MDIfrmHuvudmeny::mnuExportera_Click() {
    if (const auto d = m_dialoger.constFind(Fonsternamn::ExporteraGuide); d != m_dialoger.constEnd())
        (*d)(*this);
}

void MDIfrmHuvudmeny::mnuInstallningar_Click() {
    visaFonster(Fonsternamn::Installningar);
}

void MDIfrmHuvudmeny::mnuSkrivare_Click() {
    if (m_oppnat)
        m_oppnat->close();
    const auto val = valjKopior ? valjKopior() : std::nullopt;
    if (!val)
        return;
    m_g.intAntalKopior = val->first;
    m_g.strValdSkrivare = val->second;
}

void MDIfrmHuvudmeny::mnuSokSkytt_Click() {
    visaFonster(Fonsternamn::SokSkytt, QPoint(3400, 300));
}

void MDIfrmHuvudmeny::mnuInskrivningSkyttar_Click() {
    if (!m_fabriker.contains(Fonsternamn::InskrivningSkyttar))
        return;
    satt(QStringLiteral("mnuUtskrift"), false);
    satt(QStringLiteral("mnuSokSkytt"), true);
    satt(QStringLiteral("mnuKonfigAskSkarm"), false);
    satt(QStringLiteral("mnuVisaAskSkarm"), false);
    visaFonster(Fonsternamn::InskrivningSkyttar, std::nullopt);
}

void MDIfrmHuvudmeny::mnuLag_Click() {
    if (!m_fabriker.contains(Fonsternamn::LagInskrivning))
        return;
    satt(QStringLiteral("mnuUtskrift"), false);
    visaFonster(Fonsternamn::LagInskrivning);
}

void MDIfrmHuvudmeny::mnuResultatInskrivning_Click() {
    m_g.intValtSkjutlag = 0;
    satt(QStringLiteral("mnuUtskrift"), false);
    satt(QStringLiteral("mnuKonfigAskSkarm"), false);
    satt(QStringLiteral("mnuVisaAskSkarm"), false);
    const auto picker = m_dialoger.constFind(Fonsternamn::ValjSkjutlag);
    const bool vald = picker != m_dialoger.constEnd() && (*picker)(*this);
    if (vald)
        return;
    // A cancelled picker opened no result entry, so nothing will give these back.
    satt(QStringLiteral("mnuUtskrift"), true);
    satt(QStringLiteral("mnuKonfigAskSkarm"), true);
    satt(QStringLiteral("mnuVisaAskSkarm"), m_tcpPeer.State() == TcpPeer::Ansluten);
}

void MDIfrmHuvudmeny::mnuResGrund_Click() {
    m_g.strUtskriftsmal = QStringLiteral("Skärm");
    visaFonster(Fonsternamn::ValResSkarmGrund);
}

void MDIfrmHuvudmeny::mnuKonfigAskSkarm_Click() {
    visaFonster(Fonsternamn::KonfigAskSkarm);
}

void MDIfrmHuvudmeny::mnuVisaAskSkarm_Click() {
    if (!m_fabriker.contains(Fonsternamn::VisaAskSkarm))
        return;
    satt(QStringLiteral("mnuKonfigAskSkarm"), false);
    if (QWidget* w = visaFonster(Fonsternamn::VisaAskSkarm))
        w->parentWidget()->resize(twips(3525), twips(5115));
}

void MDIfrmHuvudmeny::mnuInnehall_Click() {
    const QString fil = hittaFil(m_g.strProgrammapp, QStringLiteral("Hjälp/pilkrona.chm"));
    if (fil.isEmpty()) {
        m_m.visa(QStringLiteral("Hjälpfilen %1 finns inte.").arg(QDir::toNativeSeparators(m_g.strHjalpfil)),
                 QStringLiteral("Hjälp"), Meddelanden::Ikon::Information);
        return;
    }
    if (!oppnaHjalpfil || !oppnaHjalpfil(fil))
        m_m.visa(QStringLiteral("Det finns inget program som kan visa hjälpfilen %1.").arg(fil),
                 QStringLiteral("Hjälp"), Meddelanden::Ikon::Information);
}

void MDIfrmHuvudmeny::mnuOm_Click() {
    if (const auto d = m_dialoger.constFind(Fonsternamn::Om); d != m_dialoger.constEnd())
        (*d)(*this);
}

void MDIfrmHuvudmeny::MDIForm_Unload() {
    if (m_tcpPeer.State() != TcpPeer::Stangd)
        m_tcpPeer.Close();
    if (m_g.cnnTavling.IsOpen())
        m_g.cnnTavling.Close();
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

void MDIfrmHuvudmeny::mnuAvsluta_Click() {
    close();
}
