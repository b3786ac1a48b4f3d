#pragma once

#include "common/Poster.h"
#include "competition/Klassmodell.h"
#include "competition/Skjutlag.h"
#include "output/Arbetsboksram.h"

#include <QList>
#include <QString>
#include <optional>

class modGlobalt;

// The squad list: for each squad its number and shooting time, the column
// headings, and one row per lane with the shooter on it, with the series and
// totals when the competition's settings ask for results. Every squad starts
// a new page; with rounds a last page can explain the round numbers.
class Skjutlagslista {
public:
    enum class Typ { Nationell, Sport, Mix };
    // Which columns the sheet has: the competition's kind, rounds, results.
    struct Uppstallning {
        Typ typ = Typ::Nationell;
        bool omgangar = false;
        bool resultat = false;
    };
    static Uppstallning uppstallning(const modGlobalt& g);

    // Where each column stands (counted from 1; 0 when the layout has none).
    struct Kolumner {
        int aktkort = 0, gskort = 0, omg = 0;
        int serier = 0, antalSerier = 0; // the first series column and how many
        int totalt40 = 0, totalt60 = 0, innertior = 0;
        int sista = 0;
    };
    static Kolumner kolumner(const Uppstallning& u);
    // The heading row from column A to the last column.
    static QStringList rubriker(const Uppstallning& u);
    // The columns set left, centred and right with each block ("g:g", "h:o"),
    // empty when none; column A is always right.
    struct Justering {
        QString vanster, centrerad, hoger;
    };
    static Justering justering(const Uppstallning& u);

    // The typed squad, blanks around it ignored: a whole number from 1 to the
    // number of squads; nothing otherwise.
    static std::optional<int> tolkaSkjutlag(const QString& text, int antalSkjutlag);

    // The list's sheet as the workbook frame sets it up: the widths by the
    // competition's kind and rounds, landscape when it carries results.
    static const Arbetsboksram::Lista& ark();

    // The whole list for "Printer" or "Fil": every squad (skjutlag nothing) or
    // one, with the rounds' explanation page when asked for and rounds are in
    // use. Returns the saved file's path; nothing when nothing was saved (the
    // operator has been told why).
    static std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                                      std::optional<int> skjutlag, bool forklaringar);

    // Writes into a set-up sheet, block by block.
    Skjutlagslista(Kalkyl::Arbetsblad& blad, modGlobalt& g, Meddelanden& m);
    // One squad's block from the current row; a page break before the next
    // block when `brytning`.
    void skrivSkjutlag(int skjutlag, bool brytning);
    // The explanation page of the rounds, on a page of its own.
    void skrivForklaringar();
    // The next row to write.
    int rad() const { return m_rad; }

private:
    void skrivBana(const Skjutlag::Rad& bana);
    void skrivResultat(int rad, const Skytt& s);

    Kalkyl::Arbetsblad& m_blad;
    modGlobalt& m_g;
    Uppstallning m_u;
    Kolumner m_k;
    Klassmodell::Klassregister m_klasser;
    int m_rad = 1;
};
