#include "platform/workbook/XlsxFil.h"

#include "common/Fel.h"
#include "platform/workbook/Arbetsblad.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
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

class Formatlager {
public:
    explicit Formatlager(lxw_workbook* bok) : m_bok(bok) {}

    // The file's format for a fully resolved style; nullptr for the defaults.
    lxw_format* format(const Stil& s) {
        if (s == m_standard)
            return nullptr;
        const QString nyckel = QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                                   .arg(*s.namn)
                                   .arg(*s.storlek)
                                   .arg(*s.fet)
                                   .arg(s.farg ? *s.farg : -1)
                                   .arg(*s.understrykning)
                                   .arg(s.fyllning ? *s.fyllning : -1)
                                   .arg(*s.justering)
                                   .arg(*s.talformat);
        auto& f = m_format[nyckel];
        if (!f)
            f = skapa(s);
        return f;
    }

private:
    lxw_format* skapa(const Stil& s) {
        lxw_format* f = workbook_add_format(m_bok);
        format_set_font_name(f, s.namn->toUtf8().constData());
        format_set_font_size(f, *s.storlek);
        if (*s.fet)
            format_set_bold(f);
        if (s.farg)
            format_set_font_color(f, filfarg(*s.farg));
        switch (*s.understrykning) {
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
        if (s.fyllning) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, filfarg(*s.fyllning));
        }
        switch (*s.justering) {
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
        if (*s.talformat == QLatin1String(Textformat))
            format_set_num_format(f, Textformat);
        return f;
    }

