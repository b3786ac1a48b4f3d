#pragma once

#include "lists/Resultaturval.h"
#include "output/Arbetsboksram.h"

#include <QList>
#include <functional>
#include <optional>

class Databas;
class clsIni;

// The result list as a workbook: the chosen classes' blocks one below the
// other, each a class row, a heading row and one row per shooter with its
// place, then printed and saved in the workbook frame.
class Resultatlistbok {
public:
    // The page settings of [Utskrifter]; a value that is missing, no number,
    // negative, or a layout other than 1 or 2, keeps its default.
    struct Sidinstallning {
        int orientering = Kalkyl::Orientering::Liggande;
        double vanster = 1.2, hoger = 0; // cm
    };
    static Sidinstallning lasSidinstallning(const clsIni& ini);

    // The columns chosen in Utskriftsval: the widths of name and club and the
    // optional columns present, with their widths. A column without its row in
    // the table is left out; name and club then take the template's widths.
    struct Kolumner {
        double namn = 24, forening = 20;
        std::optional<double> fodelsear, aktivitetskort, skyttekortNr;
    };
    // The licence column is never printed in a national competition.
    static Kolumner lasKolumner(const Databas& db, bool nationellt);
    // Widths and alignments of the sheet's columns: place, name, club, the
    // optional columns, 8 series (6 pair sums in a sport competition), the
    // total and two more.
    static void sattKolumner(Kalkyl::Arbetsblad& blad, const Kolumner& kolumner, bool sportskytte);

    // The list's sheet as the workbook frame sets it up. Orientation, side
    // margins and column widths come from the competition's print settings
    // (kor), so the sheet has only their defaults.
    static const Arbetsboksram::Lista& ark();

    // The label before the round's description in the right header.
    static const QString Omgangsetikett;

    // The whole list for "Printer" or "Fil": the competition's settings from
    // o.g, the classes in the order given, the round when rounds are in use.
    // Returns the saved file's path; nothing when nothing was saved (the
    // operator has been told why).
    // `skrivet`, when given, sees the sheet once the last block is written and
    // before it is printed or saved (a benchmark times the save on its own).
    static std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                                      const QList<Klassblock>& klasser,
                                      const std::optional<Omgangar::Omgang>& omgang,
                                      const std::function<void(Kalkyl::Arbetsblad&)>& skrivet = {});

    // Writes the blocks into a set-up sheet, one at a time. `mix`: national and
    // sport blocks of a mixed competition share their columns.
    Resultatlistbok(Kalkyl::Arbetsblad& blad, const Kolumner& kolumner, bool mix);
    // A class without shooters writes nothing and moves nothing.
    void skriv(const Klassblock& block);
    // The last row written, 0 before the first block.
    int sistaRad() const { return m_rad; }

private:
    // The identity columns after the club, counted as a block of this kind has them.
    int identitetskolumner(bool sport) const;
    void skrivHuvud(const Klassblock& block, int k);
    void skrivIdentitet(int rad, const Skytt& s, bool sport);
    void skrivNationell(int rad, const Skytt& s, int k);
    void skrivSport(int rad, const Skytt& s, int r, bool sextio);

    Kalkyl::Arbetsblad& m_blad;
    Kolumner m_kolumner;
    bool m_mix;
    int m_rad = 0;
};
