#pragma once

#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

class QSqlQuery;
class QSqlRecord;

// The rows that several parts of the program read from the competition
// database, read the same way everywhere. Keys are 64-bit: they are SQLite row
// ids.

// One shooter (Skyttar). Löpnummer 1 is the placeholder of a free lane.
struct Skytt {
    qint64 lopnummer = 0;
    int startnr = 0;
    QString namn, efternamn, forening, klass, licensnr, skyttekortNr, fodelsear;
    int omg = 0;
    qint64 lag = 0;
    int lagRes = 0, lagserier = 0, vandringsSerier = 0;
    std::array<int, 12> res{};
    std::array<int, 6> sum{}; // Sum10 .. Sum60
    int totalt40 = 0, totalt60 = 0, innertior = 0;
    QString tioNior = QStringLiteral("0,0,0,0,0,0,0,0,0,0");
    double sarskjutning = 0;
    bool man1098 = false;
    std::array<QString, 12> sfst; // "00000" when no shot values were read

    bool arPlatshallare() const;
    // Every field of the row as a SELECT list, in the order fran(QSqlQuery)
    // reads them; with a table name (or alias) each field is prefixed by it.
    // The shot strings stand last, so that a list that never shows them reads
    // the first AntalKolumnerUtanSkott only.
    static constexpr int AntalKolumner = 50;
    static constexpr int AntalKolumnerUtanSkott = 38;
    static QString kolumner(const QString& tabell = {}, int antal = AntalKolumner);
    // The current row of a query that selected kolumner(.., antal) from
    // position forsta on; shot strings not read are "00000".
    static Skytt fran(const QSqlQuery& q, int forsta = 0, int antal = AntalKolumner);
    // The same from any reader of a row's values by position, one that gives
    // heltal(i), tal(i) and text(i) as a query's value(i).toLongLong(),
    // toDouble() and toString() would.
    template <class Rad> static Skytt franRad(const Rad& rad, int forsta = 0, int antal = AntalKolumner);
    // A choice of fields by their positions in kolumner(), for a list that
    // reads thousands of rows and needs only some of the fields.
    using Faltval = std::vector<int>;
    // What a result list shows, ranks by and sorts into classes by: Löpnummer,
    // the names and club, Klass, Licensnr, SkyttekortNr, Födelseår, the totals,
    // Innertior, TioNior, Särskjutning, Res1 .. Res8 and Sum10 .. Sum60.
    static const Faltval& resultatlistfalt();
    static QString kolumner(const Faltval& falt);
    // A row that selected kolumner(falt) from position 0; the fields not
    // chosen keep their defaults, shot strings "00000".
    template <class Rad> static Skytt franRad(const Rad& rad, const Faltval& falt);

private:
    // What each field of kolumner() holds, by position.
    enum class Faltslag { Heltal, Tal, Text };
    static Faltslag faltslag(int falt);
    void sattHeltal(int falt, qint64 v);
    void sattTal(int falt, double v);
    void sattText(int falt, QString v);
    template <class Rad> void las(int falt, const Rad& rad, int kolumn) {
        switch (faltslag(falt)) {
        case Faltslag::Heltal:
            sattHeltal(falt, rad.heltal(kolumn));
            break;
        case Faltslag::Tal:
            sattTal(falt, rad.tal(kolumn));
            break;
        case Faltslag::Text:
            sattText(falt, rad.text(kolumn));
            break;
        }
    }
    // A row before any field is read: shot strings that will not be read are "00000".
    static Skytt tom(int antal);
};
// Texts and numbers only: a list of shooters grows by moving its memory.
Q_DECLARE_TYPEINFO(Skytt, Q_RELOCATABLE_TYPE);

template <class Rad> Skytt Skytt::franRad(const Rad& rad, int forsta, int antal) {
    Skytt s = tom(antal);
    for (int i = 0; i < antal; ++i)
        s.las(i, rad, forsta + i);
    return s;
}

template <class Rad> Skytt Skytt::franRad(const Rad& rad, const Faltval& falt) {
    Skytt s = tom(0);
    for (size_t i = 0; i < falt.size(); ++i)
        s.las(falt[i], rad, int(i));
    return s;
}

// One lane of one squad (Skjutlag). Startnummer is the Löpnummer of the
// shooter on it, 1 when it is free.
struct Bana {
    int skjutlag = 0;
    int bana = 0;
    qint64 startnummer = 1;

    bool ledig() const;
    static Bana fran(const QSqlRecord& post);
};

// One class of the competition's class table, or a main class of
// SammanslagningKlasser (then kod/namn are HuvudKlassnamn/HuvudKlassbeskr and
// sammanslagen is 0).
struct Klass {
    qint64 raknare = 0;
    QString kod;  // Klass, at most 6 characters
    QString namn; // Klassnamn
    int antalSkott = 0;
    QString sportNat;        // "Sport" or "Nat" where the table has the field
    qint64 sammanslagen = 0; // Räknare of the main class, 0 for none

    static Klass fran(const QSqlRecord& post);
};

// Where a list goes: to the printer, to a file in Utskrifter, or to a window.
// Ingen while no list command has set it (a closed competition).
enum class Utskriftsmal { Ingen, Printer, Fil, Skarm };
// "Printer", "Fil", "Skärm" ("" for Ingen): the text that names saved lists
// ("Resultatlista_Printer.xls").
QString text(Utskriftsmal mal);
