#include "shell/NyTavling.h"

#include "common/Fel.h"
#include "common/IniNamn.h"
#include "common/Version.h"
#include "platform/Meddelanden.h"
#include "shell/Installningar.h"
#include "shell/SenasteFiler.h"
#include "shell/Tavling.h"
#include "shell/modGlobalt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace NyTavling {

namespace {

using Ikon = Meddelanden::Ikon;

const QString Mallnamn = QStringLiteral("Pilkrona.mdb");

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

void skrivNyckel(modGlobalt& g, const IniNyckel& n, const QString& varde) {
    if (!g.iniTavling.WriteKey(n.sektion, n.nyckel, varde))
        throw Fel(Felnummer::SokvagsAtkomstfel,
                  QStringLiteral("Fel vid åtkomst av sökväg/fil (%1)").arg(g.iniTavling.Path()));
}

QString sant(bool b) {
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

// The competition's first rows and INI keys, in the order they have always been
// written.
void Installningar(modGlobalt& g, const Uppgifter& u, int banor) {
    g.intSkjutlagsstorlek = banor;
    g.blnNationellt = u.typ == Typ::Nationellt;
    g.blnSportskytte = u.typ == Typ::Sportskytte;
    g.blnMix = u.typ == Typ::Mix;
    g.blnFleraTavlingar = u.fleraTavlingar;
    g.strTavlingsnamn = u.namn;

    const bool nat = u.typ == Typ::Nationellt;
    g.cnnTavling.transaktion([&] {
        g.cnnTavling.kor(
            QStringLiteral("INSERT INTO Lagtävling (Lagtävlingsnamn, [Antal skyttar], [Antal skott], Omg, "
                           "[Sport/Nat]) VALUES (?, ?, ?, ?, ?)"),
            {u.namn, 3, nat ? 40 : 60, 1, nat ? QStringLiteral("Nat") : QStringLiteral("Sport")});
        for (int bana = 1; bana <= banor; ++bana)
            g.cnnTavling.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"),
                             {1, bana});
        if (u.fleraTavlingar)
            g.cnnTavling.kor(QStringLiteral("INSERT INTO [Tävlings omg] (Omg, Beskrivning) VALUES (?, ?)"),
                             {1, u.namn});
    });

    g.iniTavling.setPath(Tavling::iniSokvag(g));
    skrivNyckel(g, Ini::Lagtavling, QStringLiteral("0"));
    skrivNyckel(g, Ini::AntalSkjutlag, QStringLiteral("1"));
    skrivNyckel(g, Ini::Sportskytte, sant(g.blnSportskytte));
    skrivNyckel(g, Ini::Nationellt, sant(g.blnNationellt));
    skrivNyckel(g, Ini::Mix, sant(g.blnMix));
    skrivNyckel(g, Ini::FleraTavlingar, u.fleraTavlingar ? QStringLiteral("1") : QStringLiteral("0"));
    skrivNyckel(g, Ini::Skjutlagsstorlek, QString::number(banor));
    skrivNyckel(g, Ini::Femskottsserier, QStringLiteral("1"));
    skrivNyckel(g, Ini::SkjutlagslistaMedResultat, QStringLiteral("1"));
    skrivNyckel(g, Ini::MajorVersion, QString::number(Version::Major));
    skrivNyckel(g, Ini::MinorVersion, QString::number(Version::Minor));
    skrivNyckel(g, Ini::BuildVersion, QString::number(Version::Build));
    skrivNyckel(g, Ini::Datum, u.datum);
    g.strTavlingsdatum = u.datum;
    skrivNyckel(g, Ini::Innertia, QStringLiteral("10,3"));
    g.sngInnertia = 10.3;
}

// Folder, database, Utskrifter, rows and INI; false after a message.
bool Skapa_Tavling(modGlobalt& g, Meddelanden& m, const Uppgifter& u, int banor, Spar& spar) {
    const QString mapp = g.strTavlingsmapp + u.namn;
    if (!QFileInfo(mapp).isDir()) {
        if (!QDir().mkdir(mapp))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(mapp));
        spar.skapadMapp = mapp;
    }
    g.strTavlingsmapp = medAvslut(mapp);
    const QString mal = g.strTavlingsmapp + u.namn + QStringLiteral(".air");
    if (QFileInfo::exists(mal)) {
        m.visa(QStringLiteral("Det finns redan en sån tävling."), QStringLiteral("Fel"), Ikon::Kritisk);
        return false;
    }
    const QString kalla = QDir(g.strProgrammapp).filePath(Mallnamn);
    if (!QFileInfo::exists(kalla))
        throw Fel(Felnummer::FilenInteHittad, QStringLiteral("Filen hittades inte (%1)").arg(kalla));
    if (!QFile::copy(kalla, mal))
        throw Fel(Felnummer::SokvagsAtkomstfel,
                  QStringLiteral("Fel vid åtkomst av sökväg/fil (%1)").arg(mal));
    spar.filer << mal;
    // The template may be read-only where the program is installed; the copy must not be.
    QFile::setPermissions(mal, QFile::permissions(mal) | QFile::WriteOwner | QFile::ReadOwner);
    const QString utskrifter = g.strTavlingsmapp + QStringLiteral("Utskrifter");
    if (!QFileInfo(utskrifter).isDir()) {
        if (!QDir().mkdir(utskrifter))
            throw Fel(Felnummer::SokvagsAtkomstfel,
                      QStringLiteral("Mappen \"%1\" kunde inte skapas.").arg(utskrifter));
        spar.utskrifter = utskrifter;
    }
    g.strTavlingsdatabas = mal;
    const QString ini = g.strTavlingsmapp + u.namn + QStringLiteral(".ini");
    if (!QFileInfo::exists(ini))
        spar.filer << ini;
    Tavling::SkapaADOConnection(g);
    Installningar(g, u, banor);
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

    g.NollstallTavlingsdata();
    g.cnnTavling.Close();
    g.strTavlingsmapp = u.sokvag;
    const int antal = u.antalBanor.trimmed().toInt();
    try {
        if (!Skapa_Tavling(g, m, u, antal, spar)) {
            spar.stada();
            g.NollstallTavlingsdata();
            return false;
        }
        // From here on the competition is what its files say, as after an open.
        ::Installningar::LaddaInstallningar(g);
    } catch (const Fel& f) {
        g.cnnTavling.Close();
        spar.stada();
        g.NollstallTavlingsdata();
        m.visa(QStringLiteral("frmNyTävling.SkapaTävling: ") + f.text());
        return false;
    }
    SenasteFiler::laggForst(g);
    return true;
}

} // namespace NyTavling
