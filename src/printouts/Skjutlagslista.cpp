#include "printouts/Skjutlagslista.h"

#include "competition/Klasser.h"
#include "competition/Klassmodell.h"
#include "competition/Omgangar.h"
#include "competition/Skjuttider.h"
#include "output/Cellregler.h"
#include "platform/workbook/Arbetsblad.h"
#include "shell/modGlobalt.h"

using Kalkyl::Arbetsblad;

namespace {

constexpr double Titelhojd = 23.25, Tidhojd = 19.5;
constexpr double Titelstorlek = 18, Tidstorlek = 13.5, Forklaringsstorlek = 16;

QString kolumn(int nummer) {
    return Arbetsblad::kolumnnamn(nummer).toLower();
}
QString omrade(int forsta, int sista) {
    return kolumn(forsta) + QLatin1Char(':') + kolumn(sista);
}

} // namespace

const Arbetsboksram::Lista& Skjutlagslista::ark() {
    using B = Arbetsboksram::Bredd;
    using S = Arbetsboksram::Slag;
    // The first columns are the same in every layout.
    const auto bredder = [](std::initializer_list<B> resten) {
        QList<B> b{{"a:a", 5}, {"b:b", 24}, {"c:c", 17}, {"d:d", 7}, {"e:e", 5}};
        b.append(resten);
        return b;
    };
    // The dialog tells "Filen spardes i:" once its run is over.
    static const Arbetsboksram::Lista lista{
        .bladnamn = QStringLiteral("Skjutlagslista"),
        .rubrik = QStringLiteral(" Skjutlagslista"),
        .liggandeMedResultat = true,
        .marginaler = Arbetsboksram::Marginaler{1.5, 0.6, 2.5, 2.5, 1.3, 1.3},
        .vansterLiggande = 1.0,
        .bredder =
            {{S::Sport, false, bredder({{"f:f", 8}, {"g:g", 11}, {"h:m", 3.57}, {"n:o", 6.43}})},
             {S::Sport, true, bredder({{"f:f", 8}, {"g:g", 11}, {"h:h", 7}, {"i:n", 3.57}, {"o:p", 6.43}})},
             {S::Nationell, false, bredder({{"f:f", 11}, {"g:n", 3.57}, {"o:p", 6.43}, {"q:q", 3.71}})},
             {S::Nationell, true,
              bredder({{"f:f", 11}, {"g:g", 7}, {"h:o", 3.57}, {"p:q", 6.43}, {"r:r", 3.71}})},
             {S::Mix, false, bredder({{"f:f", 8}, {"g:g", 11}, {"h:o", 3.57}, {"p:q", 6.43}, {"r:r", 3.71}})},
             {S::Mix, true,
              bredder({{"f:f", 8}, {"g:g", 11}, {"h:h", 7}, {"i:p", 3.57}, {"q:r", 6.43}, {"s:s", 3.71}})}},
        .radhojd = 15,
        .filstam = QStringLiteral("Skjutlagslista"),
        .visarUtskriftsstatus = true,
        .korfel = {QStringLiteral("frmUtskriftSkjutlag.UtskriftExcel: "), Meddelanden::Ikon::Ingen, QString(),
                   Felfalla::Ordning::BeskrivningForst},
        .sparadEfterKorningen = true};
    return lista;
}

Skjutlagslista::Uppstallning Skjutlagslista::uppstallning(const modGlobalt& g) {
    Uppstallning u;
    u.typ = g.blnMix ? Typ::Mix : g.blnSportskytte ? Typ::Sport : Typ::Nationell;
    u.omgangar = g.blnFleraTavlingar;
    u.resultat = g.blnSkjutlagslistaMedResultat;
    return u;
}

Skjutlagslista::Kolumner Skjutlagslista::kolumner(const Uppstallning& u) {
    Kolumner k;
    int nasta = 6;
    if (u.typ != Typ::Nationell)
        k.aktkort = nasta++;
    k.gskort = nasta++;
    if (u.omgangar)
        k.omg = nasta++;
    if (u.resultat) {
        k.serier = nasta;
        k.antalSerier = u.typ == Typ::Sport ? 6 : 8;
        nasta += k.antalSerier;
        k.totalt40 = nasta++;
        if (u.typ != Typ::Nationell)
            k.totalt60 = nasta++;
        if (u.typ != Typ::Sport)
            k.innertior = nasta++;
    }
    k.sista = nasta - 1;
    return k;
}

