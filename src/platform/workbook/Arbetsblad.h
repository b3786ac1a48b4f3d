#pragma once

#include "platform/workbook/Kalkylkoder.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace Kalkyl {

class Arbetsblad;
class Arbetsbok;

constexpr int MaxRad = 1048576;
constexpr int MaxKolumn = 16384;

// What one layer of formatting sets. A layer that leaves a field empty lets the
// layer below show through: sheet, then column, then row, then cell.
struct Stil {
    std::optional<QString> namn;
    std::optional<double> storlek;
    std::optional<bool> fet;
    std::optional<long> farg; // empty: automatic (black)
    std::optional<int> understrykning;
    std::optional<long> fyllning; // empty: no fill
    std::optional<int> justering;
    std::optional<QString> talformat;

    // Lays `ovan` over this layer: whatever `ovan` sets wins.
    void lagg(const Stil& ovan);
    bool tom() const { return *this == Stil{}; }
    bool operator==(const Stil&) const = default;
};

// A new workbook's look before anything is set, as the 2007 format's defaults.
Stil standardstil();
constexpr double StandardKolumnbredd = 8.43;
constexpr const char* AllmantTalformat = "General";
constexpr const char* Textformat = "@";

// How a value shows in a cell of the general format: integers as they are,
// decimals with a comma, truth values as the Swedish spreadsheet shows them.
QString visningstext(const QVariant& varde);

size_t qHash(const Stil& s, size_t seed = 0);

struct Cell {
    QVariant varde; // empty, double, bool or QString
    // The cell's own layer, by its number in the sheet's register
    // (Arbetsblad::cellstil); 0 is the empty layer.
    quint32 stil = 0;
};

// A row's cells by column, in column order. A list writes a row from left to
// right, so a new cell almost always goes at the end: side by side, a row's
// cells take one allocation, are read in one sweep and go in one free.
class Cellrad {
public:
    using Post = std::pair<int, Cell>;
    using iterator = std::vector<Post>::iterator;
    using const_iterator = std::vector<Post>::const_iterator;

    iterator begin() { return m_celler.begin(); }
    iterator end() { return m_celler.end(); }
    const_iterator begin() const { return m_celler.begin(); }
    const_iterator end() const { return m_celler.end(); }
    bool empty() const { return m_celler.empty(); }
    size_t size() const { return m_celler.size(); }
    void reserve(size_t antal) { m_celler.reserve(antal); }

    // The first cell at or right of `kolumn`.
    iterator lower_bound(int kolumn);
    const_iterator lower_bound(int kolumn) const;
    iterator find(int kolumn);
    const_iterator find(int kolumn) const;
    // The cell, made empty when the row has none in that column. A reference
    // holds only until the next cell is made.
    Cell& operator[](int kolumn);

private:
    std::vector<Post> m_celler;
};

struct Rad {
    std::optional<double> hojd;
    Stil stil;
    Cellrad celler;
};
struct Kolumn {
    std::optional<double> bredd;
    Stil stil;
};

class Teckensnitt;
class Fyllning;

// A part of a sheet: the whole sheet, whole columns, whole rows or a block of
// cells, counted from 1.
class Omrade {
public:
    enum Typ { Blad, Kolumner, Rader, Celler };

    QVariant Value() const;
    void setValue(const QVariant& varde);
    void Select();
    double RowHeight() const;
    void setRowHeight(double hojd);
    double ColumnWidth() const;
    void setColumnWidth(double bredd);
    int HorizontalAlignment() const;
    void setHorizontalAlignment(int justering);
    QString NumberFormat() const;
    void setNumberFormat(const QString& format);
    Teckensnitt Font() const;
    Fyllning Interior() const;

    Typ typ() const { return m_typ; }
    int forstaRad() const { return m_r1; }
    int forstaKolumn() const { return m_k1; }
    int sistaRad() const { return m_r2; }
    int sistaKolumn() const { return m_k2; }

private:
    friend class Arbetsblad;
    friend class Teckensnitt;
    friend class Fyllning;
    friend class Sidbrytningar;
    Omrade(Arbetsblad* blad, Typ typ, int r1, int k1, int r2, int k2);

    template <class T> void sattStil(std::optional<T> Stil::*falt, const T& varde) const;
    Stil stilOverstVanster() const;

    Arbetsblad* m_blad;
    Typ m_typ;
    int m_r1, m_k1, m_r2, m_k2;
};

