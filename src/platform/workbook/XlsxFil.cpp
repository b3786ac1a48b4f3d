#include "platform/workbook/XlsxFil.h"

#include "common/Fel.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Filhallare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>
#include <zlib.h>

namespace Kalkyl {

namespace {

[[noreturn]] void misslyckades(lxw_error fel) {
    throw Fel(
        Kalkylfel::Programfel,
        QStringLiteral("Arbetsboken kunde inte sparas (%1).").arg(QString::fromUtf8(lxw_strerror(fel))));
}

void prova(lxw_error fel) {
    if (fel != LXW_NO_ERROR)
        misslyckades(fel);
}

// The old platform packs red in the low byte; the file wants it high. Black is
// 0 in both, but libxlsxwriter reads 0 as "no colour" and has its own black.
lxw_color_t filfarg(long farg) {
    const lxw_color_t r = farg & 0xff, g = (farg >> 8) & 0xff, b = (farg >> 16) & 0xff;
    const lxw_color_t rgb = (r << 16) | (g << 8) | b;
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

// A fully resolved style in a few numbers: everything that decides a cell's
// format in the file. Font names are few, so each gets a number once.
struct Formatnyckel {
    double storlek = 0;
    qint32 farg = -1;     // -1: automatic
    qint32 fyllning = -1; // -1: no fill
    qint32 understrykning = Understrykning::Ingen;
    qint32 justering = Justering::Allman;
    quint16 namn = 0;
    bool fet = false;
    bool text = false;
    bool operator==(const Formatnyckel&) const = default;
};

size_t qHash(const Formatnyckel& n, size_t seed = 0) {
    return qHashMulti(seed, n.storlek, n.farg, n.fyllning, n.understrykning, n.justering, n.namn, n.fet,
                      n.text);
}

class Formatlager {
public:
    // What one layer of a sheet, a column or a row sets, in the key's numbers:
    // made once per layer, laid over each cell beneath it.
    class Lager {
    public:
        void lagg(Formatnyckel& n) const {
            if (m_satt & Namn)
                n.namn = m_varden.namn;
            if (m_satt & Storlek)
                n.storlek = m_varden.storlek;
            if (m_satt & Fet)
                n.fet = m_varden.fet;
            if (m_satt & Farg)
                n.farg = m_varden.farg;
            if (m_satt & Understrykning)
                n.understrykning = m_varden.understrykning;
            if (m_satt & Fyllning)
                n.fyllning = m_varden.fyllning;
            if (m_satt & Justering)
                n.justering = m_varden.justering;
            if (m_satt & Text)
                n.text = m_varden.text;
        }
        bool tomt() const { return m_satt == 0; }

    private:
        friend class Formatlager;
        enum : quint8 {
            Namn = 1,
            Storlek = 2,
            Fet = 4,
            Farg = 8,
            Understrykning = 16,
            Fyllning = 32,
            Justering = 64,
            Text = 128
        };
        Formatnyckel m_varden;
        quint8 m_satt = 0;
    };

    explicit Formatlager(lxw_workbook* bok) : m_bok(bok), m_standard(nyckel(standardstil())) {}

    Lager lager(const Stil& s) {
        Lager l;
        Formatnyckel& v = l.m_varden;
        if (s.namn) {
            v.namn = namnnummer(*s.namn);
            l.m_satt |= Lager::Namn;
        }
        if (s.storlek) {
            v.storlek = *s.storlek;
            l.m_satt |= Lager::Storlek;
        }
        if (s.fet) {
            v.fet = *s.fet;
            l.m_satt |= Lager::Fet;
        }
        if (s.farg) {
            v.farg = qint32(*s.farg);
            l.m_satt |= Lager::Farg;
        }
        if (s.understrykning) {
            v.understrykning = *s.understrykning;
            l.m_satt |= Lager::Understrykning;
        }
        if (s.fyllning) {
            v.fyllning = qint32(*s.fyllning);
            l.m_satt |= Lager::Fyllning;
        }
        if (s.justering) {
            v.justering = *s.justering;
            l.m_satt |= Lager::Justering;
        }
        if (s.talformat) {
            v.text = *s.talformat == QLatin1String(Textformat);
            l.m_satt |= Lager::Text;
        }
        return l;
    }

    // The key of a style with every layer laid over the defaults.
    Formatnyckel nyckel(const Stil& helStil) {
        Formatnyckel n;
        lager(helStil).lagg(n);
        return n;
    }

    // The file's format for a resolved style; nullptr for the defaults.
    lxw_format* format(const Formatnyckel& n) {
        if (n == m_standard)
            return nullptr;
        lxw_format*& f = m_format[n];
        if (!f)
            f = skapa(n);
        return f;
    }
    lxw_format* format(const Stil& helStil) { return format(nyckel(helStil)); }

private:
    quint16 namnnummer(const QString& namn) {
        for (qsizetype i = 0; i < m_namn.size(); ++i)
            if (m_namn[i].first == namn)
                return quint16(i);
        m_namn.append({namn, namn.toUtf8()});
        return quint16(m_namn.size() - 1);
    }

    lxw_format* skapa(const Formatnyckel& n) {
        lxw_format* f = workbook_add_format(m_bok);
        format_set_font_name(f, m_namn[n.namn].second.constData());
        format_set_font_size(f, n.storlek);
        if (n.fet)
            format_set_bold(f);
        if (n.farg >= 0)
            format_set_font_color(f, filfarg(n.farg));
        switch (n.understrykning) {
        case Understrykning::Enkel:
            format_set_underline(f, LXW_UNDERLINE_SINGLE);
            break;
        case Understrykning::Dubbel:
            format_set_underline(f, LXW_UNDERLINE_DOUBLE);
            break;
        case 4:
            format_set_underline(f, LXW_UNDERLINE_SINGLE_ACCOUNTING);
            break;
        case 5:
            format_set_underline(f, LXW_UNDERLINE_DOUBLE_ACCOUNTING);
            break;
        default:
            break;
        }
        if (n.fyllning >= 0) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, filfarg(n.fyllning));
        }
        switch (n.justering) {
        case Justering::Hoger:
            format_set_align(f, LXW_ALIGN_RIGHT);
            break;
        case Justering::Vanster:
            format_set_align(f, LXW_ALIGN_LEFT);
            break;
        case Justering::Centrerad:
            format_set_align(f, LXW_ALIGN_CENTER);
            break;
        default:
            break;
        }
        if (n.text)
            format_set_num_format(f, Textformat);
        return f;
    }