QStringList Skjutlagslista::rubriker(const Uppstallning& u) {
    const Kolumner k = kolumner(u);
    QStringList r{QStringLiteral("Bana"), QStringLiteral("Namn"), QStringLiteral("Förening"),
                  QStringLiteral("Klass"), QStringLiteral("F-år")};
    while (r.size() < k.sista)
        r << QString();
    const auto satt = [&](int kolumn, const QString& text) {
        if (kolumn > 0)
            r[kolumn - 1] = text;
    };
    satt(k.aktkort, QStringLiteral("Akt.kort"));
    satt(k.gskort, QStringLiteral("GS Kort"));
    satt(k.omg, QStringLiteral("T.omg."));
    for (int i = 0; i < k.antalSerier; ++i)
        satt(k.serier + i, QString::number(i + 1));
    satt(k.totalt40, u.typ == Typ::Nationell ? QStringLiteral("Totalt") : QStringLiteral("Tot.40"));
    satt(k.totalt60, QStringLiteral("Tot.60"));
    satt(k.innertior, QStringLiteral("10'"));
    return r;
}

Skjutlagslista::Justering Skjutlagslista::justering(const Uppstallning& u) {
    const Kolumner k = kolumner(u);
    Justering j;
    if (k.omg)
        // With results and rounds a sport list sets its card columns left too.
        j.vanster = u.resultat && u.typ == Typ::Sport ? omrade(5, k.omg) : omrade(k.omg, k.omg);
    if (u.resultat) {
        j.centrerad = omrade(k.serier, k.serier + k.antalSerier - 1);
        j.hoger = omrade(k.totalt40, k.sista);
    }
    return j;
}

std::optional<int> Skjutlagslista::tolkaSkjutlag(const QString& text, int antalSkjutlag) {
    const QString t = text.trimmed();
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < 1 || n > antalSkjutlag)
        return std::nullopt;
    return n;
}

std::optional<QString> Skjutlagslista::kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal,
                                           std::optional<int> skjutlag, bool forklaringar) {
    Arbetsboksram::Korning k;
    k.mal = mal;
    return Arbetsboksram(ark(), o).kor(k, [&](Arbetsblad& blad) {
        Skjutlagslista lista(blad, o.g, o.m);
        if (skjutlag) {
            lista.skrivSkjutlag(*skjutlag, false);
        } else {
            const int antal = Skjutlag::antal(o.g.cnnTavling);
            for (int s = 1; s <= antal; ++s)
                lista.skrivSkjutlag(s, s < antal);
        }
        if (forklaringar && o.g.blnFleraTavlingar)
            lista.skrivForklaringar();
    });
}

Skjutlagslista::Skjutlagslista(Arbetsblad& blad, modGlobalt& g, Meddelanden& m)
    : m_blad(blad), m_g(g), m_u(uppstallning(g)), m_k(kolumner(m_u)) {
    if (m_u.resultat)
        m_klasser = Klassmodell::Klassregister(Klasser(g, m).lista());
}

void Skjutlagslista::skrivSkjutlag(int skjutlag, bool brytning) {
    int lage = Skjuttider::Las;
    const QString tid = HanteraSkjuttid(m_g.cnnTavling, skjutlag, lage, QString(), Skjuttider::LasEllerSkriv);
    const QList<Skjutlag::Rad> banor = Skjutlag::vy(m_g.cnnTavling, skjutlag);

    m_blad.Range(QStringLiteral("%1:%1").arg(m_rad)).setRowHeight(Titelhojd);
    Kalkyl::Omrade titel = m_blad.Cells(m_rad, 2);
    titel.Font().setSize(Titelstorlek);
    titel.Font().setBold(true);
    titel.setValue(QStringLiteral("Skjutlag: ") + QString::number(skjutlag));
    ++m_rad;

    m_blad.Range(QStringLiteral("%1:%1").arg(m_rad)).setRowHeight(Tidhojd);
    Kalkyl::Omrade tidcell = m_blad.Cells(m_rad, 2);
    tidcell.Font().setSize(Tidstorlek);
    tidcell.Font().setBold(false);
    tidcell.setValue(QStringLiteral("Skjuttid: ") + tid);
    ++m_rad;

    m_blad.Range(QStringLiteral("%1:%1").arg(m_rad)).Font().setBold(true);
    const QStringList rubrik = rubriker(m_u);
    for (int i = 0; i < rubrik.size(); ++i) {
        // The series are headed by their numbers, as numbers, as in the result lists.
        const int serie = i + 1 - m_k.serier;
        if (m_k.antalSerier > 0 && serie >= 0 && serie < m_k.antalSerier)
            m_blad.Cells(m_rad, i + 1).setValue(serie + 1);
        else
            m_blad.Cells(m_rad, i + 1).setValue(rubrik[i]);
    }
    using namespace Kalkyl::Justering;
    m_blad.Range(QStringLiteral("a:a")).setHorizontalAlignment(Hoger);
    const Justering j = justering(m_u);
    for (const auto& [omrade, kod] :
         {std::pair{j.vanster, Vanster}, std::pair{j.centrerad, Centrerad}, std::pair{j.hoger, Hoger}})
        if (!omrade.isEmpty())
            m_blad.Range(omrade).setHorizontalAlignment(kod);
    ++m_rad;

    for (const Skjutlag::Rad& bana : banor) {
        skrivBana(bana);
        ++m_rad;
    }
    if (brytning) {
        ++m_rad;
        m_blad.HPageBreaks().Add(m_blad.Range(QStringLiteral("A%1").arg(m_rad)));
    }
}

