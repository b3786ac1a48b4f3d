#include "common/Fel.h"
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidhuvudkod.h"
#include "support/Testfel.h"

#include <QPoint>
#include <QTest>

using namespace Kalkyl;

class TestKalkylmodell : public QObject {
    Q_OBJECT
private slots:
    // The application, its workbooks and sheets: the newest open workbook is
    // the active one. After Close or Quit a list that still holds an object
    // gets an error, never a quiet success.
    void programBokOchBlad() {
        Kalkylprogram app;
        QCOMPARE(app.Version(), QStringLiteral("12.0")); // Excel 2007 to the lists
        QVERIFY(!app.Visible());
        QCOMPARE(app.InchesToPoints(2.5 * 0.393700787401575), 2.5 / 2.54 * 72);
        QCOMPARE(felnummer([&] { app.Worksheets(1); }), Kalkylfel::Programfel);
        Arbetsbok& bok = app.Workbooks().Add();
        Arbetsblad& blad = app.Worksheets(1);
        QCOMPARE(&blad, &bok.Worksheets(1));
        QCOMPARE(blad.Name(), QStringLiteral("Blad1"));
        QCOMPARE(felnummer([&] { bok.Worksheets(2); }), Kalkylfel::IndexUtanforIntervallet);
        blad.setName(QStringLiteral("Resultatlista"));
        QCOMPARE(blad.Name(), QStringLiteral("Resultatlista"));
        QCOMPARE(felnummer([&] { blad.setName(QStringLiteral("a/b")); }), Kalkylfel::Programfel);
        Arbetsbok& andra = app.Workbooks().Add();
        QCOMPARE(&app.Worksheets(1), &andra.Worksheets(1));
        QCOMPARE(app.Workbooks().Count(), 2);
        andra.Close();
        QCOMPARE(&app.Worksheets(1), &blad);
        QCOMPARE(&app.Workbooks().Item(1), &bok);

        bok.setCheckCompatibility(false);
        QVERIFY(!bok.CheckCompatibility());
        bok.Close(false);
        QCOMPARE(app.Workbooks().Count(), 0);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setValue(1); }), Kalkylfel::ObjektetFinnsInte);
        QCOMPARE(felnummer([&] { blad.PageSetup(); }), Kalkylfel::ObjektetFinnsInte);
        QCOMPARE(felnummer([&] { bok.Close(false); }), Kalkylfel::ObjektetFinnsInte);
        Arbetsbok& ny = app.Workbooks().Add();
        QCOMPARE(felnummer([&] { ny.Close(true); }), Kalkylfel::Programfel); // never saved
        app.Quit();
        QCOMPARE(felnummer([&] { ny.Worksheets(1); }), Kalkylfel::ObjektetFinnsInte);
        QCOMPARE(felnummer([&] { app.Workbooks(); }), Kalkylfel::ObjektetFinnsInte);
        QCOMPARE(felnummer([&] { app.Version(); }), Kalkylfel::ObjektetFinnsInte);
    }

    // Values read back as the lists compare them with the row above: numbers as
    // numbers, texts as texts, empty as empty.
    void vardenLasesTillbaka() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        blad.Cells(4, 2).setValue(95);
        QCOMPARE(blad.Cells(4, 2).Value().typeId(), int(QMetaType::Double));
        QCOMPARE(blad.Cells(4, 2).Value().toDouble(), 95.0);
        QCOMPARE(blad.Cells(4, 2).Value(), QVariant(95));
        blad.Cells(4, 3).setValue(QStringLiteral("012"));
        QCOMPARE(blad.Cells(4, 3).Value(), QVariant(QStringLiteral("012")));
        blad.Cells(4, 4).setValue(2.5);
        QCOMPARE(blad.Range(QStringLiteral("d4")).Value().toDouble(), 2.5);
        blad.Cells(4, 5).setValue(true);
        QCOMPARE(blad.Cells(4, 5).Value(), QVariant(true));
        QVERIFY(!blad.Cells(9, 9).Value().isValid());

        // An empty text or no value empties the cell.
        blad.Cells(4, 3).setValue(QString());
        QVERIFY(!blad.Cells(4, 3).Value().isValid());
        blad.Cells(4, 2).setValue(QVariant());
        QVERIFY(!blad.Cells(4, 2).Value().isValid());

        // A text cell keeps a number as the text it shows.
        blad.Range(QStringLiteral("F5")).setNumberFormat(QStringLiteral("@"));
        blad.Cells(5, 6).setValue(7);
        QCOMPARE(blad.Cells(5, 6).Value(), QVariant(QStringLiteral("7")));
        blad.Cells(5, 6).setValue(QStringLiteral("10.30"));
        QCOMPARE(blad.Cells(5, 6).Value(), QVariant(QStringLiteral("10.30")));
        // The text format may come from a column, a row or the cell: the layer
        // that shows in the cell decides.
        blad.Range(QStringLiteral("h:h")).setNumberFormat(QStringLiteral("@"));
        blad.Range(QStringLiteral("4:4")).setNumberFormat(QStringLiteral("General"));
        blad.Range(QStringLiteral("9:9")).setNumberFormat(QStringLiteral("@"));
        blad.Cells(9, 3).setNumberFormat(QStringLiteral("General"));
        // (QVariant finds the text "7" equal to the number 7: compare the types.)
        QList<int> typer;
        for (const auto& [rad, kolumn] : {std::pair{5, 6}, {3, 8}, {4, 8}, {9, 2}, {9, 3}}) {
            blad.Cells(rad, kolumn).setValue(7);
            typer.append(blad.Cells(rad, kolumn).Value().typeId());
        }
        const int text = QMetaType::QString, tal = QMetaType::Double;
        QCOMPARE(typer, (QList<int>{text, text, tal, text, tal}));

        // A block of cells takes one value; whole columns do not.
        blad.Range(QStringLiteral("A1:B2")).setValue(1);
        QCOMPARE(blad.Cells(2, 2).Value().toDouble(), 1.0);
        QCOMPARE(felnummer([&] { blad.Range(QStringLiteral("a:a")).setValue(1); }), Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setValue(QVariant(QPoint(1, 2))); }),
                 Kalkylfel::TyperMatcharInte);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setValue(QString(32768, QLatin1Char('x'))); }),
                 Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { blad.Cells(0, 1); }), Kalkylfel::Programfel);
    }

    void omradesadresser() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        const auto adress = [&](const char* text) {
            const Omrade o = blad.Range(QString::fromLatin1(text));
            return QList<int>{o.typ(), o.forstaRad(), o.forstaKolumn(), o.sistaRad(), o.sistaKolumn()};
        };
        QCOMPARE(adress("d:k"), (QList<int>{Omrade::Kolumner, 1, 4, MaxRad, 11}));
        QCOMPARE(adress("K:D"), (QList<int>{Omrade::Kolumner, 1, 4, MaxRad, 11}));
        QCOMPARE(adress("12:12"), (QList<int>{Omrade::Rader, 12, 1, 12, MaxKolumn}));
        QCOMPARE(adress("a1"), (QList<int>{Omrade::Celler, 1, 1, 1, 1}));
        QCOMPARE(adress("$AA$10:ab11"), (QList<int>{Omrade::Celler, 10, 27, 11, 28}));
        QCOMPARE(adress("A:XFD"), (QList<int>{Omrade::Blad, 1, 1, MaxRad, MaxKolumn}));
        for (const char* fel : {"", "a", "1a", "a0", "XFE1", "a:1", "0:3", "a1:", "b2 c3"})
            QCOMPARE(felnummer([&] { blad.Range(QString::fromLatin1(fel)); }), Kalkylfel::Programfel);
        QCOMPARE(Arbetsblad::kolumnnamn(1), QStringLiteral("A"));
        QCOMPARE(Arbetsblad::kolumnnamn(28), QStringLiteral("AB"));
        QCOMPARE(Arbetsblad::kolumnnamn(MaxKolumn), QStringLiteral("XFD"));
    }

    // Sheet, column, row and cell each override only what they set, and the
    // newest setting shows where two layers meet.
    void stilLagrasILager() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        QCOMPARE(blad.Cells(1, 1).Font().Name(), QStringLiteral("Calibri"));
        QCOMPARE(blad.Cells(1, 1).Font().Color(), Svart);
        QCOMPARE(blad.Cells(1, 1).Interior().Color(), Vit);
        QCOMPARE(blad.Cells(1, 1).Font().Underline(), Understrykning::Ingen);

        blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        blad.Cells().Font().setSize(10);
        blad.Range(QStringLiteral("d:k")).setHorizontalAlignment(Justering::Centrerad);
        blad.Range(QStringLiteral("2:2")).Font().setBold(true);
        blad.Cells(2, 5).Font().setBold(false);
        blad.Cells(1, 2).Font().setSize(13.5);
        blad.Cells(3, 4).Font().setColor(Rod);
        blad.Cells(3, 4).Interior().setColor(rgbFarg(150, 150, 150));

        QCOMPARE(blad.Cells(7, 1).Font().Name(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(blad.Cells(7, 1).Font().Size(), 10.0);
        QCOMPARE(blad.Cells(1, 2).Font().Size(), 13.5);
        QCOMPARE(blad.Cells(9, 11).HorizontalAlignment(), Justering::Centrerad);
        QCOMPARE(blad.Cells(9, 12).HorizontalAlignment(), Justering::Allman);
        QVERIFY(blad.Cells(2, 1).Font().Bold());
        QVERIFY(!blad.Cells(2, 5).Font().Bold());
        QVERIFY(!blad.Cells(3, 1).Font().Bold());
        QCOMPARE(blad.Cells(3, 4).Font().Color(), Rod);
        QCOMPARE(blad.Cells(3, 4).Interior().Color(), 9868950L);

        // A column set after the row: the newer column wins where they cross,
        // the row keeps its bold elsewhere.
        blad.Range(QStringLiteral("a:b")).Font().setBold(false);
        QVERIFY(!blad.Cells(2, 1).Font().Bold());
        QVERIFY(blad.Cells(2, 3).Font().Bold());
        // A row set after the column wins in that row.
        blad.Range(QStringLiteral("9:9")).setHorizontalAlignment(Justering::Hoger);
        QCOMPARE(blad.Cells(9, 5).HorizontalAlignment(), Justering::Hoger);
        QCOMPARE(blad.Cells(8, 5).HorizontalAlignment(), Justering::Centrerad);
        // The whole sheet set last wins everywhere.
        blad.Cells().Font().setSize(12);
        QCOMPARE(blad.Cells(1, 2).Font().Size(), 12.0);
        QCOMPARE(blad.Cells(3, 4).Font().Color(), Rod);

        blad.Cells(5, 2).Font().setUnderline(Understrykning::Enkel);
        QCOMPARE(blad.Cells(5, 2).Font().Underline(), Understrykning::Enkel);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).Font().setUnderline(3); }), Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setHorizontalAlignment(7); }), Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setNumberFormat(QStringLiteral("0.00")); }),
                 Kalkylfel::Programfel);
        QCOMPARE(blad.Cells(1, 1).NumberFormat(), QStringLiteral("General"));
    }

    // A row keeps its cells in column order, one per column, whatever order
    // they were written in.
    void cellerIKolumnordning() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        for (const int k : {5, 2, 9, 2, 7, 1})
            blad.Cells(3, k).setValue(k * 10 + blad.Cells(3, k).Value().toInt());
        blad.Cells(3, 9).Font().setBold(true);
        QList<int> kolumner, varden;
        for (const auto& [k, cell] : blad.rader().at(3).celler) {
            kolumner << k;
            varden << cell.varde.toInt();
        }
        QCOMPARE(kolumner, (QList<int>{1, 2, 5, 7, 9}));
        QCOMPARE(varden, (QList<int>{10, 40, 50, 70, 90}));
        QVERIFY(blad.Cells(3, 9).Font().Bold());
        QVERIFY(!blad.Cells(3, 7).Font().Bold());
    }

    // Cells with alike settings stay apart: the same change on cells that
    // differ in another field, the same value for another field of the same
    // kind, another value for the same field.
    void cellinstallningarHallsIsar() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        const long gra = rgbFarg(150, 150, 150);
        blad.Cells(1, 1).Font().setBold(true);
        blad.Cells(1, 1).Font().setColor(Rod);
        blad.Cells(1, 2).Font().setColor(Rod);
        blad.Cells(1, 3).Interior().setColor(Rod);
        blad.Cells(1, 4).Font().setColor(gra);
        blad.Cells(1, 5).Font().setColor(Rod);
        const auto cell = [&](int k) {
            const Omrade c = blad.Cells(1, k);
            return QList<long>{c.Font().Bold(), c.Font().Color(), c.Interior().Color()};
        };
        QCOMPARE(cell(1), (QList<long>{true, Rod, Vit}));
        QCOMPARE(cell(2), (QList<long>{false, Rod, Vit}));
        QCOMPARE(cell(3), (QList<long>{false, Svart, Rod}));
        QCOMPARE(cell(4), (QList<long>{false, gra, Vit}));
        QCOMPARE(cell(5), (QList<long>{false, Rod, Vit}));
        // A row set later clears only that field in its cells.
        blad.Range(QStringLiteral("1:1")).Font().setColor(gra);
        QCOMPARE(cell(1), (QList<long>{true, gra, Vit}));
        QCOMPARE(cell(3), (QList<long>{false, gra, Rod}));
    }

    void hojderOchBredder() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        QCOMPARE(blad.Cells(1, 1).ColumnWidth(), 8.43);
        blad.Cells().Font().setSize(10);
        // Unset rows fit their largest font.
        QCOMPARE(blad.Cells(3, 1).RowHeight(), 12.75);
        blad.Cells(3, 2).Font().setSize(18);
        blad.Cells(3, 2).setValue(QStringLiteral("Skjutlag: 1"));
        QCOMPARE(blad.Cells(3, 1).RowHeight(), 23.25);

        blad.Range(QStringLiteral("1:1")).setRowHeight(19.5);
        blad.Cells().setRowHeight(15.75);
        QCOMPARE(blad.Cells(1, 1).RowHeight(), 15.75);
        QCOMPARE(blad.Cells(3, 1).RowHeight(), 15.75);
        blad.Range(QStringLiteral("12:12")).setRowHeight(19.5);
        QCOMPARE(blad.Range(QStringLiteral("12:12")).RowHeight(), 19.5);
        QVERIFY(blad.harEgenRadhojd(12));

        blad.Range(QStringLiteral("d:k")).setColumnWidth(3.57);
        blad.Range(QStringLiteral("B7")).setColumnWidth(22.86);
        QCOMPARE(blad.Cells(1, 11).ColumnWidth(), 3.57);
        QCOMPARE(blad.Cells(99, 2).ColumnWidth(), 22.86);
        QCOMPARE(blad.Cells(1, 12).ColumnWidth(), 8.43);
        QCOMPARE(felnummer([&] { blad.Cells(1, 1).setColumnWidth(256); }), Kalkylfel::Programfel);
    }

    void sidformatOchBrytningar() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        Sidformat& sf = blad.PageSetup();
        QVERIFY(!sf.PrintGridlines());
        QCOMPARE(sf.PaperSize(), Pappersstorlek::A4);
        sf.setOrientation(Orientering::Liggande);
        sf.setLeftMargin(app.InchesToPoints(1.2 * 0.393700787401575));
        QCOMPARE(sf.Orientation(), Orientering::Liggande);
        QCOMPARE(felnummer([&] { sf.setOrientation(3); }), Kalkylfel::Programfel);
        // The lists fall back to 122 only when 9 is refused; 9 always works here.
        QCOMPARE(felnummer([&] { sf.setPaperSize(122); }), Kalkylfel::Programfel);

        sf.setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10 Cupen\n Resultatlista"));
        sf.setRightHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10Tävlings omg. 2"));
        sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));
        QCOMPARE(sf.sidhuvud(), QStringLiteral("&L&\"MS Sans Serif,Normal\"&10 Cupen\n Resultatlista"
                                               "&R&\"MS Sans Serif,Normal\"&10Tävlings omg. 2"));
        QCOMPARE(sf.sidfot(), QStringLiteral("&R&\"MS Sans Serif,Normal\"&10&P"));
        // 255 characters for the whole header, codes included.
        QCOMPARE(felnummer([&] { sf.setLeftHeader(QString(220, QLatin1Char('x'))); }), Kalkylfel::Programfel);
        QCOMPARE(sf.LeftHeader(), QStringLiteral("&\"MS Sans Serif,Normal\"&10 Cupen\n Resultatlista"));

        blad.HPageBreaks().Add(blad.Range(QStringLiteral("A30")));
        blad.HPageBreaks().Add(blad.Cells(12, 1));
        blad.HPageBreaks().Add(blad.Cells(12, 3));
        QCOMPARE(blad.HPageBreaks().Count(), 2);
        QCOMPARE(blad.sidbrytningar().rader(), (std::set<int>{12, 30}));
        QCOMPARE(felnummer([&] { blad.HPageBreaks().Add(blad.Range(QStringLiteral("A1"))); }),
                 Kalkylfel::Programfel);
    }

    // A section code inside a section's text, or a lone "&" at its end, would
    // move text into another section of the file: refused, the old text kept.
    void sektionskoderISidhuvudVagras() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        Sidformat& sf = blad.PageSetup();
        sf.setLeftHeader(QStringLiteral("Cupen"));
        sf.setRightHeader(QStringLiteral("Omg. 1"));
        sf.setRightFooter(QStringLiteral("&P"));
        for (const char* text : {"R&R Cup", "a&lb", "&Cmitt", "&&&R", "&\"Arial,Bold\"&r", "Smith &"}) {
            const QString t = QString::fromUtf8(text);
            QCOMPARE(felnummer([&] { sf.setLeftHeader(t); }), Kalkylfel::Programfel);
            QCOMPARE(felnummer([&] { sf.setRightHeader(t); }), Kalkylfel::Programfel);
            QCOMPARE(felnummer([&] { sf.setRightFooter(t); }), Kalkylfel::Programfel);
        }
        QCOMPARE(sf.sidhuvud(), QStringLiteral("&LCupen&ROmg. 1"));
        QCOMPARE(sf.sidfot(), QStringLiteral("&R&P"));

        // Escaped data is text, whatever letter follows the ampersand.
        sf.setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10 ") +
                         Sidhuvudkod::skydda(QStringLiteral("R&R Cup & L&C")));
        QCOMPARE(sf.sidhuvud(), QStringLiteral("&L&\"MS Sans Serif,Normal\"&10 R&&R Cup && L&&C&ROmg. 1"));
        sf.setRightFooter(QStringLiteral("&\"Arial,Bold\"&B&I&U&12Sida &P av &N"));
    }

    void visningstexter() {
        QStringList texter;
        for (const QVariant& v : {QVariant(95.0), QVariant(-3), QVariant(9.5), QVariant(true),
                                  QVariant(QStringLiteral("Åsa")), QVariant()})
            texter << visningstext(v);
        QCOMPARE(texter, QStringList({"95", "-3", "9,5", "SANT", "Åsa", ""}));
    }
};

QTEST_MAIN(TestKalkylmodell)
#include "test_kalkylmodell.moc"
