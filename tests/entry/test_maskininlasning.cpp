#include "Tangentbord.h"
#include "common/IniNamn.h"
#include "entry/Banrader.h"
#include "entry/frmResultatInskrivning.h"
#include "entry/frmValjSkjutlag.h"
#include "entry/scoring_machine/Tavelsvar.h"
#include "entry/scoring_machine/Tolklank.h"
#include "platform/Serieport.h"
#include "spectator/Askadarstod.h"
#include "support/Kabel.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

// Reading target cards into result entry, end to end: the window in machine
// mode, its link on one end of a pseudo-terminal cable, and a scoring machine of
// either model at the other end that answers the start and the polls and hands
// over the cards it is given.

using namespace std::chrono_literals;
using F = frmResultatInskrivning;
using namespace Tangentbord;
using Modell = Tavelsvar::Modell;
using Bild = Tolklank::Bild;

namespace {

// Whether this process holds the device open, under any name.
bool harOppen(const QString& enhet) {
    const QString mal = QFileInfo(enhet).canonicalFilePath();
    const QFileInfoList fd =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System);
    for (const QFileInfo& i : fd)
        if (i.symLinkTarget() == mal)
            return true;
    return false;
}

// "10.9,10.2,?,9.5,8.0": the decimal values of a card, "?" a missing shot.
Tavelsvar::Kort kort(const QString& skott) {
    Tavelsvar::Kort k;
    for (const QString& s : skott.split(u','))
        k.skott << (s == u'?' ? std::nullopt : std::optional<double>(s.toDouble()));
    return k;
}
const QString GottKort = QStringLiteral("10.9,10.2,9.8,9.5,8.0"); // 46, "*+998"

QByteArray poll(Modell m) {
    return QByteArray(1, m == Modell::Sam4000 ? 0x05 : 0x16);
}
QByteArray stoppbyte(Modell m) {
    return QByteArray(1, m == Modell::Sam4000 ? '\xB0' : '\xD0');
}

// The scoring machine at its end of the cable. It records every byte it gets;
// a poll is answered with the first card it holds (as a whole frame) or with
// "no card"; a repeat request gets the same frame again, and the
// acknowledgement takes the card out.
class Maskin {
public:
    Maskin(const QString& enhet, Modell modell) : m_modell(modell) {
        if (oppnaSerieport(port, enhet))
            qFatal("the machine's end does not open");
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            for (const char c : port.readAll())
                tag(c);
        });
    }
    // What the program sent after the last frame went out.
    QByteArray efterRam() const { return mottaget.mid(m_vidRam); }

    QSerialPort port;
    QByteArray mottaget;
    QList<Tavelsvar::Kort> kort;
    int ramar = 0;

private:
    bool sam() const { return m_modell == Modell::Sam4000; }
    void tag(char c) {
        mottaget += c;
        if (!sam() && c == '\xD4') {
            port.write("abc");
        } else if (c == poll(m_modell)[0]) {
            if (kort.isEmpty()) {
                port.write(QByteArray(1, sam() ? 0x15 : 0x00));
            } else {
                m_ute = true;
                skickaRam();
            }
        } else if (c == (sam() ? 0x15 : 0x08) && m_ute) {
            skickaRam();
        } else if (c == (sam() ? 0x06 : 0x0C) && m_ute) {
            m_ute = false;
            kort.removeFirst();
        }
    }
    void skickaRam() {
        port.write(Tavelsvar::bygg(m_modell, kort.first()));
        m_vidRam = int(mottaget.size());
        ++ramar;
    }

    Modell m_modell;
    bool m_ute = false;
    int m_vidRam = 0;
};

// What the link says after a card: the acknowledgement, then (the restart) the
// short start and the first poll.
QByteArray kvittensOchOmstart(Modell m) {
    if (m == Modell::Sam4000)
        return QByteArray("\x06\x06\x05");
    return QByteArray("\x0C\x0C\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ1\r\x16");
}

// Short waits where the test waits for them; a bound that a test does not mean
// to reach is long.
Tolklank::Tider korta(std::chrono::milliseconds omstart = 10ms) {
    Tolklank::Tider t;
    t.frekvens = 10ms;
    t.timeout = 30s;
    t.omstart = omstart;
    t.rikaStartsvar = 30s;
    t.efterRamstart = 30s;
    return t;
}

// A competition in machine mode whose program reaches the machine as COM1, and
// result entry open on one of its squads.
struct Maskininlasning {
    Testfixtur f;
    Askadarflode flode{f.g, f.m, Testfixtur::ledigPort(), Loopback};
    Kabel kabel;
    Modell modell;
    std::unique_ptr<Maskin> maskin;
    QPointer<F> w;