    lxw_workbook* m_bok;
    const Stil m_standard = standardstil();
    std::map<QString, lxw_format*> m_format;
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

void skrivCeller(const Arbetsblad& blad, lxw_worksheet* ark, Formatlager& format, Omfang& omfang) {
    if (blad.bladRadhojd())
        worksheet_set_default_row(ark, *blad.bladRadhojd(), LXW_FALSE);
    for (const auto& [r, rad] : blad.rader()) {
        const lxw_row_t fr = lxw_row_t(r - 1);
        // Without a sheet-wide height every used row carries the height the
        // printer gives it, so that the file and the paper agree.
        if (rad.hojd || !rad.stil.tom() || !blad.bladRadhojd())
            prova(worksheet_set_row(ark, fr, blad.radhojd(r),
                                    rad.stil.tom() ? nullptr : format.format(blad.radstil(r))));
        for (const auto& [k, cell] : rad.celler) {
            const lxw_col_t fk = lxw_col_t(k - 1);
            lxw_format* f = format.format(blad.stil(r, k));
            const QVariant& v = cell.varde;
            if (v.isValid() || f)
                omfang.lagg(fr, fk);
            if (!v.isValid()) {
                if (f)
                    prova(worksheet_write_blank(ark, fr, fk, f));
            } else if (v.typeId() == QMetaType::Double) {
                prova(worksheet_write_number(ark, fr, fk, v.toDouble(), f));
            } else if (v.typeId() == QMetaType::Bool) {
                prova(worksheet_write_boolean(ark, fr, fk, v.toBool(), f));
            } else {
                prova(worksheet_write_string(ark, fr, fk, v.toString().toUtf8().constData(), f));
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

// libxlsxwriter does not notice when a write fails (a full disk, a quota): it
// reports success for a cut-off file. So the file is read back before it may
// replace the old one: every part of the zip must be whole, match its checksum
// and, for the XML parts, parse to the end.
bool arHel(const QString& sokvag) {
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
        if (qsizetype(lokal) + 30 > katalog || tal(b, lokal, 4) != 0x04034b50)
            return false;
        const qsizetype data = lokal + 30 + tal(b, lokal + 26, 2) + tal(b, lokal + 28, 2);
        if (data + packad > katalog)
            return false;
        QByteArray innehall;
        if (metod == 0) {
            innehall = b.mid(data, packad);
        } else if (metod == Z_DEFLATED) {
            innehall.resize(storlek);
            z_stream z{};
            if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
                return false;
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(b.constData() + data));
            z.avail_in = packad;
            z.next_out = reinterpret_cast<Bytef*>(innehall.data());
            z.avail_out = storlek;
            const int svar = inflate(&z, Z_FINISH);
            const bool helt = svar == Z_STREAM_END && z.total_out == storlek;
            inflateEnd(&z);
            if (!helt)
                return false;
        } else {
            return false;
        }
        if (quint32(innehall.size()) != storlek ||
            crc32(0, reinterpret_cast<const Bytef*>(innehall.constData()), uInt(innehall.size())) != crc)
            return false;
        if (namn.endsWith(".xml") || namn.endsWith(".rels")) {
            QXmlStreamReader xml(innehall);
            while (!xml.atEnd())
                xml.readNext();
            if (xml.hasError())
                return false;
        }
    }
    return antal > 0;
}

// Writes the whole workbook to `sokvag`, which may be left half-written on failure.
void skriv(const Arbetsblad& blad, const QString& sokvag) {
    lxw_workbook* bok = workbook_new(QFile::encodeName(sokvag).constData());
    if (!bok)
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Filen %1 kunde inte skapas.").arg(sokvag));
    bool stangd = false;
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
        prova(workbook_close(bok));
    } catch (...) {
        if (!stangd)
            workbook_close(bok);
        throw;
    }
    if (!arHel(sokvag))
        throw Fel(
            Kalkylfel::Programfel,
            QStringLiteral("Arbetsboken kunde inte sparas: filen blev ofullständig (är disken full?)."));
}

} // namespace

QStringList XlsxFil::lasfiler(const QString& sokvag) {
    const QFileInfo fi(sokvag);
    const QDir mapp = fi.absoluteDir();
    return {mapp.filePath(QStringLiteral(".~lock.") + fi.fileName() + QLatin1Char('#')),
            mapp.filePath(QStringLiteral("~$") + fi.fileName())};
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
    // write its own copy back over ours: refuse while its lock file is there.
    for (const QString& las : lasfiler(mal))
        if (QFileInfo::exists(las))
            throw Fel(Felnummer::AtkomstNekad,
                      QStringLiteral("Filen %1 är öppen i ett annat program.").arg(mal));
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

    QTemporaryFile tillfallig(mapp + QStringLiteral("/.") + malInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!tillfallig.open())
        throw Fel(Felnummer::AtkomstNekad, QStringLiteral("Mappen %1 får inte skrivas i.").arg(mapp));
    tillfallig.close();
    const QByteArray tillfalligNamn = QFile::encodeName(tillfallig.fileName());
    skriv(blad, tillfallig.fileName());

    if (const int fd = ::open(tillfalligNamn.constData(), O_RDONLY); fd >= 0) {
        const bool skrivet = ::fsync(fd) == 0;
        ::close(fd);
        if (!skrivet)
            throw Fel(Kalkylfel::Programfel, QStringLiteral("Arbetsboken kunde inte sparas (%1).").arg(mal));
    }
    // The temporary file is private to its owner; the list file is not.
    mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat gammal {};
    const mode_t lage = ::stat(malNamn.constData(), &gammal) == 0 ? (gammal.st_mode & 07777) : (0666 & ~mask);
    ::chmod(tillfalligNamn.constData(), lage);

    if (sakerhetskopia && malInfo.exists()) {
        const QString kopia = mal + QStringLiteral(".bak");
        QFile::remove(kopia);
        if (!QFile::copy(mal, kopia))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Säkerhetskopian %1 kunde inte skapas.").arg(kopia));
    }
    if (::rename(tillfalligNamn.constData(), malNamn.constData()) != 0) {
        const int fel = errno;
        throw Fel(fel == EACCES || fel == EPERM ? Felnummer::AtkomstNekad : Felnummer::SokvagsAtkomstfel,
                  QStringLiteral("Filen %1 kunde inte ersättas.").arg(mal));
    }
    return mal;
}

} // namespace Kalkyl
