#include "support/Testfixtur.h"

#include "common/Databasnamn.h"
#include "common/IniNamn.h"
#include "spectator/Askadarflode.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTcpServer>

Testfixtur::Testfixtur(bool medGrafik) : fonster(g, m, dialoger), kontext(fonster.kontext()) {
    if (medGrafik)
        t.kopieraGrafik();
    QFile::copy(Testmiljo::mallSokvag(), t.fil(QStringLiteral("Pilkrona.mdb")));
    QDir().mkdir(tavlingsmapp());
    g.strProgrammapp = t.mapp();
    g.strHjalpfil = t.fil(QStringLiteral("Hjälp/pilkrona.chm"));
    g.iniProgram.setPath(t.fil(Ini::ProgramIniNamn));
    g.intAntalKopior = 1;
    g.lngAntalSkrivare = 1;
}

Programdelar Testfixtur::delar() {
    return {fonster, flode()};
}

Askadarflode& Testfixtur::flode() {
    if (!m_flode)
        m_flode = std::make_unique<Askadarflode>(g, m, ledigPort(), QHostAddress::LocalHost);
    return *m_flode;
}

Testfixtur::~Testfixtur() {
    // Windows a test left open go before the competition and the context they
    // stand on, as they go with the main window in the program.
    fonster.forstorAlla();
    g.cnnTavling.Close();
    g.tavlingslas.reset();
}

QString Testfixtur::tavlingsmapp() const {
    return t.fil(QStringLiteral("Tävlingar"));
}

QString Testfixtur::skapaTavling(const QString& namn, NyTavling::Typ typ, int banor, int skjutlag,
                                 int skyttar) {
    NyTavling::Uppgifter u;
    u.namn = namn;
    u.antalBanor = QString::number(banor);
    u.datum = QStringLiteral("6 december 2026");
    u.typ = typ;
    u.sokvag = tavlingsmapp();
    TestMeddelanden tyst;
    if (!NyTavling::skapa(g, tyst, u))
        qFatal("the competition could not be created: %s", qPrintable(tyst.senasteText()));

    Databas& db = g.cnnTavling;
    db.transaktion([&] {
        for (int lag = 2; lag <= skjutlag; ++lag)
            for (int bana = 1; bana <= banor; ++bana)
                db.kor(QStringLiteral("INSERT INTO Skjutlag (Skjutlag, Bana) VALUES (?, ?)"), {lag, bana});
        const QString klass =
            db.varde(QStringLiteral("SELECT Klass FROM %1 ORDER BY Räknare LIMIT 1").arg(g.klasstabell()))
                .toString();
        for (int i = 0; i < skyttar && i < banor * skjutlag; ++i) {
            db.kor(QStringLiteral("INSERT INTO Skyttar (Startnr, Namn, Efternamn, Förening, Klass, Omg) "
                                  "VALUES (?, ?, ?, ?, ?, ?)"),
                   {i + 1, QStringLiteral("Skytt%1").arg(i + 1), QStringLiteral("Efternamn%1").arg(i + 1),
                    QStringLiteral("Klubb %1").arg(i % 3 + 1), klass, g.blnFleraTavlingar ? 1 : 0});
            const qint64 lopnummer = db.varde(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
            db.kor(QStringLiteral("UPDATE Skjutlag SET Startnummer = ? WHERE Skjutlag = ? AND Bana = ?"),
                   {lopnummer, i / banor + 1, i % banor + 1});
        }
    });
    if (!g.iniTavling.WriteKey(Ini::AntalSkjutlag.sektion, Ini::AntalSkjutlag.nyckel,
                               QString::number(skjutlag)))
        qFatal("%s", qPrintable(g.iniTavling.senasteFel()));
    return g.strTavlingsdatabas;
}

quint16 Testfixtur::ledigPort() {
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}
