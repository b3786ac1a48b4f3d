#include "entry/Resultatsparning.h"

#include "common/Databasnamn.h"
#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Poster.h"
#include "shell/modGlobalt.h"

#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <functional>

using Serieregler::AntalSerier;

namespace {

constexpr int OgiltigtArgument = 5;
constexpr int IngenAktuellPost = 3021;

[[noreturn]] void ogiltigt() {
    throw Fel(OgiltigtArgument, QStringLiteral("Ogiltigt proceduranrop eller argument"));
}

void kontrolleraRad(const Banrad& rad) {
    // The placeholder of a free lane stands for nobody and must stay empty.
    if (rad.lopnummer == PlatshallareLopnummer || rad.lopnummer <= 0)
        ogiltigt();
}

void kontrolleraSerie(int serie) {
    if (serie < 1 || serie > AntalSerier)
        ogiltigt();
}

// The scoring machine's settings, read in one go: the file is read whole on
// every read, and a save needs four of its keys.
struct Tolkinstallning {
    QString model = Ini::Model.standard;
    QString decimalerRika = Ini::DecimalerRika.standard;
    QString ejAutoInnertior = Ini::EjAutoInnertior.standard;
    QString ejAuto1098 = Ini::EjAuto1098.standard;
};

Tolkinstallning lasTolkinstallning(const clsIni& ini) {
    Tolkinstallning t;
    bool model = false, decimaler = false, ejAutoInnertior = false, ejAuto1098 = false;
    // The first of a key twice in the section counts, as a single read gives it.
    auto ta = [](const QString& namn, const QString& nyckel, bool& funnen) {
        if (funnen || namn.compare(nyckel, Qt::CaseInsensitive) != 0)
            return false;
        funnen = true;
        return true;
    };
    const auto nycklar = ini.GetSectionKeys(Ini::Sektion::Tolkmaskin);
    for (const auto& [namn, varde] : nycklar) {
        if (ta(namn, Ini::Model.nyckel, model))
            t.model = varde;
        else if (ta(namn, Ini::DecimalerRika.nyckel, decimaler))
            t.decimalerRika = varde;
        else if (ta(namn, Ini::EjAutoInnertior.nyckel, ejAutoInnertior))
            t.ejAutoInnertior = varde;
        else if (ta(namn, Ini::EjAuto1098.nyckel, ejAuto1098))
            t.ejAuto1098 = varde;
    }
    return t;
}

bool utanDecimaler(const QString& decimalerRika) {
    bool ok = false;
    const int v = decimalerRika.trimmed().toInt(&ok);
    return !ok || v == 0;
}

const QString Ett = QStringLiteral("1");

// What result entry keeps of a shooter's stored row.
struct Lagrad {
    Serieregler::Serier res{};
    QStringList sfst;
    int innertior = 0;
    QString tioNior;
    int man1098 = 0;
};

Lagrad lasRad(const Databas& db, qint64 lopnummer) {
    QSqlQuery q = db.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(Skytt::kolumner()),
                         {lopnummer});
    if (!q.next())
        throw Fel(IngenAktuellPost, QStringLiteral("Skytten finns inte längre i databasen."));
    const Skytt s = Skytt::fran(q);
    Lagrad l;
    l.innertior = s.innertior;
    l.tioNior = s.tioNior;
    l.man1098 = s.man1098 ? 1 : 0;
    for (int n = 0; n < AntalSerier; ++n) {
        l.res[n] = s.res[size_t(n)];
        l.sfst << s.sfst[size_t(n)];
    }
    return l;
}

// One UPDATE of the shooter's row with the columns gathered by an operation.
class Uppdatering {
public:
    void satt(const QString& kolumn, const QVariant& varde) {
        m_kolumner << kolumn + QStringLiteral(" = ?");
        m_varden << varde;
    }
    bool tom() const { return m_kolumner.isEmpty(); }
    // Column names come from the program's own constants; every value is bound.
    void kor(const Databas& db, qint64 lopnummer) const {
        QVariantList varden = m_varden;
        varden << lopnummer;
        QSqlQuery q = db.kor(QStringLiteral("UPDATE Skyttar SET ") + m_kolumner.join(QStringLiteral(", ")) +
                                 QStringLiteral(" WHERE Löpnummer = ?"),
                             varden);
        if (q.numRowsAffected() == 0)
            throw Fel(IngenAktuellPost, QStringLiteral("Skytten finns inte längre i databasen."));
    }

private:
    QStringList m_kolumner;
    QVariantList m_varden;
};

// The series, its pair and both totals of a row whose stored series are res.
void serieOchSummor(Uppdatering& u, Serieregler::Serier& res, int serie, int varde) {
    res[serie - 1] = varde;
    const Serieregler::Summor s = Serieregler::rakna(res);
    const int par = Serieregler::parForSerie(serie);
    u.satt(Falt::res(serie), varde);
    u.satt(Falt::sum(par), s.par[par - 1]);
    u.satt(Falt::Totalt40, s.totalt40);
    u.satt(Falt::Totalt60, s.totalt60);
}