// The font of a range. Reading gives the top-left cell's font; writing sets the
// whole range.
class Teckensnitt {
public:
    QString Name() const;
    void setName(const QString& namn);
    double Size() const;
    void setSize(double storlek);
    bool Bold() const;
    void setBold(bool fet);
    long Color() const;
    void setColor(long farg);
    int Underline() const;
    void setUnderline(int stil);

private:
    friend class Omrade;
    explicit Teckensnitt(const Omrade& omrade) : m_omrade(omrade) {}
    Omrade m_omrade;
};

// The fill of a range; reads white when the cell has none.
class Fyllning {
public:
    long Color() const;
    void setColor(long farg);

private:
    friend class Omrade;
    explicit Fyllning(const Omrade& omrade) : m_omrade(omrade) {}
    Omrade m_omrade;
};

// Print settings of a sheet. Margins are in points.
class Sidformat {
public:
    bool PrintGridlines() const { return m_rutnat; }
    void setPrintGridlines(bool pa);
    int Orientation() const { return m_orientering; }
    void setOrientation(int orientering);
    int PaperSize() const { return m_pappersstorlek; }
    void setPaperSize(int storlek);
    double LeftMargin() const { return m_vanster; }
    void setLeftMargin(double punkter);
    double RightMargin() const { return m_hoger; }
    void setRightMargin(double punkter);
    double TopMargin() const { return m_topp; }
    void setTopMargin(double punkter);
    double BottomMargin() const { return m_botten; }
    void setBottomMargin(double punkter);
    double HeaderMargin() const { return m_sidhuvud; }
    void setHeaderMargin(double punkter);
    double FooterMargin() const { return m_sidfot; }
    void setFooterMargin(double punkter);
    // Texts with the header codes: &"font,style", &nn (size), &P (page number),
    // &N (page count), && (an ampersand); a line feed starts a new line. Data
    // goes in through Sidhuvudkod::skydda. A section code (&L, &C, &R) or a lone
    // "&" at the end is refused with Fel 1004: it would move text into another
    // section of the file.
    const QString& LeftHeader() const { return m_vansterHuvud; }
    void setLeftHeader(const QString& text);
    const QString& RightHeader() const { return m_hogerHuvud; }
    void setRightHeader(const QString& text);
    const QString& RightFooter() const { return m_hogerFot; }
    void setRightFooter(const QString& text);

    // The whole header or footer as one text with its section codes (&L, &R),
    // the way the file format stores it.
    QString sidhuvud() const { return sammanfoga(m_vansterHuvud, m_hogerHuvud); }
    QString sidfot() const { return sammanfoga({}, m_hogerFot); }
    static QString sammanfoga(const QString& vanster, const QString& hoger);
    static constexpr int MaxSidhuvudlangd = 255;
    // A new sheet's settings.
    static Sidformat standard() { return Sidformat(nullptr); }

private:
    friend class Arbetsblad;
    explicit Sidformat(const Arbetsblad* blad) : m_blad(blad) {}
    void sattMarginal(double& falt, double punkter);
    const Arbetsblad* m_blad;
    bool m_rutnat = false;
    int m_orientering = Orientering::Staende;
    int m_pappersstorlek = Pappersstorlek::A4;
    double m_vanster = 0.7 * 72, m_hoger = 0.7 * 72, m_topp = 0.75 * 72, m_botten = 0.75 * 72;
    double m_sidhuvud = 0.3 * 72, m_sidfot = 0.3 * 72;
    QString m_vansterHuvud, m_hogerHuvud, m_hogerFot;
};

// Manual page breaks between rows.
class Sidbrytningar {
public:
    // A break above the first row of `Before`.
    void Add(const Omrade& Before);
    int Count() const { return int(m_rader.size()); }
    // The rows that start a new page.
    const std::set<int>& rader() const { return m_rader; }

private:
    friend class Arbetsblad;
    explicit Sidbrytningar(const Arbetsblad* blad) : m_blad(blad) {}
    const Arbetsblad* m_blad;
    std::set<int> m_rader;
};

class Arbetsblad {
public:
    Arbetsblad(const Arbetsblad&) = delete;
    Arbetsblad& operator=(const Arbetsblad&) = delete;

    const QString& Name() const { return m_namn; }
    void setName(const QString& namn);
    Omrade Cells();
    Omrade Cells(int rad, int kolumn);
    // "a:a", "d:k", "12:12", "a1", "A1:C3"; letter case and "$" do not matter.
    Omrade Range(const QString& adress);
    Sidbrytningar& HPageBreaks();
    Sidformat& PageSetup();
    // Prints through the application's printer; throws Fel when nothing was printed.
    void PrintOut(int Copies = 1) const;