void Skjutlagslista::skrivBana(const Skjutlag::Rad& bana) {
    m_blad.Cells(m_rad, 1).setValue(bana.bana);
    if (bana.ledig())
        return;
    const Skytt& s = bana.skytt;
    m_blad.Cells(m_rad, 2).setValue(s.namn + QLatin1Char(' ') + s.efternamn);
    m_blad.Cells(m_rad, 3).setValue(s.forening);
    m_blad.Cells(m_rad, 4).setValue(s.klass);
    m_blad.Cells(m_rad, 5).setValue(s.fodelsear);
    if (m_k.aktkort)
        m_blad.Cells(m_rad, m_k.aktkort).setValue(s.licensnr);
    m_blad.Cells(m_rad, m_k.gskort).setValue(s.skyttekortNr);
    if (m_k.omg)
        m_blad.Cells(m_rad, m_k.omg).setValue(s.omg);
    if (m_u.resultat)
        skrivResultat(m_rad, s);
}

void Skjutlagslista::skrivResultat(int rad, const Skytt& s) {
    // Classes are found as result entry finds them, letter case ignored. Only
    // a mixed competition needs the class to tell how a row is shown: there a
    // shooter whose class is gone, or of no kind the list knows, shows no
    // results rather than another shooter's kind. In a national or sport
    // competition the competition's kind holds for every row, and one of
    // neither kind has the national columns.
    const Klass* klass = m_klasser.hitta(s.klass);
    const Klassslag slag = Klassmodell::slag(m_g, klass);
    if (slag == Klassslag::Okand && m_u.typ == Typ::Mix)
        return;
    const bool nationell = !Klassmodell::arSport(slag);
    if (nationell) {
        for (int i = 0; i < 8; ++i)
            Cellregler::poang(m_blad.Cells(rad, m_k.serier + i), s.res[size_t(i)], 50);
        Cellregler::poang(m_blad.Cells(rad, m_k.totalt40), s.totalt40, 400, true);
        Cellregler::poang(m_blad.Cells(rad, m_k.innertior), s.innertior, 40);
        return;
    }
    for (int i = 0; i < 6; ++i)
        Cellregler::poang(m_blad.Cells(rad, m_k.serier + i), s.sum[size_t(i)], 100);
    // Without its class a sport row is shown as a 40-shot one: that hides
    // neither total, since the 60-shot total follows whenever it is more.
    if (!klass || klass->antalSkott < 60) {
        Cellregler::poang(m_blad.Cells(rad, m_k.totalt40), s.totalt40, 400, true);
        if (s.totalt60 > s.totalt40)
            Cellregler::poang(m_blad.Cells(rad, m_k.totalt60), s.totalt60, 600);
    } else {
        Cellregler::poang(m_blad.Cells(rad, m_k.totalt60), s.totalt60, 600, true);
    }
}

void Skjutlagslista::skrivForklaringar() {
    const QList<Omgangar::Omgang> omgangar = Omgangar::alla(m_g.cnnTavling);
    // A page of its own after the squads; alone on the sheet it starts at the top.
    if (m_rad > 1) {
        ++m_rad;
        m_blad.HPageBreaks().Add(m_blad.Range(QStringLiteral("A%1").arg(m_rad)));
    }
    m_blad.Range(QStringLiteral("%1:%1").arg(m_rad)).setRowHeight(Titelhojd);
    Kalkyl::Omrade titel = m_blad.Cells(m_rad, 2);
    titel.Font().setSize(Forklaringsstorlek);
    titel.Font().setUnderline(Kalkyl::Understrykning::Enkel);
    titel.setValue(QStringLiteral("Förklaringar till dom olika tävlingsomgångarna."));
    for (const Omgangar::Omgang& o : omgangar) {
        ++m_rad;
        m_blad.Cells(m_rad, 2).setValue(QString::number(o.omg) + QStringLiteral(" = ") + o.beskrivning);
    }
    ++m_rad;
}
