#include "shell/MDIfrmHuvudmeny.h"

#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "shell/SenasteFiler.h"
#include "shell/frmSplash.h"
#include "shell/modGlobalt.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>

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

MDIfrmHuvudmeny::MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, QWidget* parent)
    : QMainWindow(parent), m_g(g), m_m(m), m_mdi(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MDIfrmHuvudmeny"));
    setWindowTitle(QStringLiteral("Pilkrona"));
    setCentralWidget(m_mdi);
    byggMenyer();
    m_tmrSplash.setSingleShot(true);
    connect(&m_tmrSplash, &QTimer::timeout, this, &MDIfrmHuvudmeny::tmrSplash_Timer);
    connect(menyval(QStringLiteral("mnuAvsluta")), &QAction::triggered, this, &MDIfrmHuvudmeny::mnuAvsluta_Click);
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

QAction* MDIfrmHuvudmeny::menyval(const QString& kontrollnamn) const { return m_menyval.value(kontrollnamn); }

QAction* MDIfrmHuvudmeny::mnuFil(int index) const { return menyval(QStringLiteral("mnuFil%1").arg(index)); }

void MDIfrmHuvudmeny::MDIForm_Load(frmSplash* splash, int splashTidMs) {
    const QString ikon = hittaFil(m_g.strProgrammapp, QStringLiteral("Grafik/Ikoner/PK.ico"));
    if (ikon.isEmpty())
        m_m.visa(QStringLiteral("MDIfrmHuvudmeny, Form_load: Ikon saknas!"), QStringLiteral("Ikon saknas"),
                 Meddelanden::Ikon::Information);
    else
        setWindowIcon(QIcon(ikon));

    if (m_g.lngAntalSkrivare == 0)
        menyval(QStringLiteral("mnuUtskriftSkrivare"))->setEnabled(false);

    // 15 units to the pixel: the old window measures of 12000 x 8700.
    const QScreen* skarm = QGuiApplication::primaryScreen();
    if (skarm && skarm->size() == QSize(800, 600))
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        resize(12000 / 15, 8700 / 15);

    m_g.strUtskriftsmal = QStringLiteral("Printer");
    Hamta_5_senaste_filer();

    const QString lagsort = m_g.iniProgram.GetKeyValue(Ini::LagsortVal.sektion, Ini::LagsortVal.nyckel,
                                                       Ini::LagsortVal.standard);
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

void MDIfrmHuvudmeny::VisaIngenTavling() {
    setWindowTitle(QStringLiteral("Pilkrona"));
    for (const char* namn : {"mnuNy", "mnuOppna", "mnuImportera"})
        menyval(QString::fromUtf8(namn))->setEnabled(true);
    for (const char* namn : {"mnuStang", "mnuInstallningar", "mnuSkrivare", "mnuInskrivning", "mnuUtskrift",
                             "mnuAskadarskarm"})
        menyval(QString::fromUtf8(namn))->setEnabled(false);
    menyval(QStringLiteral("mnuResVandringsprisPrinter"))->setVisible(false);
    menyval(QStringLiteral("mnuResVandringsprisFil"))->setVisible(false);
}

void MDIfrmHuvudmeny::Hamta_5_senaste_filer() {
    for (int i = 1; i <= Ini::AntalSenasteFiler; ++i) {
        const QString sokvag = m_g.iniProgram.GetKeyValue(Ini::Sektion::Sokvagar, Ini::filnamnNyckel(i), QString());
        if (sokvag.isEmpty())
            continue;
        mnuFil(i)->setText(SenasteFiler::menytext(i, sokvag));
        mnuFil(i)->setVisible(true);
        menyval(QStringLiteral("mnuLineFiler"))->setVisible(true);
    }
}

void MDIfrmHuvudmeny::MDIForm_Unload() {
    if (m_g.cnnTavling.IsOpen())
        m_g.cnnTavling.Close();
}

void MDIfrmHuvudmeny::closeEvent(QCloseEvent* e) {
    MDIForm_Unload();
    e->accept();
}

void MDIfrmHuvudmeny::mnuAvsluta_Click() { close(); }
