#include "printouts/Foreningslista.h"

#include "common/Databasnamn.h"
#include "common/Poster.h"
#include "competition/Omgangar.h"
#include "competition/Skjuttider.h"
#include "platform/Databas.h"
#include "platform/workbook/Arbetsblad.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>

using Kalkyl::Arbetsblad;

namespace {

constexpr double Titelhojd = 23.25, Titelstorlek = 18;
constexpr double Klubbhojd = 19.5, Klubbstorlek = 13.5;
constexpr double Forklaringsstorlek = 16;
// A page holds about this many rows: the explanation of the rounds is moved to
// a page of its own when it would not fit below a club's rows.
constexpr int Sidrader = 36, SidraderMax = 38, ForklaringMellanMax = 37;

enum Kolumn { A = 1, B, C, D, E, F, G, H };

Kalkyl::Omrade helRad(Arbetsblad& blad, int r) {
    return blad.Range(QStringLiteral("%1:%1").arg(r));
}

void sidbrytning(Arbetsblad& blad, int r) {
    blad.HPageBreaks().Add(blad.Range(QStringLiteral("A%1").arg(r)));
}

// A row with a large bold text in B.
void rubrikrad(Arbetsblad& blad, int r, double hojd, double storlek, const QString& text) {
    helRad(blad, r).setRowHeight(hojd);
    Kalkyl::Omrade cell = blad.Cells(r, B);
    cell.Font().setSize(storlek);
    cell.Font().setBold(true);
    cell.setValue(text);
}

void titel(Arbetsblad& blad, int r) {
    rubrikrad(blad, r, Titelhojd, Titelstorlek, QStringLiteral("Föreningslista"));
}

class Skrivare {
public:
    Skrivare(Arbetsblad& blad, Databas& db, bool omgangar, const Foreningslista::Val& val)
        : m_blad(blad), m_db(db), m_omgangar(omgangar), m_val(val) {
        if (omgangar)
            m_omg = Omgangar::alla(db);
    }

    void skriv() {
        titel(m_blad, m_r);
        m_r += 2;
        if (m_val.forening) {
            klubb(*m_val.forening);
        } else {
            const QStringList klubbar = Foreningslista::foreningar(m_db);
            for (qsizetype i = 0; i < klubbar.size(); ++i) {
                klubb(klubbar[i]);
                m_k = 0;
                const bool sista = i + 1 == klubbar.size();
                if (!m_val.nySida || sista) {
                    m_r += 2;
                    continue;
                }
                if (m_omgangar) {
                    ++m_r;
                    if (m_omg.size() >= ForklaringMellanMax)
                        sidbrytning(m_blad, m_r);
                    forklaring(Klubbhojd, Klubbstorlek);
                    ++m_r;
                }
                ++m_r;
                sidbrytning(m_blad, m_r);
                titel(m_blad, m_r);
                m_r += 2;
            }
        }
        if (m_omgangar) {
            ++m_r;
            const int n = int(m_omg.size());
            if ((m_k >= Sidrader - n && m_k < SidraderMax) || !m_val.nySida)
                sidbrytning(m_blad, m_r);
            forklaring(Titelhojd, Forklaringsstorlek);
        }
    }

private:
    // The club's name, the headings and its shooters; a club whose shooters
    // have no lane keeps its name and headings.
    void klubb(const QString& forening) {
        rubrikrad(m_blad, m_r, Klubbhojd, Klubbstorlek, forening);
        ++m_r;
        QStringList rubriker{QStringLiteral("Namn"), QString(), QStringLiteral("Klass"),
                             QStringLiteral("Skjutlag"), QStringLiteral("Bana")};
        if (m_omgangar)
            rubriker << QStringLiteral("Tävl.omg.");
        rubriker << QStringLiteral("Skjuttid");
        if (m_val.resultat)
            rubriker << QStringLiteral("Res");
        for (qsizetype i = 0; i < rubriker.size(); ++i)
            if (!rubriker[i].isEmpty()) {
                Kalkyl::Omrade cell = m_blad.Cells(m_r, int(i) + 1);
                cell.Font().setBold(true);
                cell.setValue(rubriker[i]);
            }
        m_blad.Range(m_omgangar ? QStringLiteral("c:h") : QStringLiteral("c:g"))
            .setHorizontalAlignment(Kalkyl::Justering::Vanster);
        ++m_r;

        for (const Foreningslista::Rad& s : Foreningslista::skyttar(m_db, forening, m_val.resultat)) {
            m_blad.Cells(m_r, A).setValue(s.namn + QLatin1Char(' ') + s.efternamn);
            m_blad.Cells(m_r, C).setValue(s.klass);
            m_blad.Cells(m_r, D).setValue(s.skjutlag);
            m_blad.Cells(m_r, E).setValue(s.bana);
            int k = F;
            if (m_omgangar)
                m_blad.Cells(m_r, k++).setValue(s.omg);
            // A failed read shows "Felkod: " and its number in place of the time.
            int lage = Skjuttider::Las;
            Kalkyl::Omrade tid = m_blad.Cells(m_r, k++);
            tid.setNumberFormat(QString::fromLatin1(Kalkyl::Textformat));
            tid.setValue(HanteraSkjuttid(m_db, s.skjutlag, lage, QString(), Skjuttider::LasEllerSkriv));
            if (m_val.resultat)
                m_blad.Cells(m_r, k).setValue(s.totalt60);
            if (m_omgangar)
                ++m_k;
            ++m_r;
        }
    }