    lxw_workbook* m_bok;
    QList<QPair<QString, QByteArray>> m_namn;
    const Formatnyckel m_standard;
    QHash<Formatnyckel, lxw_format*> m_format;
};

struct Kolumnformat {
    double bredd;
    lxw_format* format;
    bool operator==(const Kolumnformat&) const = default;
};

void skrivKolumner(const Arbetsblad& blad, lxw_worksheet* ark, Formatlager& format) {
    const Kolumnformat standard{StandardKolumnbredd, nullptr};
    const auto formatFor = [&](int k) {
        return Kolumnformat{blad.kolumnbredd(k), format.format(blad.kolumnstil(k))};
    };
    // Columns the list never named look like the sheet; only the named ones are
    // looked at one by one, so that a sheet-wide setting costs one run.
    std::vector<std::pair<std::pair<int, int>, Kolumnformat>> lopor;
    const auto lagg = [&](int forsta, int sista, const Kolumnformat& f) {
        if (forsta > sista)
            return;
        if (!lopor.empty() && lopor.back().first.second == forsta - 1 && lopor.back().second == f)
            lopor.back().first.second = sista;
        else
            lopor.push_back({{forsta, sista}, f});
    };
    const Kolumnformat bladets{blad.bladKolumnbredd().value_or(StandardKolumnbredd),
                               format.format(blad.grundstil())};
    int nasta = 1;
    for (const auto& [k, kolumn] : blad.kolumner()) {
        lagg(nasta, k - 1, bladets);
        lagg(k, k, formatFor(k));
        nasta = k + 1;
    }
    lagg(nasta, MaxKolumn, bladets);
    for (const auto& [omrade, f] : lopor)
        if (!(f == standard))
            prova(worksheet_set_column(ark, lxw_col_t(omrade.first - 1), lxw_col_t(omrade.second - 1),
                                       f.bredd, f.format));
}

// The block of cells the file holds, counted from 0 as the library counts.
struct Omfang {
    lxw_row_t forstaRad = LXW_ROW_MAX, sistaRad = 0;
    lxw_col_t forstaKolumn = LXW_COL_MAX, sistaKolumn = 0;
    void lagg(lxw_row_t rad, lxw_col_t kolumn) {
        forstaRad = std::min(forstaRad, rad);
        sistaRad = std::max(sistaRad, rad);
        forstaKolumn = std::min(forstaKolumn, kolumn);
        sistaKolumn = std::max(sistaKolumn, kolumn);
    }
};

// The sheet's dimension tells a reader the used range: from the first to the
// last cell with a value or a format, as the spreadsheet program writes it.
// libxlsxwriter widens it for every formatted column run and every row it is
// told about, so a sheet-wide font would claim all 16384 columns and an empty
// title row would count too. It has no call to set the dimension, so it is set
// where the library keeps it, after the last write and before the file is put
// together; an empty block gives the library's "A1".
void sattDimension(lxw_worksheet* ark, const Omfang& omfang) {
    ark->dim_rowmin = omfang.forstaRad;
    ark->dim_rowmax = omfang.sistaRad;
    ark->dim_colmin = omfang.forstaKolumn;
    ark->dim_colmax = omfang.sistaKolumn;
}

// A text as the library takes it, the UTF-8 that QString::toUtf8 gives, in
// a buffer every cell reuses. A text with a surrogate (a character beyond the
// first plane, or half of one) is left to toUtf8 itself.
const char* utf8(const QString& text, std::string& ut) {
    ut.resize(size_t(text.size()) * 3 + 1);
    char* p = ut.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *p++ = char(u);
        } else if (u < 0x800) {
            *p++ = char(0xC0 | (u >> 6));
            *p++ = char(0x80 | (u & 0x3F));
        } else if (QChar::isSurrogate(u)) {
            const QByteArray hel = text.toUtf8();
            ut.assign(hel.constData(), size_t(hel.size()));
            return ut.c_str();
        } else {
            *p++ = char(0xE0 | (u >> 12));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        }
    }
    *p = '\0';
    return ut.data();
}

