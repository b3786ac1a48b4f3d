#include "XlsxLasare.h"
#include "common/Fel.h"
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/XlsxFil.h"
#include "support/Testfel.h"
#include "support/Testmiljo.h"
#include "support/VanligAnvandare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace Kalkyl;

namespace {

QByteArray lasBytes(const QString& sokvag) {
    QFile f(sokvag);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A result list's frame and a class block, as the list builders write them.
void byggResultatlista(Kalkylprogram& app, Arbetsblad& blad) {
    blad.setName(QStringLiteral("Resultatlista"));
    blad.Cells().Select();
    blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
    blad.Cells().Font().setSize(10);
    Sidformat& sf = blad.PageSetup();
    sf.setPrintGridlines(false);
    sf.setOrientation(Orientering::Liggande);
    sf.setPaperSize(Pappersstorlek::A4);
    const double cm = 0.393700787401575;
    sf.setLeftMargin(app.InchesToPoints(1.2 * cm));
    sf.setRightMargin(app.InchesToPoints(0 * cm));
    sf.setTopMargin(app.InchesToPoints(2.5 * cm));
    sf.setBottomMargin(app.InchesToPoints(2.5 * cm));
    sf.setHeaderMargin(app.InchesToPoints(1.3 * cm));
    sf.setFooterMargin(app.InchesToPoints(1.3 * cm));
    blad.Range(QStringLiteral("a:a")).setColumnWidth(5);
    blad.Range(QStringLiteral("a:a")).setHorizontalAlignment(Justering::Hoger);
    blad.Range(QStringLiteral("b:b")).setColumnWidth(22.86);
    blad.Range(QStringLiteral("b:b")).setHorizontalAlignment(Justering::Vanster);
    blad.Range(QStringLiteral("d:k")).setColumnWidth(3.57);
    blad.Range(QStringLiteral("d:k")).setHorizontalAlignment(Justering::Centrerad);
    blad.Range(QStringLiteral("l:l")).setColumnWidth(6.43);
    blad.Cells().setRowHeight(15.75);
    blad.Range(QStringLiteral("a1")).Select();
    sf.setLeftHeader(
        QStringLiteral("&\"MS Sans Serif,Normal\"&10 Höstcupen && Co 2024-10-05\n Resultatlista"));
    sf.setRightHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10Tävlings omg. Final"));
    sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));

    blad.Range(QStringLiteral("1:1")).setRowHeight(19.5);
    blad.Cells(1, 2).Font().setSize(13.5);
    blad.Cells(1, 2).Font().setBold(true);
    blad.Cells(1, 2).setValue(QStringLiteral("Damer"));
    blad.Range(QStringLiteral("2:2")).Font().setBold(true);
    blad.Cells(2, 1).setValue(QStringLiteral("Plac"));
    blad.Cells(2, 2).setValue(QStringLiteral("Namn"));
    blad.Cells(4, 1).setValue(1);
    blad.Cells(4, 2).setValue(QStringLiteral("Åsa Öberg"));
    blad.Cells(4, 4).setValue(50);
    blad.Cells(4, 4).Font().setColor(Rod);
    blad.Cells(4, 5).setValue(49);
    blad.Cells(4, 5).Font().setColor(Svart);
    blad.Cells(4, 12).Font().setBold(true);
    blad.Cells(4, 12).setValue(99.5);
    blad.Range(QStringLiteral("F5")).setNumberFormat(QStringLiteral("@"));
    blad.Range(QStringLiteral("F5")).setValue(QStringLiteral("10:30"));
    blad.Cells(5, 3).Font().setUnderline(Understrykning::Enkel);
    blad.Cells(5, 3).setValue(QStringLiteral("Förklaringar"));
    blad.Cells(6, 3).Interior().setColor(9868950);
    blad.Cells(6, 4).setValue(true);
    blad.HPageBreaks().Add(blad.Range(QStringLiteral("A5")));
}
} // namespace

class TestXlsxFil : public QObject {
    Q_OBJECT
private slots:
    void filnamnBlirXlsx() {
        const QString cwd = QDir::currentPath();
        QCOMPARE(XlsxFil::sokvag(QStringLiteral("/t/Cup/Utskrifter\\Resultatlista_Fil.xls")),
                 QStringLiteral("/t/Cup/Utskrifter/Resultatlista_Fil.xlsx"));
        QCOMPARE(XlsxFil::sokvag(QStringLiteral("/t/Cup\\Utskrifter\\LagutskriftOmg3_Printer.XLS")),
                 QStringLiteral("/t/Cup/Utskrifter/LagutskriftOmg3_Printer.xlsx"));
        QCOMPARE(XlsxFil::sokvag(QStringLiteral("/t/lista.xlsx")), QStringLiteral("/t/lista.xlsx"));
        QCOMPARE(XlsxFil::sokvag(QStringLiteral("/t/Lista v.2")), QStringLiteral("/t/Lista v.2.xlsx"));
        QCOMPARE(XlsxFil::sokvag(QStringLiteral("Skjutlagslista_Fil.xls")),
                 cwd + QStringLiteral("/Skjutlagslista_Fil.xlsx"));
        QCOMPARE(felnummer([] { XlsxFil::sokvag(QStringLiteral("/t/Utskrifter\\")); }),
                 Kalkylfel::Programfel);
    }

