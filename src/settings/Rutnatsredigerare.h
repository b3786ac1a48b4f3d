#pragma once

#include "settings/Redigeringslage.h"

#include <QList>
#include <QPair>
#include <QWidget>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class Rutnat;

// A grid of records with edit fields below it and the buttons New, Change,
// Delete and Cancel; New, Change and Delete are also in a popup menu that the
// right mouse button opens over the grid. New opens the fields empty, Change
// opens all but the first (the record's key); while an entry is open the New
// button shows its save caption and saves it. Pointing at a row shows its
// record. Enter in a field moves to the next one, and from the last to the
// save button. Which field and button can be used is Redigeringslage's to say;
// what a record is, how it is shown, saved and deleted, is the owner's, through
// the functions below.
class Rutnatsredigerare : public QWidget {
    Q_OBJECT
public:
    // An object name, a caption and a tooltip.
    struct Namn {
        QString namn, text, tips;
    };
    struct Falt {
        QString namn, tips;
        Namn etikett; // its object name may be empty
        // Only the digits 0-9 can be typed; anything else is refused with a beep.
        bool baraSiffror = false;
        int maxLangd = 0; // 0: no limit of our own
    };
    struct Utformning {
        Namn rutnat;                         // no caption
        QList<QPair<QString, int>> kolumner; // header and width in pixels
        QList<Falt> falt;                    // the first one is the key
        Namn ny, andra, radera, avbryt;
        QString sparaText = QStringLiteral("S&para");
        Namn meny; // no tooltip
        Namn menyNy, menyAndra, menyRadera;
        Redigeringslage::Regler regler;
    };

    explicit Rutnatsredigerare(const Utformning& u, QWidget* parent = nullptr);

    // Shows the record of the grid's row rad in the fields; false when there is
    // no such record (the fields are then left empty).
    std::function<bool(int rad)> visaRad;
    // Saves the open entry (lage() says whether new or changed). False keeps it
    // open, after the owner has said why and put the focus where to correct.
    std::function<bool()> spara;
    // Deletes the record of the grid's row rad when the operator agrees; true
    // when the grid's rows changed.
    std::function<bool(int rad)> radera;
    // The check of a field (its index) when the operator moves on from it
    // during an entry; false keeps the focus in it, after the check has said why.
    std::function<bool(int falt, const QString& text)> lamnaFalt;

    Redigeringslage::Lage lage() const { return m_lage.lage(); }
    bool iInmatning() const { return m_lage.iInmatning(); }
    const Redigeringslage& tillstand() const { return m_lage; }

    void tomFalten();

    // The owner fills the grid and the fields from its records.
    Rutnat* rutnat() const { return m_rutnat; }
    QLineEdit* falt(int i) const { return m_falt.at(i); }

public slots:
    // New, or Save while an entry is open.
    void nyKlick();
    void andraKlick();
    void raderaKlick();
    void avbrytKlick();
    // Ends an open entry without saving it (the operator leaves the editor).
    void avslutaInmatning();
    // The grid was refilled from outside: change and delete follow its selection.
    void radernaAndrade();
    // The grid points at a row (selection, click, double click).
    void pekaPaRad();
    void visaMeny(const QPoint& var);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void mala();
    bool radVald() const;

    Rutnat* m_rutnat;
    QList<QLineEdit*> m_falt;
    QPushButton* cmdNy;
    QPushButton* cmdAndra;
    QPushButton* cmdRadera;
    QPushButton* cmdAvbryt;
    QMenu* mnuPopup;
    QAction* mnuNy;
    QAction* mnuAndra;
    QAction* mnuRadera;
    Redigeringslage m_lage;
    QString m_nyText;
    QString m_sparaText;
    QList<bool> m_baraSiffror;
};
