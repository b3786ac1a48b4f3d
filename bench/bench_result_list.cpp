// Times the result list saved to a file, from the chosen classes to the file
// renamed into place, without widgets: a mixed competition of 2,000 shooters
// in 40 classes (sport with 60 and 40 shots, national with 40 and 20; twelve of
// them merged into four main classes; totals and counts that tie often, a
// shoot-off value for one shooter in 23, one in 60 without results), all 32
// classes of the class choice (the free classes and the main classes) chosen.
//
// Three steps are timed: rank (the chosen classes selected, ranked and placed),
// build (the workbook set up and its blocks written) and save (the file
// written, read back, synced and renamed into place). The reference is the
// same sheet written straight with libxlsxwriter: every cell of the list's
// sheet with its value, a format index per cell worked out before the clock
// starts, the formats made once per workbook, the columns, rows and page
// set-up; to a temporary file in the same folder, synced and renamed into
// place. The sheet it copies is the one the warm-up run built. After one
// warm-up the list and the reference take turns, one of each a round and each
// first every other round, so that the disk's moods fall on both; the figures
// are medians, ratio the list's total over the reference.
//
//     bench_result_list [folder] [rounds]     (default: the current folder, 11)
//
// The folder must be on a disk-backed file system: on tmpfs an fsync costs
// nothing and the comparison would say nothing about the program.
#include "Bankstod.h"
#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "common/Poster.h"
#include "competition/Klasser.h"
#include "competition/Serieregler.h"
#include "lists/Resultatlistbok.h"
#include "lists/Resultaturval.h"
#include "output/Arbetsboksram.h"
#include "platform/workbook/Kalkylprogram.h"
#include "shell/NyTavling.h"
#include "shell/modGlobalt.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <random>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>

using namespace Bank;
using namespace Kalkyl;

