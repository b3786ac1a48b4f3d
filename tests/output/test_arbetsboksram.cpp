#include "common/IniNamn.h"
#include "lists/Resultatlistbok.h"
#include "output/Arbetsboksram.h"
#include "platform/workbook/Arbetsblad.h"
#include "platform/workbook/Skrivarmotor.h"
#include "printouts/Foreningslista.h"
#include "printouts/Lagutskriftbok.h"
#include "printouts/Skjutlagslista.h"
#include "printouts/Vandringsprisbok.h"
#include "support/Filstorlekstak.h"
#include "support/Testfixtur.h"
#include "support/XlsxLasare.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTest>

using namespace Qt::StringLiterals;
using Kalkyl::Arbetsblad;
// A list by the sheet it hands the frame.
using Lista = const Arbetsboksram::Lista*;

Q_DECLARE_METATYPE(Lista)
Q_DECLARE_METATYPE(Utskriftsmal)
Q_DECLARE_METATYPE(NyTavling::Typ)

namespace {

const Lista ResultatArk = &Resultatlistbok::ark();
const Lista PrisArk = &Vandringsprisbok::ark();
const Lista SkjutlagsArk = &Skjutlagslista::ark();
const Lista ForeningsArk = &Foreningslista::ark();
const Lista LagArk = &Lagutskriftbok::ark();

// Column number and width.
using Bredder = QList<QPair<int, double>>;

const QString Rubrikkod = u"&\"MS Sans Serif,Normal\"&10"_s;

QByteArray lasBytes(const QString& sokvag) {
    QFile f(sokvag);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// An open competition whose lists print to a PDF file, with what the frame
// told the operator and the status window.
struct Ram {
    Testfixtur f;
    Skrivarmotor motor;
    QStringList status, oppnade;
    bool medSkrivare = true;

    explicit Ram(NyTavling::Typ typ = NyTavling::Typ::Nationellt, int skjutlag = 1, int skyttar = 0) {
        f.skapaTavling(u"Cup"_s, typ, 10, skjutlag, skyttar);
        motor.setPdfFil(pdf());
    }
    QString pdf() const { return f.t.fil(u"lista.pdf"_s); }
    QString utskrifter(const QString& fil = {}) const {
        return QDir(f.g.strTavlingsmapp + u"Utskrifter"_s).filePath(fil);
    }
    QStringList filer() const { return QDir(utskrifter()).entryList(QDir::Files | QDir::Hidden); }

    std::optional<QString> kor(Lista lista, Utskriftsmal mal, const Arbetsboksram::Korning& grund = {},
                               const std::function<void(Arbetsblad&)>& skriv = {}) {
        Arbetsboksram::Korning k = grund;
        k.mal = mal;
        const Arbetsboksram::Omgivning o{f.g, f.m, medSkrivare ? &motor : nullptr,
                                         [this](const QString& s) { oppnade << s; },
                                         [this](const QString& s) { status << s; }};
        return Arbetsboksram(*lista, o).kor(k, [&](Arbetsblad& blad) {
            if (skriv)
                skriv(blad);
        });
    }
    // A result list of one round with the right header, as the result list runs it.
    std::optional<QString> korOmgang(Utskriftsmal mal, const QString& beskrivning,
                                     const std::function<void(Arbetsblad&)>& skriv = {}) {
        Arbetsboksram::Korning k;
        k.omgang = Omgangar::Omgang{1, beskrivning};
        k.hogeretikett = u"Tävlings omg. "_s;
        return kor(ResultatArk, mal, k, skriv);
    }
    // Results in the squads given: every shooter of the squad gets 300.
    void resultatISkjutlag(int skjutlag) {
        f.g.cnnTavling.kor(u"UPDATE Skyttar SET Totalt40 = 300 WHERE Löpnummer IN "
                           "(SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ?)"_s,
                           {skjutlag});
    }
    QString pdfText() const {
        QProcess p;
        p.start(u"pdftotext"_s, {u"-layout"_s, pdf(), u"-"_s});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

} // namespace

class TestArbetsboksram : public QObject {
    Q_OBJECT
private slots:
    // Each list's own sheet, page and columns, from the table of lists.
    void listansBladOchSida_data() {
        QTest::addColumn<Lista>("lista");
        QTest::addColumn<NyTavling::Typ>("typ");
        QTest::addColumn<bool>("omgangar");
        QTest::addColumn<bool>("medResultat");
        QTest::addColumn<QString>("blad");
        QTest::addColumn<double>("storlek");
        QTest::addColumn<double>("radhojd");
        QTest::addColumn<QString>("orientering");
        QTest::addColumn<double>("vansterCm");
        // 8.43 is a column the list leaves alone.
        QTest::addColumn<Bredder>("bredder");
        using T = NyTavling::Typ;
        using K = Bredder;
        QTest::newRow("resultatlista") << ResultatArk << T::Nationellt << false << false << "Resultatlista"
                                       << 10.0 << 15.75 << "landscape" << 1.2 << K{{1, 8.43}};
        QTest::newRow("vandringspris sport")
            << PrisArk << T::Sportskytte << false << false << "Vandringspris" << 10.0 << 15.75 << "portrait"
            << 1.2 << K{{2, 22.86}, {9, 3.57}, {10, 6.43}, {11, 5.29}, {12, 8.43}};
        QTest::newRow("vandringspris mix")
            << PrisArk << T::Mix << false << false << "Vandringspris" << 10.0 << 15.75 << "portrait" << 1.2
            << K{{11, 3.57}, {12, 7.0}, {13, 6.43}, {14, 8.43}};
        QTest::newRow("skjutlagslista sport omgångar")
            << SkjutlagsArk << T::Sportskytte << true << false << "Skjutlagslista" << 10.0 << 15.0
            << "portrait" << 1.5 << K{{7, 11.0}, {8, 7.0}, {14, 3.57}, {16, 6.43}, {17, 8.43}};
        QTest::newRow("skjutlagslista nationell med resultat")
            << SkjutlagsArk << T::Nationellt << false << true << "Skjutlagslista" << 10.0 << 15.0
            << "landscape" << 1.0 << K{{6, 11.0}, {7, 3.57}, {15, 6.43}, {17, 3.71}};
        QTest::newRow("skjutlagslista mix omgångar")
            << SkjutlagsArk << T::Mix << true << false << "Skjutlagslista" << 10.0 << 15.0 << "portrait"
            << 1.5 << K{{8, 7.0}, {16, 3.57}, {17, 6.43}, {19, 3.71}};
        QTest::newRow("föreningslista omgångar")
            << ForeningsArk << T::Nationellt << true << false << "Föreningslista" << 10.0 << 15.75
            << "portrait" << 2.0 << K{{6, 10.71}, {7, 20.57}, {8, 3.86}};
        QTest::newRow("lagutskrift") << LagArk << T::Sportskytte << false << false << "Lagutskrift" << 12.0
                                     << 15.75 << "portrait" << 0.7 * 2.54
                                     << K{{2, 1.86}, {3, 26.0}, {4, 7.43}};
    }
    void listansBladOchSida() {
        QFETCH(Lista, lista);
        QFETCH(NyTavling::Typ, typ);
        QFETCH(bool, omgangar);
        QFETCH(bool, medResultat);
        Ram r(typ);
        r.f.g.blnFleraTavlingar = omgangar;
        r.f.g.blnSkjutlagslistaMedResultat = medResultat;
        QFETCH(Bredder, bredder);
        Bredder lasta;
        const auto fil = r.kor(lista, Utskriftsmal::Fil, {}, [&](Arbetsblad& b) {
            for (const auto& [kolumn, bredd] : bredder)
                lasta.append({kolumn, b.kolumnbredd(kolumn)});
        });
        QVERIFY(fil);
        QCOMPARE(lasta, bredder);
        const XlsxLasare x(*fil);
        QTEST(x.bladnamn(), "blad");
        QCOMPARE(x.kolumnformat(1).font, u"MS Sans Serif"_s);
        QTEST(x.kolumnformat(1).storlek, "storlek");
        QTEST(x.radhojd(1), "radhojd");
        QTEST(x.attribut(u"pageSetup"_s).value(u"orientation"_s), "orientering");
        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"paperSize"_s, u"1"_s), u"9"_s);
        QCOMPARE(x.attribut(u"printOptions"_s).value(u"gridLines"_s), QString());
        QFETCH(double, vansterCm);
        QCOMPARE(qRound(x.attribut(u"pageMargins"_s).value(u"left"_s).toDouble() * 2540),
                 qRound(vansterCm * 1000));
    }

    // The page header: the competition, its date, the list and how far the
    // results have come; the round on the right; the page number below.
    void sidhuvud_data() {
        QTest::addColumn<int>("skjutlagMedResultat");
        QTest::addColumn<QString>("tillagg");
        QTest::newRow("inga resultat") << 0 << QString();
        QTest::newRow("två av tre skjutlag") << 2 << u" till och med Skjutlag: 2"_s;
        QTest::newRow("alla skjutlag") << 3 << QString();
    }
    void sidhuvud() {
        QFETCH(int, skjutlagMedResultat);
        QFETCH(QString, tillagg);
        Ram r(NyTavling::Typ::Nationellt, 3, 30);
        for (int s = 1; s <= skjutlagMedResultat; ++s)
            r.resultatISkjutlag(s);
        r.f.g.strTavlingsnamn = u"R&R Cup"_s;
        r.f.g.strTavlingsdatum = u"6 & 7 december"_s;
        const XlsxLasare x(*r.korOmgang(Utskriftsmal::Fil, u"Final & ångest"_s));
        QCOMPARE(x.text(u"oddHeader"_s), u"&L"_s + Rubrikkod +
                                             u" R&&R Cup 6 && 7 december\n Resultatlista"_s + tillagg +
                                             u"&R"_s + Rubrikkod + u"Tävlings omg. Final && ångest"_s);
        QCOMPARE(x.text(u"oddFooter"_s), u"&R"_s + Rubrikkod + u"&P"_s);
    }

    // A name too long for the header gives way first, then the round's
    // description; the date, the list's title and the squads are kept whole.
    void langtNamnKortas_data() {
        QTest::addColumn<QString>("namn");
        QTest::addColumn<QString>("omgang");
        QTest::addColumn<QString>("namnKvar");
        QTest::addColumn<QString>("omgangKvar");
        const QString x252(252, u'x');
        const QString rr = u"R&R "_s.repeated(63);
        // 255 less the codes, the date, the title, the squads and the round:
        // 123 characters are left for the name beside a short round, none
        // beside a long one, which keeps 128.
        QTest::newRow("namnet") << x252 << u"Final"_s << x252.left(123) << u"Final"_s;
        QTest::newRow("ett &-tecken tar två") << rr << u"Final"_s << rr.left(98) << u"Final"_s;
        QTest::newRow("namnet och omgången") << x252 << x252 << QString() << x252.left(128);
    }
    void langtNamnKortas() {
        QFETCH(QString, namn);
        QFETCH(QString, omgang);
        QFETCH(QString, namnKvar);
        QFETCH(QString, omgangKvar);
        Ram r(NyTavling::Typ::Nationellt, 3, 30);
        r.resultatISkjutlag(1);
        r.f.g.strTavlingsnamn = namn;
        const QString forvantat = u"&L"_s + Rubrikkod + u" "_s + QString(namnKvar).replace(u"&"_s, u"&&"_s) +
                                  u" 6 december 2026\n Resultatlista till och med Skjutlag: 1&R"_s +
                                  Rubrikkod + u"Tävlings omg. "_s + omgangKvar;
        const auto fil = r.korOmgang(Utskriftsmal::Fil, omgang);
        QVERIFY2(fil, qPrintable(r.f.m.senasteText()));
        QCOMPARE(XlsxLasare(*fil).text(u"oddHeader"_s), forvantat);
        QCOMPARE(forvantat.size(), 255);
    }

    void filnamnOchSparatMeddelande_data() {
        QTest::addColumn<Lista>("lista");
        QTest::addColumn<Utskriftsmal>("mal");
        QTest::addColumn<int>("omg");
        QTest::addColumn<QString>("fil");
        QTest::newRow("resultatlista fil")
            << ResultatArk << Utskriftsmal::Fil << 0 << "Resultatlista_Fil.xlsx";
        QTest::newRow("resultatlista omgång 3 skrivare")
            << ResultatArk << Utskriftsmal::Printer << 3 << "ResultatlistaOmg3_Printer.xlsx";
        QTest::newRow("lagutskrift omgång 2 fil")
            << LagArk << Utskriftsmal::Fil << 2 << "LagutskriftOmg2_Fil.xlsx";
        QTest::newRow("skjutlagslista har inga omgångar i namnet")
            << SkjutlagsArk << Utskriftsmal::Fil << 2 << "Skjutlagslista_Fil.xlsx";
        QTest::newRow("vandringspris skrivare")
            << PrisArk << Utskriftsmal::Printer << 0 << "ResultatlistaVandring_Printer.xlsx";
        QTest::newRow("skärm sparar inget") << ResultatArk << Utskriftsmal::Skarm << 0 << QString();
    }
    void filnamnOchSparatMeddelande() {
        QFETCH(Lista, lista);
        QFETCH(Utskriftsmal, mal);
        QFETCH(int, omg);
        QFETCH(QString, fil);
        Ram r;
        QDir(r.utskrifter()).removeRecursively();
        Arbetsboksram::Korning k;
        if (omg)
            k.omgang = Omgangar::Omgang{omg, u"Omgång"_s};
        const auto sparad = r.kor(lista, mal, k, [](Arbetsblad& b) { b.Cells(1, 1).setValue(u"Plac"_s); });
        QCOMPARE(sparad.value_or(QString()), fil.isEmpty() ? QString() : r.utskrifter(fil));
        QCOMPARE(r.filer(), fil.isEmpty() ? QStringList() : QStringList{fil});
        QCOMPARE(QFile::exists(r.pdf()), mal == Utskriftsmal::Printer);
        // Only a saved file is told, and only when the list went to a file;
        // the squad list's dialog tells it once its run is over.
        const QStringList visade =
            mal == Utskriftsmal::Fil && lista != SkjutlagsArk
                ? QStringList{u"Filen spardes i:\r\n"_s +
                              QDir::toNativeSeparators(r.f.g.strTavlingsmapp + u"Utskrifter"_s)}
                : QStringList();
        QStringList texter;
        for (const auto& v : r.f.m.visade)
            texter << v.text;
        QCOMPARE(texter, visade);
    }

    // A save that fails half-way (the disk fills up) keeps the old file and is
    // told in Swedish, as a full disk is told everywhere; nothing says the file
    // was saved.
    void misslyckadSparningBehallerGammalFil() {
        Ram r;
        const QString fil = *r.kor(ResultatArk, Utskriftsmal::Fil);
        const QByteArray gammal = lasBytes(fil);
        r.f.m.tom();
        const auto sparad = medFilstorlekstak(16 * 1024, [&] {
            return r.kor(ResultatArk, Utskriftsmal::Fil, {}, [](Arbetsblad& b) {
                for (int rad = 1; rad <= 3000; ++rad)
                    for (int k = 1; k <= 10; ++k)
                        b.Cells(rad, k).setValue(u"Rad %1 kolumn %2"_s.arg(rad).arg(k));
            });
        });
        QVERIFY(!sparad);
        QCOMPARE(lasBytes(fil), gammal);
        QCOMPARE(r.filer(), QStringList{u"Resultatlista_Fil.xlsx"_s});
        QCOMPARE(r.f.m.visade.size(), 1);
        const auto& b = r.f.m.visade.front();
        QCOMPARE(b.text, u"frmValResSkärmGrund.Välj_ut_skyttar.. Disken är full: \""_s +
                             QDir::toNativeSeparators(fil) + u"\" kan inte skrivas. 3026"_s);
        QCOMPARE(b.titel, u"Fel"_s);
        QCOMPARE(b.ikon, Meddelanden::Ikon::Kritisk);
    }

    // A file held by a spreadsheet program on another machine, or
    // write-protected: the operator is told which file and who holds it, and
    // it stays as it was with its lock file. A lock file left on this machine
    // by a program that is gone does not stop the list.
    void upptagenFilGerAtkomstmeddelande_data() {
        QTest::addColumn<bool>("skrivskyddad");
        QTest::addColumn<QString>("lasnamn");
        QTest::addColumn<QByteArray>("lasfil");
        QTest::addColumn<QString>("innehavare");
        const QString lo = u".~lock.Resultatlista_Fil.xlsx#"_s;
        QTest::newRow("öppen på en annan dator")
            << false << lo << QByteArray(",anna,kontor-1,07.12.2026 06:19,x;")
            << u"\r\nÖppnad av anna på datorn kontor-1, låsfil %1. Stäng filen där; är den inte öppen, ta "
               "bort låsfilen."_s;
        QTest::newRow("öppen i Office")
            << false << u"~$Resultatlista_Fil.xlsx"_s
            << QByteArray("\x04"
                          "Anna")
            << u"\r\nÖppnad av Anna på en okänd dator, låsfil %1. Stäng filen där; "
               "är den inte öppen, ta bort låsfilen."_s;
        QTest::newRow("skrivskyddad") << true << lo << QByteArray() << QString();
        QTest::newRow("låsfil kvar efter krasch")
            << false << lo << ",," + QSysInfo::machineHostName().toUtf8() + ",07.12.2026 06:19,x;"
            << QString();
    }
    void upptagenFilGerAtkomstmeddelande() {
        QFETCH(bool, skrivskyddad);
        QFETCH(QString, lasnamn);
        QFETCH(QByteArray, lasfil);
        QFETCH(QString, innehavare);
        Ram r;
        const QString fil = *r.kor(ResultatArk, Utskriftsmal::Fil);
        const QByteArray gammal = lasBytes(fil);
        const QString lasSokvag = r.utskrifter(lasnamn);
        if (skrivskyddad) {
            QVERIFY(QFile::setPermissions(fil, QFile::ReadOwner));
        } else {
            QFile las(lasSokvag);
            QVERIFY(las.open(QIODevice::WriteOnly));
            las.write(lasfil);
        }
        r.f.m.tom();
        const auto sparad =
            r.kor(ResultatArk, Utskriftsmal::Fil, {}, [](Arbetsblad& b) { b.Cells(1, 1).setValue(1); });
        QFile::setPermissions(fil, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(r.f.m.visade.size(), 1);
        if (!skrivskyddad && innehavare.isEmpty()) {
            QCOMPARE(sparad.value_or(QString()), fil);
            QCOMPARE(r.filer(), QStringList{u"Resultatlista_Fil.xlsx"_s});
            return;
        }
        QVERIFY(!sparad);
        QCOMPARE(r.f.m.senasteText(), u"Exceldokumentet "_s + QDir::toNativeSeparators(fil) +
                                          u"\r\nÄr redan öppet eller skrivskyddat!"_s +
                                          innehavare.arg(QDir::toNativeSeparators(lasSokvag)));
        QCOMPARE(r.f.m.visade.front().titel, u"Åtkomstfel."_s);
        QCOMPARE(r.f.m.visade.front().ikon, Meddelanden::Ikon::Kritisk);
        QCOMPARE(lasBytes(fil), gammal);
        QCOMPARE(QFile::exists(lasSokvag), !skrivskyddad);
    }

    // Without a printer the operator is told, and the list is saved all the
    // same, with its page and headers.
    void utanSkrivareSparasListan() {
        Ram r;
        r.medSkrivare = false;
        r.f.g.lngAntalSkrivare = 0;
        const auto fil = r.kor(ResultatArk, Utskriftsmal::Printer);
        QCOMPARE(fil.value_or(QString()), r.utskrifter(u"Resultatlista_Printer.xlsx"_s));
        QCOMPARE(r.f.m.visade.size(), 1);
        QCOMPARE(r.f.m.senasteText(),
                 u"frmValResSkärmGrund.Välj_ut_skyttar.. Det finns ingen skrivare att skriva ut på. 1004"_s);
        const XlsxLasare x(*fil);
        QVERIFY(x.text(u"oddHeader"_s).contains(u" Resultatlista"_s));
        QCOMPARE(x.attribut(u"pageSetup"_s).value(u"orientation"_s), u"landscape"_s);
    }

    // On paper the header shows its data as it is, "&" included.
    void utskriftTillPdf() {
        Ram r;
        r.f.g.strTavlingsnamn = u"R&R Cup"_s;
        QVERIFY(r.korOmgang(Utskriftsmal::Printer, u"Final"_s,
                            [](Arbetsblad& b) { b.Cells(1, 2).setValue(u"Anna Andersson"_s); }));
        const QString text = r.pdfText();
        for (const QString& del : {u"R&R Cup 6 december 2026"_s, u"Resultatlista"_s, u"Tävlings omg. Final"_s,
                                   u"Anna Andersson"_s})
            QVERIFY2(text.contains(del), qPrintable(text));
        QVERIFY(r.f.m.visade.isEmpty());
    }

    // A set-up that fails is told once, in the list's words; nothing is
    // written, printed or saved.
    void installningsfelAvslutar_data() {
        QTest::addColumn<Lista>("lista");
        QTest::addColumn<QString>("text");
        QTest::newRow("resultatlista")
            << ResultatArk
            << u"frmValResSkärmGrund.Starta_excel_och_ställ_in_kolumner: 13 Typerna matchar inte"_s;
        QTest::newRow("föreningslista") << ForeningsArk << u"Typerna matchar inte 13"_s;
    }
    void installningsfelAvslutar() {
        QFETCH(Lista, lista);
        Ram r;
        bool skrivet = false;
        Arbetsboksram::Korning k;
        k.egen.kolumner = [](Arbetsblad&) { throw Fel(13, u"Typerna matchar inte"_s); };
        QVERIFY(!r.kor(lista, Utskriftsmal::Printer, k, [&](Arbetsblad&) { skrivet = true; }));
        QVERIFY(!skrivet);
        QCOMPARE(r.f.m.visade.size(), 1);
        QTEST(r.f.m.senasteText(), "text");
        QCOMPARE(r.f.m.visade.front().ikon, Meddelanden::Ikon::Ingen);
        QCOMPARE(r.f.m.visade.front().titel, QString());
        QVERIFY(r.filer().isEmpty());
        QVERIFY(!QFile::exists(r.pdf()));
    }

    // A list that fails while it is written is told and neither printed nor saved.
    void felISkrivningen() {
        Ram r;
        QVERIFY(!r.kor(SkjutlagsArk, Utskriftsmal::Printer, {},
                       [](Arbetsblad&) { throw Fel(3146, u"Databasen svarar inte"_s); }));
        QCOMPARE(r.f.m.visade.size(), 1);
        QCOMPARE(r.f.m.senasteText(), u"frmUtskriftSkjutlag.UtskriftExcel: Databasen svarar inte 3146"_s);
        QVERIFY(r.filer().isEmpty());
        QVERIFY(!QFile::exists(r.pdf()));
    }

    void synligtProgramOppnarFilen_data() {
        QTest::addColumn<QString>("varde");
        QTest::addColumn<bool>("oppnas");
        QTest::newRow("True") << "True" << true;
        QTest::newRow("true") << "true" << false;
        QTest::newRow("1") << "1" << false;
    }
    void synligtProgramOppnarFilen() {
        QFETCH(QString, varde);
        QFETCH(bool, oppnas);
        Ram r;
        QVERIFY(r.f.g.iniTavling.WriteKey(Ini::ExcelVisible.sektion, Ini::ExcelVisible.nyckel, varde));
        const QString fil = *r.kor(ForeningsArk, Utskriftsmal::Fil);
        QCOMPARE(r.oppnade, oppnas ? QStringList{fil} : QStringList());
    }

    // The squad, club and team lists say when they print and save.
    void utskriftsstatus_data() {
        QTest::addColumn<Lista>("lista");
        QTest::addColumn<Utskriftsmal>("mal");
        QTest::addColumn<QStringList>("status");
        QTest::newRow("skjutlagslista skrivare")
            << SkjutlagsArk << Utskriftsmal::Printer
            << QStringList{u"Utskrift pågår..."_s, u"Sparar till fil..."_s};
        QTest::newRow("lagutskrift fil")
            << LagArk << Utskriftsmal::Fil << QStringList{u"Sparar till fil..."_s};
        QTest::newRow("resultatlista skrivare") << ResultatArk << Utskriftsmal::Printer << QStringList();
    }
    void utskriftsstatus() {
        QFETCH(Lista, lista);
        QFETCH(Utskriftsmal, mal);
        Ram r;
        QVERIFY(r.kor(lista, mal));
        QTEST(r.status, "status");
    }
};

QTEST_MAIN(TestArbetsboksram)
#include "test_arbetsboksram.moc"
