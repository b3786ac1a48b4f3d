#include "registration/Inskrivningslage.h"

#include <QTest>

using L = Inskrivningslage::Lage;

namespace {
// The buttons a state leaves on, by name in the window's order, and the two
// texts that change.
QString pa(const Inskrivningslage& s) {
    const Inskrivningslage::Knappar k = s.knappar();
    QStringList namn;
    const bool paslagna[] = {k.spara,
                             k.andra,
                             k.taBort,
                             k.tomFalt,
                             k.kopiera,
                             k.nyttSkjutlag,
                             k.infogaSkjutlag,
                             k.taBortSistaSkjutlag,
                             k.taBortValtSkjutlag,
                             k.sokSkytt};
    const char* const knappar[] = {"spara", "ändra",  "ta bort",       "töm fält",     "kopiera",
                                   "nytt",  "infoga", "ta bort sista", "ta bort valt", "sök"};
    for (int i = 0; i < 10; ++i)
        if (paslagna[i])
            namn << QString::fromUtf8(knappar[i]);
    return namn.join(QStringLiteral(", ")) + u'|' + k.taBortText + u'|' + k.tomFaltText;
}

Inskrivningslage lage(L l, bool bana = false, int antal = 3) {
    Inskrivningslage s;
    s.lage = l;
    s.lopnummer = l == L::Visad || l == L::Andrar ? 7 : 0;
    s.banaSkriven = bana;
    s.antalSkjutlag = antal;
    return s;
}
} // namespace

// Which buttons of the registration window each state of its shooter part
// leaves on, and what the two buttons that change meaning say.
class TestInskrivningslage : public QObject {
    Q_OBJECT

private slots:
    void knapparna_data() {
        QTest::addColumn<Inskrivningslage>("lage");
        QTest::addColumn<QString>("pa");
        const QString skjutlag = QStringLiteral("nytt, infoga, ta bort sista, ta bort valt, sök");
        const QString texter = QStringLiteral("|&Ta bort|Töm &fält");
        QTest::newRow("ledig") << lage(L::Ledig) << skjutlag + texter;
        QTest::newRow("ledig, ett skjutlag") << lage(L::Ledig, false, 1) << "nytt, infoga, sök" + texter;
        QTest::newRow("ledig, trettio skjutlag")
            << lage(L::Ledig, false, 30) << "ta bort sista, ta bort valt, sök" + texter;
        // A new shooter is cancelled with the delete button, which deletes
        // nothing then: nothing of him is written before the save.
        QTest::newRow("ny") << lage(L::Ny) << "ta bort" + texter;
        QTest::newRow("ny med bana") << lage(L::Ny, true) << "spara, ta bort" + texter;
        QTest::newRow("visad") << lage(L::Visad) << "ändra, ta bort, töm fält, kopiera, " + skjutlag + texter;
        QTest::newRow("visad, trettio skjutlag")
            << lage(L::Visad, false, 30)
            << "ändra, ta bort, töm fält, kopiera, ta bort sista, ta bort valt, sök" + texter;
        QTest::newRow("ändrar") << lage(L::Andrar) << QStringLiteral("spara, töm fält|&Ta bort|&Avbryt");
        QTest::newRow("kopierar") << lage(L::Kopierar)
                                  << QStringLiteral("spara, ta bort, sök|&Avbryt|Töm &fält");
    }
    void knapparna() {
        QFETCH(Inskrivningslage, lage);
        QTEST(pa(lage), "pa");
    }

    // The steps from one state to the next: each starts what it says from
    // nothing of the state before, but for the shooter an edit works on.
    void stegen() {
        Inskrivningslage s;
        s.antalSkjutlag = 4;
        s.visa(12);
        s.andra();
        QVERIFY(s.lage == L::Andrar && s.lopnummer == 12);
        s.kopiera(); // only a shown shooter is copied
        QCOMPARE(s.lage, L::Andrar);
        // Cleared, then a new shooter with a lane, then cleared again.
        s.visaLedig();
        QCOMPARE(s.lopnummer, 0);
        s.andra(); // nobody to edit
        QCOMPARE(s.lage, L::Ledig);
        s.borjaNy();
        s.banaSkriven = true;
        QVERIFY(s.knappar().spara);
        s.visa(13);
        s.borjaNy();
        QVERIFY(!s.banaSkriven && s.lopnummer == 0 && !s.knappar().spara);
        // A copy is a new shooter: he has no key until he is saved.
        s.visa(14);
        s.kopiera();
        QVERIFY(s.lage == L::Kopierar && s.lopnummer == 0 && s.antalSkjutlag == 4);
    }
};

QTEST_APPLESS_MAIN(TestInskrivningslage)
#include "test_inskrivningslage.moc"