    // Everything the list set reaches the file: values, fonts, colours, fills,
    // widths, heights, alignment, text cells, page breaks and the page set-up.
    void listanLasesTillbakaUrFilen() {
        Testmiljo t;
        QDir().mkpath(t.fil(QStringLiteral("Cup/Utskrifter")));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = app.Worksheets(1);
        byggResultatlista(app, blad);
        bok.setCheckCompatibility(false);
        const QString sparad =
            bok.SaveAs(t.fil(QStringLiteral("Cup")) + QStringLiteral("\\Utskrifter\\Resultatlista_Fil.xls"),
                       Filformat::Excel8, false);
        bok.Close(false);
        QCOMPARE(sparad, t.fil(QStringLiteral("Cup/Utskrifter/Resultatlista_Fil.xlsx")));
        QVERIFY(!QFileInfo::exists(t.fil(QStringLiteral("Cup/Utskrifter/Resultatlista_Fil.xls"))));

        const XlsxLasare x(sparad);
        QCOMPARE(x.bladnamn(), QStringLiteral("Resultatlista"));
        QCOMPARE(x.varde(QStringLiteral("B1")), QStringLiteral("Damer"));
        QCOMPARE(x.varde(QStringLiteral("B4")), QStringLiteral("Åsa Öberg"));
        QCOMPARE(x.typ(QStringLiteral("A4")), QStringLiteral("n"));
        QCOMPARE(x.varde(QStringLiteral("A4")), QStringLiteral("1"));
        QCOMPARE(x.varde(QStringLiteral("L4")), QStringLiteral("99.5"));
        QCOMPARE(x.typ(QStringLiteral("D6")), QStringLiteral("b"));
        QCOMPARE(x.typ(QStringLiteral("F5")), QStringLiteral("s"));
        QCOMPARE(x.varde(QStringLiteral("F5")), QStringLiteral("10:30"));
        QCOMPARE(x.format(QStringLiteral("F5")).talformat, QStringLiteral("@"));

        const auto b1 = x.format(QStringLiteral("B1"));
        QCOMPARE(b1.font, QStringLiteral("MS Sans Serif"));
        QCOMPARE(b1.storlek, 13.5);
        QVERIFY(b1.fet);
        QCOMPARE(b1.justering, QStringLiteral("left"));
        QVERIFY(x.format(QStringLiteral("A2")).fet);
        QCOMPARE(x.format(QStringLiteral("A2")).justering, QStringLiteral("right"));
        QCOMPARE(x.format(QStringLiteral("D4")).farg, QStringLiteral("FFFF0000"));
        QCOMPARE(x.format(QStringLiteral("D4")).justering, QStringLiteral("center"));
        QCOMPARE(x.format(QStringLiteral("E4")).farg, QStringLiteral("FF000000"));
        QCOMPARE(x.format(QStringLiteral("B4")).storlek, 10.0);
        QVERIFY(!x.format(QStringLiteral("B4")).fet);
        QVERIFY(x.format(QStringLiteral("L4")).fet);
        QCOMPARE(x.format(QStringLiteral("C5")).understrykning, QStringLiteral("single"));
        QCOMPARE(x.format(QStringLiteral("C6")).fyllning, QStringLiteral("FF969696"));

        // Widths in characters carry the file format's cell padding.
        QVERIFY(std::abs(x.kolumnbredd(1) - 5.7109375) < 1e-6);
        QVERIFY(std::abs(x.kolumnbredd(4) - 4.28515625) < 1e-6);
        QCOMPARE(x.kolumnbredd(11), x.kolumnbredd(4));
        QCOMPARE(x.kolumnformat(11).justering, QStringLiteral("center"));
        QCOMPARE(x.kolumnformat(20).font, QStringLiteral("MS Sans Serif"));
        QCOMPARE(x.radhojd(1), 19.5);
        QCOMPARE(x.radhojd(4), 15.75);
        QCOMPARE(x.radhojd(100), 15.75);
        QVERIFY(x.radformat(2).fet);

        const auto marginaler = x.attribut(QStringLiteral("pageMargins"));
        QCOMPARE(marginaler.value(QStringLiteral("left")).toDouble(), 1.2 / 2.54);
        QCOMPARE(marginaler.value(QStringLiteral("right")).toDouble(), 0.0);
        QCOMPARE(marginaler.value(QStringLiteral("top")).toDouble(), 2.5 / 2.54);
        QCOMPARE(marginaler.value(QStringLiteral("header")).toDouble(), 1.3 / 2.54);
        QCOMPARE(marginaler.value(QStringLiteral("footer")).toDouble(), 1.3 / 2.54);
        const auto sida = x.attribut(QStringLiteral("pageSetup"));
        QCOMPARE(sida.value(QStringLiteral("paperSize")), QStringLiteral("9"));
        QCOMPARE(sida.value(QStringLiteral("orientation")), QStringLiteral("landscape"));
        QVERIFY(!x.attribut(QStringLiteral("printOptions")).contains(QStringLiteral("gridLines")));
        QCOMPARE(x.text(QStringLiteral("oddHeader")),
                 QStringLiteral("&L&\"MS Sans Serif,Normal\"&10 Höstcupen && Co 2024-10-05\n Resultatlista"
                                "&R&\"MS Sans Serif,Normal\"&10Tävlings omg. Final"));
        QCOMPARE(x.text(QStringLiteral("oddFooter")), QStringLiteral("&R&\"MS Sans Serif,Normal\"&10&P"));
        QCOMPARE(x.sidbrytningar(), QList<int>{4});
        QCOMPARE(x.attribut(QStringLiteral("dimension")).value(QStringLiteral("ref")),
                 QStringLiteral("A1:L6"));
    }

