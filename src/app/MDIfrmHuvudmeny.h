#pragma once

#include "common/Poster.h"
#include "shell/Formkontext.h"
#include "shell/Meny.h"
#include "spectator/Askadarflode.h"

#include <QHash>
#include <QHostAddress>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class Meddelanden;
class modGlobalt;
class frmSplash;
class frmOppnat;

// The main window: a multi-document parent with the program's menu tree. It is
// the host of every child window (it implements the form context's menu and
// window side) and the register in which each part of the program files its
// windows by their form names; it knows none of their classes.
class MDIfrmHuvudmeny : public QMainWindow, public Fonstervard, public Fonsterregister {
    Q_OBJECT
public:
    static constexpr int SplashTidMs = 2500;
    // 15 twips to the pixel: the window measures and placements of the program.
    static constexpr int twips(int t) { return t / 15; }

    // The program's main window, over the program's one spectator feed.
    MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger, Askadarflode& flode,
                    QWidget* parent = nullptr);
    // A main window with a spectator feed of its own, for tests: its port and
    // address are parameters so that tests keep to loopback and a free port.
    MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger,
                    quint16 tcpPort = TcpPeer::StandardPort,
                    const QHostAddress& tcpAdress = QHostAddress::Any, QWidget* parent = nullptr);
    ~MDIfrmHuvudmeny() override;

    // The load of the window: icon, printer menu, size, output kind, recent list,
    // LagsortVal. The window stays hidden until the splash timer fires.
    void MDIForm_Load(frmSplash* splash = nullptr, int splashTidMs = SplashTidMs);

    Formkontext& kontext() { return m_kontext; }
    QAction* menyval(Meny meny) const { return m_menyval[size_t(meny)]; }
    QMdiArea* mdiYta() const { return m_mdi; }
    QTimer& tmrSplash() { return m_tmrSplash; }
    // The spectator feed and its link to the display: listening from the first
    // opening of a competition until the program ends, whatever is closed in
    // between.
    Askadarflode& askadarflode() { return m_flode; }
    TcpPeer& tcpPeer() { return m_flode.tcpPeer(); }

    // --- Fonstervard ---
    void sattMeny(Meny meny, bool pa) override;
    bool menyPa(Meny meny) const override;
    void visaMeny(Meny meny, bool synlig) override;
    bool menySynlig(Meny meny) const override;
    QWidget* visaFonster(const QString& namn, std::optional<QPoint> placeringTwips = QPoint(10, 10)) override;
    QWidget* fonster(const QString& namn) const override;
    bool stangFonster(QWidget* fonster) override;
    void tavlingSkapad() override;
    QWidget* dialogforalder() const override { return const_cast<MDIfrmHuvudmeny*>(this); }
    bool askadarskarmAnsluten() const override { return m_flode.ansluten(); }

    // --- Fonsterregister ---
    void registreraFonster(const QString& namn, Fonsterfabrik fabrik, Menylagen menylagen = {}) override;
    void registreraDialog(const QString& namn, Dialogfabrik fabrik) override;
    void registreraListbyggare(const QString& namn, Listbyggare byggare) override;

    // Asks every child window to close; false when one refused (it is brought to
    // the front).
    bool stangAllaBarn();

    // --- Opening and closing ---
    // Opens the competition whose paths are in the state. False when it was
    // refused or failed; the program is then in the no-competition state.
    bool OppnaTavling(bool hoppaOver);
    void VisaIngenTavling();
    // Closes the open competition; false when a child window refused to close.
    bool stangTavling();
    // Fills the recent-competitions items from the program INI.
    void Hamta_5_senaste_filer();

    frmOppnat* informationsfonster() const;

public slots:
    void mnuNy_Click();
    void mnuOppna_Click();
    void mnuStang_Click();
    void mnuFil_Click(int index);
    void mnuImportera_Click();
    void mnuExportera_Click();
    void mnuInstallningar_Click();
    void mnuSkrivare_Click();
    void mnuSokSkytt_Click();
    void mnuInskrivningSkyttar_Click();
    void mnuLag_Click();
    void mnuResultatInskrivning_Click();
    void mnuResGrund_Click();
    void mnuInnehall_Click();
    void mnuOm_Click();
    void mnuKonfigAskSkarm_Click();
    void mnuVisaAskSkarm_Click();
    void mnuAvsluta_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private slots:
    void tmrSplash_Timer();

private:
    MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger,
                    std::unique_ptr<Askadarflode> egetFlode, Askadarflode* flode, QWidget* parent);

    struct Registrerat {
        Fonsterfabrik fabrik;
        Menylagen menylagen;
    };

    void byggMenyer();
    void kopplaKommandon();
    // The menu states of an open competition, after its settings were loaded or
    // it was created.
    void visaOppenTavling(bool lagtavling, bool vandringspris);
    // The refusal when no spreadsheet engine is at hand; false when refused.
    bool excelFinns();
    void listkommando(Utskriftsmal mal, const QString& fonsternamn);
    void lagutskrift(Utskriftsmal mal);
    void vandringsprislista(Utskriftsmal mal);
    bool visaDialog(const QString& namn);
    void visaInformationsfonster();
    void stangInformationsfonster();
    void barnAktiverat(QMdiSubWindow* sub);
    // An Alt+letter that a button or field of the active child window carries.
    QWidget* barnetsAtkomsttangent(int tangent) const;
    void MDIForm_Unload();

    modGlobalt& m_g;
    Meddelanden& m_m;
    Plattformsdialoger& m_dialoger;
    Formkontext m_kontext;
    std::unique_ptr<Askadarflode> m_egetFlode;
    Askadarflode& m_flode;
    QMdiArea* m_mdi;
    std::array<QAction*, AntalMenyval> m_menyval{};
    QHash<QString, Registrerat> m_fonster;
    QHash<QString, Dialogfabrik> m_dialogfabriker;
    QHash<QString, Listbyggare> m_listbyggare;
    QHash<QString, QPointer<QMdiSubWindow>> m_barn;
    QPointer<QMdiSubWindow> m_oppnat;
    QPointer<QMdiSubWindow> m_senastAktiva;
    QTimer m_tmrSplash;
    QPointer<frmSplash> m_splash;
    bool m_laddadForut = false;
};
