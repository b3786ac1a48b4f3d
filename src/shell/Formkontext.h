#pragma once

#include "shell/Meny.h"

#include <QObject>
#include <QString>
#include <optional>

class QWidget;
class Databas;
class Fonstervard;
class Meddelanden;
class modGlobalt;

// What only a desktop can do, asked for in one place so that tests can answer.
class Plattformsdialoger {
public:
    virtual ~Plattformsdialoger() = default;

    // The chosen file, or "" when the operator cancelled.
    virtual QString oppnaFil(QWidget* foralder, const QString& rubrik, const QString& startmapp,
                             const QString& filter) = 0;

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
// (which holds the database and the INI files), the message seam, the window
// host (the main menu and the child windows) and the platform dialogs.
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

    void sattMeny(Meny meny, bool pa) const;
    void sattMenyer(const QList<Meny>& menyer, bool pa) const;

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