    explicit Maskininlasning(Modell m, NyTavling::Typ typ = NyTavling::Typ::Sportskytte) : modell(m) {
        f.skapaTavling(QStringLiteral("Cup"), typ, 4, 2, 8);
        const QString t = Ini::Sektion::Tolkmaskin;
        if (!f.g.iniTavling.WriteKeys(
                {{t, Ini::TolkmaskinIGrundomg.nyckel, QStringLiteral("1")},
                 {t, Ini::Comport.nyckel, QStringLiteral("1")},
                 {t, Ini::Model.nyckel,
                  m == Modell::Sam4000 ? QStringLiteral("SAM 4000") : QStringLiteral("RIKA")},
                 {t, Ini::DecimalerRika.nyckel, QStringLiteral("1")}}) ||
            !f.g.iniProgram.WriteKey(SerieportarSektion, QStringLiteral("COM1"), kabel.pc))
            qFatal("the settings could not be written");
        f.g.blnTolkmaskinGrundomg = true;
        maskin = std::make_unique<Maskin>(kabel.tolk, m);
    }
    ~Maskininlasning() { delete w; }

    F* oppna(int skjutlag, Tolklank::Tider tider = korta()) {
        w = new F(f.kontext, flode, 100, tider);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->Oppna_databaser_mm(skjutlag);
        w->txtVisible();
        if (!aktivera(w))
            qWarning("the window did not become active");
        f.kontext.meddelaAktivering(w);
        return w;
    }
    // Enter on a series field, and the machine has been polled.
    bool lasIn(int serie, int rad) {
        w->txtSer(serie, rad)->setFocus();
        const qsizetype fore = maskin->mottaget.size();
        tryck(Qt::Key_Return);
        return QTest::qWaitFor([&] { return maskin->mottaget.indexOf(poll(modell), fore) >= 0; }, 10000);
    }
    // The next card, and (waited for) what it stored in the series.
    int kortTill(const QString& skott, int bana, int serie) {
        maskin->kort << kort(skott);
        (void)QTest::qWaitFor([&] { return res(1, bana, serie) != 0; }, 10000);
        return res(1, bana, serie);
    }
    qint64 lopnummer(int skjutlag, int bana) {
        return f.g.cnnTavling
            .varde(QStringLiteral("SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"),
                   {skjutlag, bana})
            .toLongLong();
    }
    void satt(int skjutlag, int bana, const QString& falt, const QVariant& varde) {
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?").arg(falt),
                           {varde, lopnummer(skjutlag, bana)});
    }
    // The stored values of a shooter's columns ("Res3, SfST3"), as text.
    QStringList lagrat(int skjutlag, int bana, const QString& falt) {
        QSqlQuery q =
            f.g.cnnTavling.kor(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(falt),
                               {lopnummer(skjutlag, bana)});
        QStringList varden;
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                varden << q.value(i).toString();
        return varden;
    }
    int res(int skjutlag, int bana, int serie) {
        return lagrat(skjutlag, bana, QStringLiteral("Res%1").arg(serie)).value(0).toInt();
    }
    // The link is open and waits for Enter (no read runs, nothing restarts).
    bool oppenVila() const {
        return w->tolklank()->portOppen() && !w->tolklank()->lasningPagar() &&
               w->panel(F::PanelStatusTolkmaskin) == F::TolkmaskinVilar && w->tolkbild() == Bild::Ingen;
    }
    // The link has let go of the port.
    bool stangd() const {
        return !w->tolklank()->portOppen() && !w->tolklank()->lasningPagar() && !harOppen(kabel.pc);
    }
};

void modeller() {
    QTest::addColumn<Modell>("modell");
    QTest::newRow("SAM 4000") << Modell::Sam4000;
    QTest::newRow("RIKA") << Modell::Rika;
}

} // namespace

