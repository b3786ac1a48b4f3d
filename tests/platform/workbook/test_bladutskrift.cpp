#include "common/Fel.h"
#include "platform/workbook/Kalkylprogram.h"
#include "platform/workbook/Sidhuvudkod.h"
#include "platform/workbook/Sidindelning.h"
#include "platform/workbook/Skrivarmotor.h"
#include "support/Testfel.h"
#include "support/Testmiljo.h"
#include "support/XlsxLasare.h"

#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Kalkyl;

namespace {

// A new sheet that prints to a PDF file in a throw-away folder, and what the
// poppler tools read back from that file.
struct Utskrift {
    Testmiljo t;
    const QString pdf = t.fil(QStringLiteral("lista.pdf"));
    Skrivarmotor motor;
    Kalkylprogram app{&motor};
    Arbetsbok& bok = app.Workbooks().Add();
    Arbetsblad& blad = bok.Worksheets(1);
    Utskrift() { motor.setPdfFil(pdf); }

    // The program and its options, then the PDF file and what follows it.
    QString kor(const QString& kommando, const QStringList& efter = {}) const {
        QStringList argument = kommando.split(' ') << pdf << efter;
        const QString program = argument.takeFirst();
        QProcess p;
        p.start(program, argument);
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    // A field of pdfinfo: "Pages" gives "3", "Page size" the size in points, "595 x 842".
    QString info(const QString& falt) const {
        return QRegularExpression(falt + ":\\s+([0-9.]+( x [0-9.]+)?)").match(kor("pdfinfo")).captured(1);
    }
    int sidor() const { return info("Pages").toInt(); }
    QString text(int sida) const {
        return kor(QString::asprintf("pdftotext -layout -f %d -l %d", sida, sida), {"-"});
    }
    // The text inside a part of the page, in points from the top left corner.
    QString text(int sida, const QRect& d) const {
        return kor(QString::asprintf("pdftotext -f %d -l %d -x %d -y %d -W %d -H %d", sida, sida, d.x(),
                                     d.y(), d.width(), d.height()),
                   {"-"})
            .simplified();
    }
    // One page as an image at 72 dpi, so that a pixel is a point.
    QImage bild(int sida) const {
        kor(QString::asprintf("pdftoppm -r 72 -f %d -l %d -singlefile -png", sida, sida), {t.fil("sida")});
        return QImage(t.fil("sida.png"));
    }
};

// A squad list of `lag` squads with 10 lanes each, a page break before every
// squad but the first, in the frame the lists use.
void byggSkjutlagslista(Kalkylprogram& app, Arbetsblad& blad, int lag, int orientering) {
    const double cm = 0.393700787401575;
    blad.setName(QStringLiteral("Skjutlagslista"));
    blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
    blad.Cells().Font().setSize(10);
    Sidformat& sf = blad.PageSetup();
    sf.setPrintGridlines(false);
    sf.setOrientation(orientering);
    sf.setLeftMargin(app.InchesToPoints(1.5 * cm));
    sf.setRightMargin(app.InchesToPoints(0.6 * cm));
    sf.setTopMargin(app.InchesToPoints(2.5 * cm));
    sf.setBottomMargin(app.InchesToPoints(2.5 * cm));
    sf.setHeaderMargin(app.InchesToPoints(1.3 * cm));
    sf.setFooterMargin(app.InchesToPoints(1.3 * cm));
    sf.setPaperSize(Pappersstorlek::A4);
    blad.Range(QStringLiteral("a:a")).setColumnWidth(5);
    blad.Range(QStringLiteral("b:b")).setColumnWidth(24);
    blad.Range(QStringLiteral("c:c")).setColumnWidth(17);
    blad.Range(QStringLiteral("d:d")).setColumnWidth(7);
    blad.Cells().setRowHeight(15);
    sf.setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10 ") +
                     Sidhuvudkod::skydda(QStringLiteral("Höstcupen & Co")) +
                     QStringLiteral(" 2024-10-05\n Skjutlagslista"));
    sf.setRightFooter(QStringLiteral("&\"MS Sans Serif,Normal\"&10&P"));
    int r = 1;
    for (int s = 1; s <= lag; ++s) {
        blad.Range(QStringLiteral("%1:%1").arg(r)).setRowHeight(23.25);
        blad.Cells(r, 2).Font().setSize(18);
        blad.Cells(r, 2).Font().setBold(true);
        blad.Cells(r, 2).setValue(QStringLiteral("Skjutlag: %1").arg(s));
        ++r;
        blad.Cells(r, 2).setValue(QStringLiteral("Skjuttid: 10.%1").arg(s));
        ++r;
        blad.Range(QStringLiteral("%1:%1").arg(r)).Font().setBold(true);
        blad.Cells(r, 1).setValue(QStringLiteral("Bana"));
        blad.Cells(r, 2).setValue(QStringLiteral("Namn"));
        blad.Cells(r, 3).setValue(QStringLiteral("Förening"));
        ++r;
        for (int bana = 1; bana <= 10; ++bana, ++r) {
            blad.Cells(r, 1).setValue(bana);
            blad.Cells(r, 2).setValue(QStringLiteral("Skytt %1-%2").arg(s).arg(bana));
            blad.Cells(r, 3).setValue(QStringLiteral("Pilkrona SK"));
            blad.Cells(r, 4).setValue(bana * 10);
        }
        if (s < lag) {
            ++r;
            blad.HPageBreaks().Add(blad.Range(QStringLiteral("A%1").arg(r)));
        }
    }
}
} // namespace

