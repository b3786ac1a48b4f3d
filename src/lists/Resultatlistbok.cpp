#include "lists/Resultatlistbok.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Konvertering.h"
#include "competition/Utskriftsval.h"
#include "output/Cellregler.h"
#include "platform/clsIni.h"
#include "platform/workbook/Arbetsblad.h"
#include "shell/modGlobalt.h"

using Kalkyl::Arbetsblad;

namespace {

constexpr double Seriebredd = 3.57, Totalbredd = 6.43, Slutbredd = 5.29;
constexpr double Klassradhojd = 19.5, Klassnamnstorlek = 13.5;

// A column letter counted from 1 ("a" is 1).
QString kolumn(int nummer) {
    return Arbetsblad::kolumnnamn(nummer).toLower();
}

void sattKolumn(Arbetsblad& blad, int forsta, int sista, double bredd, int justering) {
    Kalkyl::Omrade omrade = blad.Range(kolumn(forsta) + QLatin1Char(':') + kolumn(sista));
    omrade.setColumnWidth(bredd);
    omrade.setHorizontalAlignment(justering);
}

Kalkyl::Omrade rad(Arbetsblad& blad, int r) {
    return blad.Range(QStringLiteral("%1:%1").arg(r));
}

// A margin of the INI in centimetres; a text that is no sensible margin gives
// the default instead of a page nobody asked for.
double marginal(const clsIni& ini, const IniNyckel& nyckel) {
    const double standard = Konvertering::textTillDecimal(nyckel.standard);
    try {
        const double cm =
            Konvertering::textTillDecimal(ini.GetKeyValue(nyckel.sektion, nyckel.nyckel, nyckel.standard));
        return cm >= 0 ? cm : standard;
    } catch (const Fel&) {
        return standard;
    }
}

} // namespace

const QString Resultatlistbok::Omgangsetikett = QStringLiteral("Tävlings omg. ");

const Arbetsboksram::Lista& Resultatlistbok::ark() {
    using Ikon = Meddelanden::Ikon;
    using Ordning = Felfalla::Ordning;
    static const Arbetsboksram::Lista lista{
        .bladnamn = QStringLiteral("Resultatlista"),
        .rubrik = QStringLiteral(" Resultatlista"),
        .skjutlagstillagg = true,
        .orientering = Kalkyl::Orientering::Liggande,
        .marginaler = Arbetsboksram::Marginaler{1.2, 0, 2.5, 2.5, 1.3, 1.3},
        .filstam = QStringLiteral("Resultatlista"),
        .omgangsstam = QStringLiteral("ResultatlistaOmg"),
        .installningsfel = {QStringLiteral("frmValResSkärmGrund.Starta_excel_och_ställ_in_kolumner: "),
                            Ikon::Ingen, QString(), Ordning::NummerForst},
        .korfel = {QStringLiteral("frmValResSkärmGrund.Välj_ut_skyttar.. "), Ikon::Kritisk,
                   QStringLiteral("Fel"), Ordning::BeskrivningForst}};
    return lista;
}

Resultatlistbok::Sidinstallning Resultatlistbok::lasSidinstallning(const clsIni& ini) {
    Sidinstallning s;
    s.vanster = marginal(ini, Ini::VansterMarginal);
    s.hoger = marginal(ini, Ini::HogerMarginal);
    try {
        const int layout = Konvertering::textTillHeltal(
            ini.GetKeyValue(Ini::Layout.sektion, Ini::Layout.nyckel, Ini::Layout.standard));
        if (layout == Kalkyl::Orientering::Staende || layout == Kalkyl::Orientering::Liggande)
            s.orientering = layout;
    } catch (const Fel&) {
    }
    return s;
}

