#include "registration/Tangentvag.h"

#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(Tangentvag::Falt)
Q_DECLARE_METATYPE(Tangentvag::Tangent)
Q_DECLARE_METATYPE(Tangentvag::Steg)

using namespace Tangentvag;
using Gor = Steg::Gor;

// The registration window's keyboard as a table: a key in a field, the
// window's state, and where it goes.
class TestTangentvag : public QObject {
    Q_OBJECT

    static Steg s(Gor gor, Falt till = Falt::Ingen, Forst forst = Forst::Inget) { return {gor, till, forst}; }
    static Steg s(Gor gor, Forst forst) { return {gor, Falt::Ingen, forst}; }

private slots:
    void steg_data() {
        QTest::addColumn<Falt>("falt");
        QTest::addColumn<Tangent>("tangent");
        QTest::addColumn<bool>("pagar");
        QTest::addColumn<bool>("prisForHand");
        QTest::addColumn<bool>("flera");
        QTest::addColumn<QList<Falt>>("av"); // fields switched off
        QTest::addColumn<Steg>("vantat");
        using F = Falt;
        using T = Tangent;
        const QList<F> inga;
        // clang-format off
        QTest::newRow("namn: bokstav på ledig bana") << F::Namn << T::Tecken << false << false << false << inga << s(Gor::Slapp, Forst::NySkytt);
        QTest::newRow("namn: bokstav under inmatning") << F::Namn << T::Tecken << true << false << false << inga << s(Gor::Slapp);
        QTest::newRow("namn: Enter på ledig bana") << F::Namn << T::Enter << false << false << false << inga << s(Gor::Nasta, Forst::NySkytt);
        QTest::newRow("namn: pil") << F::Namn << T::Annan << false << false << false << inga << s(Gor::Slapp);
        QTest::newRow("efternamn öppnar föreningen") << F::Efternamn << T::Tecken << true << false << false << inga << s(Gor::Slapp, Forst::ForeningPa);
        QTest::newRow("förening öppnar klassen") << F::Forening << T::Enter << true << false << false << inga << s(Gor::Nasta, Forst::KlassPa);
        QTest::newRow("klass") << F::Klass << T::Siffra << true << false << false << inga << s(Gor::Slapp, Forst::Klassfalt);
        QTest::newRow("licens: Enter till kortnumret") << F::Licensnr << T::Enter << true << false << false << inga << s(Gor::Till, F::SkyttekortNr, Forst::BanaPa);
        QTest::newRow("kortnummer: Enter vidare") << F::SkyttekortNr << T::Enter << true << false << false << inga << s(Gor::Nasta, Forst::BanaPa);
        QTest::newRow("födelseår: siffra") << F::Fodelsear << T::Siffra << true << false << false << inga << s(Gor::Slapp, Forst::BanaPa);
        QTest::newRow("födelseår: bokstav piper") << F::Fodelsear << T::Tecken << true << false << false << inga << s(Gor::Pip, Forst::BanaPa);
        QTest::newRow("födelseår: backsteg") << F::Fodelsear << T::Backsteg << true << false << false << inga << s(Gor::Slapp, Forst::BanaPa);
        QTest::newRow("bana: siffra") << F::Bana << T::Siffra << true << false << false << inga << s(Gor::Slapp, Forst::BanaSkriven);
        QTest::newRow("bana: bokstav piper") << F::Bana << T::Tecken << true << false << false << inga << s(Gor::Pip);
        QTest::newRow("bana: backsteg") << F::Bana << T::Backsteg << true << false << false << inga << s(Gor::Slapp);
        QTest::newRow("bana: Enter till spara") << F::Bana << T::Enter << true << false << false << inga << s(Gor::Till, F::Spara);
        QTest::newRow("bana: Enter till priset") << F::Bana << T::Enter << true << true << false << inga << s(Gor::Till, F::Vandringspris);
        QTest::newRow("bana: priset av") << F::Bana << T::Enter << true << true << false << QList<F>{F::Vandringspris} << s(Gor::Till, F::Spara);
        QTest::newRow("bana: spara av") << F::Bana << T::Enter << true << false << false << QList<F>{F::Spara} << s(Gor::Ata);
        QTest::newRow("priset: Enter till spara") << F::Vandringspris << T::Enter << true << true << false << inga << s(Gor::Till, F::Spara);
        QTest::newRow("priset: mellanslag") << F::Vandringspris << T::Tecken << true << true << false << inga << s(Gor::Slapp);
        QTest::newRow("omgång: Enter till namnet") << F::TavlingsOmg << T::Enter << false << false << true << inga << s(Gor::Till, F::Namn);
        QTest::newRow("omgång: namnet av") << F::TavlingsOmg << T::Enter << false << false << true << QList<F>{F::Namn} << s(Gor::Ata);
        QTest::newRow("startnummer: Enter till namnet") << F::Startnummer << T::Enter << false << false << false << inga << s(Gor::Till, F::Namn);
        QTest::newRow("startnummer: Enter till omgången") << F::Startnummer << T::Enter << false << false << true << inga << s(Gor::Till, F::TavlingsOmg);
        QTest::newRow("startnummer: omgången av") << F::Startnummer << T::Enter << false << false << true << QList<F>{F::TavlingsOmg} << s(Gor::Nasta);
        QTest::newRow("startnummer: bokstav piper") << F::Startnummer << T::Tecken << false << false << false << inga << s(Gor::Pip);
        QTest::newRow("skjuttid: Enter till startnumret") << F::Skjuttid << T::Enter << false << false << true << inga << s(Gor::Till, F::Startnummer);
        QTest::newRow("skjuttid: första som tar emot") << F::Skjuttid << T::Enter << false << false << true << QList<F>{F::Startnummer, F::TavlingsOmg} << s(Gor::Till, F::Namn);
        QTest::newRow("skjuttid: inget tar emot") << F::Skjuttid << T::Enter << false << false << true << QList<F>{F::Startnummer, F::TavlingsOmg, F::Namn} << s(Gor::Nasta);
        QTest::newRow("rutnätet: Enter väljer raden") << F::Rutnat << T::Enter << false << false << false << inga << s(Gor::ValjRad);
        QTest::newRow("rutnätet: pil") << F::Rutnat << T::Annan << false << false << false << inga << s(Gor::Slapp);
        // clang-format on
    }
    void steg() {
        QFETCH(Falt, falt);
        QFETCH(Tangent, tangent);
        QFETCH(bool, pagar);
        QFETCH(bool, prisForHand);
        QFETCH(bool, flera);
        QFETCH(QList<Falt>, av);
        QFETCH(Steg, vantat);
        const Lage lage{pagar, prisForHand, flera, [&](Falt f) { return !av.contains(f); }};
        const Steg fick = Tangentvag::steg(falt, tangent, lage);
        QCOMPARE(int(fick.gor), int(vantat.gor));
        QCOMPARE(int(fick.till), int(vantat.till));
        QCOMPARE(int(fick.forst), int(vantat.forst));
    }
};

QTEST_MAIN(TestTangentvag)
#include "test_tangentvag.moc"
