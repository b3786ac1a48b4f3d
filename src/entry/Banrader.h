#pragma once

#include "competition/Serieregler.h"
#include "entry/Inmatningsregler.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QValidator;

// The fields of one lane row: the lane, the name, the twelve series, the six
// pair sums, the two totals, the shoot-off value and the count button. All but
// the lane stand in the row's own container; the lane stands in the lane column.
struct Radfalt {
    QWidget* picRad = nullptr;
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
// twips. A squad can have hundreds of lanes, so a row is built only when it
// first comes into view (scrolling, a larger frame) or when the keyboard
// reaches it, each row in a container of its own; what the window costs to
// open and to paint is the rows in view, not the squad. A row built once is
// kept, hidden, and painted again for the next squad when that squad needs it.
// The window paints a row as it becomes ready (malaRad), so a row is right from
// its first showing; until then the squad's data alone says what it holds.
//
// The scroll bars count in twips, so the window's scroll rules (a row is 550,
// two rows a page) read as they are.
class Banrader : public QWidget {
    Q_OBJECT
public:
    // What a field of a row is, for the window's keyboard and focus handling.
    using Slag = Inmatningsregler::Faltslag;
    using Plats = Inmatningsregler::Falt;

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

    // Paints row i of the open squad the moment it becomes ready: its texts,
    // colours and which of its fields show.
    std::function<void(int rad)> malaRad;

    // Rows of the open squad.
    int antal() const { return m_antal; }
    // Rows that have their widgets (some perhaps hidden, kept from an earlier squad).
    int byggda() const { return m_byggda; }
    bool byggd(int i) const { return i >= 0 && i < m_rader.size() && m_rader.at(i).picRad; }
    // Row i, built first when it has not been, and painted first when it belongs
    // to the open squad and has not been painted for it.
    const Radfalt& rad(int i);
    // Row i when it is built and painted for the open squad, else null.
    const Radfalt* radOmKlar(int i) const;
    // The field at a place, its row made ready first.
    QWidget* falt(const Plats& p);
    std::optional<Plats> plats(const QObject* falt) const;

    // Hides every row and takes the rows of a squad of antal lanes: sizes the
    // content area for them and makes ready those in view.
    void forbered(int antal);
    // Hides every row and gives the content area its first height.
    void Ta_bort_rader();
    // The back colours of series 3 to 12 of a ready row by its class and extra series.
    void txtFarger(int rad, int klassensSerier, int extraSerier);
    // Fills a ready row's series, sums and totals from the values given and
    // paints full marks red.
    void malaSerier(int rad, const Serieregler::Serier& serier);
    // Shows the fields a ready row has, by its kind and class.
    void visaFalt(int rad, const Inmatningsregler::Radsynlighet& synlighet);
    // Shows or hides the 60-shot total of a ready row.
    void visaRes60(int rad, bool synlig);

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
    // The scroll bars, in twips.
    int vScroll() const;
    int vScrollMax() const;
    void sattVScroll(int varde);
    int hScrollMax() const;
    void sattHScroll(int varde);
    // A national competition has no series 9 to 12 and no 60-shot total.
    void nationellaRubriker();

signals:
    // The count button of a row was clicked.
    void antalKlickat(int rad);
    // The operator changed the text of a series field (typing, pasting, cutting).
    void serieRedigerad(int rad, int serie);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QLineEdit* nyttFalt(QWidget* foralder, int vansterTwips, int toppTwips, int breddTwips, int hojdTwips,
                        int radTopp = 0);
    // Builds row i, hidden, and gives its fields their place in the Tab order
    // among the rows built before it.
    void Nyrad(int i);
    void tabbordning(int i);
    void doljRad(int i);
    // Makes ready the rows of the open squad that the frame shows now.
    void skapaSynligaRader();
    void VScrollInnehall_Change(int varde);
    void HScrollInnehall_Change(int varde);

    QScrollBar* VScrollInnehall = nullptr;
    QScrollBar* HScrollInnehall = nullptr;
    // The column headers. Label[1] .. Label[12] over the series; Label[0] is unused.
    QList<QLabel*> Label;
    QLabel* lblSumma = nullptr;
    QWidget* picBehallare = nullptr;
    QWidget* picInnehall = nullptr;
    QWidget* picBanaInnehall = nullptr;
    QWidget* picOverskrInnehall = nullptr;

    QObject* m_filter;
    QValidator* m_siffror = nullptr;
    QValidator* m_decimal = nullptr;
    QFont m_normal;
    QFont m_fet;
    QFont m_banfont;
    // By row; a row not built has no container.
    QList<Radfalt> m_rader;
    // Painted for the open squad.
    QList<bool> m_klar;
    QHash<const QObject*, Plats> m_platser;
    int m_antal = 0;
    int m_byggda = 0;
    // The highest row built, -1 for none.
    int m_hogsta = -1;
    int m_innehallHojd = InnehallHojd;
};