Resultatlistbok::Kolumner Resultatlistbok::lasKolumner(const Databas& db, bool nationellt) {
    Kolumner k;
    const auto bredd = [&](const QString& falt) -> std::optional<double> {
        const auto rad = Utskriftsval::hamtaFalt(db, falt);
        return rad ? std::optional<double>(rad->bredd) : std::nullopt;
    };
    const auto vald = [&](const QString& falt) -> std::optional<double> {
        const auto rad = Utskriftsval::hamtaFalt(db, falt);
        return rad && rad->enable ? std::optional<double>(rad->bredd) : std::nullopt;
    };
    k.namn = bredd(QStringLiteral("Namn")).value_or(k.namn);
    k.forening = bredd(QStringLiteral("Förening")).value_or(k.forening);
    k.fodelsear = vald(QStringLiteral("Födelseår"));
    if (!nationellt)
        k.aktivitetskort = vald(QStringLiteral("Aktivitetskort"));
    k.skyttekortNr = vald(QStringLiteral("SkyttekortNr"));
    return k;
}

void Resultatlistbok::sattKolumner(Arbetsblad& blad, const Kolumner& k, bool sportskytte) {
    using namespace Kalkyl::Justering;
    sattKolumn(blad, 1, 1, 5, Hoger);
    sattKolumn(blad, 2, 2, k.namn, Vanster);
    sattKolumn(blad, 3, 3, k.forening, Vanster);
    int nasta = 4;
    for (const auto& valfri : {k.fodelsear, k.aktivitetskort, k.skyttekortNr})
        if (valfri) {
            sattKolumn(blad, nasta, nasta, *valfri, Vanster);
            ++nasta;
        }
    const int serier = sportskytte ? 6 : 8;
    sattKolumn(blad, nasta, nasta + serier - 1, Seriebredd, Centrerad);
    nasta += serier;
    sattKolumn(blad, nasta, nasta, Totalbredd, Hoger);
    sattKolumn(blad, nasta + 1, nasta + 2, Slutbredd, Centrerad);
}

std::optional<QString> Resultatlistbok::kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                                            const QList<Klassblock>& klasser,
                                            const std::optional<Omgangar::Omgang>& omgang,
                                            const std::function<void(Arbetsblad&)>& skrivet) {
    const modGlobalt& g = o.g;
    const Sidinstallning sida = lasSidinstallning(g.iniTavling);
    Kolumner kolumner;
    Arbetsboksram::Korning k;
    k.mal = mal;
    k.omgang = omgang;
    k.hogeretikett = Omgangsetikett;
    k.egen.orientering = sida.orientering;
    k.egen.vanster = sida.vanster;
    k.egen.hoger = sida.hoger;
    k.egen.kolumner = [&](Arbetsblad& blad) {
        kolumner = lasKolumner(g.cnnTavling, g.blnNationellt);
        sattKolumner(blad, kolumner, g.blnSportskytte);
    };
    return Arbetsboksram(ark(), o).kor(k, [&](Arbetsblad& blad) {
        Resultatlistbok bok(blad, kolumner, g.blnMix);
        for (const Klassblock& block : klasser)
            bok.skriv(block);
        if (skrivet)
            skrivet(blad);
    });
}

Resultatlistbok::Resultatlistbok(Arbetsblad& blad, const Kolumner& kolumner, bool mix)
    : m_blad(blad), m_kolumner(kolumner), m_mix(mix) {}

int Resultatlistbok::identitetskolumner(bool sport) const {
    // National blocks of a mixed competition leave the licence column empty,
    // so that both kinds of block keep their totals in one column.
    const bool licens = m_kolumner.aktivitetskort && (sport || m_mix);
    return int(m_kolumner.fodelsear.has_value()) + int(licens) + int(m_kolumner.skyttekortNr.has_value());
}

void Resultatlistbok::skriv(const Klassblock& block) {
    if (block.skyttar.isEmpty())
        return;
    const bool sport = block.slag != Klassslag::Nationell;
    const int k = identitetskolumner(sport);
    skrivHuvud(block, k);
    const int r = k + (m_mix ? 2 : 0);
    for (qsizetype i = 0; i < block.skyttar.size(); ++i) {
        const Skytt& s = block.skyttar[i];
        const int radnr = ++m_rad;
        m_blad.Cells(radnr, 1).setValue(block.platser.value(i));
        m_blad.Cells(radnr, 2).setValue(s.namn + QLatin1Char(' ') + s.efternamn);
        m_blad.Cells(radnr, 3).setValue(s.forening);
        skrivIdentitet(radnr, s, sport);
        if (sport)
            skrivSport(radnr, s, r, block.slag == Klassslag::Sport60);
        else
            skrivNationell(radnr, s, k);
    }
}