    // The sheet's dimension is the block from the first to the last cell with a
    // value or a format; a sheet-wide font, formatted columns and rows without
    // cells stay outside it, and keep their formats in the file.
    void dimensionArAnvantOmrade() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Lista.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        blad.Range(QStringLiteral("1:1")).setRowHeight(30);
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).attribut(QStringLiteral("dimension")).value(QStringLiteral("ref")),
                 QStringLiteral("A1"));

        blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        blad.Range(QStringLiteral("m:z")).setHorizontalAlignment(Justering::Centrerad);
        blad.Range(QStringLiteral("20:20")).Font().setBold(true);
        blad.Cells(3, 2).setValue(QStringLiteral("Skjutlag: 1"));
        blad.Cells(5, 4).setValue(10);
        blad.Cells(8, 6).Font().setBold(true);
        bok.SaveAs(mal);
        const XlsxLasare x(mal);
        QCOMPARE(x.attribut(QStringLiteral("dimension")).value(QStringLiteral("ref")),
                 QStringLiteral("B3:F8"));
        QCOMPARE(x.kolumnformat(MaxKolumn).font, QStringLiteral("MS Sans Serif"));
        QCOMPARE(x.kolumnformat(26).justering, QStringLiteral("center"));
        QVERIFY(x.radformat(20).fet);
        QCOMPARE(x.radhojd(1), 30.0);
        QVERIFY(x.format(QStringLiteral("F8")).fet);
        QVERIFY(!x.harCell(QStringLiteral("G8")));
    }

    void nyFilErsatterGammalOchSakerhetskopieras() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Lista_Fil.xlsx"));
        {
            Kalkylprogram app;
            app.Workbooks().Add().Worksheets(1).Cells(1, 1).setValue(QStringLiteral("gammal"));
            app.Workbooks().Item(1).SaveAs(mal);
        }
        QFile::setPermissions(mal, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const QByteArray gammal = lasBytes(mal);
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        bok.Worksheets(1).Cells(1, 1).setValue(QStringLiteral("ny"));
        QCOMPARE(bok.SaveAs(mal, {}, true), mal);
        QCOMPARE(XlsxLasare(mal).varde(QStringLiteral("A1")), QStringLiteral("ny"));
        QCOMPARE(lasBytes(mal + QStringLiteral(".bak")), gammal);
        // The replaced file keeps who may read it; no temporary file is left.
        const auto bitar = QFile::permissions(mal) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QCOMPARE(bitar, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        QCOMPARE(QDir(t.mapp()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        // Close with save changes writes the same file again.
        bok.Worksheets(1).Cells(1, 1).setValue(QStringLiteral("igen"));
        bok.Close(true);
        QCOMPARE(XlsxLasare(mal).varde(QStringLiteral("A1")), QStringLiteral("igen"));
        QCOMPARE(felnummer([&] { app.Workbooks().Add().SaveAs(mal, 99); }), Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { app.Workbooks().Add().SaveAs(t.fil(QStringLiteral("saknas/Lista.xls"))); }),
                 Kalkylfel::Programfel);
    }

    // A file open in a spreadsheet program, whose lock file lies beside it, is
    // refused with the number the lists act on, and the old file stays as it was.
    void lastFilVagras() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Skjutlagslista_Printer.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        bok.SaveAs(mal);
        const QByteArray gammal = lasBytes(mal);
        bok.Worksheets(1).Cells(1, 1).setValue(1);

        for (const char* namn : {".~lock.Skjutlagslista_Printer.xlsx#", "~$Skjutlagslista_Printer.xlsx"}) {
            const QString las = t.fil(QString::fromLatin1(namn));
            QFile l(las);
            QVERIFY(l.open(QIODevice::WriteOnly));
            l.close();
            QCOMPARE(felnummer([&] { bok.SaveAs(t.fil(QStringLiteral("Skjutlagslista_Printer.xls"))); }),
                     Felnummer::AtkomstNekad);
            QCOMPARE(lasBytes(mal), gammal);
            QVERIFY(QFile::remove(las));
        }
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).varde(QStringLiteral("A1")), QStringLiteral("1"));
    }

    // A file nobody may write stays as it is, also when the program runs as root.
    void skrivskyddadFilVagras() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Skjutlagslista_Printer.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        bok.SaveAs(mal);
        const QByteArray gammal = lasBytes(mal);
        bok.Worksheets(1).Cells(1, 1).setValue(1);

        for (const QFile::Permissions lage :
             {QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther, QFile::Permissions(QFile::ReadOwner)}) {
            QVERIFY(QFile::setPermissions(mal, lage));
            QCOMPARE(felnummer([&] { bok.SaveAs(mal, {}, true); }), Felnummer::SokvagsAtkomstfel);
            QCOMPARE(lasBytes(mal), gammal);
            QCOMPARE(QFile::permissions(mal) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), lage);
        }
        QCOMPARE(QDir(t.mapp()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Skjutlagslista_Printer.xlsx")});
        QVERIFY(QFile::setPermissions(mal, QFile::ReadOwner | QFile::WriteOwner));
        bok.SaveAs(mal);
        QCOMPARE(XlsxLasare(mal).varde(QStringLiteral("A1")), QStringLiteral("1"));
    }

    // A folder the user may not write in: refused, the old file kept.
    void skrivskyddadMappVagras() {
        if (korSomVanligAnvandare("skrivskyddadMappVagras"))
            return;
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Skjutlagslista_Printer.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        bok.SaveAs(mal);
        const QByteArray gammal = lasBytes(mal);
        bok.Worksheets(1).Cells(1, 1).setValue(1);
        QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::ExeOwner);
        const int nummer = felnummer([&] { bok.SaveAs(mal); });
        QFile::setPermissions(t.mapp(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(nummer, Felnummer::AtkomstNekad);
        QCOMPARE(lasBytes(mal), gammal);
    }

    // A save that fails half-way (here: the file size limit of the process)
    // leaves the old file as it was and no temporary file behind.
    void misslyckadSparningBehallerGammalFil() {
        Testmiljo t;
        const QString mal = t.fil(QStringLiteral("Resultatlista_Fil.xlsx"));
        Kalkylprogram app;
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = bok.Worksheets(1);
        blad.Cells(1, 1).setValue(QStringLiteral("gammal"));
        bok.SaveAs(mal);
        const QByteArray gammal = lasBytes(mal);
        for (int r = 1; r <= 3000; ++r)
            for (int k = 1; k <= 10; ++k)
                blad.Cells(r, k).setValue(QStringLiteral("Rad %1 kolumn %2").arg(r).arg(k));

        std::signal(SIGXFSZ, SIG_IGN);
        rlimit forut{};
        getrlimit(RLIMIT_FSIZE, &forut);
        rlimit tak = forut;
        tak.rlim_cur = 16 * 1024;
        setrlimit(RLIMIT_FSIZE, &tak);
        const int nummer = felnummer([&] { bok.SaveAs(mal); });
        setrlimit(RLIMIT_FSIZE, &forut);
        QCOMPARE(nummer, Kalkylfel::Programfel);
        QCOMPARE(lasBytes(mal), gammal);
        QCOMPARE(QDir(t.mapp()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("Resultatlista_Fil.xlsx")});
    }

    // A visible application opens every saved workbook on the desktop.
    void synligtProgramOppnarSparadFil() {
        Testmiljo t;
        Kalkylprogram app;
        QStringList oppnade;
        app.setFiloppnare([&](const QString& sokvag) { oppnade.append(sokvag); });
        Arbetsbok& bok = app.Workbooks().Add();
        bok.SaveAs(t.fil(QStringLiteral("a.xls")));
        QVERIFY(oppnade.isEmpty());
        app.setVisible(true);
        bok.SaveAs(t.fil(QStringLiteral("b.xls")));
        QCOMPARE(oppnade, QStringList{t.fil(QStringLiteral("b.xlsx"))});
    }
};

QTEST_MAIN(TestXlsxFil)
#include "test_xlsxfil.moc"