void skrivCeller(const Arbetsblad& blad, lxw_worksheet* ark, Formatlager& format, Omfang& omfang) {
    if (blad.bladRadhojd())
        worksheet_set_default_row(ark, *blad.bladRadhojd(), LXW_FALSE);
    // A cell's format is its column's (the sheet's for a column nobody named)
    // with its row's and its own layers over it: the columns' keys are made
    // once, each row's layer once per row.
    const Formatnyckel grund = format.nyckel(blad.grundstil());
    std::vector<Formatnyckel> kolumner;
    if (!blad.kolumner().empty())
        kolumner.assign(size_t(blad.kolumner().rbegin()->first) + 1, grund);
    for (const auto& [k, kolumn] : blad.kolumner())
        format.lager(kolumn.stil).lagg(kolumner[size_t(k)]);
    const auto kolumnnyckel = [&](int k) {
        return size_t(k) < kolumner.size() ? kolumner[size_t(k)] : grund;
    };

    // The cells' own layers are few: each is made once.
    std::vector<std::optional<Formatlager::Lager>> cellagren(blad.antalCellstilar());
    const auto cellager = [&](quint32 nummer) -> const Formatlager::Lager& {
        std::optional<Formatlager::Lager>& l = cellagren[nummer];
        if (!l)
            l = format.lager(blad.cellstil(nummer));
        return *l;
    };
    // A column's cells mostly share their format with the cell above, so each
    // column remembers its last key and format; only a change is looked up.
    struct Senast {
        Formatnyckel nyckel;
        lxw_format* format = nullptr;
        bool kand = false;
    };
    std::vector<Senast> senast(kolumner.size());
    const auto formatFor = [&](int k, const Formatnyckel& n) {
        if (size_t(k) >= senast.size())
            senast.resize(size_t(k) + 1);
        Senast& s = senast[size_t(k)];
        if (!s.kand || !(s.nyckel == n))
            s = {n, format.format(n), true};
        return s.format;
    };

    std::string text;

    for (const auto& [r, rad] : blad.rader()) {
        const lxw_row_t fr = lxw_row_t(r - 1);
        const Formatlager::Lager radlager = format.lager(rad.stil);
        // Without a sheet-wide height every used row carries the height the
        // printer gives it, so that the file and the paper agree.
        if (rad.hojd || !radlager.tomt() || !blad.bladRadhojd()) {
            lxw_format* radformat = nullptr;
            if (!radlager.tomt()) {
                Formatnyckel n = grund;
                radlager.lagg(n);
                radformat = format.format(n);
            }
            prova(worksheet_set_row(ark, fr, blad.radhojd(r), radformat));
        }
        for (const auto& [k, cell] : rad.celler) {
            const lxw_col_t fk = lxw_col_t(k - 1);
            Formatnyckel n = kolumnnyckel(k);
            radlager.lagg(n);
            cellager(cell.stil).lagg(n);
            lxw_format* f = formatFor(k, n);
            const QVariant& v = cell.varde;
            const int typ = v.typeId();
            if (v.isValid() || f)
                omfang.lagg(fr, fk);
            if (!v.isValid()) {
                if (f)
                    prova(worksheet_write_blank(ark, fr, fk, f));
            } else if (typ == QMetaType::Double) {
                prova(worksheet_write_number(ark, fr, fk, *static_cast<const double*>(v.constData()), f));
            } else if (typ == QMetaType::Bool) {
                prova(worksheet_write_boolean(ark, fr, fk, v.toBool(), f));
            } else {
                const char* t = typ == QMetaType::QString
                                    ? utf8(*static_cast<const QString*>(v.constData()), text)
                                    : utf8(v.toString(), text);
                prova(worksheet_write_string(ark, fr, fk, t, f));
            }
        }
    }
}