    // Read side for the file writer and the printer.
    const Sidformat& sidformat() const { return m_sidformat; }
    const Sidbrytningar& sidbrytningar() const { return m_brytningar; }
    const Stil& bladstil() const { return m_stil; }
    // A cell's own layer, and how many distinct ones the sheet's cells have
    // (numbered from 0, the empty layer).
    const Stil& cellstil(quint32 nummer) const { return m_cellstilar[nummer]; }
    quint32 antalCellstilar() const { return quint32(m_cellstilar.size()); }
    const std::map<int, Rad>& rader() const { return m_rader; }
    const std::map<int, Kolumn>& kolumner() const { return m_kolumner; }
    std::optional<double> bladRadhojd() const { return m_radhojd; }
    std::optional<double> bladKolumnbredd() const { return m_kolumnbredd; }
    QVariant varde(int rad, int kolumn) const;
    // Every layer laid over the defaults.
    Stil stil(int rad, int kolumn) const;
    // The defaults with the sheet's own layer: what a cell nobody named shows.
    Stil grundstil() const;
    // Only the fill of a cell, without building its whole style.
    std::optional<long> fyllning(int rad, int kolumn) const;
    Stil kolumnstil(int kolumn) const;
    Stil radstil(int rad) const;
    double kolumnbredd(int kolumn) const;
    // Set by the list, or fitted to the largest font the row shows.
    double radhojd(int rad) const;
    bool harEgenRadhojd(int rad) const;
    // What goes on paper: every row and column from the first up to {the last
    // row with a value, a fill or its own height, the last column with a value
    // or a fill}; nothing when no cell has a value or a fill.
    std::optional<std::pair<int, int>> utskriftsomrade() const;
    const Omrade& markering() const { return m_markering; }
    const Arbetsbok& arbetsbok() const { return *m_bok; }

    // Throws when the workbook is closed or the application has quit.
    void kontrollera() const;
    static QString kolumnnamn(int kolumn);
    static double autoRadhojd(double storlek);

private:
    friend class Arbetsbok;
    friend class Omrade;
    friend class Teckensnitt;
    friend class Fyllning;
    Arbetsblad(Arbetsbok* bok, const QString& namn);

    Cell& cell(int rad, int kolumn) { return radpost(rad).celler[kolumn]; }
    // A row's entry, made when it has none; nullptr from hittaRad when it has
    // none. A list writes row after row, each cell looked up several times:
    // the row used last is kept at hand (rows are never removed, so it stays).
    Rad& radpost(int rad);
    const Rad* hittaRad(int rad) const;
    Rad* hittaRad(int rad) { return const_cast<Rad*>(std::as_const(*this).hittaRad(rad)); }
    // One field as the topmost layer that sets it has it, without building the
    // whole style; empty when only the defaults set it.
    template <class T>
    const std::optional<T>& ovanst(std::optional<T> Stil::*falt, int rad, int kolumn) const;
    // The number of layer `nummer` with one field set to `varde` (or cleared).
    template <class T>
    quint32 medFalt(quint32 nummer, std::optional<T> Stil::*falt, const std::optional<T>& varde);
    // Whether the cell keeps what is written in it as text ("@").
    bool arTextformat(int rad, int kolumn) const;
    const Cell* hittaCell(int rad, int kolumn) const;

    Arbetsbok* m_bok;
    QString m_namn;
    Stil m_stil;
    std::optional<double> m_radhojd, m_kolumnbredd;
    std::map<int, Kolumn> m_kolumner;
    std::map<int, Rad> m_rader;
    // Every distinct layer of a cell once, so that a cell keeps only its
    // number: a list gives thousands of cells a handful of layers, and the
    // cells stay small. The register only grows while the sheet lives.
    std::vector<Stil> m_cellstilar{Stil{}};
    QHash<Stil, quint32> m_cellstilnummer{{Stil{}, 0}};
    // The change made last to each kind of field, as a list sets the same font
    // on cell after cell.
    template <class T> struct Overgang {
        std::optional<T> Stil::*falt = nullptr;
        quint32 fran = 0;
        std::optional<T> varde;
        quint32 till = 0;
    };
    std::tuple<Overgang<QString>, Overgang<double>, Overgang<bool>, Overgang<long>, Overgang<int>>
        m_overgangar;
    mutable const Rad* m_senasteRad = nullptr;
    mutable int m_senasteRadnr = 0;
    Sidformat m_sidformat;
    Sidbrytningar m_brytningar;
    Omrade m_markering;
    // Whether any layer was ever given the text format: most sheets never are,
    // and a value written then needs no look at its cell's layers.
    bool m_textformatSatt = false;
};

} // namespace Kalkyl