namespace {

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// ---- The competition ----

struct Klassdef {
    QString kod, namn;
    int skott;
    QString slag; // "Sport" or "Nat"
};

// 40 classes: ten each of sport 60, sport 40 and national 40, and ten national
// 20. The first three of each kind are merged into a main class of their own.
QList<Klassdef> klassdefinitioner() {
    QList<Klassdef> k;
    const struct {
        const char* prefix;
        const char* namn;
        int skott;
        const char* slag;
    } slag[] = {{"S", "Sport 60 skott", 60, "Sport"},
                {"T", "Sport 40 skott", 40, "Sport"},
                {"N", "Nationell 40 skott", 40, "Nat"},
                {"U", "Nationell 20 skott", 20, "Nat"}};
    for (const auto& s : slag)
        for (int i = 1; i <= 10; ++i)
            k.append({QStringLiteral("%1%2").arg(QLatin1String(s.prefix)).arg(i),
                      QStringLiteral("%1, klass %2").arg(QString::fromUtf8(s.namn)).arg(i), s.skott,
                      QLatin1String(s.slag)});
    return k;
}

struct Skyttedata {
    QString namn, efternamn, forening, licens, fodelsear;
    Serieregler::Serier serier{};
    int innertior = 0;
    std::array<int, 10> antal{}; // tens .. ones
    double sarskjutning = 0;
};

// One shooter of a class shooting `serier` series: five shots of 7 to 10 a
// series, so that totals and counts tie often enough for count-back, shared
// places and shoot-offs; one in 60 has no result yet.
Skyttedata skytt(std::mt19937& slump, int nummer, int serier) {
    static const char* fornamn[] = {"Anna", "Björn",  "Cecilia", "David", "Eva",      "Fredrik", "Gun",
                                    "Hans", "Ingrid", "Johan",   "Karin", "Lars",     "Maria",   "Nils",
                                    "Olle", "Pia",    "Rolf",    "Sara",  "Torbjörn", "Ulla"};
    static const char* efternamn[] = {
        "Andersson", "Berg",      "Carlsson", "Dahl",      "Ek",      "Forsberg", "Gustafsson", "Holm",
        "Isaksson",  "Johansson", "Karlsson", "Lindqvist", "Nilsson", "Olsson",   "Persson",    "Sjöberg",
        "Åberg",     "Åström",    "Ängström", "Öberg",     "Östlund", "Wallin",   "Zetterberg"};
    Skyttedata s;
    s.namn = QString::fromUtf8(fornamn[nummer % std::size(fornamn)]);
    s.efternamn = QString::fromUtf8(efternamn[(nummer * 7 / 3) % std::size(efternamn)]);
    s.forening = QStringLiteral("Skytteföreningen %1").arg(nummer % 57 + 1);
    s.licens = QString::number(100000 + nummer);
    s.fodelsear = QString::number(1950 + nummer % 55);
    if (nummer % 60 == 59)
        return s;
    std::discrete_distribution<int> skott({0, 0, 0, 0, 0, 0, 0, 5, 15, 35, 45}); // 7 .. 10
    for (int i = 0; i < serier; ++i)
        for (int j = 0; j < 5; ++j) {
            const int v = skott(slump);
            s.serier[size_t(i)] += v;
            ++s.antal[size_t(10 - v)];
            if (v == 10 && slump() % 5 < 2)
                ++s.innertior;
        }
    if (nummer % 23 == 0)
        s.sarskjutning = 45 + double(slump() % 60) / 10;
    return s;
}

// The run's messages: the saved file's folder after every save is expected;
// anything else is printed and counted, and ends the benchmark after the run.
class Listmeddelanden : public Tyst {
public:
    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override {
        if (text.startsWith(QStringLiteral("Filen spardes i:")))
            return Svar::OK;
        return Tyst::visa(text, titel, ikon, knappar);
    }
};

struct Listtavling {
    QTemporaryDir mapp;
    modGlobalt g;
    Listmeddelanden m;
    QList<ValdKlass> valda;
    int klasser = 0, huvudklasser = 0;
    explicit Listtavling(const QString& mall) : mapp(mall) {}
};

std::unique_ptr<Listtavling> skapaListtavling(const QString& bas) {
    diskmapp(bas);
    auto t = std::make_unique<Listtavling>(QDir(bas).filePath(QStringLiteral("bench_result_list-XXXXXX")));
    if (!t->mapp.isValid())
        avbryt(QStringLiteral("Mappen kunde inte skapas i \"%1\".").arg(bas));
    modGlobalt& g = t->g;
    g.strProgrammapp = QCoreApplication::applicationDirPath();
    g.iniProgram.setPath(t->mapp.filePath(Ini::ProgramIniNamn));
    NyTavling::Uppgifter u;
    u.namn = QStringLiteral("Bänkcupen");
    u.antalBanor = QStringLiteral("67");
    u.datum = QStringLiteral("6 december 2026");
    u.typ = NyTavling::Typ::Mix;
    u.sokvag = t->mapp.path();
    if (!NyTavling::skapa(g, t->m, u))
        avbryt(QStringLiteral("The competition could not be created."));

    Databas& db = g.cnnTavling;
    Klasser klasser(g, t->m);
    const QList<Klassdef> defs = klassdefinitioner();
    db.transaktion([&] {
        db.kor(QStringLiteral("DELETE FROM %1").arg(g.klasstabell()));
        for (const Klassdef& d : defs)
            if (klasser.laggTill({d.kod, d.namn, QString::number(d.skott), d.slag}) != Klasser::Utfall::Ok)
                avbryt(QStringLiteral("Klassen %1 kunde inte läggas till.").arg(d.kod));
        const QList<Klass> alla = klasser.lista();
        for (int s = 0; s < 4; ++s) {
            const Klassdef& forsta = defs[s * 10];
            const QString kod = QStringLiteral("H") + forsta.kod.left(1);
            if (klasser.nyHuvudklass({kod, QStringLiteral("Sammanslagen ") + forsta.namn.section(',', 0, 0),
                                      QString::number(forsta.skott), forsta.slag}) != Klasser::Utfall::Ok)
                avbryt(QStringLiteral("Huvudklassen %1 kunde inte läggas till.").arg(kod));
            const qint64 huvud = klasser.huvudklasser().last().raknare;
            for (int i = 0; i < 3; ++i)
                if (klasser.slaSamman(alla[s * 10 + i].raknare, huvud) != Klasser::Utfall::Ok)
                    avbryt(QStringLiteral("Klassen kunde inte slås samman."));
        }

        QStringList falt{Falt::Startnr,  Falt::Namn,      Falt::Efternamn, Falt::Forening,
                         Falt::Klass,    Falt::Licensnr,  Falt::Fodelsear, Falt::Totalt40,
                         Falt::Totalt60, Falt::Innertior, Falt::TioNior,   Falt::Sarskjutning};
        for (int i = 1; i <= Serieregler::AntalSerier; ++i)
            falt << Falt::res(i);
        for (int i = 1; i <= Serieregler::AntalPar; ++i)
            falt << Falt::sum(i);
        const QString sql =
            QStringLiteral("INSERT INTO Skyttar (%1) VALUES (%2)")
                .arg(falt.join(QStringLiteral(", ")),
                     QStringList(falt.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        std::mt19937 slump(20261206);
        for (int i = 0; i < Skyttar; ++i) {
            const Klassdef& d = defs[i % defs.size()];
            const Skyttedata s = skytt(slump, i, Serieregler::klassensSerier(d.skott));
            const Serieregler::Summor summor = Serieregler::rakna(s.serier);
            QVariantList v{i + 1,
                           s.namn,
                           s.efternamn,
                           s.forening,
                           d.kod,
                           s.licens,
                           s.fodelsear,
                           summor.totalt40,
                           summor.totalt60,
                           s.innertior,
                           Serieregler::tioNiorText(s.antal),
                           s.sarskjutning};
            for (const int serie : s.serier)
                v << serie;
            for (const int par : summor.par)
                v << par;
            db.kor(sql, v);
        }
    });

    for (const Klass& k : klasser.friaKlasser())
        t->valda.append({k, false});
    for (const Klass& k : klasser.huvudklasser())
        t->valda.append({k, true});
    t->klasser = int(defs.size());
    t->huvudklasser = int(klasser.huvudklasser().size());
    std::printf("database: %s\n", qPrintable(g.strTavlingsdatabas));
    std::printf("shooters: %d\n", Skyttar);
    std::printf("classes: %d\n", t->klasser);
    std::printf("main classes: %d\n", t->huvudklasser);
    std::printf("chosen classes: %lld\n", static_cast<long long>(t->valda.size()));
    return t;
}

// ---- The reference ----

// The list's sheet as the reference writes it, taken from the warm-up's sheet
// before the clock starts: values, the UTF-8 of every text, a format index per
// cell, row and column run, and the page set-up.
struct Referensblad {
    struct Format {
        QByteArray namn;
        double storlek;
        bool fet;
        long farg; // -1: automatic
        int understrykning;
        long fyllning; // -1: none
        int justering;
        bool text;
    };
    struct Cell {
        lxw_row_t rad;
        lxw_col_t kolumn;
        enum { Tom, Tal, Text, Sanning } typ;
        double tal;
        QByteArray text;
        int format; // -1: the defaults
    };
    struct Kolumnlopa {
        lxw_col_t forsta, sista;
        double bredd;
        int format;
    };
    struct Rad {
        lxw_row_t rad;
        double hojd;
        int format;
    };
    QByteArray bladnamn;
    std::vector<Format> format;
    std::vector<Kolumnlopa> kolumner;
    std::optional<double> standardhojd;
    std::vector<Rad> rader;
    std::vector<Cell> celler;
    int papper = 9;
    bool liggande = false, rutnat = false;
    double vanster = 0, hoger = 0, topp = 0, botten = 0, huvudmarginal = 0, fotmarginal = 0;
    QByteArray sidhuvud, sidfot;
};

int formatindex(Referensblad& r, std::vector<Stil>& kanda, const Stil& s) {
    if (s == standardstil())
        return -1;
    for (size_t i = 0; i < kanda.size(); ++i)
        if (kanda[i] == s)
            return int(i);
    kanda.push_back(s);
    r.format.push_back({s.namn->toUtf8(), *s.storlek, *s.fet, s.farg.value_or(-1), *s.understrykning,
                        s.fyllning.value_or(-1), *s.justering, *s.talformat == QLatin1String(Textformat)});
    return int(r.format.size() - 1);
}

Referensblad referensblad(const Arbetsblad& blad) {
    Referensblad r;
    std::vector<Stil> kanda;
    r.bladnamn = blad.Name().toUtf8();
    int sistaKolumn = 0;
    for (const auto& [k, kolumn] : blad.kolumner())
        sistaKolumn = k;
    for (int k = 1; k <= sistaKolumn + 1; ++k) {
        const double bredd = blad.kolumnbredd(k);
        const int f = formatindex(r, kanda, k <= sistaKolumn ? blad.kolumnstil(k) : blad.grundstil());
        const lxw_col_t fk = lxw_col_t(k - 1);
        const lxw_col_t sista = k <= sistaKolumn ? fk : lxw_col_t(MaxKolumn - 1);
        if (!r.kolumner.empty() && r.kolumner.back().sista + 1 == fk && r.kolumner.back().bredd == bredd &&
            r.kolumner.back().format == f)
            r.kolumner.back().sista = sista;
        else
            r.kolumner.push_back({fk, sista, bredd, f});
    }
    r.standardhojd = blad.bladRadhojd();
    for (const auto& [rn, rad] : blad.rader()) {
        if (rad.hojd || !rad.stil.tom() || !r.standardhojd)
            r.rader.push_back({lxw_row_t(rn - 1), blad.radhojd(rn),
                               rad.stil.tom() ? -1 : formatindex(r, kanda, blad.radstil(rn))});
        for (const auto& [k, cell] : rad.celler) {
            Referensblad::Cell c{lxw_row_t(rn - 1),
                                 lxw_col_t(k - 1),
                                 Referensblad::Cell::Tom,
                                 0,
                                 {},
                                 formatindex(r, kanda, blad.stil(rn, k))};
            const QVariant& v = cell.varde;
            if (!v.isValid()) {
                if (c.format < 0)
                    continue;
            } else if (v.typeId() == QMetaType::Double) {
                c.typ = Referensblad::Cell::Tal;
                c.tal = v.toDouble();
            } else if (v.typeId() == QMetaType::Bool) {
                c.typ = Referensblad::Cell::Sanning;
                c.tal = v.toBool();
            } else {
                c.typ = Referensblad::Cell::Text;
                c.text = v.toString().toUtf8();
            }
            r.celler.push_back(std::move(c));
        }
    }
    const Sidformat& s = blad.sidformat();
    r.papper = s.PaperSize();
    r.liggande = s.Orientation() == Orientering::Liggande;
    r.rutnat = s.PrintGridlines();
    r.vanster = s.LeftMargin() / 72;
    r.hoger = s.RightMargin() / 72;
    r.topp = s.TopMargin() / 72;
    r.botten = s.BottomMargin() / 72;
    r.huvudmarginal = s.HeaderMargin() / 72;
    r.fotmarginal = s.FooterMargin() / 72;
    r.sidhuvud = s.sidhuvud().toUtf8();
    r.sidfot = s.sidfot().toUtf8();
    return r;
}

// The old platform packs red low, the file wants it high; 0 is no colour to
// libxlsxwriter, which has its own black.
lxw_color_t filfarg(long farg) {
    const lxw_color_t rgb = lxw_color_t((farg & 0xff) << 16 | (farg & 0xff00) | ((farg >> 16) & 0xff));
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

lxw_format* skapaFormat(lxw_workbook* bok, const Referensblad::Format& f) {
    lxw_format* x = workbook_add_format(bok);
    format_set_font_name(x, f.namn.constData());
    format_set_font_size(x, f.storlek);
    if (f.fet)
        format_set_bold(x);
    if (f.farg >= 0)
        format_set_font_color(x, filfarg(f.farg));
    if (f.understrykning == Understrykning::Enkel)
        format_set_underline(x, LXW_UNDERLINE_SINGLE);
    else if (f.understrykning == Understrykning::Dubbel)
        format_set_underline(x, LXW_UNDERLINE_DOUBLE);
    if (f.fyllning >= 0) {
        format_set_pattern(x, LXW_PATTERN_SOLID);
        format_set_bg_color(x, filfarg(f.fyllning));
    }
    if (f.justering == Justering::Hoger)
        format_set_align(x, LXW_ALIGN_RIGHT);
    else if (f.justering == Justering::Vanster)
        format_set_align(x, LXW_ALIGN_LEFT);
    else if (f.justering == Justering::Centrerad)
        format_set_align(x, LXW_ALIGN_CENTER);
    if (f.text)
        format_set_num_format(x, Textformat);
    return x;
}

void lxw(lxw_error fel, const char* vad) {
    if (fel != LXW_NO_ERROR)
        avbryt(QStringLiteral("libxlsxwriter, %1: %2")
                   .arg(QLatin1String(vad), QLatin1String(lxw_strerror(fel))));
}

// Writes the reference sheet to a temporary file in the folder, syncs it and
// renames it to `mal`; the time in milliseconds.
double skrivReferens(const Referensblad& r, const QString& mapp, const QString& mal) {
    const QByteArray tillfallig = QFile::encodeName(mapp + QStringLiteral("/.Referens.xlsx.tmp"));
    const QByteArray malnamn = QFile::encodeName(mal);
    QElapsedTimer tid;
    tid.start();
    lxw_workbook* bok = workbook_new(tillfallig.constData());
    if (!bok)
        avbryt(QStringLiteral("libxlsxwriter could not create %1").arg(QString::fromLocal8Bit(tillfallig)));
    lxw_worksheet* ark = workbook_add_worksheet(bok, r.bladnamn.constData());
    std::vector<lxw_format*> format;
    format.reserve(r.format.size());
    for (const Referensblad::Format& f : r.format)
        format.push_back(skapaFormat(bok, f));
    const auto fmt = [&](int i) { return i < 0 ? nullptr : format[size_t(i)]; };
    for (const Referensblad::Kolumnlopa& k : r.kolumner)
        if (k.bredd != StandardKolumnbredd || k.format >= 0)
            lxw(worksheet_set_column(ark, k.forsta, k.sista, k.bredd, fmt(k.format)), "column");
    if (r.standardhojd)
        worksheet_set_default_row(ark, *r.standardhojd, LXW_FALSE);
    for (const Referensblad::Rad& rad : r.rader)
        lxw(worksheet_set_row(ark, rad.rad, rad.hojd, fmt(rad.format)), "row");
    for (const Referensblad::Cell& c : r.celler) {
        switch (c.typ) {
        case Referensblad::Cell::Tom:
            lxw(worksheet_write_blank(ark, c.rad, c.kolumn, fmt(c.format)), "blank");
            break;
        case Referensblad::Cell::Tal:
            lxw(worksheet_write_number(ark, c.rad, c.kolumn, c.tal, fmt(c.format)), "number");
            break;
        case Referensblad::Cell::Sanning:
            lxw(worksheet_write_boolean(ark, c.rad, c.kolumn, int(c.tal), fmt(c.format)), "boolean");
            break;
        case Referensblad::Cell::Text:
            lxw(worksheet_write_string(ark, c.rad, c.kolumn, c.text.constData(), fmt(c.format)), "string");
            break;
        }
    }
    worksheet_set_paper(ark, uint8_t(r.papper));
    if (r.liggande)
        worksheet_set_landscape(ark);
    worksheet_set_margins(ark, r.vanster, r.hoger, r.topp, r.botten);
    lxw_header_footer_options huvud{};
    huvud.margin = r.huvudmarginal;
    if (!r.sidhuvud.isEmpty())
        lxw(worksheet_set_header_opt(ark, r.sidhuvud.constData(), &huvud), "header");
    lxw_header_footer_options fot{};
    fot.margin = r.fotmarginal;
    if (!r.sidfot.isEmpty())
        lxw(worksheet_set_footer_opt(ark, r.sidfot.constData(), &fot), "footer");
    worksheet_gridlines(ark, r.rutnat ? LXW_SHOW_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);
    lxw(workbook_close(bok), "close");
    const int fd = ::open(tillfallig.constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0)
        avbryt(QStringLiteral("fsync of the reference failed"));
    ::close(fd);
    if (::rename(tillfallig.constData(), malnamn.constData()) != 0)
        avbryt(QStringLiteral("rename of the reference failed"));
    return ms(tid);
}

// ---- The list ----

struct Tider {
    double rang = 0, bygg = 0, spara = 0, totalt = 0;
};

// One run of the list from the chosen classes to the saved file. `blad` is
// given the sheet as it stood before the save (the warm-up's, for the
// reference).
Tider korListan(Listtavling& t, std::optional<Referensblad>* blad, QString& sparad) {
    Tider tider;
    QElapsedTimer tid;
    tid.start();
    const QList<Klassblock> block = Resultaturval(t.g).valjUt(t.valda, std::nullopt);
    tider.rang = ms(tid);
    double skrivet = 0;
    Arbetsboksram::Omgivning o{t.g, t.m};
    const std::optional<QString> fil =
        Resultatlistbok::kor(o, Utskriftsmal::Fil, block, std::nullopt, [&](Arbetsblad& ark) {
            skrivet = ms(tid);
            if (blad)
                *blad = referensblad(ark);
        });
    tider.totalt = ms(tid);
    if (!fil || t.m.sagt > 0)
        avbryt(QStringLiteral("The list was not saved as it should be."));
    sparad = *fil;
    tider.bygg = skrivet - tider.rang;
    tider.spara = tider.totalt - skrivet;
    return tider;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString bas = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const int varv = argc > 2 ? std::max(1, atoi(argv[2])) : 11;
    try {
        const auto t = skapaListtavling(bas);
        QString sparad;
        std::optional<Referensblad> blad;
        korListan(*t, &blad, sparad);
        const QString mapp = QFileInfo(sparad).absolutePath();
        const QString referens = QDir(mapp).filePath(QStringLiteral("Referens.xlsx"));
        skrivReferens(*blad, mapp, referens);

        std::vector<double> rang, bygg, spara, totalt, ref;
        for (int i = 0; i < varv; ++i)
            for (int vem = 0; vem < 2; ++vem) {
                if ((vem == 0) == (i % 2 == 0)) {
                    const Tider tider = korListan(*t, nullptr, sparad);
                    rang.push_back(tider.rang);
                    bygg.push_back(tider.bygg);
                    spara.push_back(tider.spara);
                    totalt.push_back(tider.totalt);
                } else {
                    ref.push_back(skrivReferens(*blad, mapp, referens));
                }
            }

        std::printf("sheet rows: %d\n", blad->celler.empty() ? 0 : int(blad->celler.back().rad) + 1);
        std::printf("cells: %zu\n", blad->celler.size());
        std::printf("formats: %zu\n", blad->format.size());
        std::printf("rounds: %d\n", varv);
        std::printf("rank: %.1f ms\n", median(rang));
        std::printf("build: %.1f ms\n", median(bygg));
        std::printf("save: %.1f ms\n", median(spara));
        std::printf("total: %.1f ms\n", median(totalt));
        std::printf("reference: %.1f ms\n", median(ref));
        std::printf("xlsx size: %lld bytes\n", static_cast<long long>(QFileInfo(sparad).size()));
        std::printf("reference xlsx size: %lld bytes\n", static_cast<long long>(QFileInfo(referens).size()));
        std::printf("ratio: %.2f\n", median(totalt) / median(ref));
        t->g.cnnTavling.Close();
    } catch (const Fel& f) {
        avbryt(f.text());
    }
    return 0;
}