void skrivSidformat(const Arbetsblad& blad, lxw_worksheet* ark) {
    const Sidformat& s = blad.sidformat();
    worksheet_set_paper(ark, uint8_t(s.PaperSize()));
    if (s.Orientation() == Orientering::Liggande)
        worksheet_set_landscape(ark);
    else
        worksheet_set_portrait(ark);
    worksheet_set_margins(ark, s.LeftMargin() / 72, s.RightMargin() / 72, s.TopMargin() / 72,
                          s.BottomMargin() / 72);
    // The header and footer margins travel with the texts; libxlsxwriter keeps its
    // default for a margin of 0, and a hair above it is 0 on paper.
    const Sidformat standard = Sidformat::standard();
    if (!s.sidhuvud().isEmpty() || s.HeaderMargin() != standard.HeaderMargin()) {
        lxw_header_footer_options huvud{};
        huvud.margin = std::max(s.HeaderMargin() / 72, 1e-4);
        prova(worksheet_set_header_opt(ark, s.sidhuvud().toUtf8().constData(), &huvud));
    }
    if (!s.sidfot().isEmpty() || s.FooterMargin() != standard.FooterMargin()) {
        lxw_header_footer_options fot{};
        fot.margin = std::max(s.FooterMargin() / 72, 1e-4);
        prova(worksheet_set_footer_opt(ark, s.sidfot().toUtf8().constData(), &fot));
    }
    worksheet_gridlines(ark, s.PrintGridlines() ? LXW_SHOW_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);

    std::vector<lxw_row_t> brytningar;
    for (const int rad : blad.sidbrytningar().rader())
        brytningar.push_back(lxw_row_t(rad - 1));
    if (!brytningar.empty()) {
        brytningar.push_back(0);
        prova(worksheet_set_h_pagebreaks(ark, brytningar.data()));
    }
    // A text longer than its cell runs on over the empty cells beside it, and
    // a spreadsheet program prints those too, on pages of their own; the
    // program's own printing stops at the list's last column. A print area of
    // exactly what the program prints gives the same pages in both.
    if (const auto omrade = blad.utskriftsomrade())
        prova(worksheet_print_area(ark, 0, 0, lxw_row_t(omrade->first - 1), lxw_col_t(omrade->second - 1)));
    const Omrade& m = blad.markering();
    worksheet_set_selection(ark, lxw_row_t(m.forstaRad() - 1), lxw_col_t(m.forstaKolumn() - 1),
                            lxw_row_t(m.sistaRad() - 1), lxw_col_t(m.sistaKolumn() - 1));
}

quint32 tal(const QByteArray& b, qsizetype pos, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[pos + i]);
    return v;
}

