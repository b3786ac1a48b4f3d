#include "shell/NyTavling.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Version.h"
#include "platform/Databas.h"
#include "platform/Filvag.h"
#include "platform/Meddelanden.h"
#include "platform/clsIni.h"
#include "shell/Installningar.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "shell/modGlobalt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

namespace NyTavling {

namespace {

using Ikon = Meddelanden::Ikon;

const QString Mallnamn = QStringLiteral("Pilkrona.mdb");

} // namespace

QString tillfalligtNamn(const QString& mapp, const QString& namn, const QString& andelse) {
    return mapp + QLatin1Char('.') + namn + andelse + QStringLiteral(".ny");
}

bool arTillfalligtNamn(const QString& filnamn) {
    return filnamn.startsWith(QLatin1Char('.')) &&
           (filnamn.endsWith(QStringLiteral(".ini.ny")) || filnamn.endsWith(QStringLiteral(".air.ny")));
}

namespace {

// What one attempt has made, so that a failure can take it away again.
struct Spar {
    QString skapadForalder;
    QString skapadMapp;
    QStringList filer;
    QString utskrifter;

    void stada() const {
        for (const QString& f : filer)
            QFile::remove(f);
        if (!utskrifter.isEmpty())
            QDir().rmdir(utskrifter);
        if (!skapadMapp.isEmpty())
            QDir().rmdir(skapadMapp);
        if (!skapadForalder.isEmpty())
            QDir().rmdir(skapadForalder);
    }
};

QString sant(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

[[noreturn]] void atkomstfel(const QString& sokvag) {
    throw Fel(Felnummer::SokvagsAtkomstfel, QStringLiteral("Fel vid åtkomst av sökväg/fil (%1)").arg(sokvag));
}

// Replaces the target by the new file in one step: whoever looks sees either
// the old file or the whole new one.
void bytNamn(const QString& fran, const QString& till) {
    std::error_code fel;
    std::filesystem::rename(QFile::encodeName(fran).toStdString(), QFile::encodeName(till).toStdString(),
                            fel);
    if (fel)
        atkomstfel(till);
}

// The competition's first rows, in the database that is not yet in its place.
void skrivRader(const QString& databas, const Uppgifter& u, int banor) {
    Databas db;
    db.Open(databas);
    const bool nat = u.typ == Typ::Nationellt;
    db.transaktion([&] {
        db.kor(QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                              "[Sport/Nat]) VALUES (?, ?, ?, ?, ?)"),
               {u.namn, 3, nat ? 40 : 60, 1, nat ? QStringLiteral("Nat") : QStringLiteral("Sport")});
        for (int bana = 1; bana <= banor; ++bana)
            db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"), {1, bana});
        if (u.fleraTavlingar)
            db.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
                   {1, u.namn});
    });
    db.Close();
}

// The competition INI as creation writes it, in the order it has always been
// written, whole in one write.
void skrivIni(const QString& sokvag, const Uppgifter& u, int banor) {
    const auto post = [](const IniNyckel& n, const QString& varde) {
        return clsIni::Post{n.sektion, n.nyckel, varde};
    };
    clsIni ini(sokvag);
    const bool klar = ini.WriteKeys({
        post(Ini::Lagtavling, QStringLiteral("0")),
        post(Ini::AntalSkjutlag, QStringLiteral("1")),
        post(Ini::Sportskytte, sant(u.typ == Typ::Sportskytte)),
        post(Ini::Nationellt, sant(u.typ == Typ::Nationellt)),
        post(Ini::Mix, sant(u.typ == Typ::Mix)),
        post(Ini::FleraTavlingar, u.fleraTavlingar ? QStringLiteral("1") : QStringLiteral("0")),
        post(Ini::Skjutlagsstorlek, QString::number(banor)),
        post(Ini::Femskottsserier, QStringLiteral("1")),
        post(Ini::SkjutlagslistaMedResultat, QStringLiteral("1")),
        post(Ini::MajorVersion, QString::number(Version::Major)),
        post(Ini::MinorVersion, QString::number(Version::Minor)),
        post(Ini::BuildVersion, QString::number(Version::Build)),
        post(Ini::Datum, u.datum),
        post(Ini::Innertia, QStringLiteral("10,3")),
    });
    if (!klar)
        throw Fel(Felnummer::SokvagsAtkomstfel, ini.senasteFel());
}

// Folder, database, Utskrifter, rows and INI; false after a message. The files
// are made under temporary names and the database takes its own name last, so
// that a creation cut short (a power cut) leaves either no competition of that
// name or a whole one; the next creation of the name clears what was left.
bool Skapa_Tavling(modGlobalt& g, Meddelanden& m, const Uppgifter& u, int banor, Spar& spar) {
    const QString mapp = g.strTavlingsmapp + u.namn;
    if (!QFileInfo(mapp).isDir()) {
        if (!QDir().mkdir(mapp))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(mapp));
        spar.skapadMapp = mapp;
    }
    g.strTavlingsmapp = medAvslut(mapp);
    g.strTavlingsnamn = u.namn;
    const QString mal = g.strTavlingsmapp + u.namn + QStringLiteral(".air");
    if (QFileInfo::exists(mal)) {
        m.visa(QStringLiteral("Det finns redan en sån tävling."), QStringLiteral("Fel"), Ikon::Kritisk);
        return false;
    }
    if (!Tavling::lasTavling(g, m))
        return false;
    const QString kalla = QDir(g.strProgrammapp).filePath(Mallnamn);
    if (!QFileInfo::exists(kalla))
        throw Fel(Felnummer::FilenInteHittad, QStringLiteral("Filen hittades inte (%1)").arg(kalla));