class T_maskininlasning : public QObject {
    Q_OBJECT

private slots:
    // A card read into series 3 is shown and stored with its pair, totals, shot
    // string and counts; the next series is marked and the link starts again
    // for the next card, which goes there. The series had been cleared with
    // Delete first: that edit does not keep the link from restarting.
    void kortSparas_data() { modeller(); }
    void kortSparas() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1);
        QCOMPARE(w->panel(F::PanelStatusTolkmaskin), F::TolkmaskinVilar);
        QCOMPARE(w->tolkbild(), Bild::Ingen);
        QVERIFY(w->tolkbildPanel()->isHidden());

        w->txtSer(3, 0)->setFocus();
        tryck(Qt::Key_Delete);
        QVERIFY(s.lasIn(3, 0));
        QVERIFY(w->tolklank()->lasningPagar());
        QVERIFY(s.maskin->mottaget.startsWith(
            modell == Modell::Sam4000 ? QByteArray("\xB2\x06\x05")
                                      : QByteArray("\x0C\xD4\x1BS5\r\x1BT0\r\x1BU1\r\x1BZ1\r\x16")));
        QCOMPARE(w->panel(F::PanelStatusTolkmaskin), Tolklank::StartText);
        QVERIFY(w->tolkbild() != Bild::Ingen && w->tolkbild() != Bild::NoComConn);
        QVERIFY(!w->tolkbildPanel()->isHidden());
        QVERIFY(!w->tolkbildPanel()->pixmap().isNull());

        // While the machine is read a key typed into a series is refused.
        QPointer<QDialog> dialog;
        QTimer::singleShot(0, [&] {
            dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog)
                dialog->reject();
        });
        skriv(QStringLiteral("7"));
        QVERIFY(!dialog);
        QVERIFY(w->txtSer(3, 0)->text().isEmpty());

        QCOMPARE(s.kortTill(GottKort, 1, 3), 46);
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("46"));
        QCOMPARE(w->rad(0).txtSum[1]->text(), QStringLiteral("46"));
        const QString falt = QStringLiteral("SfST3, Sum20, Totalt40, Totalt60, TioNior, Innertior");
        QCOMPARE(s.lagrat(1, 1, falt), (QStringList{"*+998", "46", "46", "46", "2,2,1,0,0,0,0,0,0,0", "1"}));
        QCOMPARE(fokus(), w->txtSer(4, 0));
        QVERIFY(w->blnSerieMarkerad);
        QCOMPARE(w->intMarkeradRad, 0);
        QCOMPARE(w->intMarkeradSerie, 4);
        QVERIFY(s.f.m.visade.isEmpty());

        // The card was acknowledged, and the link starts again for the next.
        QTRY_VERIFY_WITH_TIMEOUT(s.maskin->efterRam().startsWith(kvittensOchOmstart(modell)), 10000);
        QVERIFY(w->tolklank()->lasningPagar());

        QCOMPARE(s.kortTill(QStringLiteral("10.0,10.5,10.1,10.9,10.0"), 1, 4), 50);
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("SfST4, Sum20, Innertior, Res5")),
                 (QStringList{"+*+*+", "96", "3", "0"}));
        QCOMPARE(fokus(), w->txtSer(5, 0));
        QCOMPARE(w->intMarkeradSerie, 5);
        QCOMPARE(s.maskin->ramar, 2);
        QVERIFY(s.f.m.visade.isEmpty());
    }

    // After series 8 the next card goes to series 9 of the same shooter where
    // the row shows it: in a sport competition also for a 40-shot class, whose
    // series 9 stands red; a national row goes round to series 1.
    void efterSerie8() {
        {
            Maskininlasning s(Modell::Sam4000);
            s.satt(1, 2, QStringLiteral("Klass"), QStringLiteral("D"));
            F* w = s.oppna(1);
            QVERIFY(s.lasIn(8, 1));
            QCOMPARE(s.kortTill(QStringLiteral("9.1,9.2,9.3,9.4,9.5"), 2, 8), 45);
            QCOMPARE(fokus(), w->txtSer(9, 1));
            QVERIFY(!w->txtSer(9, 1)->isHidden());
            QCOMPARE(w->txtSer(9, 1)->palette().color(QPalette::Base), Ljusrod);
            QCOMPARE(w->intMarkeradSerie, 9);
            QVERIFY(w->rad(1).txtRes60->isHidden());
            // Series 9 brings the 60-shot total out.
            QCOMPARE(s.kortTill(QStringLiteral("8.0,8.0,8.0,8.0,8.0"), 2, 9), 40);
            QCOMPARE(fokus(), w->txtSer(10, 1));
            QVERIFY(!w->rad(1).txtRes60->isHidden());
            QCOMPARE(w->rad(1).txtRes60->text(), QStringLiteral("85"));
        }
        Maskininlasning s(Modell::Rika, NyTavling::Typ::Nationellt);
        F* w = s.oppna(1);
        QVERIFY(w->txtSer(9, 0)->isHidden());
        QVERIFY(s.lasIn(8, 0));
        QCOMPARE(s.kortTill(QStringLiteral("9.1,9.2,9.3,9.4,9.5"), 1, 8), 45);
        QCOMPARE(fokus(), w->txtSer(1, 0));
        QCOMPARE(w->intMarkeradSerie, 1);
    }

    // Cards read while another window is the active one (the operator looks at
    // a list) still go series after series: the focus move marks the next one.
    void fonstretInteAktivt() {
        Maskininlasning s(Modell::Sam4000);
        F* w = s.oppna(1);
        QVERIFY(s.lasIn(5, 1));
        QWidget annat;
        QVERIFY(aktivera(&annat));
        QVERIFY(!w->isActiveWindow());
        s.maskin->kort << kort(QStringLiteral("9.0,9.0,9.0,9.0,9.0"));
        QCOMPARE(s.kortTill(QStringLiteral("8.0,8.0,8.0,8.0,8.0"), 2, 6), 40);
        QCOMPARE(s.res(1, 2, 5), 45);
        QCOMPARE(w->intMarkeradSerie, 7);
        QVERIFY(w->blnSerieMarkerad);
        QCOMPARE(w->panel(F::PanelBana), QStringLiteral("Bana 2"));
        QVERIFY(s.f.m.visade.isEmpty());
    }

    // Escape during a read: a RIKA is told to stop, a SAM 4000 is told nothing;
    // the port is let go and the window waits for Enter. Enter reads again.
    void escape_data() { modeller(); }
    void escape() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1);
        QVERIFY(s.lasIn(2, 0));
        tryck(Qt::Key_Escape);
        QVERIFY(s.stangd());
        QCOMPARE(w->panel(F::PanelStatusTolkmaskin), F::TolkmaskinVilar);
        QCOMPARE(w->tolkbild(), Bild::Ingen);
        QVERIFY(w->tolkbildPanel()->isHidden());
        if (modell == Modell::Rika)
            QTRY_VERIFY_WITH_TIMEOUT(s.maskin->mottaget.endsWith(stoppbyte(modell)), 10000);
        else
            QVERIFY(s.maskin->mottaget.endsWith(poll(modell)) &&
                    !s.maskin->mottaget.contains(stoppbyte(modell)));
        QCOMPARE(fokus(), w->txtSer(2, 0));
        QVERIFY(s.f.m.visade.isEmpty());

        // Keys are the window's again, and Enter starts a new read.
        QVERIFY(s.lasIn(2, 0));
        QCOMPARE(s.kortTill(QStringLiteral("10.0,10.0,10.0,10.0,10.0"), 1, 2), 50);
    }

    // Switching squads stops the link before the picker shows, also when a card
    // has just been saved and the restart is due: the stop goes out, the port is
    // let go and nothing opens it again behind the picker or after it. Closing
    // the window during a read stops the link too.
    void bytSkjutlagOchStang_data() { modeller(); }
    void bytSkjutlagOchStang() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1, korta(300ms));
        QVERIFY(s.lasIn(1, 0));
        QCOMPARE(s.kortTill(QStringLiteral("9.0,9.0,9.0,9.0,9.0"), 1, 1), 45);

        bool stangdUnderValet = false;
        QTimer::singleShot(0, [&] {
            auto* valj = qobject_cast<frmValjSkjutlag*>(QApplication::activeModalWidget());
            if (!valj)
                return;
            stangdUnderValet = s.stangd();
            QTest::mouseClick(valj->Opt[2], Qt::LeftButton);
            QTest::mouseClick(valj->cmdOK, Qt::LeftButton);
        });
        QMetaObject::invokeMethod(w, "cmdBytSkjutlag_Click", Qt::DirectConnection);
        QVERIFY(stangdUnderValet);
        QCOMPARE(w->windowTitle(), QStringLiteral("Resultatinskrivning Skjutlag 2 "));
        QTRY_VERIFY_WITH_TIMEOUT(s.maskin->mottaget.endsWith(stoppbyte(modell)), 10000);
        const QByteArray vidStopp = s.maskin->mottaget;
        // Longer than the restart's wait: the port stays closed and silent.
        QTest::qWait(900);
        QVERIFY(s.stangd());
        QCOMPARE(s.maskin->mottaget, vidStopp);
        QCOMPARE(w->panel(F::PanelStatusTolkmaskin), F::TolkmaskinVilar);
        QVERIFY(s.f.m.visade.isEmpty());

        QVERIFY(aktivera(w));
        QVERIFY(s.lasIn(1, 0));
        QVERIFY(harOppen(s.kabel.pc));
        s.maskin->mottaget.clear();
        QVERIFY(w->close());
        QTRY_VERIFY(s.w.isNull());
        QVERIFY(!harOppen(s.kabel.pc));
        QTRY_VERIFY_WITH_TIMEOUT(s.maskin->mottaget.endsWith(stoppbyte(modell)), 10000);
        QVERIFY(!s.f.g.blnResultatInskrivningOppen);
    }

    // A card that comes while the focus is outside the series fields has nowhere
    // to go: it is told, nothing is stored, and the card is taken and the link
    // starts again by itself for the next one.
    void ingenSerieMarkerad_data() { modeller(); }
    void ingenSerieMarkerad() {
        QFETCH(Modell, modell);
        Maskininlasning s(modell);
        F* w = s.oppna(1);
        s.satt(1, 1, QStringLiteral("SfST3"), QStringLiteral("98765"));
        QSignalSpy status(w->tolklank(), &Tolklank::statusAndrad);
        QVERIFY(s.lasIn(3, 0));
        w->rad(0).txtSarskjutning->setFocus();
        QVERIFY(!w->blnSerieMarkerad);
        s.maskin->kort << kort(GottKort);
        QTRY_VERIFY_WITH_TIMEOUT(s.maskin->efterRam().startsWith(kvittensOchOmstart(modell)), 10000);
        QCOMPARE(s.f.m.visade.size(), 1);
        QCOMPARE(s.f.m.senasteText(),
                 QStringLiteral("Ingen skytts serie är markerad!\r\nDet går ej att spara "
                                "resultat någonstans!\r\n\r\nMarkera en skytts serie och "
                                "kör tavlan igen."));
        QCOMPARE(s.f.m.visade.back().titel, QStringLiteral("Ingen serie markerad"));
        QVERIFY(status.contains({Tolklank::OmstartText, QVariant::fromValue(Bild::ComConn)}));
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Res3, SfST3, Totalt60")), (QStringList{"0", "98765", "0"}));
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("0"));
        QCOMPARE(fokus(), w->rad(0).txtSarskjutning);
        QVERIFY(s.maskin->kort.isEmpty());
    }

    void kortetSparasInte_data() {
        QTest::addColumn<Modell>("modell");
        QTest::addColumn<bool>("saknatSkott");
        QTest::newRow("SAM 4000 saknat skott") << Modell::Sam4000 << true;
        QTest::newRow("RIKA saknat skott") << Modell::Rika << true;
        QTest::newRow("SAM 4000 sparningen misslyckas") << Modell::Sam4000 << false;
    }
    // A card with a shot missing, or one that cannot be saved (told as a typed
    // series is), stores nothing: the field shows what is stored, the port
    // stays open and Enter reads the card again.
    void kortetSparasInte() {
        QFETCH(Modell, modell);
        QFETCH(bool, saknatSkott);
        Maskininlasning s(modell);
        s.satt(1, 1, QStringLiteral("Res3"), 31);
        s.satt(1, 1, QStringLiteral("SfST3"), QStringLiteral("98765"));
        F* w = s.oppna(1);
        const QString stopp = QStringLiteral("CREATE TRIGGER stopp BEFORE UPDATE ON Skyttar "
                                             "BEGIN SELECT RAISE(ABORT, 'stopp'); END");
        if (!saknatSkott)
            s.f.g.cnnTavling.kor(stopp);
        QVERIFY(s.lasIn(3, 0));
        s.maskin->kort << kort(saknatSkott ? QStringLiteral("10.9,10.2,?,9.5,8.0") : GottKort);
        QTRY_VERIFY_WITH_TIMEOUT(!s.f.m.visade.isEmpty(), 10000);
        if (saknatSkott) {
            QCOMPARE(s.f.m.senasteText(), QStringLiteral("Det saknas skott från tolkmaskinen!"));
            QCOMPARE(s.f.m.visade.back().titel, QStringLiteral("Fel antal skott"));
        } else {
            QVERIFY(s.f.m.senasteText().contains(QStringLiteral("stopp")));
            QCOMPARE(s.f.m.visade.back().ikon, Meddelanden::Ikon::Ingen);
            s.f.g.cnnTavling.kor(QStringLiteral("DROP TRIGGER stopp"));
        }
        QVERIFY(s.oppenVila());
        QCOMPARE(s.lagrat(1, 1, QStringLiteral("Res3, SfST3")), (QStringList{"31", "98765"}));
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("31"));
        QCOMPARE(fokus(), w->txtSer(3, 0));

        s.maskin->kort = {kort(GottKort)};
        QVERIFY(s.lasIn(3, 0));
        QTRY_COMPARE_WITH_TIMEOUT(s.res(1, 1, 3), 46, 10000);
        QCOMPARE(w->txtSer(3, 0)->text(), QStringLiteral("46"));
        QCOMPARE(fokus(), w->txtSer(4, 0));
    }
};

QTEST_MAIN(T_maskininlasning)
#include "test_maskininlasning.moc"