bool blanktecken(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A write that fails cuts an XML part off before its root element ends. So a
// whole part is its declaration (with any comments or processing instructions),
// the root's start tag, and at the end the root's closing tag with nothing but
// white space after it; a root without content may close itself ("/>") when
// the part is that one tag. `borjan` and `slut` are the part's first and last
// bytes, `helDel` whether `borjan` is the whole part.
bool xmlArHel(QByteArrayView borjan, QByteArrayView slut, bool helDel) {
    qsizetype i = borjan.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        while (i < borjan.size() && blanktecken(borjan[i]))
            ++i;
        if (i >= borjan.size() || borjan[i] != '<')
            return false;
        const QByteArrayView rest = borjan.sliced(i);
        const char* till = rest.startsWith("<?")     ? "?>"
                           : rest.startsWith("<!--") ? "-->"
                           : rest.startsWith("<!")   ? ">"
                                                     : nullptr;
        if (!till)
            break;
        const qsizetype p = borjan.indexOf(QByteArrayView(till), i);
        if (p < 0)
            return false;
        i = p + QByteArrayView(till).size();
    }
    qsizetype j = i + 1;
    while (j < borjan.size() && !blanktecken(borjan[j]) && borjan[j] != '>' && borjan[j] != '/')
        ++j;
    if (j == i + 1 || j >= borjan.size())
        return false;
    const QByteArrayView namn = borjan.sliced(i + 1, j - i - 1);

    slut = slut.trimmed();
    const qsizetype n = namn.size() + 3;
    if (slut.size() >= n && slut.sliced(slut.size() - n, 2) == "</" &&
        slut.sliced(slut.size() - n + 2, namn.size()) == namn && slut.back() == '>')
        return true;
    if (!helDel)
        return false;
    char citat = 0;
    for (qsizetype k = j; k < borjan.size(); ++k) {
        const char c = borjan[k];
        if (citat)
            citat = c == citat ? 0 : citat;
        else if (c == '"' || c == '\'')
            citat = c;
        else if (c == '>')
            return borjan[k - 1] == '/' && borjan.sliced(k + 1).trimmed().isEmpty();
    }
    return false;
}

// A part's bytes as they are read: the checksum and length of all of them,
// and the first and last bytes that say whether an XML part is whole.
class Delinnehall {
public:
    void lagg(const char* data, qsizetype n) {
        m_crc = crc32_z(m_crc, reinterpret_cast<const Bytef*>(data), size_t(n));
        m_langd += n;
        if (m_borjan.size() < Kant)
            m_borjan.append(data, std::min(n, Kant - m_borjan.size()));
        if (n >= Kant) {
            m_slut = QByteArray(data + n - Kant, Kant);
        } else {
            m_slut.append(data, n);
            if (m_slut.size() > Kant)
                m_slut.remove(0, m_slut.size() - Kant);
        }
    }
    quint32 crc() const { return quint32(m_crc); }
    qint64 langd() const { return m_langd; }
    bool xmlHel() const { return xmlArHel(m_borjan, m_slut, m_langd == m_borjan.size()); }

private:
    static constexpr qsizetype Kant = 4096;
    uLong m_crc = crc32_z(0, nullptr, 0);
    qint64 m_langd = 0;
    QByteArray m_borjan, m_slut;
};

// Inflates a part into `innehall` a piece at a time; false when the data is no
// whole deflate stream.
bool packaUpp(const char* data, quint32 packad, Delinnehall& innehall) {
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = packad;
    char buffert[64 * 1024];
    int svar = Z_OK;
    while (svar == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffert);
        z.avail_out = sizeof buffert;
        svar = inflate(&z, Z_NO_FLUSH);
        if (svar != Z_OK && svar != Z_STREAM_END)
            break;
        innehall.lagg(buffert, qsizetype(sizeof buffert - z.avail_out));
        if (svar == Z_OK && z.avail_in == 0 && z.avail_out != 0)
            break; // the stream ends before its end mark
    }
    const bool helt = svar == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return helt;
}

} // namespace