// A series' shot string, in the row and in its column.
void sattSkottstrang(Uppdatering& u, Lagrad& l, int serie, const QString& skott) {
    l.sfst[serie - 1] = skott;
    u.satt(Falt::sfst(serie), skott);
}

// The automatic counts of the row's shot strings: the tens to ones always, the
// inner tens when this machine set-up can tell them.
void automatiskaAntal(Uppdatering& u, Lagrad& l, const Tolkinstallning& t) {
    const Serieregler::Antal a = Serieregler::raknaAntal(l.sfst);
    u.satt(Falt::TioNior, a.tioNior);
    l.tioNior = a.tioNior;
    if (Serieregler::innertiorRaknas(t.model, t.decimalerRika, t.ejAutoInnertior)) {
        u.satt(Falt::Innertior, a.innertior);
        l.innertior = a.innertior;
    }
}

void tillRad(Banrad& rad, const Lagrad& l) {
    rad.res = l.res;
    rad.sfst = l.sfst;
    rad.innertior = l.innertior;
    rad.tioNior = l.tioNior;
    rad.man1098 = l.man1098;
}

// How a change of a shooter's series is written: the stored row is read inside
// the transaction, andra works out the new values on it and gathers their
// columns, one UPDATE writes them, and the caller's Banrad takes the row's new
// state only after the commit, so that a failure leaves it as it was.
void andraRad(Databas& db, Banrad& rad, const std::function<void(Lagrad&, Uppdatering&)>& andra) {
    Lagrad l;
    db.transaktion([&] {
        l = lasRad(db, rad.lopnummer);
        Uppdatering u;
        andra(l, u);
        u.kor(db, rad.lopnummer);
    });
    tillRad(rad, l);
}

} // namespace

Resultatsparning::Resultatsparning(modGlobalt& g) : m_g(g) {}

bool Resultatsparning::skrivIni(const IniNyckel& nyckel, const QString& varde, Utfall& utfall) {
    if (m_g.iniTavling.WriteKey(nyckel.sektion, nyckel.nyckel, varde))
        return true;
    if (utfall.iniFel.isEmpty())
        utfall.iniFel = m_g.iniTavling.senasteFel();
    return false;
}

Resultatsparning::Utfall Resultatsparning::sparaSerie(Banrad& rad, int serie, int varde,
                                                      const std::optional<QString>& skottstrang) {
    kontrolleraRad(rad);
    kontrolleraSerie(serie);
    if (varde < 0 || varde > Serieregler::MaxSerie)
        ogiltigt();
    if (skottstrang && !Serieregler::skottstrangsvarde(*skottstrang))
        throw Fel(Felnummer::TypeMismatch, QStringLiteral("Typerna matchar inte"));

    Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    const bool maskinlast = skottstrang.has_value();
    // A series typed by hand while the machine is not used carries no shots:
    // from now on the counts are typed by hand.
    const bool forHand = !maskinlast && !m_g.blnTolkmaskinGrundomg;
    // A RIKA that sends no decimals cannot tell an inner ten.
    const bool innertiorForHand =
        maskinlast && t.model == QLatin1String("RIKA") && utanDecimaler(t.decimalerRika);
    const bool skrivEjAutoInnertior = innertiorForHand && t.ejAutoInnertior != Ett;
    if (innertiorForHand)
        t.ejAutoInnertior = Ett;
    const bool manuellEfter = forHand || m_g.blnEjAuto1098;

    const int par = Serieregler::parForSerie(serie);
    const int parFore = rad.res[2 * par - 2] + rad.res[2 * par - 1];
    int parEfter = 0;
    andraRad(m_g.cnnTavling, rad, [&](Lagrad& l, Uppdatering& u) {
        serieOchSummor(u, l.res, serie, varde);
        parEfter = l.res[2 * par - 2] + l.res[2 * par - 1];
        if (forHand) {
            // Once per shooter: counts typed in the count dialog later are kept.
            if (l.man1098 == 0) {
                u.satt(Falt::Man1098, 1);
                u.satt(Falt::Innertior, 0);
                u.satt(Falt::TioNior, Serieregler::NollAntal);
                l.man1098 = 1;
                l.innertior = 0;
                l.tioNior = Serieregler::NollAntal;
            }
            sattSkottstrang(u, l, serie, Serieregler::TomSkottstrang);
        } else if (maskinlast) {
            sattSkottstrang(u, l, serie, *skottstrang);
        }
        if (!manuellEfter)
            automatiskaAntal(u, l, t);
    });

    Utfall utfall;
    utfall.parsummaAndrad = parEfter != parFore;
    utfall.manuellaAntal = forHand;
    utfall.bytteTillManuell = forHand && !m_g.blnEjAuto1098;
    m_g.blnEjAuto1098 = manuellEfter;
    // Written the moment the switch happens, so that a crash cannot lose it;
    // a key that already says so is left alone.
    if (forHand && t.ejAuto1098 != Ett)
        skrivIni(Ini::EjAuto1098, Ett, utfall);
    if (skrivEjAutoInnertior)
        skrivIni(Ini::EjAutoInnertior, Ett, utfall);
    return utfall;
}