    // The rounds' explanation: its title at the current row, then a line per round.
    void forklaring(double hojd, double storlek) {
        helRad(m_blad, m_r).setRowHeight(hojd);
        Kalkyl::Omrade rubrik = m_blad.Cells(m_r, B);
        rubrik.Font().setSize(storlek);
        rubrik.Font().setUnderline(Kalkyl::Understrykning::Enkel);
        rubrik.setValue(QStringLiteral("Förklaringar till dom olika tävlingsomgångarna."));
        for (const Omgangar::Omgang& o : m_omg) {
            ++m_r;
            m_blad.Cells(m_r, B).setValue(QString::number(o.omg) + QStringLiteral(" = ") + o.beskrivning);
        }
    }

    Arbetsblad& m_blad;
    Databas& m_db;
    const bool m_omgangar;
    const Foreningslista::Val& m_val;
    QList<Omgangar::Omgang> m_omg;
    int m_r = 1;
    // Shooter rows of the last club, counted while rounds are in use; the
    // run over every club sets it back after each.
    int m_k = 0;
};

} // namespace

namespace Foreningslista {

QStringList foreningar(const Databas& db) {
    // Of the spellings of one club the same is shown at every run.
    QSqlQuery q = db.kor(QStringLiteral("SELECT MIN(Förening COLLATE BINARY) AS Namn FROM Skyttar "
                                        "WHERE Förening <> '' AND Löpnummer <> ? "
                                        "GROUP BY Förening ORDER BY Namn COLLATE SVENSKA"),
                         {PlatshallareLopnummer});
    QStringList l;
    while (q.next())
        l << q.value(0).toString();
    return l;
}

QList<Rad> skyttar(const Databas& db, const QString& forening, bool medResultat) {
    const QString ordning = medResultat ? QStringLiteral("Skyttar.Totalt60 DESC, ") : QString();
    constexpr int Antal = Skytt::AntalKolumnerUtanSkott;
    QSqlQuery q = db.kor(QStringLiteral("SELECT %1, Skjutlag.Skjutlag, Skjutlag.Bana FROM Skyttar INNER JOIN "
                                        "Skjutlag ON Skyttar.Löpnummer = Skjutlag.Startnummer "
                                        "WHERE Skyttar.Förening = ? AND Skyttar.Löpnummer <> ? ORDER BY ")
                                 .arg(Skytt::kolumner(QStringLiteral("Skyttar"), Antal)) +
                             ordning + QStringLiteral("Skjutlag.Skjutlag, Skjutlag.Bana, Skyttar.Löpnummer"),
                         {forening, PlatshallareLopnummer});
    QList<Rad> l;
    while (q.next()) {
        const Skytt s = Skytt::fran(q, 0, Antal);
        Rad r;
        r.namn = s.namn;
        r.efternamn = s.efternamn;
        r.klass = s.klass;
        r.omg = s.omg;
        r.totalt60 = s.totalt60;
        r.skjutlag = q.value(Antal).toInt();
        r.bana = q.value(Antal + 1).toInt();
        l << r;
    }
    return l;
}

void skriv(Arbetsblad& blad, Databas& db, bool omgangar, const Val& val) {
    Skrivare(blad, db, omgangar, val).skriv();
}

const Arbetsboksram::Lista& ark() {
    using S = Arbetsboksram::Slag;
    // With rounds the place column narrows to make room for the round's.
    static const Arbetsboksram::Lista lista{
        .bladnamn = QStringLiteral("Föreningslista"),
        .rubrik = QStringLiteral(" Föreningslista"),
        .marginaler = Arbetsboksram::Marginaler{2.0, 1.0, 2.5, 2.5, 1.3, 1.3},
        .bredder = {{S::Alla,
                     false,
                     {{"a:a", 5.29},
                      {"b:b", 22.57},
                      {"c:c", 8.43},
                      {"d:d", 8.43},
                      {"e:e", 6},
                      {"f:f", 30.57},
                      {"g:g", 3.86}}},
                    {S::Alla,
                     true,
                     {{"a:a", 5.29},
                      {"b:b", 22.57},
                      {"c:c", 8.43},
                      {"d:d", 8.43},
                      {"e:e", 6},
                      {"f:f", 10.71},
                      {"g:g", 20.57},
                      {"h:h", 3.86}}}},
        .filstam = QStringLiteral("Föreningslista"),
        .visarUtskriftsstatus = true,
        .skriverVersion = true,
        .korfel = {QStringLiteral("frmFöreningsutskrift.UtskriftExcel: "), Meddelanden::Ikon::Ingen,
                   QString(), Felfalla::Ordning::BeskrivningForst}};
    return lista;
}

std::optional<QString> kor(const Arbetsboksram::Omgivning& o, Utskriftsmal mal, const Val& val) {
    Arbetsboksram::Korning k;
    k.mal = mal;
    modGlobalt& g = o.g;
    return Arbetsboksram(ark(), o).kor(
        k, [&](Arbetsblad& blad) { skriv(blad, g.cnnTavling, g.blnFleraTavlingar, val); });
}

} // namespace Foreningslista
