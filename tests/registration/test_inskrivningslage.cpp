#include "registration/Inskrivningslage.h"

#include <QTest>

using L = Inskrivningslage::Lage;

namespace {
// The buttons a state leaves on, by name, in the window's order.
QString pa(const Inskrivningslage::Knappar& k) {
    QStringList namn;
    const std::pair<bool, const char*> knappar[] = {{k.spara, "spara"},
                                                    {k.andra, "ändra"},
                                                    {k.taBort, "ta bort"},
                                                    {k.tomFalt, "töm fält"},
                                                    {k.kopiera, "kopiera"},
                                                    {k.nyttSkjutlag, "nytt skjutlag"},
                                                    {k.infogaSkjutlag, "infoga"},
                                                    {k.taBortSistaSkjutlag, "ta bort sista"},
                                                    {k.taBortValtSkjutlag, "ta bort valt"},
                                                    {k.sokSkytt, "sök"}};
    for (const auto& [paslagen, text] : knappar)
        if (paslagen)
            namn << QString::fromUtf8(text);
    return namn.join(QStringLiteral(", "));
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
        QTest::addColumn<QString>("taBort");
        QTest::addColumn<QString>("tomFalt");
        const QString taBort = QStringLiteral("&Ta bort");
        const QString tom = QStringLiteral("Töm &fält");
        const QString avbryt = QStringLiteral("&Avbryt");
        const QString skjutlag = QStringLiteral("nytt skjutlag, infoga, ta bort sista, ta bort valt, sök");
        QTest::newRow("ledig") << lage(L::Ledig) << skjutlag << taBort << tom;
        QTest::newRow("ledig, ett skjutlag")
            << lage(L::Ledig, false, 1) << QStringLiteral("nytt skjutlag, infoga, sök") << taBort << tom;
        QTest::newRow("ledig, trettio skjutlag")
            << lage(L::Ledig, false, 30) << QStringLiteral("ta bort sista, ta bort valt, sök") << taBort
            << tom;
        // A new shooter is cancelled with the delete button, which deletes
        // nothing then: nothing of him is written before the save.
        QTest::newRow("ny") << lage(L::Ny) << QStringLiteral("ta bort") << taBort << tom;
        QTest::newRow("ny med bana") << lage(L::Ny, true) << QStringLiteral("spara, ta bort") << taBort
                                     << tom;
        QTest::newRow("visad") << lage(L::Visad)
                               << QStringLiteral("ändra, ta bort, töm fält, kopiera, ") + skjutlag << taBort
                               << tom;
        QTest::newRow("visad, trettio skjutlag")
            << lage(L::Visad, false, 30)
            << QStringLiteral("ändra, ta bort, töm fält, kopiera, ta bort sista, ta bort valt, sök") << taBort
            << tom;
        QTest::newRow("ändrar") << lage(L::Andrar) << QStringLiteral("spara, töm fält") << taBort << avbryt;
        QTest::newRow("kopierar") << lage(L::Kopierar) << QStringLiteral("spara, ta bort, sök") << avbryt
                                  << tom;
    }
    void knapparna() {
        QFETCH(Inskrivningslage, lage);
        QFETCH(QString, pa);
        QFETCH(QString, taBort);
        QFETCH(QString, tomFalt);
        const Inskrivningslage::Knappar k = lage.knappar();
        QCOMPARE(::pa(k), pa);
        QCOMPARE(k.taBortText, taBort);
        QCOMPARE(k.tomFaltText, tomFalt);
    }

    // The steps from one state to the next: each starts what it says from
    // nothing of the state before, but for the shooter an edit works on.
    void stegen() {
        Inskrivningslage s;
        s.antalSkjutlag = 4;
        s.visa(12);
        QCOMPARE(s.lage, L::Visad);
        s.andra();
        QCOMPARE(s.lage, L::Andrar);
        QCOMPARE(s.lopnummer, 12);
        s.kopiera(); // only a shown shooter is copied
        QCOMPARE(s.lage, L::Andrar);

        // Cleared, then a new shooter with a lane, then cleared again.
        s.visaLedig();
        QCOMPARE(s.lopnummer, 0);
        s.andra(); // nobody to edit
        QCOMPARE(s.lage, L::Ledig);
        s.borjaNy();
        QVERIFY(!s.knappar().spara);
        s.banaSkriven = true;
        QVERIFY(s.knappar().spara);
        s.visa(13);
        s.borjaNy();
        QVERIFY(!s.banaSkriven && s.lopnummer == 0);

        // A copy is a new shooter: he has no key until he is saved.
        s.visa(14);
        s.kopiera();
        QCOMPARE(s.lage, L::Kopierar);
        QCOMPARE(s.lopnummer, 0);
        QCOMPARE(s.antalSkjutlag, 4);
    }
};

QTEST_APPLESS_MAIN(TestInskrivningslage)
#include "test_inskrivningslage.moc"
