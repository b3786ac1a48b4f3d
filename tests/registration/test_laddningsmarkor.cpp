#include "registration/frmInskrivningSkyttar.h"
#include "registration/frmLagInskrivning.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
Qt::CursorShape overst() {
    const QCursor* c = QApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;
}
// The message seam that also notes the messages shown under the hourglass.
class Markormeddelanden : public TestMeddelanden {
public:
    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override {
        if (overst() == Qt::WaitCursor)
            underTimglas << text;
        return TestMeddelanden::visa(text, titel, ikon, knappar);
    }
    QStringList underTimglas;
};
} // namespace

// The registration and team windows show the hourglass while they load, and
// take it down exactly once: at their first activation, when loading fails,
// or when they close without ever being activated.
class TestLaddningsmarkor : public QObject {
    Q_OBJECT

private slots:
    void timglasetMedanFonstretLaddas_data() {
        QTest::addColumn<QString>("fonster");
        QTest::addColumn<QString>("vag");
        for (const char* fonster : {"frmInskrivningSkyttar", "frmLagInskrivning"})
            for (const char* vag : {"aktiverat", "laddningen misslyckas", "stängt före aktivering"})
                QTest::addRow("%s, %s", fonster, vag)
                    << QString::fromLatin1(fonster) << QString::fromUtf8(vag);
    }
    void timglasetMedanFonstretLaddas() {
        QFETCH(QString, fonster);
        QFETCH(QString, vag);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 2, 3);
        Markormeddelanden m;
        Formkontext k(f.g, m, f.fonster, f.dialoger);
        // A cursor of someone else's beneath: exactly one is taken down again.
        QApplication::setOverrideCursor(Qt::CrossCursor);
        const bool misslyckas = vag == u"laddningen misslyckas"_s;
        if (misslyckas)
            f.g.cnnTavling.Close();
        QPointer<QWidget> w;
        if (fonster == u"frmInskrivningSkyttar"_s)
            w = new frmInskrivningSkyttar(k);
        else
            w = new frmLagInskrivning(k);
        if (misslyckas) {
            QVERIFY(!m.visade.isEmpty());
            QVERIFY2(m.visade[0].text.startsWith(fonster + u", Form_load: "_s), qPrintable(m.visade[0].text));
            QVERIFY2(m.underTimglas.isEmpty(), qPrintable(m.underTimglas.join(u'\n')));
            QCOMPARE(overst(), Qt::CrossCursor);
        } else {
            QCOMPARE(overst(), Qt::WaitCursor);
            if (vag == u"aktiverat"_s) {
                k.meddelaAktivering(w);
                QCOMPARE(overst(), Qt::CrossCursor);
                k.meddelaAktivering(w); // coming back takes nothing more down
            }
        }
        w->close();
        delete w;
        QCOMPARE(overst(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(TestLaddningsmarkor)
#include "test_laddningsmarkor.moc"
