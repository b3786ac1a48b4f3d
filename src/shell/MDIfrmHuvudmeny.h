#pragma once

#include "spectator/TcpPeer.h"

#include <QHash>
#include <QHostAddress>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class Meddelanden;
class modGlobalt;
class frmSplash;
class frmOppnat;

// The main window: a multi-document parent with the program's menu tree. Menu
// items are found by their control names (menyval("mnuStang")) so that child
// windows and tests can switch and check them.
class MDIfrmHuvudmeny : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int SplashTidMs = 2500;
    // 15 twips to the pixel: the old window measures and placements.
    static constexpr int twips(int t) { return t / 15; }

    // The spectator listener's port and address are parameters so that tests keep
    // to loopback and a free port.
    MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, quint16 tcpPort = TcpPeer::StandardPort,
                    const QHostAddress& tcpAdress = QHostAddress::Any, QWidget* parent = nullptr);
    ~MDIfrmHuvudmeny() override;

    // The load of the window: icon, printer menu, size, output kind, recent list,
    // LagsortVal. The window stays hidden until the splash timer fires.
    void MDIForm_Load(frmSplash* splash = nullptr, int splashTidMs = SplashTidMs);

    QAction* menyval(const QString& kontrollnamn) const;
    void satt(const QString& kontrollnamn, bool pa) const;
    // Items 1..5 of the recent-competitions list.
    QAction* mnuFil(int index) const;
    QMdiArea* mdiYta() const { return m_mdi; }
    QTimer& tmrSplash() { return m_tmrSplash; }
    modGlobalt& globalt() { return m_g; }
    Meddelanden& meddelanden() { return m_m; }

    // --- Child windows ---
    // The windows of the program's tasks are made by factories that the parts of
    // the program register under the window's name; a command whose window is not
    // registered does only its own part.
    using Fonsterfabrik = std::function<QWidget*(MDIfrmHuvudmeny&)>;
    using Dialogfabrik = std::function<bool(MDIfrmHuvudmeny&)>; // modal; true = accepted
    void registreraFonster(const QString& namn, Fonsterfabrik fabrik);
    void registreraDialog(const QString& namn, Dialogfabrik fabrik);
    // Shows the single instance of a child window, placed at (vanster, topp)
    // twips inside the main window when given. Null when none is registered.
    QWidget* visaFonster(const QString& namn, std::optional<QPoint> placeringTwips = QPoint(10, 10));
    QWidget* fonster(const QString& namn) const;
    // Closes a child window together with the frame that the main window gave it.
    static bool stangBarn(QWidget* w);
    // Asks every child window to close; false when one refused (it is brought to
    // the front).
    bool stangAllaBarn();

    // --- Opening and closing ---
    // The open dialog; tests replace it. Returns the chosen file or "" on cancel.
    std::function<QString(const QString& startmapp)> valjTavlingsfil;
    // The copies dialog; tests replace it. Copies and printer name, or nothing.
    std::function<std::optional<std::pair<int, QString>>()> valjKopior;
    // Opens the help file with the desktop's handler; tests replace it.
    std::function<bool(const QString& fil)> oppnaHjalpfil;
    // The link to the spectator display: listening from the first opening of a
    // competition until the program ends, whatever is closed in between.
    TcpPeer& tcpPeer() { return m_tcpPeer; }
    // Builds the challenge-prize list; it enables mnuInskrivning and mnuUtskrift
    // again when it ends.
    std::function<void()> SkrivVandringsprisLista;

    // Opens the competition whose paths are in the state. False when it was
    // refused or failed; the program is then in the no-competition state.
    bool OppnaTavling(bool hoppaOver);
    // The menus of an open competition, after settings were loaded or a
    // competition was created.
    void visaOppenTavling(bool lagtavling, bool vandringspris);
    void VisaIngenTavling();
    // Closes the open competition; false when a child window refused to close.
    bool stangTavling();

    // After a competition was created: opens it as the open competition.
    void tavlingSkapad();

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

private slots:
    void tmrSplash_Timer();

private:
    void byggMenyer();
    void kopplaKommandon();
    // The refusal when no spreadsheet engine is at hand; false when refused.
    bool excelFinns();
    void listkommando(const QString& mal, const QString& fonsternamn);
    void lagutskrift(const QString& mal);
    void vandringsprislista(const QString& mal);
    void visaInformationsfonster();
    void MDIForm_Unload();

    modGlobalt& m_g;
    Meddelanden& m_m;
    TcpPeer m_tcpPeer;
    QMdiArea* m_mdi;
    QHash<QString, QAction*> m_menyval;
    QHash<QString, Fonsterfabrik> m_fabriker;
    QHash<QString, Dialogfabrik> m_dialoger;
    QHash<QString, QPointer<QMdiSubWindow>> m_barn;
    QPointer<QMdiSubWindow> m_oppnat;
    QTimer m_tmrSplash;
    frmSplash* m_splash = nullptr;
    bool m_laddadForut = false;
};

// The state every menu item has before a competition is opened.
struct Menystart {
    int niva;
    const char* kontroll;
    const char* text; // "-" for a separator
    enum Lage { Pa, Av, Dold } lage;
};
// The menu tree in display order.
extern const Menystart menytrad[];
extern const int antalMenyval;