    const QString nyDatabas = tillfalligtNamn(g.strTavlingsmapp, u.namn, QStringLiteral(".air"));
    const QString nyIni = tillfalligtNamn(g.strTavlingsmapp, u.namn, QStringLiteral(".ini"));
    for (const QString& rest : {nyDatabas, nyDatabas + QStringLiteral("-journal"), nyIni})
        QFile::remove(rest);
    spar.filer << nyDatabas << nyDatabas + QStringLiteral("-journal") << nyIni;

    if (!QFile::copy(kalla, nyDatabas))
        atkomstfel(nyDatabas);
    // The template may be read-only where the program is installed; the copy must not be.
    QFile::setPermissions(nyDatabas, QFile::permissions(nyDatabas) | QFile::WriteOwner | QFile::ReadOwner);
    const QString utskrifter = g.strTavlingsmapp + QStringLiteral("Utskrifter");
    if (!QFileInfo(utskrifter).isDir()) {
        if (!QDir().mkdir(utskrifter))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(utskrifter));
        spar.utskrifter = utskrifter;
    }
    skrivRader(nyDatabas, u, banor);
    skrivIni(nyIni, u, banor);

    // A stale INI of an earlier competition of this name is replaced whole.
    const QString ini = Tavling::iniSokvag(g);
    bytNamn(nyIni, ini);
    spar.filer << ini;
    bytNamn(nyDatabas, mal);
    spar.filer << mal;
    synkaMapp(g.strTavlingsmapp);

    g.strTavlingsdatabas = mal;
    g.iniTavling.setPath(ini);
    Tavling::SkapaADOConnection(g);
    return true;
}

} // namespace

Bankontroll kontrolleraAntalBanor(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return Bankontroll::Tom;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return Bankontroll::InteSiffror;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n < MinstaAntalBanor || n > StorstaAntalBanor)
        return Bankontroll::UtanforGranser;
    return Bankontroll::Ok;
}

bool visaBankontroll(Bankontroll k, Meddelanden& m) {
    switch (k) {
    case Bankontroll::Ok:
    case Bankontroll::Tom:
        return true;
    case Bankontroll::UtanforGranser:
        m.visa(QStringLiteral("Du måste ange en siffra mellan 1 och 999!"), QStringLiteral("Fel antal banor"),
               Ikon::Kritisk);
        return false;
    case Bankontroll::InteSiffror:
        m.visa(QStringLiteral("Du får bara skriva siffror i fältet Antal banor!"),
               QStringLiteral("Fel tecken"), Ikon::Kritisk);
        return false;
    }
    return false;
}