// libxlsxwriter does not notice when a write fails (a full disk, a quota): it
// reports success for a cut-off file, and a part cut off in its temporary file
// goes into the zip as if whole. So the file is read back before it may
// replace the old one: every part must be whole, match its checksum and its
// length, and an XML part must end with its root element's end.
bool XlsxFil::arHel(const QString& sokvag) {
    QFile fil(sokvag);
    if (!fil.open(QIODevice::ReadOnly))
        return false;
    const QByteArray b = fil.readAll();
    const qsizetype n = b.size();
    qsizetype slut = -1;
    for (qsizetype p = n - 22; p >= 0 && p >= n - 22 - 65535; --p)
        if (tal(b, p, 4) == 0x06054b50) {
            slut = p;
            break;
        }
    if (slut < 0)
        return false;
    const quint32 antal = tal(b, slut + 10, 2), katalogStorlek = tal(b, slut + 12, 4),
                  katalog = tal(b, slut + 16, 4);
    if (qsizetype(katalog) + katalogStorlek != slut)
        return false;
    qsizetype p = katalog;
    for (quint32 i = 0; i < antal; ++i) {
        if (p + 46 > slut || tal(b, p, 4) != 0x02014b50)
            return false;
        const quint32 metod = tal(b, p + 10, 2), crc = tal(b, p + 16, 4), packad = tal(b, p + 20, 4),
                      storlek = tal(b, p + 24, 4), namnlangd = tal(b, p + 28, 2), extra = tal(b, p + 30, 2),
                      kommentar = tal(b, p + 32, 2), lokal = tal(b, p + 42, 4);
        const QByteArray namn = b.mid(p + 46, namnlangd);
        p += 46 + namnlangd + extra + kommentar;
        if (p > slut || qsizetype(lokal) + 30 > katalog || tal(b, lokal, 4) != 0x04034b50)
            return false;
        const qsizetype data = lokal + 30 + tal(b, lokal + 26, 2) + tal(b, lokal + 28, 2);
        if (data + packad > katalog)
            return false;
        Delinnehall innehall;
        if (metod == 0) {
            if (packad != storlek)
                return false;
            innehall.lagg(b.constData() + data, packad);
        } else if (metod != Z_DEFLATED || !packaUpp(b.constData() + data, packad, innehall)) {
            return false;
        }
        if (innehall.langd() != storlek || innehall.crc() != crc)
            return false;
        if ((namn.endsWith(".xml") || namn.endsWith(".rels")) && !innehall.xmlHel())
            return false;
    }
    return antal > 0;
}

namespace {

// A write that failed for want of room: the disk or the user's quota is full,
// or the largest file the process may write is reached.
bool utrymmeSlut(int fel) {
    return fel == ENOSPC || fel == EFBIG || fel == EDQUOT;
}

// Whether a folder has no room left for a list: asked once a write has failed,
// because libxlsxwriter keeps no reason (errno is often cleared by the time it
// returns). Room for a large list is reserved in an unnamed file, which
// nothing can leave behind; where that cannot be made, the free space decides.
bool utanUtrymme(const char* mapp) {
    constexpr off_t Provstorlek = 8 * 1024 * 1024;
    const int fd = ::open(mapp, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        struct statvfs info {};
        if (::statvfs(mapp, &info) != 0)
            return false;
        const unsigned long long block = ::geteuid() == 0 ? info.f_bfree : info.f_bavail;
        return block * info.f_frsize < static_cast<unsigned long long>(Provstorlek);
    }
    const int fel = ::posix_fallocate(fd, 0, Provstorlek);
    ::close(fd);
    return utrymmeSlut(fel);
}

// A failed write is a full disk when the system said so, or when the target's
// folder or the library's own temporary folder has no room now.
bool diskenFullVid(int systemfel, const QString& mapp) {
    return utrymmeSlut(systemfel) || utanUtrymme(QFile::encodeName(mapp).constData()) ||
           utanUtrymme(P_tmpdir);
}

// Writes the whole workbook to `sokvag`, which may be left half-written on
// failure; `mal` is the file it is meant to replace.
void skriv(const Arbetsblad& blad, const QString& sokvag, const QString& mal) {
    // libxlsxwriter says only "ZIP_ERRNO" when a write fails, and a full disk
    // must be told as such; errno may still hold the system's reason.
    errno = 0;
    lxw_workbook* bok = workbook_new(QFile::encodeName(sokvag).constData());
    if (!bok)
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Filen %1 kunde inte skapas.").arg(sokvag));
    bool stangd = false;
    int systemfel = 0;
    try {
        lxw_worksheet* ark = workbook_add_worksheet(bok, blad.Name().toUtf8().constData());
        if (!ark)
            throw Fel(Kalkylfel::Programfel,
                      QStringLiteral("Bladnamnet \"%1\" är ogiltigt.").arg(blad.Name()));
        Formatlager format(bok);
        Omfang omfang;
        skrivKolumner(blad, ark, format);
        skrivCeller(blad, ark, format, omfang);
        skrivSidformat(blad, ark);
        sattDimension(ark, omfang);
        stangd = true;
        const lxw_error fel = workbook_close(bok);
        systemfel = errno;
        if (fel != LXW_NO_ERROR && diskenFullVid(systemfel, QFileInfo(sokvag).absolutePath()))
            throw diskenFull(QDir::toNativeSeparators(mal));
        prova(fel);
    } catch (...) {
        if (!stangd)
            workbook_close(bok);
        throw;
    }
    // The flush to the disk and the read-back check need each other only at
    // the end, so the check runs while the disk writes.
    std::future<int> synk = std::async(std::launch::async, [namn = QFile::encodeName(sokvag)] {
        const int fd = ::open(namn.constData(), O_RDONLY);
        if (fd < 0)
            return errno;
        const int fel = ::fsync(fd) == 0 ? 0 : errno;
        ::close(fd);
        return fel;
    });
    // A part the library could not write whole leaves a cut-off file and no
    // error.
    const bool hel = XlsxFil::arHel(sokvag);
    const int synkfel = synk.get();
    if (!hel) {
        if (diskenFullVid(systemfel, QFileInfo(sokvag).absolutePath()))
            throw diskenFull(QDir::toNativeSeparators(mal));
        throw Fel(Kalkylfel::Programfel,
                  QStringLiteral("Arbetsboken kunde inte sparas: filen blev ofullständig."));
    }
    // A network share or a file system that allocates late may find the disk
    // full only now.
    if (synkfel != 0 && utrymmeSlut(synkfel))
        throw diskenFull(QDir::toNativeSeparators(mal));
    if (synkfel != 0)
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Arbetsboken kunde inte sparas (%1).").arg(mal));
}

// A save's temporary file: a dot, the file's name (always ".xlsx"), the
// program's own ".pilkrona-" and the six letters or digits QTemporaryFile puts
// for the X's, beside the file. Six letters alone would be anyone's (an
// operator's ".<list>.xlsx.gammal", rsync's temporary files): only a name of
// exactly this form is ever taken for a stale one of ours.
const QLatin1String Tillfalligtillagg(".pilkrona-XXXXXX");

QString tillfalligMall(const QString& mapp, const QString& filnamn) {
    return mapp + QStringLiteral("/.") + filnamn + Tillfalligtillagg;
}

// A temporary file of a save that has not changed for this long is no save
// running now: a save writes its file from start to end within seconds.
constexpr std::chrono::minutes Kvarlamnad{10};

} // namespace

