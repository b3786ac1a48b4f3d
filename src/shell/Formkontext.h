#pragma once

#include "shell/Meny.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class Databas;
class Meddelanden;
class modGlobalt;
class Formkontext;

// The main menu and the child windows, as a form sees them. The main window
// implements it; tests implement it in a few lines.
class Fonstervard {
public:
    virtual ~Fonstervard() = default;

    virtual void sattMeny(Meny meny, bool pa) = 0;
    virtual bool menyPa(Meny meny) const = 0;
    virtual void visaMeny(Meny meny, bool synlig) = 0;
    virtual bool menySynlig(Meny meny) const = 0;

    // Shows the single instance of a registered child window (placed at
    // vanster/topp twips inside the main window when given) and applies its
    // menu states; null when no window of that name is registered.
    virtual QWidget* visaFonster(const QString& namn,
                                 std::optional<QPoint> placeringTwips = QPoint(10, 10)) = 0;
    // The open child window of that name, or null.
    virtual QWidget* fonster(const QString& namn) const = 0;
    // Closes a child window with its frame; false when it refused.
    virtual bool stangFonster(QWidget* fonster) = 0;

    // A competition has just been created and is open in the state: the main
    // window takes it over as the open competition (listener, menus, recent
    // list, information window).
    virtual void tavlingSkapad() = 0;

    // The window a top-level dialog of a form belongs to (and is modal to), so
    // that it stays in front of the program and goes with it.
    virtual QWidget* dialogforalder() const = 0;
    // Whether a spectator display is connected: some items of the main menu
    // come back only then.
    virtual bool askadarskarmAnsluten() const = 0;
};

// What only a desktop can do, asked for in one place so that tests can answer.
class Plattformsdialoger {
public:
    virtual ~Plattformsdialoger() = default;

    // The chosen file, or "" when the operator cancelled.
    virtual QString oppnaFil(QWidget* foralder, const QString& rubrik, const QString& startmapp,
                             const QString& filter) = 0;
    // The chosen folder, or "" when the operator cancelled.
    virtual QString valjMapp(QWidget* foralder, const QString& rubrik, const QString& startmapp) = 0;

    struct Kopior {
        int antal = 1;
        QString skrivare;
    };
    // The printer dialog for the number of copies. Nothing when cancelled, and
    // nothing without asking when there is no printer to print on.
    virtual std::optional<Kopior> valjKopior(QWidget* foralder, const Kopior& nu) = 0;

    // Opens a document (the help file, a saved list) with the desktop's program
    // for it; false when there is none.
    virtual bool oppnaDokument(const QString& fil) = 0;
};

// What a form is given instead of the main window: the open-competition state
// (which holds the database and the INI files), the message seam, the main menu
// and child windows, and the platform dialogs.
class Formkontext : public QObject {
    Q_OBJECT
public:
    Formkontext(modGlobalt& g, Meddelanden& m, Fonstervard& fonster, Plattformsdialoger& dialoger)
        : m_g(g), m_m(m), m_fonster(fonster), m_dialoger(dialoger) {}

    modGlobalt& g() const { return m_g; }
    Meddelanden& m() const { return m_m; }
    Databas& db() const;
    Fonstervard& fonster() const { return m_fonster; }
    Plattformsdialoger& dialoger() const { return m_dialoger; }

    void sattMeny(Meny meny, bool pa) const { m_fonster.sattMeny(meny, pa); }
    void sattMenyer(const QList<Meny>& menyer, bool pa) const;
    // For the window host: a window with these menu states opens, or has closed.
    void oppnas(const Menylagen& lagen) const;
    void stangdes(const Menylagen& lagen) const;

    // Called by the window host when a child window becomes the active one after
    // another window of ours.
    void meddelaAktivering(QWidget* fonster) { emit aktiverad(fonster); }

signals:
    // A child window has become the active child window after another window of
    // ours; never when a message or input box closes over it. A form's
    // Form_Activate listens for itself here.
    void aktiverad(QWidget* fonster);

private:
    modGlobalt& m_g;
    Meddelanden& m_m;
    Fonstervard& m_fonster;
    Plattformsdialoger& m_dialoger;
};

// Where each part of the program registers its windows, dialogs and list
// builders under their form names. The main window holds the register; the
// program's top calls every part's registration function once at start.
class Fonsterregister {
public:
    using Fonsterfabrik = std::function<QWidget*(Formkontext&)>;
    // A modal dialog; true when the operator went through with it.
    using Dialogfabrik = std::function<bool(Formkontext&)>;
    using Listbyggare = std::function<void(Formkontext&)>;

    virtual ~Fonsterregister() = default;
    virtual void registreraFonster(const QString& namn, Fonsterfabrik fabrik, Menylagen menylagen = {}) = 0;
    virtual void registreraDialog(const QString& namn, Dialogfabrik fabrik) = 0;
    virtual void registreraListbyggare(const QString& namn, Listbyggare byggare) = 0;
};
