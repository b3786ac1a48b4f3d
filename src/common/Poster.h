#pragma once

#include <QString>
#include <array>

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
};

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
