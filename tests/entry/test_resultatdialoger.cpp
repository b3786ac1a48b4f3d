#include "Inskrivningsstod.h"
#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "entry/frm1098.h"
#include "entry/frmSfS.h"

#include <QClipboard>
#include <QPushButton>

namespace {

// A squad with shooters on lanes 1 to 3; the dialogs work on lane 2's.
struct Lage {
    explicit Lage(bool medGrafik = true) : f(medGrafik) {
        f.skapaTavling(u"Cup"_s, NyTavling::Typ::Sportskytte, 4, 1, 3);
        rader = hamtaSkjutlag(f.g, 1);
    }
    Banrad& rad() { return rader[1]; }
    QString lagrat(const QString& kolumner) { return ::lagrat(f.g, rad().lopnummer, kolumner); }
    void lagra(const QString& kolumn, const QVariant& varde) {
        f.g.cnnTavling.kor(u"UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?"_s.arg(kolumn),
                           {varde, rad().lopnummer});
        rader = hamtaSkjutlag(f.g, 1);
    }
    // The machine in the base round, no decimals, automatic counts.
    bool tolkmaskin(const QString& model) {
        f.g.blnTolkmaskinGrundomg = true;
        return f.g.iniTavling.WriteKey(Ini::Model.sektion, Ini::Model.nyckel, model) &&
               f.g.iniTavling.WriteKey(Ini::DecimalerRika.sektion, Ini::DecimalerRika.nyckel, u"0"_s) &&
               f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, u"0"_s);
    }
    QString senaste() const { return ::senaste(f.m); }
    Testfixtur f;
    Resultatsparning sparning{f.g};
    QList<Banrad> rader;
};

void klistraIn(QWidget* w, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(w, QKeySequence::Paste);
}

// A count field: 11 inner tens, 10 tens .. 1 ones.
QLineEdit* antal(const QWidget* d, int i) {
    return widget<QLineEdit>(d, u"txtAntal%1"_s.arg(i));
}
QString antalText(const QWidget* d) {
    QStringList t;
    for (int i = 11; i >= 1; --i)
        t << antal(d, i)->text();
    return t.join(u' ');
}
QPushButton* knapp(const QWidget* d, const char* namn) {
    return widget<QPushButton>(d, namn);
}
QLineEdit* skott(const QWidget* d) {
    return widget<QLineEdit>(d, "txtSfS");
}

const QString Kritisk = QString::number(int(Ikon::Kritisk));

} // namespace

