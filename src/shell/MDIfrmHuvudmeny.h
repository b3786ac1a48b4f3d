#pragma once

#include <QHash>
#include <QMainWindow>
#include <QTimer>

class QAction;
class QMdiArea;
class QMenu;
class Meddelanden;
class modGlobalt;
class frmSplash;

// The main window: a multi-document parent with the program's menu tree. Menu
// items are found by their control names (menyval("mnuStang")) so that child
// windows and tests can switch and check them.
class MDIfrmHuvudmeny : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int SplashTidMs = 2500;

    MDIfrmHuvudmeny(modGlobalt& g, Meddelanden& m, QWidget* parent = nullptr);
    ~MDIfrmHuvudmeny() override;

    // The load of the window: icon, printer menu, size, output kind, recent list,
    // LagsortVal. The window stays hidden until the splash timer fires.
    void MDIForm_Load(frmSplash* splash = nullptr, int splashTidMs = SplashTidMs);

    QAction* menyval(const QString& kontrollnamn) const;
    // Items 1..5 of the recent-competitions list.
    QAction* mnuFil(int index) const;
    QMdiArea* mdiYta() const { return m_mdi; }
    QTimer& tmrSplash() { return m_tmrSplash; }

    // Switches the menus to the no-competition state.
    void VisaIngenTavling();

    // Fills the recent-competitions items from the program INI.
    void Hamta_5_senaste_filer();

protected:
    void closeEvent(QCloseEvent* e) override;

private slots:
    void tmrSplash_Timer();
    void mnuAvsluta_Click();

private:
    void byggMenyer();
    void MDIForm_Unload();

    modGlobalt& m_g;
    Meddelanden& m_m;
    QMdiArea* m_mdi;
    QHash<QString, QAction*> m_menyval;
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