int Resultatsparning::sparaSkottForSkott(Banrad& rad, int serie, const QString& skott) {
    kontrolleraRad(rad);
    kontrolleraSerie(serie);
    const std::optional<int> varde = Serieregler::skottstrangsvarde(skott);
    if (!varde)
        throw Fel(Felnummer::TypeMismatch, QStringLiteral("Typerna matchar inte"));
    const Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    const bool automatiskt = !m_g.blnEjAuto1098;
    andraRad(m_g.cnnTavling, rad, [&](Lagrad& l, Uppdatering& u) {
        serieOchSummor(u, l.res, serie, *varde);
        sattSkottstrang(u, l, serie, skott);
        if (automatiskt)
            automatiskaAntal(u, l, t);
    });
    return *varde;
}

void Resultatsparning::nollaSkottstrang(Banrad& rad, int serie) {
    kontrolleraRad(rad);
    kontrolleraSerie(serie);
    const Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    const bool automatiskt = !m_g.blnEjAuto1098;
    andraRad(m_g.cnnTavling, rad, [&](Lagrad& l, Uppdatering& u) {
        sattSkottstrang(u, l, serie, Serieregler::TomSkottstrang);
        // Automatic counts follow the shot strings at every commit, so that a
        // row never holds counts of shots it no longer has.
        if (automatiskt)
            automatiskaAntal(u, l, t);
    });
}

void Resultatsparning::sparaSarskjutning(Banrad& rad, double varde) {
    kontrolleraRad(rad);
    if (!std::isfinite(varde))
        ogiltigt();
    Databas& db = m_g.cnnTavling;
    db.transaktion([&] {
        Uppdatering u;
        u.satt(Falt::Sarskjutning, varde);
        u.kor(db, rad.lopnummer);
    });
    rad.sarskjutning = varde;
}

Resultatsparning::Utfall Resultatsparning::sparaAntal(Banrad& rad, int innertior,
                                                      const std::array<int, 10>& antal) {
    kontrolleraRad(rad);
    if (innertior < 0)
        ogiltigt();
    for (const int a : antal)
        if (a < 0)
            ogiltigt();
    const Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    // With the machine counting by itself only the inner tens of a RIKA without
    // decimals are the operator's.
    const bool allaAntal = !(m_g.blnTolkmaskinGrundomg && !m_g.blnEjAuto1098);
    const bool innertiorForHand = Serieregler::innertiorForHand(t.model, t.decimalerRika, t.ejAutoInnertior);
    Utfall utfall;
    if (!allaAntal && !innertiorForHand)
        return utfall;

    const QString tioNior = Serieregler::tioNiorText(antal);
    Uppdatering u;
    if (allaAntal) {
        u.satt(Falt::TioNior, tioNior);
        u.satt(Falt::Man1098, 1);
    }
    u.satt(Falt::Innertior, innertior);
    Databas& db = m_g.cnnTavling;
    db.transaktion([&] { u.kor(db, rad.lopnummer); });

    rad.innertior = innertior;
    if (allaAntal) {
        rad.tioNior = tioNior;
        rad.man1098 = 1;
        utfall.manuellaAntal = true;
        utfall.bytteTillManuell = !m_g.blnEjAuto1098;
        m_g.blnEjAuto1098 = true;
        if (t.ejAuto1098 != Ett)
            skrivIni(Ini::EjAuto1098, Ett, utfall);
    }
    if (innertiorForHand && t.ejAutoInnertior != Ett)
        skrivIni(Ini::EjAutoInnertior, Ett, utfall);
    return utfall;
}

Resultatsparning::Antalfalt Resultatsparning::antalfalt() const {
    Antalfalt f;
    const Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    if (m_g.blnTolkmaskinGrundomg && t.ejAuto1098 == QLatin1String("0")) {
        f.tioTillEtt = false;
        f.innertior = Serieregler::innertiorForHand(t.model, t.decimalerRika, t.ejAutoInnertior);
    }
    return f;
}

QString Resultatsparning::panelAuto1098() const {
    return m_g.blnEjAuto1098 ? Panel::Man1098 : Panel::Auto1098;
}

QString Resultatsparning::panelAuto10() const {
    const Tolkinstallning t = lasTolkinstallning(m_g.iniTavling);
    const bool manuella = t.model == QLatin1String("RIKA") &&
                          (t.decimalerRika == QLatin1String("0") || t.ejAutoInnertior == Ett);
    return manuella ? Panel::Manuella10 : Panel::Auto10;
}
