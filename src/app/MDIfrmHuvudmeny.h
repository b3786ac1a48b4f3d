#pragma once

#include "common/Poster.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Meny.h"
#include "shell/Programdelar.h"
#include "shell/Twips.h"
#include "spectator/Askadarflode.h"

#include <QHostAddress>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class Meddelanden;
class modGlobalt;
class frmSplash;

// The main window: a multi-document parent with the program's menu tree. Its
// window host (over the MDI area) holds the register in which each part of the
// program files its windows by their form names, the menu items and the open
// child windows; the main window knows none of their classes.
class MDIfrmHuvudmeny : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int SplashTidMs = 2500;
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

    Fonstervard& vard() { return m_vard; }
    // What the parts of the program register their windows with.
    Programdelar programdelar() { return {m_vard, m_flode}; }
    Formkontext& kontext() { return m_vard.kontext(); }
    QAction* menyval(Meny meny) const { return m_vard.menyval(meny); }
    QMdiArea* mdiYta() const { return m_mdi; }
    QTimer& tmrSplash() { return m_tmrSplash; }
    // The spectator feed and its link to the display: listening from the first
    // opening of a competition until the program ends, whatever is closed in
    // between.
    Askadarflode& askadarflode() { return m_flode; }
    TcpPeer& tcpPeer() { return m_flode.tcpPeer(); }

    // Asks every child window to close; false when one refused (it is brought to
    // the front).
    bool stangAllaBarn() { return m_vard.stangAlla(); }
    // Closes the program as Avsluta does when nobody is there to answer (told
    // to end by the system): a window that would keep it open goes even so.
    void avslutaUtanSvar();

    // --- Opening and closing ---
    // Opens the competition whose paths are in the state. False when it was
    // refused or failed; the program is then in the no-competition state.
    bool OppnaTavling(bool hoppaOver);
    void VisaIngenTavling();
    // Closes the open competition; false when a child window refused to close.
    bool stangTavling();
    // Fills the recent-competitions items from the program INI.
    void Hamta_5_senaste_filer();
    // A competition has just been created and is open in the state: this window
    // takes it over as the open competition (listener, menus, recent list,
    // information window).
    void tavlingSkapad();

    // The note on the opened competition while it is up, or null.
    QWidget* informationsfonster() const;

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

    void byggMenyer();
    void kopplaKommandon();
    // The menu states of an open competition, after its settings were loaded or
    // it was created.
    void visaOppenTavling(bool lagtavling, bool vandringspris);
    void listkommando(Utskriftsmal mal, const Fonsterid<Utskriftsmal>& lista);
    void lagutskrift(Utskriftsmal mal);
    void vandringsprislista(Utskriftsmal mal);
    void sattMeny(Meny meny, bool pa) { m_vard.sattMeny(meny, pa); }
    void visaMeny(Meny meny, bool synlig) { m_vard.visaMeny(meny, synlig); }
    void visaInformationsfonster();
    void stangInformationsfonster();
    // An Alt+letter that a button or field of the active child window carries.
    QWidget* barnetsAtkomsttangent(int tangent) const;
    void MDIForm_Unload();

    modGlobalt& m_g;
    Meddelanden& m_m;
    Plattformsdialoger& m_dialoger;
    std::unique_ptr<Askadarflode> m_egetFlode;
    Askadarflode& m_flode;
    QMdiArea* m_mdi;
    Fonstervard m_vard;
    QTimer m_tmrSplash;
    QPointer<frmSplash> m_splash;
    bool m_laddadForut = false;
};
