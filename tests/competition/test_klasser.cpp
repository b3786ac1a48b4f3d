#include "competition/Klasser.h"
#include "settings/FlikKlasser.h"
#include "settings/frmKlassUppgifter.h"
#include "settings/frmSlaSammanKlasser.h"
#include "shell/Rutnat.h"
#include "support/Testfel.h"
#include "support/Testfixtur.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using Utfall = Klasser::Utfall;
using Typ = NyTavling::Typ;

namespace {
Klasser::Uppgifter uppgifter(const QString& kod, const QString& namn, const QString& skott,
                             const QString& sportNat = {}) {
    return {kod, namn, skott, sportNat};
}

qint64 raknare(Testfixtur& f, const QString& kod) {
    return f.g.cnnTavling
        .varde(QStringLiteral("SELECT Räknare FROM %1 WHERE Klass = ?").arg(f.g.klasstabell()), {kod})
        .toLongLong();
}

// The class codes of the shooters, placeholder left out, in Löpnummer order.
QStringList skyttarnasKlasser(Testfixtur& f) {
    QSqlQuery q = f.g.cnnTavling.kor(
        QStringLiteral("SELECT Klass FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"));
    QStringList klasser;
    while (q.next())
        klasser << q.value(0).toString();
    return klasser;
}

void sattSkyttarnasKlasser(Testfixtur& f, const QStringList& klasser) {
    QSqlQuery q = f.g.cnnTavling.kor(
        QStringLiteral("SELECT Löpnummer FROM Skyttar WHERE Löpnummer <> 1 ORDER BY Löpnummer"));
    QList<qint64> nycklar;
    while (q.next())
        nycklar << q.value(0).toLongLong();
    for (int i = 0; i < klasser.size(); ++i)
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET Klass = ? WHERE Löpnummer = ?"),
                           {klasser[i], nycklar[i]});
}

QStringList koder(const QList<Klass>& klasser) {
    QStringList k;
    for (const Klass& klass : klasser)
        k << klass.kod;
    return k;
}

// Runs f on the modal dialog that the next call opens, then closes it. The
// flag tells whether a dialog was there to run it on.
template <class D, class F> std::shared_ptr<bool> medDialog(F f) {
    auto kord = std::make_shared<bool>(false);
    QTimer::singleShot(0, [f, kord] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!d)
            return;
        *kord = true;
        f(d);
        if (d->isVisible())
            d->reject();
    });
    return kord;
}
} // namespace