bool giltigtNamn(const QString& namn) {
    if (namn.isEmpty() || namn == QLatin1String(".") || namn == QLatin1String(".."))
        return false;
    static const QString forbjudna = QStringLiteral("/\\:*?\"<>|");
    for (QChar c : namn) {
        if (forbjudna.contains(c) || c.unicode() < 0x20)
            return false;
    }
    return true;
}

QString medAvslut(const QString& sokvag) {
    QString s = QDir::toNativeSeparators(sokvag);
    if (!s.endsWith(QDir::separator()))
        s += QDir::separator();
    return s;
}

bool skapa(modGlobalt& g, Meddelanden& m, const Uppgifter& in) {
    Uppgifter u = in;
    u.namn = u.namn.trimmed();
    u.sokvag = u.sokvag.trimmed();

    if (!giltigtNamn(u.namn)) {
        m.visa(QStringLiteral("Du har skrivit in ett felaktigt filnamn/sökväg."), QStringLiteral("Fil fel."),
               Ikon::Kritisk);
        return false;
    }
    const Bankontroll banor = kontrolleraAntalBanor(u.antalBanor);
    if (banor != Bankontroll::Ok) {
        if (banor == Bankontroll::Tom)
            m.visa(QStringLiteral("Du måste ange en siffra mellan 1 och 999!"),
                   QStringLiteral("Fel antal banor"), Ikon::Kritisk);
        else
            visaBankontroll(banor, m);
        return false;
    }
    if (u.sokvag.isEmpty() || !QDir::isAbsolutePath(u.sokvag)) {
        m.visa(QStringLiteral("Du har angett en enhet som inte finns!"), QStringLiteral("Fel enhet"),
               Ikon::Kritisk);
        return false;
    }
    u.sokvag = medAvslut(u.sokvag);

    Spar spar;
    const QFileInfo foralder(QDir::cleanPath(u.sokvag));
    if (!foralder.exists()) {
        if (m.visa(QStringLiteral("Sökvägen finns inte!\rSka den skapas?"), QStringLiteral("Fråga."),
                   Ikon::Fraga, Meddelanden::Knappar::JaNej) != Meddelanden::Svar::Ja)
            return false;
        // One level only, as asked: a missing parent is a wrong path.
        if (!QFileInfo(QFileInfo(QDir::cleanPath(u.sokvag)).path()).isDir()) {
            m.visa(QStringLiteral("Fel 76, Felaktig sökväg angiven!"), QStringLiteral("Sökväg"),
                   Ikon::Kritisk);
            return false;
        }
        if (!QDir().mkdir(u.sokvag)) {
            m.visa(QStringLiteral("frmNyTävling: cmdOk 70 Åtkomst nekad"), QString(), Ikon::Kritisk);
            return false;
        }
        spar.skapadForalder = QDir::cleanPath(u.sokvag);
    } else if (!foralder.isDir()) {
        m.visa(QStringLiteral("Felaktig sökväg angiven!"), QStringLiteral("Sökväg"), Ikon::Kritisk);
        return false;
    }

    Tavling::stang(g);
    g.strTavlingsmapp = u.sokvag;
    const int antal = u.antalBanor.trimmed().toInt();
    try {
        if (!Skapa_Tavling(g, m, u, antal, spar)) {
            Tavling::stang(g);
            spar.stada();
            return false;
        }
        // From here on the competition is what its files say, as after an open.
        ::Installningar::LaddaInstallningar(g);
    } catch (const Fel& f) {
        Tavling::stang(g);
        spar.stada();
        m.visa(QStringLiteral("frmNyTävling.SkapaTävling: ") + f.text());
        return false;
    }
    // The competition stands whole; a recent list that cannot be written is
    // told about but takes nothing away from it.
    SenasteFiler::laggForst(g, m);
    return true;
}

} // namespace NyTavling
