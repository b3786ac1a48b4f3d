#pragma once

#include "shell/Upptagen.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QFileSystemModel;
class QModelIndex;
class QPushButton;
class QTreeView;
class Formkontext;
class modGlobalt;

// Picks (or makes) a folder for the window that opened it. It belongs to that
// window (it goes when the window goes) and keeps it from being used while it is
// open; the choice is handed over by the signal valt, so nothing is ever handed
// to a window that has gone. Tag "inställningar" (the settings form) gets the
// folder as it is; any other caller gets it with a trailing separator.
//
// The current folder is the one opened (a double click, Enter, a drive
// chosen), not one only highlighted: OK hands it over and "Ny mapp" makes the
// new folder in it.
//
// For the import and export wizards it runs in their mode: it starts in the
// folder the mode's program INI key names (Tävlingskatalog, Exportkatalog), the
// program folder when that is not there, and hands the folder over as it is.
// In export mode OK also stores the folder in Exportkatalog, so that the next
// export starts there; when that cannot be written it says so and stays open.
//
// The hourglass is up while the folder tree is read, from the start until the
// folder it starts in has been read (or the chooser goes).
class frmBladdra : public QDialog {
    Q_OBJECT
public:
    static inline const QString TaggInstallningar = QStringLiteral("inställningar");
    enum class Lage { Import, Export };

    frmBladdra(Formkontext& k, QWidget* anropare, const QString& tag);
    frmBladdra(Formkontext& k, QWidget* anropare, Lage lage);

    QString aktuellMapp() const { return m_aktuell; }
    void valjMapp(const QString& mapp);
    // The text handed back to the caller for a folder.
    static QString tillbakatext(const QString& mapp, const QString& tag);
    // Where the chooser of a wizard's mode starts.
    static QString startmapp(const modGlobalt& g, Lage lage);

signals:
    // OK was pressed on a folder: the text for the caller's field.
    void valt(const QString& text);

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    frmBladdra(Formkontext& k, QWidget* anropare, std::optional<Lage> lage, bool medAvslut);

    QPushButton* cmdOK;
    // The name its messages give: the wizards' chooser is frmBläddraExp.
    QString formnamn() const;
    // Makes a folder of the list the current folder, showing what it holds.
    void oppna(const QModelIndex& i);
    void cmdNyMapp_Click();
    void cmdOK_Click();
    void cmdAvbryt_Click();
    void Drive1_Change(int index);
    // Scrolls the chosen folder into view while the operator has not moved the list.
    void visaAktuell();

    Formkontext& m_k;
    std::optional<Lage> m_lage;
    bool m_medAvslut;
    QFileSystemModel* m_modell;
    QComboBox* Drive1;
    QTreeView* Dir1;
    QString m_aktuell;
    bool m_folj = true;
    std::optional<Upptagen> m_laddas;
};