class TestBladutskrift : public QObject {
    Q_OBJECT

private slots:
    // The printer gets the copies, the sheet's name, and its paper by name, so
    // that a real printer picks A4 and not a custom size. A printer that cannot
    // make copies itself gets every page again.
    void skrivarenOchKopiorna() {
        Utskrift u;
        byggSkjutlagslista(u.app, u.blad, 2, Orientering::Liggande);
        QPrinter skrivare;
        u.motor.forbered(skrivare, u.blad, 3);
        QCOMPARE(skrivare.copyCount(), 3);
        QCOMPARE(skrivare.pageLayout().pageSize().id(), QPageSize::A4);
        QVERIFY(skrivare.fullPage());
        QCOMPARE(skrivare.docName(), QStringLiteral("Skjutlagslista"));
        u.blad.PrintOut(3);
        const int sidor = skrivare.supportsMultipleCopies() ? 2 : 6;
        QCOMPARE(u.sidor(), sidor);
        QVERIFY(u.text(sidor).contains(QStringLiteral("Skjutlag: 2")));
    }

    // Every squad on a page of its own, each page with the header and its number.
    void sidorMedSidhuvudOchSidnummer() {
        Utskrift u;
        byggSkjutlagslista(u.app, u.blad, 3, Orientering::Staende);
        u.blad.PrintOut(1);
        QCOMPARE(u.sidor(), 3);
        QCOMPARE(u.info("Page size"), QStringLiteral("595 x 842"));
        for (int sida = 1; sida <= 3; ++sida) {
            // The header at the header margin (1.3 cm, 37 points) on the left, the
            // page number at the footer margin on the right, nothing else there.
            QCOMPARE(u.text(sida, QRect(0, 30, 300, 30)),
                     QStringLiteral("Höstcupen & Co 2024-10-05 Skjutlagslista"));
            QCOMPARE(u.text(sida, QRect(480, 780, 115, 30)), QString::number(sida));
            const QString allt = u.text(sida);
            QVERIFY(allt.contains(QStringLiteral("Skjutlag: %1").arg(sida)));
            QVERIFY(allt.contains(QStringLiteral("Skytt %1-10").arg(sida)));
            QVERIFY(!allt.contains(QStringLiteral("Skjutlag: %1").arg(sida + 1)));
        }
    }

    // Without manual breaks the rows run on to the next page where they would
    // cross the bottom margin; too many columns go to pages further on, read
    // down first, then across.
    void sidorNedSedanTvars() {
        Utskrift u;
        u.blad.PageSetup().setOrientation(Orientering::Liggande);
        u.blad.PageSetup().setRightFooter(QStringLiteral("Sida &P av &N"));
        u.blad.Cells().setRowHeight(15.75);
        u.blad.Range(QStringLiteral("a:z")).setColumnWidth(12);
        for (int r = 1; r <= 60; ++r)
            for (int k = 1; k <= 26; ++k)
                u.blad.Cells(r, k).setValue(QStringLiteral("R%1K%2").arg(r).arg(k));

        const Sidindelning indelning(u.blad);
        const int raderPerSida = int(indelning.cellyta().height() / 15.75);
        QCOMPARE(indelning.sidor().first().sistaRad, raderPerSida);
        const int radsidor = (60 + raderPerSida - 1) / raderPerSida;
        const int kolumnerPerSida = indelning.sidor().first().sistaKolumn;
        QVERIFY(kolumnerPerSida < 26);
        const int sidor = radsidor * ((26 + kolumnerPerSida - 1) / kolumnerPerSida);

        u.blad.PrintOut();
        QCOMPARE(u.sidor(), sidor);
        QCOMPARE(u.info("Page size"), QStringLiteral("842 x 595"));
        const QString forsta = u.text(1), andra = u.text(2), tvars = u.text(radsidor + 1);
        QVERIFY(forsta.contains(QStringLiteral("R1K1 ")));
        QVERIFY(forsta.contains(QStringLiteral("R%1K1 ").arg(raderPerSida)));
        QVERIFY(!forsta.contains(QStringLiteral("R%1K1 ").arg(raderPerSida + 1)));
        QVERIFY(andra.contains(QStringLiteral("R%1K1 ").arg(raderPerSida + 1)));
        QVERIFY(tvars.contains(QStringLiteral("R1K%1").arg(kolumnerPerSida + 1)));
        QVERIFY(!tvars.contains(QStringLiteral("R1K1 ")));
        QVERIFY(forsta.contains(QStringLiteral("Sida 1 av %1").arg(sidor)));
        QVERIFY(tvars.contains(QStringLiteral("Sida %1 av").arg(radsidor + 1)));
    }

