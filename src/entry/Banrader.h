#pragma once

#include "competition/Serieregler.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QValidator;

// The fields of one lane row: the lane, the name, the twelve series, the six
// pair sums, the two totals, the shoot-off value and the count button.
struct Radfalt {
    QLineEdit* txtBana = nullptr;
    QLineEdit* txtNamn = nullptr;
    std::array<QLineEdit*, Serieregler::AntalSerier> txtSer{}; // series 1 at index 0
    std::array<QLineEdit*, Serieregler::AntalPar> txtSum{};    // txtSum10 at index 0
    QLineEdit* txtRes60 = nullptr;
    QLineEdit* txtRes40 = nullptr;
    QLineEdit* txtSarskjutning = nullptr;
    QPushButton* cmd1098 = nullptr;
};

// The lane rows of the result-entry window and the frames they scroll in: the
// rows in a content area inside a clipping frame, the lane numbers in a column
// of their own that scrolls up and down with them, the column headers in a
// strip that scrolls sideways with them, and the two scroll bars.
//
// Every field stands where the old window's twip grid put it, a row every 550
// twips. The fields are plain widgets placed by hand: a squad of a hundred lanes
// is thousands of them, and no layout may recompute them one by one. Rows are
// built while the content is hidden and shown together; a row built once is
// kept and filled again by the next squad.
//
// The scroll bars count in twips, so the window's scroll rules (a row is 550,
// two rows a page) read as they are.
class Banrader : public QWidget {
    Q_OBJECT
public:
    // What a field of a row is, for the window's keyboard and focus handling.
    enum class Slag { Serie, Sarskjutning, Antal };
    struct Plats {
        Slag slag;
        int rad;
        int serie; // 1..12 for a series field, else 0
    };

    static constexpr int Radhojd = 550;          // twips from one row to the next
    static constexpr int InnehallHojd = 6045;    // the content area before it grows
    static constexpr int BehallareHojd = 6045;   // the visible frame
    static constexpr int BehallareBredd = 11115; // the visible frame
    static constexpr int InnehallBredd = 12870;
    static constexpr int OverskriftBredd = 12990;
    static constexpr int BanaBredd = 375;
    static constexpr int HScrollMax = 1760;

    // filter: the object that receives the events of the series fields, the
    // shoot-off fields and the count buttons.
    Banrader(QObject* filter, QWidget* parent);

    // Rows in use for the open squad.
    int antal() const { return m_antal; }
    // Rows built so far (some hidden, waiting for a larger squad).
    int byggda() const { return int(m_rader.size()); }
    const Radfalt& rad(int i) const { return m_rader.at(i); }
    std::optional<Plats> plats(const QObject* falt) const;

    // Makes rows 0 .. antal - 1 ready to fill, building those that were never
    // built, and sizes the content area for them. The rows stay hidden.
    void forbered(int antal);
    // Builds row i (every earlier row exists).
    void Nyrad(int i);
    // Hides every row and gives the content area its first height.
    void Ta_bort_rader();
    // The back colours of series 3 to 12 of a row by its class and extra series.
    void txtFarger(int rad, int klassensSerier, int extraSerier);
    // Fills the row's fields from the values given and paints full marks red.
    void malaSerier(int rad, const Serieregler::Serier& serier);

    // The content area (and the lane column) hidden while rows are rebuilt.
    void sattInnehallSynligt(bool synligt);
    bool innehallSynligt() const;

    // The content area's height in twips.
    int innehallHojd() const { return m_innehallHojd; }
    // Where the content area stands in its frame, in twips (0 or less).
    int innehallTopp() const;
    int innehallVanster() const;
    // The vertical range: the content area's height less the frame's.
    void uppdateraVScrollMax();

    QScrollBar* VScrollInnehall;
    QScrollBar* HScrollInnehall;

    // The column headers. Label[1] .. Label[12] over the series; Label[0] is unused.
    QList<QLabel*> Label;
    QLabel* lblSumma;
    QLabel* lblNamn;
    QLabel* lblBana;
    QLabel* lblSarskjutning;
    QLabel* lblOverskrAntal;

    QWidget* picBehallare;
    QWidget* picInnehall;
    QWidget* picBanaBehallare;
    QWidget* picBanaInnehall;
    QWidget* picOverskrBehallare;
    QWidget* picOverskrInnehall;

signals:
    // The count button of a row was clicked.
    void antalKlickat(int rad);
    // The operator changed the text of a series field (typing, pasting, cutting).
    void serieRedigerad(int rad, int serie);

private:
    QLineEdit* nyttFalt(QWidget* foralder, int vansterTwips, int toppTwips, int breddTwips, int hojdTwips);
    void VScrollInnehall_Change(int varde);
    void HScrollInnehall_Change(int varde);

    QObject* m_filter;
    QValidator* m_siffror = nullptr;
    QValidator* m_decimal = nullptr;
    QFont m_normal;
    QFont m_fet;
    QFont m_banfont;
    QList<Radfalt> m_rader;
    QHash<const QObject*, Plats> m_platser;
    int m_antal = 0;
    int m_innehallHojd = InnehallHojd;
};
