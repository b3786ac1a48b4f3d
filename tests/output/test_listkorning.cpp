#include "common/Fel.h"
#include "output/Listkorning.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Lagutskriftbok.h"
#include "printouts/Vandringsprisbok.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// A list by the sheet it hands the frame.
using Lista = const Arbetsboksram::Lista*;
Q_DECLARE_METATYPE(Lista)

namespace {

enum class Utgang { Sparad, FelIListan, Kastat };

bool statusSyns() {
    for (QWidget* w : QApplication::allWidgets())
        if (w->objectName() == u"frmStatusUtskrift"_s && w->isVisible())
            return true;
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Utgang)

class TestListkorning : public QObject {
    Q_OBJECT
private slots:
    // Whatever a list tells the operator, the status window is gone first;
    // the busy guard is given back after the run.
    void ingetUnderStatusfonstret_data() {
        QTest::addColumn<Lista>("lista");
        const Lista lagutskrift = &Lagutskriftbok::ark(), vandringspris = &Vandringsprisbok::ark();
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<Utgang>("utgang");
        QTest::addColumn<QString>("text");
        const QString lag = u"frmLagutskrift.UtskriftExcel: "_s;
        const QString pris = u"MDIfrmHuvudmeny.SkrivVandringsprisLista.. "_s;
        QTest::newRow("lag sparad") << lagutskrift << true << Utgang::Sparad << u"Filen spardes i:"_s;
        QTest::newRow("lag fel i listan") << lagutskrift << true << Utgang::FelIListan << lag;
        QTest::newRow("lag kastat") << lagutskrift << true << Utgang::Kastat << lag;
        QTest::newRow("pris sparad") << vandringspris << false << Utgang::Sparad << u"Filen spardes i:"_s;
        QTest::newRow("pris fel i listan") << vandringspris << false << Utgang::FelIListan << pris;
        QTest::newRow("pris kastat") << vandringspris << false << Utgang::Kastat << pris;
    }
    void ingetUnderStatusfonstret() {
        QFETCH(Lista, lista);
        QFETCH(bool, dialog);
        QFETCH(Utgang, utgang);
        QFETCH(QString, text);
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        QWidget w;
        bool underStatus = false, statusUnderKorning = false;
        f.m.svaraMed([&] {
            underStatus |= statusSyns();
            return Meddelanden::Svar::OK;
        });
        const auto sparad = Listkorning::kor(
            f.kontext, {.mal = Utskriftsmal::Fil, .lista = lista, .dialog = dialog ? &w : nullptr},
            [&](const Arbetsboksram::Omgivning& o) {
                statusUnderKorning =
                    statusSyns() && QApplication::overrideCursor() && (!dialog || !w.isEnabled());
                if (utgang == Utgang::Kastat)
                    throw Fel(1004, u"Disken är full"_s);
                Arbetsboksram::Korning k;
                k.mal = Utskriftsmal::Fil;
                return Arbetsboksram(*lista, o).kor(k, [&](Kalkyl::Arbetsblad& b) {
                    if (utgang == Utgang::FelIListan)
                        throw Fel(1004, u"Disken är full"_s);
                    b.Cells(1, 1).setValue(u"Plac"_s);
                });
            });
        QVERIFY(statusUnderKorning);
        QCOMPARE(f.m.visade.size(), 1);
        QVERIFY2(f.m.senasteText().startsWith(text), qPrintable(f.m.senasteText()));
        QVERIFY(!underStatus);
        QCOMPARE(sparad.has_value(), utgang == Utgang::Sparad);
        QVERIFY(!statusSyns());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(w.isEnabled());
    }

    // A printed list is saved as well, but only a list sent to a file tells
    // where it was saved.
    void utskriftSagerInteVarFilenSparades() {
        Testfixtur f;
        f.skapaTavling(u"Cup"_s);
        Skrivarmotor pdf;
        pdf.setPdfFil(f.t.fil(u"lista.pdf"_s));
        const Arbetsboksram::Lista& lista = Vandringsprisbok::ark();
        const auto sparad =
            Listkorning::kor(f.kontext, {.mal = Utskriftsmal::Printer, .lista = &lista},
                             [&](const Arbetsboksram::Omgivning& o) {
                                 Arbetsboksram::Omgivning tillPdf = o;
                                 tillPdf.skrivare = &pdf;
                                 Arbetsboksram::Korning k;
                                 k.mal = Utskriftsmal::Printer;
                                 return Arbetsboksram(lista, tillPdf).kor(k, [](Kalkyl::Arbetsblad& b) {
                                     b.Cells(1, 1).setValue(u"Plac"_s);
                                 });
                             });
        QVERIFY(sparad && QFile::exists(*sparad));
        QVERIFY(QFile::exists(pdf.pdfFil()));
        QVERIFY2(f.m.visade.isEmpty(), qPrintable(f.m.senasteText()));
    }
};

QTEST_MAIN(TestListkorning)
#include "test_listkorning.moc"