// What lies in the folder may be anyone's: a save running now, another program
// writing there, an operator's own file, a pipe, a link. So only what the
// program can show a killed save of its own left goes, each part of that on
// its own: the exact name, a plain file with no other name, the owner that the
// program's own new file got on that file system, untouched for a while. The
// folder is read through a descriptor that no link led to, and what is in it
// is looked at without following it: nothing found there is followed or opened.
void XlsxFil::rensaTillfalliga(const QString& mapp, const QString& lista, const QString& egen) {
    struct stat ny {};
    if (::lstat(QFile::encodeName(egen).constData(), &ny) != 0)
        return;
    // A pipe where the folder should be is refused at once, not waited on.
    const int fd = ::open(QFile::encodeName(mapp).constData(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* d = ::fdopendir(fd);
    if (d == nullptr) {
        ::close(fd);
        return;
    }
    const QString listansNamn = QLatin1Char('.') + lista;
    std::vector<QByteArray> rester;
    while (const dirent* post = ::readdir(d)) {
        const QString namn = QFile::decodeName(post->d_name);
        if (arTillfallig(namn) && (lista.isEmpty() || namn.chopped(Tillfalligtillagg.size()) == listansNamn))
            rester.emplace_back(post->d_name);
    }
    const time_t grans = ::time(nullptr) - std::chrono::seconds(Kvarlamnad).count();
    for (const QByteArray& namn : rester) {
        struct stat st {};
        if (::fstatat(fd, namn.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_nlink == 1 && st.st_uid == ny.st_uid && st.st_mtime < grans)
            ::unlinkat(fd, namn.constData(), 0);
    }
    ::closedir(d);
}

bool XlsxFil::arTillfallig(const QString& namn) {
    static const QRegularExpression monster(QStringLiteral("^\\..+\\.xlsx\\.pilkrona-[A-Za-z0-9]{6}$"));
    return monster.match(namn).hasMatch();
}

QString XlsxFil::sokvag(const QString& filnamn) {
    QString s = filnamn.trimmed();
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int snedstreck = s.lastIndexOf(QLatin1Char('/'));
    const QString mapp = s.left(snedstreck + 1);
    QString namn = s.mid(snedstreck + 1);
    static const QStringList kalkyltillagg = {QStringLiteral("xls"),  QStringLiteral("xlsx"),
                                              QStringLiteral("xlsm"), QStringLiteral("xlsb"),
                                              QStringLiteral("xlt"),  QStringLiteral("xltx")};
    const int punkt = namn.lastIndexOf(QLatin1Char('.'));
    if (punkt > 0 && kalkyltillagg.contains(namn.mid(punkt + 1).toLower()))
        namn.truncate(punkt);
    if (namn.isEmpty() || namn == QLatin1String(".") || namn == QLatin1String(".."))
        throw Fel(Kalkylfel::Programfel, QStringLiteral("Filnamnet \"%1\" är ogiltigt.").arg(filnamn));
    return QFileInfo(mapp + namn + QStringLiteral(".xlsx")).absoluteFilePath();
}

QString XlsxFil::spara(const Arbetsblad& blad, const QString& filnamn, bool sakerhetskopia) {
    const QString mal = sokvag(filnamn);
    const QFileInfo malInfo(mal);
    const QString mapp = malInfo.absolutePath();
    if (!QFileInfo(mapp).isDir())
        throw Fel(Kalkylfel::Programfel,
                  QStringLiteral("Mappen %1 finns inte.").arg(QDir::toNativeSeparators(mapp)));

    // A spreadsheet program that has the file open would lose its view of it or
    // write its own copy back over ours: refuse while it holds it. LibreOffice's
    // lock file that nothing backs any more is left from a program that ended
    // without removing it; it goes once the file is saved.
    if (auto innehavare = Filhallare::oppnadAv(mal))
        throw FilenOppen(mal, *innehavare);
    const QByteArray malNamn = QFile::encodeName(mal);
    if (malInfo.exists()) {
        if (malInfo.isDir())
            throw Fel(Felnummer::SokvagsAtkomstfel, QStringLiteral("%1 är en mapp.").arg(mal));
        // Renaming would replace even a read-only file; the file's owner meant it
        // to stay as it is. Its mode decides and not only access(), which lets
        // root write everything: a list run as root must not replace it either.
        struct stat info {};
        if (::stat(malNamn.constData(), &info) != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
            ::access(malNamn.constData(), W_OK) != 0)
            throw Fel(Felnummer::SokvagsAtkomstfel, QStringLiteral("Filen %1 är skrivskyddad.").arg(mal));
    }
    if (::access(QFile::encodeName(mapp).constData(), W_OK) != 0)
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Mappen %1 får inte skrivas i.").arg(mapp));

    QTemporaryFile tillfallig(tillfalligMall(mapp, malInfo.fileName()));
    if (!tillfallig.open())
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Mappen %1 får inte skrivas i.").arg(mapp));
    tillfallig.close();
    // A save killed half-way left its temporary file behind (before or after
    // it got the list's mode); this save's own file shows what owner the
    // program's files get there.
    rensaTillfalliga(mapp, malInfo.fileName(), tillfallig.fileName());
    const QByteArray tillfalligNamn = QFile::encodeName(tillfallig.fileName());
    skriv(blad, tillfallig.fileName(), mal);

    if (sakerhetskopia && malInfo.exists()) {
        const QString kopia = mal + QStringLiteral(".bak");
        QFile::remove(kopia);
        if (!QFile::copy(mal, kopia))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Säkerhetskopian %1 kunde inte skapas.").arg(kopia));
    }

    // The temporary file is private to its owner; the list file is not.
    mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat gammal {};
    const mode_t lage = ::stat(malNamn.constData(), &gammal) == 0 ? (gammal.st_mode & 07777) : (0666 & ~mask);
    ::chmod(tillfalligNamn.constData(), lage);
    if (::rename(tillfalligNamn.constData(), malNamn.constData()) != 0) {
        const int fel = errno;
        throw Fel(fel == EACCES || fel == EPERM ? Felnummer::AtkomstNekad : Felnummer::SokvagsAtkomstfel,
                  QStringLiteral("Filen %1 kunde inte ersättas.").arg(mal));
    }
    Filhallare::taBortLasfil(mal);
    return mal;
}

} // namespace Kalkyl
