#include "printouts/Registrering.h"
#include "shell/Fonsternamn.h"
#include "support/Testfixtur.h"
#include "support/Textplats.h"
#include "support/XlsxLasare.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The dialog as the club-list menu items open it, for a competition whose
// shooters belong to the clubs given (one shooter each, lanes in order).
struct Dialog {
    Testfixtur f;
    QWidget* w = nullptr;
    QList<bool> fore; // the menus before the dialog opened

    explicit Dialog(const QStringList& klubbar, Utskriftsmal mal = Utskriftsmal::Fil) {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Nationellt, 4, 1, int(klubbar.size()));
        for (int i = 0; i < klubbar.size(); ++i)
            f.g.cnnTavling.kor(u"UPDATE Skyttar SET Förening = ? WHERE Löpnummer = "
                               "(SELECT Startnummer FROM Skjutlag WHERE Bana = ?)"_s,
                               {klubbar[i], i + 1});
        Utskrifter::registrera(f.delar());
        // As an open competition has them.
        for (Meny m : {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning}) {
            f.fonster.sattMeny(m, true);
            fore << f.fonster.menyPa(m);
        }
        w = f.fonster.visaFonster(Fonsternamn::Foreningsutskrift, mal);
    }
    template <class T> T* barn(const char* namn) const { return w->findChild<T*>(QLatin1String(namn)); }
    QAbstractButton* knapp(const char* namn) const { return barn<QAbstractButton>(namn); }
};

const QList<Meny> Menyer{Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning};

} // namespace

class TestFrmForeningsutskrift : public QObject {
    Q_OBJECT
private slots:
    void texter_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tips");
        QTest::newRow("rubrik") << "lblOverskrift"
                                << "Välj vilken förening som ska skrivas ut eller skriv ut alla föreningar."
                                << "";
        QTest::newRow("ny sida") << "Label1"
                                 << "Ny sida efter varje?"
                                 << "Ska varje förening skrivas ut på en egen sida?";
        QTest::newRow("ny sida ruta") << "chkNysida"
                                      << ""
                                      << "Ska varje förening skrivas ut på en egen sida?";
        QTest::newRow("resultat") << "lblResultat"
                                  << "Resultat på utskriften?"
                                  << "";
        QTest::newRow("resultat ruta") << "chkResultat"
                                       << ""
                                       << "Markera här om du vill ha resultat på utsriften.";
        QTest::newRow("markerad") << "cmdVald"
                                  << "Markerad"
                                  << "Skriv ut markerad förenings skyttar.";
        QTest::newRow("alla") << "cmdAlla"
                              << "Alla"
                              << "Skriv ut alla föreningars skyttar.";
        QTest::newRow("återgå") << "cmdAngra"
                                << "Återgå"
                                << "Återgå.";
    }
    void texter() {
        QFETCH(QString, namn);
        Dialog d({u"IFK"_s});
        QCOMPARE(d.w->windowTitle(), u"Utskrift föreningslista"_s);
        QWidget* w = d.w->findChild<QWidget*>(namn);
        QVERIFY(w);
        const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                      : qobject_cast<QAbstractButton*>(w)->text();
        QTEST(text, "text");
        QTEST(w->toolTip(), "tips");
    }

    // Every text shows whole at the dialog's size.
    void texternaFarPlats() {
        Dialog d({u"IFK"_s});
        d.w->show();
        QCOMPARE(d.w->size(), QSize(4800 / 15, 3810 / 15));
        QCOMPARE(kaptaTexter(d.w), QString());
    }

    // What can be pressed: "Markerad" once a club is chosen, "Alla" when there are clubs.
    void knappar_data() {
        QTest::addColumn<QStringList>("klubbar");
        QTest::addColumn<bool>("klicka");
        QTest::addColumn<bool>("vald");
        QTest::addColumn<bool>("alla");
        QTest::newRow("inga föreningar") << QStringList() << false << false << false;
        QTest::newRow("ingen klickad") << QStringList{u"IFK"_s} << false << false << true;
        QTest::newRow("klickad") << QStringList{u"IFK"_s} << true << true << true;
    }
    void knappar() {
        QFETCH(QStringList, klubbar);
        QFETCH(bool, klicka);
        Dialog d(klubbar);
        QVERIFY(d.barn<QCheckBox>("chkNysida")->isChecked());
        QVERIFY(!d.barn<QCheckBox>("chkResultat")->isChecked());
        auto* lista = d.barn<QListWidget>("lstForeningar");
        QCOMPARE(lista->count(), klubbar.size());
        QCOMPARE(lista->currentRow(), -1);
        // Taking the focus makes a row current without choosing it.
        if (lista->count() > 0)
            lista->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        if (klicka) {
            QListWidgetItem* post = lista->item(0);
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, lista->visualItemRect(post).center());
        }
        QTEST(d.knapp("cmdVald")->isEnabled(), "vald");
        QTEST(d.knapp("cmdAlla")->isEnabled(), "alla");
    }

    // The print, settings and entry menus are off while the dialog is open.
    void menyer() {
        Dialog d({u"IFK"_s});
        QCOMPARE(d.fore, QList<bool>(Menyer.size(), true));
        for (Meny m : Menyer)
            QVERIFY(!d.f.fonster.menyPa(m));
        d.knapp("cmdAngra")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<bool> efter;
        for (Meny m : Menyer)
            efter << d.f.fonster.menyPa(m);
        QCOMPARE(efter, d.fore);
    }

    // A run: the marked club only; meanwhile a disabled dialog, and the
    // hourglass down while the operator is told what became of the list;
    // both given back after the run, whether it saved or failed.
    void korning_data() {
        QTest::addColumn<bool>("lyckas");
        QTest::newRow("sparad") << true;
        QTest::newRow("misslyckad") << false;
    }
    void korning() {
        QFETCH(bool, lyckas);
        Dialog d({u"Arboga"_s, u"Åby"_s});
        if (!lyckas)
            d.f.g.iniTavling.setPath(d.f.t.fil(u"saknas/tavling.ini"_s));
        // The hourglass of the loading is gone once the dialog is active.
        d.f.kontext.meddelaAktivering(d.w);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        auto* lista = d.barn<QListWidget>("lstForeningar");
        lista->setCurrentRow(1);
        bool upptagen = false;
        QString status;
        d.f.m.svaraMed([&] {
            upptagen = !d.w->isEnabled() && QGuiApplication::overrideCursor() == nullptr;
            if (const auto* l = d.w->findChild<QLabel*>(u"lblStatus"_s))
                status = l->text();
            return Meddelanden::Svar::OK;
        });
        d.knapp("cmdVald")->click();
        QVERIFY(upptagen);
        QVERIFY(d.w->isEnabled());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        const QString fil = d.f.g.strTavlingsmapp + u"Utskrifter/Föreningslista_Fil.xlsx"_s;
        QCOMPARE(QFile::exists(fil), lyckas);
        // The status window is gone before the saved file or a failure is told.
        QCOMPARE(status, QString());
        if (lyckas) {
            QCOMPARE(XlsxLasare(fil).rader().value(2).value(1), u"Åby"_s);
        }
        d.knapp("cmdAngra")->click();
    }
};

QTEST_MAIN(TestFrmForeningsutskrift)
#include "test_frmforeningsutskrift.moc"