class TestKlasser : public QObject {
    Q_OBJECT
private slots:
    // The new code reaches the class and its shooters together or not at all, and
    // only the shooters of that class; a name alone leaves the shooters.
    void namnbyteNarSkyttarnaIEnTransaktion() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte, 10, 1, 5);
        sattSkyttarnasKlasser(f, {QStringLiteral("H"), QStringLiteral("D"), QStringLiteral("H"),
                                  QStringLiteral("JH"), QStringLiteral("H")});
        Klasser k(f.g, f.m);
        const qint64 h = raknare(f, QStringLiteral("H"));

        f.g.cnnTavling.kor(QStringLiteral("CREATE TRIGGER stopp BEFORE UPDATE OF Klass ON Skyttar BEGIN "
                                          "SELECT RAISE(ABORT, 'stopp'); END"));
        QVERIFY(felnummer([&] {
                    k.andra(
                        h, uppgifter(QStringLiteral("Herr"), QStringLiteral("Herrar"), QStringLiteral("60")));
                }) != 0);
        QCOMPARE(k.klass(h).kod, QStringLiteral("H"));
        QCOMPARE(skyttarnasKlasser(f).count(QStringLiteral("H")), 3);
        f.g.cnnTavling.kor(QStringLiteral("DROP TRIGGER stopp"));

        QCOMPARE(
            k.andra(h, uppgifter(QStringLiteral("Herr"), QStringLiteral("Herrar"), QStringLiteral("60"))),
            Utfall::Ok);
        QCOMPARE(skyttarnasKlasser(f),
                 (QStringList{QStringLiteral("Herr"), QStringLiteral("D"), QStringLiteral("Herr"),
                              QStringLiteral("JH"), QStringLiteral("Herr")}));
        const qint64 d = raknare(f, QStringLiteral("D"));
        QCOMPARE(
            k.andra(d, uppgifter(QStringLiteral("D"), QStringLiteral("Damer öppen"), QStringLiteral("60"))),
            Utfall::Ok);
        QCOMPARE(k.klass(d).namn, QStringLiteral("Damer öppen"));
        QCOMPARE(k.klass(d).antalSkott, 60);
        QCOMPARE(skyttarnasKlasser(f)[1], QStringLiteral("D"));
        QVERIFY(f.m.visade.isEmpty());
    }

    // Codes are the same class whatever their letter case, Swedish letters too;
    // a class keeps its own code in another case, and the shooters follow.
    void dublettIAnnanBokstavsstorlek() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte, 10, 1, 2);
        sattSkyttarnasKlasser(f, {QStringLiteral("H"), QStringLiteral("D")});
        Klasser k(f.g, f.m);
        const int fore = k.lista().size();

        QCOMPARE(
            k.laggTill(uppgifter(QStringLiteral("h"), QStringLiteral("Herrar igen"), QStringLiteral("60"))),
            Utfall::Dublett);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Du får inte skapa en klass som redan finns!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Dublett"));
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("ÖV"), QStringLiteral("Öppen"), QStringLiteral("40"))),
                 Utfall::Ok);
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("öv"), QStringLiteral("Öppen"), QStringLiteral("40"))),
                 Utfall::Dublett);
        QCOMPARE(k.lista().size(), fore + 1);

        const qint64 d = raknare(f, QStringLiteral("D"));
        QCOMPARE(k.andra(d, uppgifter(QStringLiteral("jh"), QStringLiteral("Damer"), QStringLiteral("40"))),
                 Utfall::Dublett);
        QCOMPARE(k.klass(d).kod, QStringLiteral("D"));
        f.m.tom();
        QCOMPARE(k.andra(d, uppgifter(QStringLiteral("d"), QStringLiteral("Damer"), QStringLiteral("40"))),
                 Utfall::Ok);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(k.klass(d).kod, QStringLiteral("d"));
        QCOMPARE(skyttarnasKlasser(f), (QStringList{QStringLiteral("H"), QStringLiteral("d")}));

        QCOMPARE(k.nyHuvudklass(
                     uppgifter(QStringLiteral("Sen"), QStringLiteral("Seniorer"), QStringLiteral("60"))),
                 Utfall::Ok);
        QCOMPARE(k.nyHuvudklass(
                     uppgifter(QStringLiteral("SEN"), QStringLiteral("Seniorer"), QStringLiteral("60"))),
                 Utfall::Dublett);
        QCOMPARE(k.huvudklasser().size(), 1);
    }

    // Shots from 10 to 40 for a national class, 10 to 60 for a sport class, in
    // a mixed competition by the class's own kind; codes up to six characters.
    void kontrollerAvSkottOchLangd() {
        struct Fall {
            Typ typ;
            QString sportNat;
            int storsta;
            Utfall utanfor;
            QString text;
        };
        const QString nat = QStringLiteral("Antal skott måste vara mellan 10 och 40!");
        const QString sport = QStringLiteral("Antal skott måste vara mellan 10 och 60!");
        const QList<Fall> fall{{Typ::Nationellt, {}, 40, Utfall::SkottNationellt, nat},
                               {Typ::Sportskytte, {}, 60, Utfall::SkottSport, sport},
                               {Typ::Mix, QStringLiteral("Nat"), 40, Utfall::SkottNationellt, nat},
                               {Typ::Mix, QStringLiteral("Sport"), 60, Utfall::SkottSport, sport}};
        for (const Fall& c : fall) {
            Testfixtur f;
            f.skapaTavling(QStringLiteral("Cup"), c.typ);
            Klasser k(f.g, f.m);
            const auto med = [&](int skott) {
                return k.kontrollera(uppgifter(QStringLiteral("Sen E"), QStringLiteral("Seniorer Elit"),
                                               QString::number(skott), c.sportNat));
            };
            QCOMPARE(med(9), c.utanfor);
            QCOMPARE(f.m.visade.back().text, c.text);
            QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
            QCOMPARE(med(10), Utfall::Ok);
            QCOMPARE(med(c.storsta), Utfall::Ok);
            QCOMPARE(med(c.storsta + 1), c.utanfor);
            if (c.storsta == 60)
                QCOMPARE(med(41), Utfall::Ok);
        }

        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Mix);
        Klasser k(f.g, f.m);
        QCOMPARE(
            k.kontrollera(uppgifter(QStringLiteral("Sen"), QStringLiteral("Seniorer"), QStringLiteral("40"))),
            Utfall::Ofullstandig);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Du måste fylla i alla rutorna!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Inte ifyllt"));
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("ABCDEFG"), QStringLiteral("Sju"), QStringLiteral("40"),
                                      QStringLiteral("Nat"))),
                 Utfall::ForLang);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Det får bara vara 6 tecken i Fältet Klass!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("För många tecken"));
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("ÅÄÖåäö"), QStringLiteral("Sex"), QStringLiteral("40"),
                                      QStringLiteral("Nat"))),
                 Utfall::Ok);
        QCOMPARE(k.lista().back().sportNat, QStringLiteral("Nat"));
    }

    // A class a shooter carries stays; otherwise it goes when the operator says yes.
    void borttagning() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte, 10, 1, 1);
        Klasser k(f.g, f.m);
        const qint64 h = raknare(f, QStringLiteral("H"));
        QCOMPARE(k.taBort(h), Utfall::FinnsBlandSkyttar);
        QCOMPARE(f.m.visade.back().text,
                 QStringLiteral("Klassen finns inskriven bland skyttarna, därför kan du inte tabort den!"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel"));
        sattSkyttarnasKlasser(f, {QStringLiteral("D")});
        QCOMPARE(k.taBort(h), Utfall::Avbrutet);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Vill du verkligen ta bort klassen Herrar?"));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Bekräfta"));
        f.m.svara(Meddelanden::Svar::Ja);
        QCOMPARE(k.taBort(h), Utfall::Ok);
        QVERIFY(!koder(k.lista()).contains(QStringLiteral("H")));
        QCOMPARE(felnummer([&] { k.klass(h); }), Klasser::RadenFinnsInte);
    }

    // Same shot count, and in a mixed competition the same kind; the class shows
    // as merged until it is taken out, its main class deleted or the class changed.
    void sammanslagning() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Mix);
        Klasser k(f.g, f.m);
        QCOMPARE(k.nyHuvudklass(uppgifter(QStringLiteral("Sen"), QStringLiteral("Seniorer"),
                                          QStringLiteral("60"), QStringLiteral("Sport"))),
                 Utfall::Ok);
        QCOMPARE(k.nyHuvudklass(uppgifter(QStringLiteral("LGD"), QStringLiteral("Luftgevär dam"),
                                          QStringLiteral("40"), QStringLiteral("Nat"))),
                 Utfall::Ok);
        const qint64 sen = k.huvudklasser()[0].raknare;
        const qint64 lgd = k.huvudklasser()[1].raknare;
        QCOMPARE(k.huvudklasser()[1].sportNat, QStringLiteral("Nat"));

        QCOMPARE(k.slaSamman(raknare(f, QStringLiteral("D")), sen), Utfall::FelAntalSkott);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Det är fel antal skott i klassen."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel antal skott"));
        QCOMPARE(k.slaSamman(raknare(f, QStringLiteral("D")), lgd), Utfall::FelSportNat);
        QCOMPARE(f.m.visade.back().text, QStringLiteral("Det är fel typ av tävling i klassen."));
        QCOMPARE(f.m.visade.back().titel, QStringLiteral("Fel Sport/nat"));

        const qint64 h = raknare(f, QStringLiteral("H"));
        QCOMPARE(k.slaSamman(h, sen), Utfall::Ok);
        QCOMPARE(k.slaSamman(raknare(f, QStringLiteral("JH")), sen), Utfall::Ok);
        QCOMPARE(k.slaSamman(raknare(f, QStringLiteral("LG1")), lgd), Utfall::Ok);
        QCOMPARE(koder(k.klasserI(sen)), (QStringList{QStringLiteral("H"), QStringLiteral("JH")}));
        QVERIFY(!koder(k.friaKlasser()).contains(QStringLiteral("H")));

        k.lyftUr(h);
        QCOMPARE(koder(k.klasserI(sen)), QStringList{QStringLiteral("JH")});
        QVERIFY(koder(k.friaKlasser()).contains(QStringLiteral("H")));

        // Both writes of a deletion or neither.
        f.g.cnnTavling.kor(QStringLiteral("CREATE TRIGGER stopp BEFORE DELETE ON SammanslagningKlasser "
                                          "BEGIN SELECT RAISE(ABORT, 'stopp'); END"));
        QVERIFY(felnummer([&] { k.raderaHuvudklass(sen); }) != 0);
        QCOMPARE(koder(k.klasserI(sen)), QStringList{QStringLiteral("JH")});
        f.g.cnnTavling.kor(QStringLiteral("DROP TRIGGER stopp"));
        k.raderaHuvudklass(sen);
        QCOMPARE(k.huvudklasser().size(), 1);
        QVERIFY(koder(k.friaKlasser()).contains(QStringLiteral("JH")));

        const qint64 lg1 = raknare(f, QStringLiteral("LG1"));
        QCOMPARE(k.andra(lg1, uppgifter(QStringLiteral("LG1"), QStringLiteral("Luftgevär klass 1"),
                                        QStringLiteral("40"), QStringLiteral("Nat"))),
                 Utfall::Ok);
        QCOMPARE(k.klass(lg1).sammanslagen, qint64(0));
        QVERIFY(k.klasserI(lgd).isEmpty());
        QCOMPARE(felnummer([&] { k.lyftUr(9999); }), Klasser::RadenFinnsInte);
    }

    // Codes and names with apostrophes are only data.
    void apostrofer() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Nationellt, 10, 1, 2);
        Klasser k(f.g, f.m);
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("O'B"), QStringLiteral("O'Briens 'klass'"),
                                      QStringLiteral("40"))),
                 Utfall::Ok);
        const qint64 ob = raknare(f, QStringLiteral("O'B"));
        QCOMPARE(k.klass(ob).namn, QStringLiteral("O'Briens 'klass'"));
        sattSkyttarnasKlasser(f, {QStringLiteral("O'B"), QStringLiteral("LG1")});
        QCOMPARE(k.laggTill(uppgifter(QStringLiteral("o'b"), QStringLiteral("x"), QStringLiteral("40"))),
                 Utfall::Dublett);
        QCOMPARE(k.andra(ob, uppgifter(QStringLiteral("D'Ar"), QStringLiteral("d'Artagnan"),
                                       QStringLiteral("40"))),
                 Utfall::Ok);
        QCOMPARE(skyttarnasKlasser(f), (QStringList{QStringLiteral("D'Ar"), QStringLiteral("LG1")}));
        QCOMPARE(k.taBort(ob), Utfall::FinnsBlandSkyttar);
        QCOMPARE(k.nyHuvudklass(uppgifter(QStringLiteral("Hu'v"), QStringLiteral("'"), QStringLiteral("40"))),
                 Utfall::Ok);
        QCOMPARE(k.slaSamman(ob, k.huvudklasser()[0].raknare), Utfall::Ok);
        QCOMPARE(koder(k.klasserI(k.huvudklasser()[0].raknare)), QStringList{QStringLiteral("D'Ar")});
    }

    // The boxes open one after the other as they are typed in; the shot box takes
    // digits only; Enter moves on once a box is filled.
    void dialogensFaltOppnasEfterHandOchLangdKontrolleras() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte);
        frmKlassUppgifter d(f.kontext, frmKlassUppgifter::Lage::NyKlass);
        QSignalSpy sparad(&d, &frmKlassUppgifter::sparad);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.windowTitle(), QStringLiteral("Ny klass"));
        QCOMPARE(d.cmdOK->text(), QStringLiteral("&OK"));
        QVERIFY(d.cboSportNat->isHidden() && d.lblSportNat->isHidden());
        QVERIFY(!d.txtKlassnamn->isEnabled() && !d.txtAntalSkott->isEnabled() && !d.cmdOK->isEnabled());

        d.txtKlass->setFocus();
        QTest::keyClick(d.txtKlass, Qt::Key_Return);
        QVERIFY(d.txtKlass->hasFocus());
        QVERIFY(d.txtKlassnamn->isEnabled() && !d.txtAntalSkott->isEnabled());
        QTest::keyClicks(d.txtKlass, QStringLiteral("ABCDEFG"));
        QTest::keyClick(d.txtKlass, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Det får bara vara 6 tecken i Fältet Klass!"));
        QVERIFY(d.txtKlass->text().isEmpty());
        QVERIFY(d.txtKlass->hasFocus());

        f.m.tom();
        QTest::keyClicks(d.txtKlass, QStringLiteral("Sen EL"));
        QTest::keyClick(d.txtKlass, Qt::Key_Return);
        QVERIFY(f.m.visade.isEmpty());
        QVERIFY(d.txtKlassnamn->hasFocus());
        QTest::keyClicks(d.txtKlassnamn, QStringLiteral("Seniorer Elit"));
        QVERIFY(d.txtAntalSkott->isEnabled() && !d.cmdOK->isEnabled());
        QTest::keyClick(d.txtKlassnamn, Qt::Key_Return);
        QTest::keyClicks(d.txtAntalSkott, QStringLiteral("4x0"));
        QCOMPARE(d.txtAntalSkott->text(), QStringLiteral("40"));
        QVERIFY(d.cmdOK->isEnabled());
        QTest::keyClick(d.txtAntalSkott, Qt::Key_Return);
        QVERIFY(d.cmdOK->hasFocus());
        QTest::keyClick(d.cmdOK, Qt::Key_Space);
        QCOMPARE(sparad.size(), 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(Klasser(f.g, f.m).lista().back().kod, QStringLiteral("Sen EL"));

        // Cancel throws a too long code away without a word about it.
        frmKlassUppgifter avbryt(f.kontext, frmKlassUppgifter::Lage::NyKlass);
        avbryt.show();
        QVERIFY(QTest::qWaitForWindowActive(&avbryt));
        avbryt.txtKlass->setFocus();
        QTest::keyClicks(avbryt.txtKlass, QStringLiteral("ABCDEFG"));
        QTest::mouseClick(avbryt.cmdAvbryt, Qt::LeftButton);
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(avbryt.result(), int(QDialog::Rejected));
        QVERIFY(!avbryt.isVisible());
    }

    // The mode is the opener's: captions, filled boxes, and where OK writes.
    void dialogensLagen() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Mix);
        Klasser k(f.g, f.m);
        const Klass lg1 = k.klass(raknare(f, QStringLiteral("LG1")));

        frmKlassUppgifter andra(f.kontext, frmKlassUppgifter::Lage::AndraKlass, lg1);
        QCOMPARE(andra.windowTitle(), QStringLiteral("Ändra klass"));
        QCOMPARE(andra.cmdOK->text(), QStringLiteral("Ä&ndra"));
        QCOMPARE(andra.txtKlass->text(), QStringLiteral("LG1"));
        QCOMPARE(andra.txtAntalSkott->text(), QStringLiteral("40"));
        QCOMPARE(andra.cboSportNat->currentText(), QStringLiteral("Nat"));
        QVERIFY(andra.cboSportNat->isEnabled() && andra.cmdOK->isEnabled() &&
                andra.txtKlassnamn->isEnabled());
        QVERIFY(!andra.cboSportNat->isEditable());
        andra.txtKlassnamn->setText(QStringLiteral("Luftgevär ett"));
        andra.cmdOK_Click();
        QCOMPARE(k.klass(lg1.raknare).namn, QStringLiteral("Luftgevär ett"));

        const int klasser = k.lista().size();
        frmKlassUppgifter huvud(f.kontext, frmKlassUppgifter::Lage::NyHuvudklass);
        QCOMPARE(huvud.windowTitle(), QStringLiteral("Ny huvudklass"));
        QCOMPARE(huvud.cmdOK->text(), QStringLiteral("&OK"));
        QVERIFY(huvud.txtKlass->text().isEmpty() && !huvud.cboSportNat->isEnabled());
        QCOMPARE(huvud.cboSportNat->currentIndex(), -1);
        huvud.txtKlass->setText(QStringLiteral("LG"));
        huvud.txtKlassnamn->setText(QStringLiteral("Luftgevär"));
        huvud.txtAntalSkott->setText(QStringLiteral("40"));
        huvud.cmdOK_Click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du måste fylla i alla rutorna!"));
        huvud.cboSportNat->setCurrentIndex(1);
        QVERIFY(huvud.cmdOK->isEnabled());
        huvud.cmdOK_Click();
        QCOMPARE(k.huvudklasser().size(), 1);
        QCOMPARE(k.lista().size(), klasser);
    }

    // The grid, the refusals without a selection, and the popup menu acting on
    // the row selected when an item is chosen.
    void klassfliken() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte, 10, 1, 1);
        FlikKlasser flik(f.kontext);
        QCOMPARE(flik.lblKlasser->text(), QStringLiteral("Sportskytteklasser"));
        QCOMPARE(flik.vbagrKlasser->columnCount(), 4);
        QVERIFY(flik.vbagrKlasser->isColumnHidden(0));
        QCOMPARE(flik.vbagrKlasser->antalRader(), 6);
        QCOMPARE(flik.vbagrKlasser->cell(2, 2), QStringLiteral("D"));

        flik.cmdAndraKlass_Click();
        flik.cmdTabortKlass_Click();
        QCOMPARE(f.m.visade.size(), 2);
        QCOMPARE(f.m.visade[1].text, QStringLiteral("Du måste välja en klass först!"));
        QCOMPARE(f.m.visade[1].ikon, Meddelanden::Ikon::Kritisk);

        flik.show();
        flik.vbagrKlasser->valjRad(3);
        emit flik.vbagrKlasser->hogerklick(flik.mapToGlobal(QPoint(10, 10)));
        QVERIFY(flik.mnuPopupKlasser->isVisible());
        QString andrad;
        auto kord = medDialog<frmKlassUppgifter>([&andrad](frmKlassUppgifter* d) {
            if (d->lage() == frmKlassUppgifter::Lage::AndraKlass)
                andrad = d->txtKlass->text();
        });
        flik.mnuAndraKlass->trigger();
        flik.mnuPopupKlasser->close();
        QVERIFY(*kord);
        QCOMPARE(andrad, QStringLiteral("JH"));
        flik.vbagrKlasser->valjRad(1);
        kord =
            medDialog<frmKlassUppgifter>([&andrad](frmKlassUppgifter* d) { andrad = d->txtKlass->text(); });
        emit flik.vbagrKlasser->cellDoubleClicked(0, 1);
        QVERIFY(*kord);
        QCOMPARE(andrad, QStringLiteral("H"));

        flik.vbagrKlasser->valjRad(2);
        f.m.svara(Meddelanden::Svar::Ja);
        flik.mnuTabortKlass->trigger();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Vill du verkligen ta bort klassen Damer?"));
        QCOMPARE(flik.vbagrKlasser->antalRader(), 5);
        QCOMPARE(flik.vbagrKlasser->cell(2, 2), QStringLiteral("JH"));

        Testfixtur mix;
        mix.skapaTavling(QStringLiteral("Mix"), Typ::Mix);
        FlikKlasser mixflik(mix.kontext);
        QCOMPARE(mixflik.lblKlasser->text(), QStringLiteral("Mixadeklasser"));
        QCOMPARE(mixflik.vbagrKlasser->columnCount(), 5);
        QCOMPARE(mixflik.vbagrKlasser->cell(4, 5), QStringLiteral("Nat"));
    }

    // The merge dialog moves classes between its grids; a row that has gone
    // from the database ends an action without a word.
    void sammanslagningsdialogen() {
        Testfixtur f;
        f.skapaTavling(QStringLiteral("Cup"), Typ::Sportskytte);
        Klasser k(f.g, f.m);
        k.nyHuvudklass(uppgifter(QStringLiteral("Sen"), QStringLiteral("Seniorer"), QStringLiteral("60")));
        frmSlaSammanKlasser d(f.kontext);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QVERIFY(f.m.visade.isEmpty());
        QCOMPARE(d.vbagrExKlasser->antalRader(), 6);
        QCOMPARE(d.vbagrHuvudklass->antalRader(), 1);
        QVERIFY(d.vbagrHuvudklass->isColumnHidden(0));

        d.vbagrExKlasser->valjRad(1);
        d.cmdLaggTillKlass_Click();
        QCOMPARE(f.m.senasteText(), QStringLiteral("Du måste välja en huvudklass först!"));
        const QRect forsta = d.vbagrHuvudklass->visualItemRect(d.vbagrHuvudklass->item(0, 1));
        QTest::mouseClick(d.vbagrHuvudklass->viewport(), Qt::LeftButton, {}, forsta.center());
        QCOMPARE(d.vbagrHuvudklass->valdRad(), 1);
        d.vbagrExKlasser->valjRad(1);
        d.cmdLaggTillKlass_Click();
        QCOMPARE(d.vbagrExKlasser->antalRader(), 5);
        QCOMPARE(d.vbagrInkKlasser->antalRader(), 1);
        QCOMPARE(d.vbagrInkKlasser->cell(1, 2), QStringLiteral("H"));

        d.vbagrInkKlasser->valjRad(1);
        emit d.vbagrInkKlasser->cellDoubleClicked(0, 1);
        QCOMPARE(d.vbagrInkKlasser->antalRader(), 0);
        QCOMPARE(d.vbagrExKlasser->antalRader(), 6);

        d.vbagrExKlasser->valjRad(3); // JH, 60 shots
        d.cmdLaggTillKlass_Click();
        d.vbagrInkKlasser->tom();
        QTest::keyClick(d.vbagrHuvudklass, Qt::Key_Home);
        QCOMPARE(d.vbagrInkKlasser->antalRader(), 1);

        f.m.tom();
        d.vbagrExKlasser->valjRad(1);
        f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Sportskytteklasser WHERE Klass = 'H'"));
        d.cmdLaggTillKlass_Click();
        QVERIFY(f.m.visade.isEmpty());

        emit d.vbagrHuvudklass->hogerklick(d.mapToGlobal(QPoint(10, 10)));
        QVERIFY(d.popupmnuHuvud->isVisible());
        d.popupmnuHuvud->close();
        d.vbagrHuvudklass->valjRad(1);
        d.popupmnuRaderaklass->trigger();
        QCOMPARE(d.vbagrHuvudklass->antalRader(), 0);
        QCOMPARE(d.vbagrInkKlasser->antalRader(), 0);
        QCOMPARE(d.vbagrExKlasser->antalRader(), 5);
        QVERIFY(f.m.visade.isEmpty());
        d.cmdRaderaHuvudKlass_Click();
        d.cmdTabortKlass_Click();
        QVERIFY(f.m.visade.isEmpty());

        const auto kord = medDialog<frmKlassUppgifter>([](frmKlassUppgifter* n) {
            n->txtKlass->setText(QStringLiteral("Jun"));
            n->txtKlassnamn->setText(QStringLiteral("Juniorer"));
            n->txtAntalSkott->setText(QStringLiteral("40"));
            n->cmdOK_Click();
        });
        d.cmdNyHuvudklass_Click();
        QVERIFY(*kord);
        QCOMPARE(d.vbagrHuvudklass->antalRader(), 1);
        QCOMPARE(d.vbagrHuvudklass->cell(1, 2), QStringLiteral("Jun"));
    }
};

QTEST_MAIN(TestKlasser)
#include "test_klasser.moc"