class T_resultatdialoger : public QObject {
    Q_OBJECT

private slots:
    // The stored counts shown (none: noughts; leading zeros go); only OK
    // stores. Enter walks the fields like Tab, an arrow selects the count it
    // reaches; only digits get in, the rest beeps; an emptied field reads "0".
    void antalDialogen() {
        Lage l;
        l.lagra(u"Innertior"_s, 4);
        l.rad().tioNior.clear();
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QCOMPARE(antalText(&d), u"4 0 0 0 0 0 0 0 0 0 0"_s);
            QVERIFY(aktivera(&d));
            QTest::keyClicks(antal(&d, 11), u"3"_s);
            d.close();
            QVERIFY(!d.sparat());
        }
        QCOMPARE(l.lagrat(u"Innertior"_s), u"4"_s);
        l.lagra(u"TioNior"_s, u"3,05,1"_s);
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QCOMPARE(antalText(&d), u"4 3 5 1 0 0 0 0 0 0 0"_s);
        QCOMPARE(d.windowTitle(), u"Antal?"_s);
        QCOMPARE(widget<QLabel>(&d, "lblBana")->text(), u"Bana 2"_s);
        QVERIFY(l.f.m.visade.isEmpty() && !d.windowIcon().pixmap(16).isNull());
        QVERIFY(aktivera(&d));
        for (int i = 11; i >= 1; --i) {
            QCOMPARE(fokus(), antal(&d, i));
            QTest::keyClick(fokus(), Qt::Key_Return);
        }
        QCOMPARE(fokus(), knapp(&d, "cmdOK"));
        QVERIFY(d.isVisible());
        const struct {
            int fran;
            Qt::Key tangent;
            int till;
        } pilar[] = {
            {11, Qt::Key_Up, 6}, {11, Qt::Key_Right, 5}, {1, Qt::Key_Down, 5}, {4, Qt::Key_Left, 10}};
        for (const auto& p : pilar) {
            antal(&d, p.fran)->setFocus();
            QTest::keyClick(antal(&d, p.fran), p.tangent);
            QCOMPARE(fokus(), antal(&d, p.till));
            QCOMPARE(antal(&d, p.till)->selectedText(), antal(&d, p.till)->text());
        }
        QLineEdit* tior = antal(&d, 10);
        tior->setFocus();
        QTest::keyClicks(tior, u"0a,2"_s);
        QCOMPARE(tior->text(), u"02"_s);
        QCOMPARE(d.antalPip(), 2);
        tior->selectAll();
        klistraIn(tior, u"1 2"_s);
        QCOMPARE(tior->text(), u"02"_s);
        QCOMPARE(d.antalPip(), 3);
        QTest::keyClick(tior, Qt::Key_Return);
        klistraIn(antal(&d, 9), u"07"_s);
        QCOMPARE(antal(&d, 9)->text(), u"07"_s);
        QTest::keyClick(antal(&d, 9), Qt::Key_Return);
        QTest::keyClick(antal(&d, 8), Qt::Key_Backspace);
        QCOMPARE(antal(&d, 8)->text(), QString());
        QTest::keyClick(antal(&d, 8), Qt::Key_Tab);
        QCOMPARE(antal(&d, 8)->text(), u"0"_s);
        QCOMPARE(l.lagrat(u"Man1098"_s), u"0"_s);
        knapp(&d, "cmdOK")->click();
        QVERIFY(d.sparat() && d.utfall().bytteTillManuell);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(l.lagrat(u"TioNior, Man1098"_s), u"2,7,0,0,0,0,0,0,0,0|1"_s);
        QCOMPARE(l.rad().tioNior, u"2,7,0,0,0,0,0,0,0,0"_s);
    }

    // The counts open for typing follow the machine set-up of the moment; the
    // arrows lead only to those.
    void faltenFoljerTolkmaskinen() {
        Lage l;
        l.lagra(u"TioNior"_s, u"1,2,3,0,0,0,0,0,0,0"_s);
        QVERIFY(l.tolkmaskin(u"SAM 4000"_s));
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QVERIFY(aktivera(&d));
            QVERIFY(!antal(&d, 11)->isEnabled() && !antal(&d, 1)->isEnabled());
            QCOMPARE(fokus(), knapp(&d, "cmdOK"));
            knapp(&d, "cmdOK")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QVERIFY(l.tolkmaskin(u"RIKA"_s));
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QVERIFY(aktivera(&d));
        QCOMPARE(fokus(), antal(&d, 11));
        QVERIFY(!antal(&d, 10)->isEnabled());
        QTest::keyClicks(antal(&d, 11), u"6"_s);
        QTest::keyClick(antal(&d, 11), Qt::Key_Down);
        QCOMPARE(fokus(), antal(&d, 11));
        knapp(&d, "cmdOK")->click();
        QCOMPARE(l.lagrat(u"Innertior, TioNior"_s), u"6|1,2,3,0,0,0,0,0,0,0"_s);
    }

    // A failed save is told with the procedure's prefix; the dialog stays.
    void misslyckadSparning() {
        Lage l;
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QVERIFY(aktivera(&d));
        QTest::keyClicks(antal(&d, 11), u"99999"_s);
        knapp(&d, "cmdOK")->click();
        QCOMPARE(l.senaste(), u"Fel|"_s + Kritisk + u"|frm1098, cmdOK_Click: 6 Spill"_s);
        QVERIFY(d.isVisible() && !d.sparat());
        frmSfS s(l.f.kontext, l.sparning, l.rad(), 5, nullptr);
        QVERIFY(aktivera(&s));
        QTest::keyClicks(skott(&s), u"99999"_s);
        l.f.g.cnnTavling.kor(u"DELETE FROM Skyttar WHERE Löpnummer = ?"_s, {l.rad().lopnummer});
        knapp(&s, "cmdSpara")->click();
        QVERIFY(l.senaste().startsWith(u"Fel|"_s + Kritisk + u"|frmSfS, cmdSpara_Click: 3021 "_s));
        QVERIFY(s.isVisible() && !s.sparatVarde());
        QCOMPARE(l.rad().res[4], 0);
        antal(&d, 11)->setText(u"3"_s);
        knapp(&d, "cmdOK")->click();
        QVERIFY(l.senaste().startsWith(u"Fel|"_s + Kritisk + u"|frm1098, cmdOK_Click: 3021 "_s));
        QVERIFY(d.isVisible() && !d.sparat() && !l.f.g.blnEjAuto1098);
        QCOMPARE(antal(&d, 11)->text(), u"3"_s);
    }

    // Without the icon the count dialog says so; the shot dialog says nothing.
    void saknadIkonSagsEnGang() {
        Lage l(false);
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QCOMPARE(l.f.m.visade.size(), 1);
        QCOMPARE(l.senaste(),
                 u"Ikon saknas|%1|frm1098, Form_load: Ikon saknas!"_s.arg(int(Ikon::Information)));
        QVERIFY(antal(&d, 1)->isEnabled());
        frmSfS s(l.f.kontext, l.sparning, l.rad(), 1, nullptr);
        QCOMPARE(l.f.m.visade.size(), 1);
    }

    // A series without shots opens as "00000" selected; only shot symbols get
    // in; a sixth beeps and moves on to Spara, or replaces a selection.
    void skottForSkott() {
        Lage l;
        l.lagra(u"Res4"_s, 40);
        const auto forst = [&] {
            frmSfS d(l.f.kontext, l.sparning, l.rad(), 3, nullptr);
            return skott(&d)->text();
        };
        for (const QString& inga : {QString(), u"0"_s}) {
            l.rad().sfst[2] = inga;
            QCOMPARE(forst(), u"00000"_s);
        }
        {
            frmSfS d(l.f.kontext, l.sparning, l.rad(), 3, nullptr);
            QCOMPARE(d.windowTitle(), u"5 Skott"_s);
            QCOMPARE(widget<QLabel>(&d, "lblTavlanr")->text(), u"Bana 2 Serie 3"_s);
            QVERIFY(aktivera(&d));
            QLineEdit* t = skott(&d);
            QCOMPARE(fokus(), t);
            QCOMPARE(t->selectedText(), u"00000"_s);
            QTest::keyClicks(t, u"9a8-"_s);
            QCOMPARE(t->text(), u"98"_s);
            QCOMPARE(d.antalPip(), 2);
            QTest::keyClick(t, Qt::Key_Backspace);
            QCOMPARE(t->text(), u"9"_s);
            klistraIn(t, u"8 *"_s);
            QCOMPARE(t->text(), u"9"_s);
            QCOMPARE(d.antalPip(), 3);
            klistraIn(t, u"+*10"_s);
            QCOMPARE(t->text(), u"9+*10"_s);
            QTest::keyClick(t, Qt::Key_7);
            QCOMPARE(t->text(), u"9+*10"_s);
            QCOMPARE(d.antalPip(), 4);
            QCOMPARE(fokus(), knapp(&d, "cmdSpara"));
            t->setFocus();
            t->setSelection(4, 1);
            QTest::keyClick(t, Qt::Key_7);
            QCOMPARE(t->text(), u"9+*17"_s);
            QCOMPARE(fokus(), t);
            t->selectAll();
            QTest::keyClicks(t, u"98*++"_s);
            QCOMPARE(t->text(), u"98*++"_s);
            QTest::keyClick(t, Qt::Key_Enter);
            QCOMPARE(fokus(), knapp(&d, "cmdSpara"));
            QTest::keyClick(fokus(), Qt::Key_Return);
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(d.sparatVarde(), std::optional<int>(47));
        }
        QCOMPARE(l.lagrat(u"Res3, SfST3, Sum20"_s), u"47|98*++|87"_s);
        QCOMPARE(l.rad().res[2], 47);
        QCOMPARE(forst(), u"98*++"_s);
    }

    // Too few, too many (a paste) or bad symbols are told; nothing is stored
    // until they are right, nor by Avbryt or the close box.
    void felaktigaSkottLagrasInte() {
        Lage l;
        for (const bool avbryt : {true, false}) {
            frmSfS a(l.f.kontext, l.sparning, l.rad(), 5, nullptr);
            QVERIFY(aktivera(&a));
            QTest::keyClicks(skott(&a), u"99999"_s);
            if (avbryt)
                knapp(&a, "cmdAvbryt")->click();
            else
                a.close();
            QVERIFY(!a.isVisible() && !a.sparatVarde());
        }
        QCOMPARE(l.lagrat(u"SfST5, Res5"_s), u"00000|0"_s);
        l.lagra(u"SfST2"_s, u"9?8+*"_s);
        frmSfS d(l.f.kontext, l.sparning, l.rad(), 2, nullptr);
        QVERIFY(aktivera(&d));
        knapp(&d, "cmdSpara")->click();
        QCOMPARE(l.senaste(), u"Fel skott|"_s + Kritisk +
                                  u"|Varje skott skrivs med en siffra, + för tia eller * för innertia. "
                                  "Rätta skotten i fältet!"_s);
        skott(&d)->setText(u"9988"_s);
        knapp(&d, "cmdSpara")->click();
        QCOMPARE(l.senaste(), u"Fel antal|"_s + Kritisk + u"|Du måste fylla i 5st skott i fältet!"_s);
        QCOMPARE(fokus(), skott(&d));
        skott(&d)->end(false);
        klistraIn(skott(&d), u"77"_s);
        QCOMPARE(skott(&d)->text(), u"998877"_s);
        knapp(&d, "cmdSpara")->click();
        QCOMPARE(l.senaste(),
                 u"Fel antal|"_s + Kritisk + u"|Du får inte fylla i mer än 5st skott i fältet!"_s);
        QCOMPARE(l.f.m.visade.size(), 3);
        QVERIFY(d.isVisible() && !d.sparatVarde());
        QCOMPARE(l.lagrat(u"SfST2, Res2"_s), u"9?8+*|0"_s);
    }
};

QTEST_MAIN(T_resultatdialoger)
#include "test_resultatdialoger.moc"
