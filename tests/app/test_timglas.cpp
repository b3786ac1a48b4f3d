#include "app/Delsystem.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "support/Testfixtur.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Nothing is told to the operator under the hourglass: wherever the program
// is at work when it has something to say, the hourglass is down as the box
// opens, and none is left once the work is over.
class T_Timglas : public QObject {
    Q_OBJECT

    enum class Fall {
        ListanHallsOppen,
        UtskriftenMisslyckas,
        Lagresultat,
        Installningar,
        BytSkjutlag,
        // Grafik/ is missing: the windows that load under the hourglass tell it.
        IkonInstallningar,
        IkonResultatlista,
        IkonSkjutlagslista,
        IkonForeningslista,
    };

private slots:
    void meddelandenEfterTimglaset_data() {
        QTest::addColumn<int>("fall");
        QTest::addColumn<QString>("borjan");
        QTest::newRow("listan hålls öppen") << int(Fall::ListanHallsOppen) << u"Exceldokumentet "_s;
        QTest::newRow("utskriften misslyckas")
            << int(Fall::UtskriftenMisslyckas) << u"frmFöreningsutskrift.UtskriftExcel: "_s;
        QTest::newRow("lagresultat") << int(Fall::Lagresultat) << u"frmLagutskrift, Form_load: "_s;
        QTest::newRow("inställningar") << int(Fall::Installningar) << u"frmInställningar, Form_load: "_s;
        QTest::newRow("byte av skjutlag")
            << int(Fall::BytSkjutlag) << u"Klassen för skytten på bana 1 finns inte."_s;
        QTest::newRow("ikon saknas: inställningar")
            << int(Fall::IkonInstallningar) << u"frmInställningar, Form_load: Ikon saknas!"_s;
        QTest::newRow("ikon saknas: resultatlista")
            << int(Fall::IkonResultatlista) << u"frmValResSkärmGrund, Form_load: Ikon saknas!"_s;
        QTest::newRow("ikon saknas: skjutlagslista")
            << int(Fall::IkonSkjutlagslista) << u"frmUtskriftSkjutlag, Form_load: Ikon saknas!"_s;
        QTest::newRow("ikon saknas: föreningslista")
            << int(Fall::IkonForeningslista) << u"frmFöreningsutskrift, Form_load: Ikon saknas!"_s;
    }
    void meddelandenEfterTimglaset() {
        QFETCH(int, fall);
        QFETCH(QString, borjan);
        Testfixtur f(fall < int(Fall::IkonInstallningar));
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 2, 8);
        registreraDelsystem(f.delar());
        Fonstervard& v = f.fonster;
        const QString utskrifter = f.g.strTavlingsmapp + u"Utskrifter/"_s;
        const auto klubblista = [&](Utskriftsmal mal) {
            QWidget* w = v.visaFonster(Fonsternamn::Foreningsutskrift, mal);
            QVERIFY(w);
            f.kontext.meddelaAktivering(w);
            w->findChild<QAbstractButton*>(u"cmdAlla"_s)->click();
        };
        switch (Fall(fall)) {
        case Fall::ListanHallsOppen: {
            klubblista(Utskriftsmal::Fil);
            QFile las(utskrifter + u".~lock.Föreningslista_Fil.xlsx#"_s);
            QVERIFY(las.open(QIODevice::WriteOnly));
            las.write(",anna,kontor-1,07.12.2026 06:19,x;");
            las.close();
            f.m.tom();
            v.fonster(Fonsternamn::Foreningsutskrift)->findChild<QAbstractButton*>(u"cmdAlla"_s)->click();
            break;
        }
        case Fall::UtskriftenMisslyckas:
            f.g.strValdSkrivare = u"Provskrivare som inte finns"_s;
            klubblista(Utskriftsmal::Printer);
            break;
        case Fall::Lagresultat:
            f.g.cnnTavling.kor(u"DROP TABLE Lag"_s);
            QVERIFY(!v.visaFonster(Fonsternamn::Lagutskrift, Utskriftsmal::Fil));
            break;
        case Fall::Installningar:
            QVERIFY(f.g.iniTavling.WriteKey(u"Final"_s, u"Decimaler i finalen"_s, u"kanske"_s));
            v.visaFonster(Fonsternamn::Installningar);
            break;
        case Fall::BytSkjutlag: {
            f.g.cnnTavling.kor(u"UPDATE Skyttar SET Klass = 'XX' WHERE Löpnummer IN "
                               "(SELECT Startnummer FROM Skjutlag WHERE Skjutlag = 2)"_s);
            QWidget* w = v.visaFonster(Fonsternamn::ResultatInskrivning, Skjutlagsbegaran{1});
            QVERIFY(w);
            QTimer::singleShot(0, [] {
                QWidget* valj = QApplication::activeModalWidget();
                if (!valj)
                    return;
                valj->findChild<QAbstractButton*>(u"Opt2"_s)->click();
                valj->findChild<QAbstractButton*>(u"cmdOK"_s)->click();
            });
            w->findChild<QAbstractButton*>(u"cmdBytSkjutlag"_s)->click();
            break;
        }
        case Fall::IkonInstallningar:
            QVERIFY(v.visaFonster(Fonsternamn::Installningar));
            break;
        case Fall::IkonResultatlista:
            QVERIFY(v.visaFonster(Fonsternamn::ValResSkarmGrund, Utskriftsmal::Fil));
            break;
        case Fall::IkonSkjutlagslista:
            QVERIFY(v.visaFonster(Fonsternamn::UtskriftSkjutlag, Utskriftsmal::Fil));
            break;
        case Fall::IkonForeningslista:
            QVERIFY(v.visaFonster(Fonsternamn::Foreningsutskrift, Utskriftsmal::Fil));
            break;
        }
        // The windows that keep the hourglass until they are first active go.
        QVERIFY(f.fonster.stangAlla());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList visade;
        for (const TestMeddelanden::Visat& m : std::as_const(f.m.visade)) {
            visade << m.text;
            QVERIFY2(!m.underTimglas, qPrintable(m.text));
        }
        QVERIFY2(std::any_of(visade.cbegin(), visade.cend(),
                             [&](const QString& s) { return s.startsWith(borjan); }),
                 qPrintable(visade.join(u'\n')));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(T_Timglas)
#include "test_timglas.moc"