    // Fills and font colours reach the paper where the cells stand.
    void fargerPaPapperet() {
        Utskrift u;
        u.blad.Cells().Font().setName(QStringLiteral("MS Sans Serif"));
        u.blad.Cells().Font().setSize(10);
        u.blad.PageSetup().setLeftMargin(72);
        u.blad.PageSetup().setTopMargin(72);
        u.blad.Cells().setRowHeight(30);
        u.blad.Range(QStringLiteral("a:b")).setColumnWidth(20);
        u.blad.Range(QStringLiteral("A1:B1")).Interior().setColor(rgbFarg(150, 150, 150));
        u.blad.Cells(2, 1).Font().setColor(Rod);
        u.blad.Cells(2, 1).Font().setSize(20);
        u.blad.Cells(2, 1).Font().setBold(true);
        u.blad.Cells(2, 1).setValue(QStringLiteral("MMMM"));
        u.blad.PrintOut();

        const QImage bild = u.bild(1);
        QVERIFY(!bild.isNull());
        // Column A is 20 characters of a 7-pixel digit: 145 pixels at 96 dpi.
        const double bredd = Sidindelning::kolumnbreddPunkter(20, 7);
        QCOMPARE(QColor(bild.pixel(72 + 5, 72 + 15)), QColor(150, 150, 150));
        QCOMPARE(QColor(bild.pixel(int(72 + 2 * bredd - 5), 72 + 15)), QColor(150, 150, 150));
        QCOMPARE(QColor(bild.pixel(int(72 + 2 * bredd + 5), 72 + 15)), QColor(Qt::white));
        QCOMPARE(QColor(bild.pixel(72 + 5, 72 + 35)), QColor(Qt::white));
        int roda = 0;
        for (int y = 72 + 30; y < 72 + 60; ++y)
            for (int x = 72; x < int(72 + bredd); ++x) {
                const QColor c(bild.pixel(x, y));
                roda += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
            }
        QVERIFY(roda > 50);
    }

    // An ampersand in the data of a header ("R&R Cup") is saved doubled and
    // reads back and prints as a single one; unescaped it is refused.
    void ampersandISidhuvudetsData() {
        Utskrift u;
        const QString tavling = QStringLiteral("R&R Cup");
        QCOMPARE(felnummer([&] { u.blad.PageSetup().setLeftHeader(tavling); }), Kalkylfel::Programfel);
        u.blad.PageSetup().setLeftHeader(QStringLiteral("&\"MS Sans Serif,Normal\"&10") +
                                         Sidhuvudkod::skydda(tavling));

        const XlsxLasare x(u.bok.SaveAs(u.t.fil(QStringLiteral("Resultatlista_Fil.xls"))));
        QCOMPARE(x.text(QStringLiteral("oddHeader")),
                 QStringLiteral("&L&\"MS Sans Serif,Normal\"&10R&&R Cup"));
        QCOMPARE(Sidhuvudkod::text(Sidhuvudkod::tolka(x.text(QStringLiteral("oddHeader")).mid(2), 1, 1)),
                 tavling);
        u.blad.PrintOut();
        // The header at the header margin (0.3 inches, 22 points) on the left,
        // on the one page an empty sheet prints.
        QCOMPARE(u.sidor(), 1);
        QCOMPARE(u.text(1, QRect(0, 10, 300, 30)), tavling);
    }

    // No print engine, no printer, or one that is not there: a clear error,
    // never a quiet success.
    void utanSkrivareBlirDetFel() {
        Kalkylprogram app;
        Arbetsblad& blad = app.Workbooks().Add().Worksheets(1);
        blad.Cells(1, 1).setValue(1);
        QCOMPARE(felnummer([&] { blad.PrintOut(1); }), Kalkylfel::Programfel);
        QCOMPARE(felnummer([&] { blad.PrintOut(0); }), Kalkylfel::Programfel);
        Skrivarmotor motor;
        app.setUtskriftsmotor(&motor);
        motor.setSkrivare(QStringLiteral("Skrivare som inte finns"));
        QString text;
        try {
            blad.PrintOut(1);
        } catch (const Fel& fel) {
            QCOMPARE(fel.nummer(), Kalkylfel::Programfel);
            text = fel.beskrivning();
        }
        QVERIFY(text.contains(QStringLiteral("Listan skrevs inte ut")));
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has printers");
        QVERIFY(text.contains(QStringLiteral("ingen skrivare")));
        motor.setSkrivare(QString());
        QCOMPARE(felnummer([&] { blad.PrintOut(1); }), Kalkylfel::Programfel);
    }
};

QTEST_MAIN(TestBladutskrift)
#include "test_bladutskrift.moc"
