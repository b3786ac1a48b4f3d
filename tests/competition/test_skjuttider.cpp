#include "competition/Skjuttider.h"
#include "settings/FlikSkjuttider.h"
#include "settings/Installningsvarden.h"
#include "shell/Rutnat.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

using Svar = Meddelanden::Svar;

// Shooting times on a real competition: the one procedure that every part
// reads and renumbers them through, and the settings tab that keeps the list.
class TestSkjuttider : public QObject {
    Q_OBJECT

    // Every row of the table as "squad=time", in squad order: also shows a
    // second row for one squad, which must never arise.
    static QStringList tabell(const Databas& db) {
        QStringList rader;
        QSqlQuery q = db.kor(QStringLiteral("SELECT Skjutlag, Skjuttid FROM Skjuttider ORDER BY Skjutlag"));
        while (q.next())
            rader << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        return rader;
    }

    static void skrivTider(Databas& db, int fran, int till) {
        for (int lag = fran; lag <= till; ++lag) {
            int lage = Skjuttider::Skriv;
            HanteraSkjuttid(db, lag, lage, QStringLiteral("Tid %1").arg(lag), Skjuttider::LasEllerSkriv);
        }
    }

    static void oppna(FlikSkjuttider& flik) {
        flik.visa(Installningsvarden{});
        flik.show();
        QApplication::setActiveWindow(&flik);
        QVERIFY(QTest::qWaitForWindowActive(&flik));
    }

private slots:
    void tiderFoljerSkjutlagen() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 5, 4);
        Databas& db = f.g.cnnTavling;
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QStringLiteral("bortglömd"), 0), QString());
        QVERIFY(tabell(db).isEmpty());
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, QStringLiteral("Fredag"), 0);
        QCOMPARE(lage, 0);
        // A "changed" flag passed as it stands writes too.
        lage = 1;
        HanteraSkjuttid(db, 3, lage, QStringLiteral("Lördag 'kl' 9.00"), 0);
        QCOMPARE(HanteraSkjuttid(db, 3, lage, QString(), 0), QStringLiteral("Lördag 'kl' 9.00"));
        // An empty box of the registration form may have no text at all.
        lage = Skjuttider::Skriv;
        HanteraSkjuttid(db, 3, lage, QString(), 0);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("3=")});

        db.kor(QStringLiteral("DELETE FROM Skjuttider"));
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::Infoga);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Tid 1"), QStringLiteral("3=Tid 2"),
                                          QStringLiteral("4=Tid 3"), QStringLiteral("5=Tid 4")}));
        db.kor(QStringLiteral("DELETE FROM Skjuttider"));
        skrivTider(db, 1, 4);
        HanteraSkjuttid(db, 2, lage, QString(), Skjuttider::TaBort);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("1=Tid 1"), QStringLiteral("2=Tid 3"),
                                          QStringLiteral("3=Tid 4")}));
    }

    // The registration deletes squads in a transaction of its own and calls the
    // procedure inside: a failure of the times undoes the squads too. A read
    // shows its failure as the time.
    void fel() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Nationellt, 2, 3);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 1, 3);
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        const auto antalBanor = [&] {
            return db.varde(QStringLiteral("SELECT COUNT(*) FROM Skjutlag")).toInt();
        };
        QCOMPARE(felnummer([&] {
                     db.transaktion([&] {
                         db.kor(QStringLiteral("DELETE FROM Skjutlag WHERE Skjutlag = 3"));
                         int lage = Skjuttider::Skriv;
                         HanteraSkjuttid(db, 1, lage, QStringLiteral("ny"), 0);
                     });
                 }),
                 Felnummer::Databasfel);
        QCOMPARE(antalBanor(), 6);
        QCOMPARE(db.transaktionsdjup(), 0);
        QCOMPARE(tabell(db).first(), QStringLiteral("1=Tid 1"));

        db.Close();
        int lage = Skjuttider::Las;
        QCOMPARE(HanteraSkjuttid(db, 1, lage, QString(), 0), QStringLiteral("Felkod: 3146"));
    }

    void nyTidSkrivsOchVagras() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 5, 4);
        Databas& db = f.g.cnnTavling;
        FlikSkjuttider flik(f.kontext);
        oppna(flik);
        QVERIFY(!flik.txtSkjuttidLag->isEnabled() && !flik.cmdAndraSkjuttid->isEnabled());
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        QCOMPARE(flik.cmdNySkjuttid->text(), QStringLiteral("S&para"));
        QVERIFY(flik.txtSkjuttidLag->hasFocus() && flik.txtSkjuttidBeskr->isEnabled());
        QVERIFY(flik.cmdAvbrytSkjuttid->isEnabled() && !flik.mnuNyTid->isEnabled());

        // The squad box takes digits only; Enter moves on to the time, and from
        // the time to the save button, where Enter saves.
        QTest::keyClicks(flik.txtSkjuttidLag, QStringLiteral("0x"));
        QCOMPARE(flik.txtSkjuttidLag->text(), QStringLiteral("0"));
        QTest::keyClick(flik.txtSkjuttidLag, Qt::Key_Return);
        QVERIFY(flik.txtSkjuttidBeskr->hasFocus());
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du måste fylla i alla fälten!"));
        QVERIFY(flik.txtSkjuttidLag->hasFocus());

        QTest::keyClicks(flik.txtSkjuttidBeskr, QStringLiteral("  Fredag kl 18.00 "));
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du får inte skriva skjutlag 0!"));
        QCOMPARE(f.m.visade.last().titel, QStringLiteral("Fel"));
        QVERIFY(tabell(db).isEmpty());
        QCOMPARE(flik.lage(), FlikSkjuttider::Lage::NyTid);

        flik.txtSkjuttidLag->setText(QStringLiteral("3"));
        QTest::keyClick(flik.txtSkjuttidBeskr, Qt::Key_Return);
        QVERIFY(flik.cmdNySkjuttid->hasFocus());
        QTest::keyClick(flik.cmdNySkjuttid, Qt::Key_Return);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("3=Fredag kl 18.00")});
        QCOMPARE(flik.vbagrSkjuttider->cell(1, 2), QStringLiteral("Fredag kl 18.00"));
        QVERIFY(!flik.txtSkjuttidLag->isEnabled() && !flik.cmdAvbrytSkjuttid->isEnabled());
    }

    void tidAndrasOchRaderas() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 5, 4);
        Databas& db = f.g.cnnTavling;
        skrivTider(db, 2, 3);
        FlikSkjuttider flik(f.kontext);
        oppna(flik);
        flik.vbagrSkjuttider->valjRad(1);
        QCOMPARE(flik.txtSkjuttidLag->text(), QStringLiteral("2"));
        QVERIFY(flik.cmdAndraSkjuttid->isEnabled() && flik.mnuRaderaTid->isEnabled());

        // The right button opens the popup menu; its change item opens the time only.
        const QRect rad = flik.vbagrSkjuttider->visualRect(flik.vbagrSkjuttider->model()->index(0, 1));
        QTest::mouseClick(flik.vbagrSkjuttider->viewport(), Qt::RightButton, {}, rad.center());
        QTRY_VERIFY(flik.mnuPopupTider->isVisible());
        flik.mnuAndraTid->trigger();
        flik.mnuPopupTider->hide();
        QCOMPARE(flik.lage(), FlikSkjuttider::Lage::AndraTid);
        QVERIFY(!flik.txtSkjuttidLag->isEnabled() && flik.txtSkjuttidBeskr->hasFocus());
        QVERIFY(!flik.cmdRaderaSkjuttid->isEnabled());

        // A failed save tells why and keeps what was typed.
        db.kor(QStringLiteral("CREATE TEMP TRIGGER stopp BEFORE UPDATE ON Skjuttider "
                              "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        flik.txtSkjuttidBeskr->setText(QStringLiteral("Söndag"));
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        QVERIFY(f.m.senasteText().startsWith(QStringLiteral("cmdNyTid_Click 3146 ")));
        QCOMPARE(f.m.visade.last().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(flik.lage(), FlikSkjuttider::Lage::AndraTid);
        QCOMPARE(flik.txtSkjuttidBeskr->text(), QStringLiteral("Söndag"));
        db.kor(QStringLiteral("DROP TRIGGER stopp"));
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        QCOMPARE(tabell(db), (QStringList{QStringLiteral("2=Söndag"), QStringLiteral("3=Tid 3")}));

        // Deleting asks first and leaves the other squads' numbers alone.
        flik.vbagrSkjuttider->valjRad(1);
        f.m.svara(Svar::Nej);
        QTest::mouseClick(flik.cmdRaderaSkjuttid, Qt::LeftButton);
        QCOMPARE(f.m.senasteText(), QStringLiteral("Vill du verkligen radera Tiden: Söndag"));
        QCOMPARE(flik.vbagrSkjuttider->antalRader(), 2);
        f.m.svara(Svar::Ja);
        QTest::mouseClick(flik.cmdRaderaSkjuttid, Qt::LeftButton);
        QCOMPARE(tabell(db), QStringList{QStringLiteral("3=Tid 3")});
        QVERIFY(flik.txtSkjuttidBeskr->text().isEmpty() && !flik.cmdRaderaSkjuttid->isEnabled());

        // Pointing at a row during a new entry shows the row and ends the entry.
        QTest::mouseClick(flik.cmdNySkjuttid, Qt::LeftButton);
        flik.vbagrSkjuttider->valjRad(1);
        QCOMPARE(flik.lage(), FlikSkjuttider::Lage::Vilande);
        QCOMPARE(flik.txtSkjuttidLag->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(TestSkjuttider)
#include "test_skjuttider.moc"