void Resultatlistbok::skrivHuvud(const Klassblock& block, int k) {
    const bool sport = block.slag != Klassslag::Nationell;
    m_rad = m_rad == 0 ? 1 : m_rad + 3;
    rad(m_blad, m_rad).setRowHeight(Klassradhojd);
    Kalkyl::Omrade namn = m_blad.Cells(m_rad, 2);
    namn.Font().setSize(Klassnamnstorlek);
    namn.Font().setBold(true);
    namn.setValue(block.vald.klass.namn);

    const int r = ++m_rad;
    rad(m_blad, r).Font().setBold(true);
    const auto text = [&](int kolumn, const QString& t) { m_blad.Cells(r, kolumn).setValue(t); };
    text(1, QStringLiteral("Plac"));
    text(2, QStringLiteral("Namn"));
    text(3, QStringLiteral("Förening"));
    int nasta = 4;
    if (m_kolumner.fodelsear)
        text(nasta++, QStringLiteral("F-år"));
    if (m_kolumner.aktivitetskort) {
        if (sport)
            text(nasta++, QStringLiteral("Akt.kort"));
        else if (m_mix)
            ++nasta;
    }
    if (m_kolumner.skyttekortNr)
        text(nasta++, QStringLiteral("GS Kort"));

    // The series are captioned by their numbers; the six pair sums of a sport
    // block stand over the last six national series in a mixed competition.
    const int bas = sport ? k + (m_mix ? 2 : 0) : k;
    const int antal = sport ? 6 : 8;
    for (int i = 1; i <= antal; ++i)
        m_blad.Cells(r, bas + 3 + i).setValue(i);
    text(sport ? bas + 10 : bas + 12, QStringLiteral("Totalt"));
    text(sport ? bas + 12 : bas + 13, QStringLiteral("10'"));
    ++m_rad; // an empty row before the shooters
}

void Resultatlistbok::skrivIdentitet(int radnr, const Skytt& s, bool sport) {
    int nasta = 4;
    if (m_kolumner.fodelsear)
        m_blad.Cells(radnr, nasta++).setValue(s.fodelsear);
    if (m_kolumner.aktivitetskort) {
        if (sport)
            m_blad.Cells(radnr, nasta++).setValue(s.licensnr);
        else if (m_mix)
            ++nasta;
    }
    if (m_kolumner.skyttekortNr)
        m_blad.Cells(radnr, nasta).setValue(s.skyttekortNr);
}

void Resultatlistbok::skrivNationell(int radnr, const Skytt& s, int k) {
    if (s.totalt40 == 0)
        return;
    for (int i = 0; i < 8; ++i)
        Cellregler::poang(m_blad.Cells(radnr, k + 4 + i), s.res[i], 50, false, Cellregler::Annars::Svart);
    Cellregler::poang(m_blad.Cells(radnr, k + 12), s.totalt40, 400, true);
    // No inner tens shows as an empty cell in a national block.
    if (s.innertior > 0)
        m_blad.Cells(radnr, k + 13).setValue(s.innertior);
}

void Resultatlistbok::skrivSport(int radnr, const Skytt& s, int r, bool sextio) {
    // A 40-shot class shows the fifth and sixth pair and the 60-shot total of
    // a shooter who shot them.
    const bool extra = !sextio && s.totalt60 > s.totalt40;
    if (s.totalt60 != 0) {
        const int par = sextio || extra ? 6 : 4;
        for (int i = 0; i < par; ++i)
            Cellregler::poang(m_blad.Cells(radnr, r + 4 + i), s.sum[i], 100, false,
                              Cellregler::Annars::Svart);
        if (sextio) {
            Cellregler::poang(m_blad.Cells(radnr, r + 10), s.totalt60, 600, true);
        } else {
            Cellregler::poang(m_blad.Cells(radnr, r + 10), s.totalt40, 400, true);
            if (extra)
                Cellregler::poang(m_blad.Cells(radnr, r + 11), s.totalt60, 600);
        }
    }
    m_blad.Cells(radnr, r + 12).setValue(s.innertior);
}
