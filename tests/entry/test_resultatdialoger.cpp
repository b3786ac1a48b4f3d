#include "common/IniNamn.h"
#include "entry/Resultatrader.h"
#include "entry/Resultatsparning.h"
#include "entry/frm1098.h"
#include "entry/frmSfS.h"
#include "support/Testfixtur.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using Ikon = Meddelanden::Ikon;

namespace {

// A sport competition of one squad with shooters on lanes 1 to 3, read as
// result entry reads it; the dialogs work on the shooter of lane 2.
struct Lage {
    Testfixtur f;
    Resultatsparning sparning{f.g};
    QList<Banrad> rader;

    explicit Lage(bool medGrafik = true) : f(medGrafik) {
        f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 4, 1, 3);
        rader = hamtaSkjutlag(f.g, 1);
    }
    Banrad& rad() { return rader[1]; }

    QVariant lagrat(const QString& falt) {
        return f.g.cnnTavling.varde(QStringLiteral("SELECT %1 FROM Skyttar WHERE Löpnummer = ?").arg(falt),
                                    {rad().lopnummer});
    }
    void lagra(const QString& falt, const QVariant& varde) {
        f.g.cnnTavling.kor(QStringLiteral("UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?").arg(falt),
                           {varde, rad().lopnummer});
        rader = hamtaSkjutlag(f.g, 1);
    }
    bool tolkmaskin(const QString& model, const QString& decimalerRika, const QString& ejAuto1098) {
        f.g.blnTolkmaskinGrundomg = true;
        return f.g.iniTavling.WriteKey(Ini::Model.sektion, Ini::Model.nyckel, model) &&
               f.g.iniTavling.WriteKey(Ini::DecimalerRika.sektion, Ini::DecimalerRika.nyckel,
                                       decimalerRika) &&
               f.g.iniTavling.WriteKey(Ini::EjAuto1098.sektion, Ini::EjAuto1098.nyckel, ejAuto1098);
    }
    QString ini(const IniNyckel& n) { return f.g.iniTavling.GetKeyValue(n.sektion, n.nyckel, n.standard); }
};

bool visa(QDialog& d) {
    d.show();
    QApplication::setActiveWindow(&d);
    return QTest::qWaitForWindowActive(&d);
}

void skriv(QWidget* w, const QString& text) {
    QTest::keyClicks(w, text);
}

void klistraIn(QWidget* w, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(w, QKeySequence::Paste);
}

QStringList antalText(const frm1098& d) {
    QStringList t;
    for (int i = 11; i >= 1; --i)
        t << d.txtAntal(i)->text();
    return t;
}

} // namespace

class T_resultatdialoger : public QObject {
    Q_OBJECT

private slots:
    // The stored counts as the dialog shows them: no counts read as all
    // nought, a short text is filled up with noughts and its leading zeros go.
    void antalVisasSomLagrade() {
        Lage l;
        l.lagra(QStringLiteral("Innertior"), 4);
        l.rad().tioNior.clear();
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QCOMPARE(d.windowTitle(), QStringLiteral("Antal?"));
            QCOMPARE(d.lblBana()->text(), QStringLiteral("Bana 2"));
            QCOMPARE(antalText(d), QStringList({"4", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        }
        l.lagra(QStringLiteral("TioNior"), QStringLiteral("3,05,1"));
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QCOMPARE(antalText(d), QStringList({"4", "3", "5", "1", "0", "0", "0", "0", "0", "0", "0"}));
        QVERIFY(l.f.m.visade.isEmpty());
        QVERIFY(!d.windowIcon().pixmap(16).isNull());
    }

    // Which counts can be typed follows the machine set-up of the moment; with
    // the machine counting by itself OK stores nothing, and a RIKA without
    // decimals leaves only the inner tens to the operator.
    void faltenFoljerTolkmaskinen() {
        Lage l;
        auto oppna = [&](bool tioTillEtt, bool innertior) {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            for (int i = 1; i <= 10; ++i)
                QCOMPARE(d.txtAntal(i)->isEnabled(), tioTillEtt);
            QCOMPARE(d.txtAntal(11)->isEnabled(), innertior);
        };
        oppna(true, true);
        QVERIFY(l.tolkmaskin(QStringLiteral("SAM 4000"), QStringLiteral("0"), QStringLiteral("1")));
        oppna(true, true);

        l.lagra(QStringLiteral("TioNior"), QStringLiteral("1,2,3,0,0,0,0,0,0,0"));
        QVERIFY(l.tolkmaskin(QStringLiteral("SAM 4000"), QStringLiteral("0"), QStringLiteral("0")));
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QVERIFY(visa(d));
            QCOMPARE(QApplication::focusWidget(), d.cmdOK());
            d.cmdOK()->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(l.lagrat(QStringLiteral("TioNior")).toString(), QStringLiteral("1,2,3,0,0,0,0,0,0,0"));
        QCOMPARE(l.lagrat(QStringLiteral("Man1098")).toInt(), 0);

        QVERIFY(l.tolkmaskin(QStringLiteral("RIKA"), QStringLiteral("0"), QStringLiteral("0")));
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QVERIFY(visa(d));
        QCOMPARE(QApplication::focusWidget(), d.txtAntal(11));
        QVERIFY(!d.txtAntal(10)->isEnabled());
        skriv(d.txtAntal(11), QStringLiteral("6"));
        // The arrows lead only to fields that can be typed in.
        QTest::keyClick(d.txtAntal(11), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), d.txtAntal(11));
        d.cmdOK()->click();
        QCOMPARE(l.lagrat(QStringLiteral("Innertior")).toInt(), 6);
        QCOMPARE(l.lagrat(QStringLiteral("TioNior")).toString(), QStringLiteral("1,2,3,0,0,0,0,0,0,0"));
        QCOMPARE(l.ini(Ini::EjAutoInnertior), QStringLiteral("1"));
        QVERIFY(!l.f.g.blnEjAuto1098);
    }

    // Enter walks the fields like Tab, inner tens first, then 10 down to 1,
    // then OK; the arrows go round the two columns.
    void tangenterFlyttarFokus() {
        Lage l;
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QVERIFY(visa(d));
        for (int i = 11; i >= 1; --i) {
            QCOMPARE(QApplication::focusWidget(), d.txtAntal(i));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(QApplication::focusWidget(), d.cmdOK());
        QVERIFY(d.isVisible());

        struct Pil {
            int fran;
            Qt::Key tangent;
            int till;
        };
        const Pil pilar[] = {{11, Qt::Key_Up, 6},   {6, Qt::Key_Left, 6},   {6, Qt::Key_Right, 6},
                             {6, Qt::Key_Down, 11}, {11, Qt::Key_Right, 5}, {5, Qt::Key_Up, 1},
                             {1, Qt::Key_Down, 5},  {4, Qt::Key_Left, 10},  {10, Qt::Key_Up, 11}};
        for (const Pil& p : pilar) {
            d.txtAntal(p.fran)->setFocus();
            QTest::keyClick(d.txtAntal(p.fran), p.tangent);
            QCOMPARE(QApplication::focusWidget(), d.txtAntal(p.till));
            // Arriving selects the whole count, so typing replaces it.
            QCOMPARE(d.txtAntal(p.till)->selectedText(), d.txtAntal(p.till)->text());
        }
    }

    // Only digits reach a count, typed or pasted; everything else beeps. A
    // field left empty reads "0"; OK stores what the fields show as whole
    // numbers and switches the competition to counts typed by hand.
    void okLagrarTypadeAntal() {
        Lage l;
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QVERIFY(visa(d));
            QLineEdit* tior = d.txtAntal(10);
            tior->setFocus();
            skriv(tior, QStringLiteral("0a,2"));
            QCOMPARE(tior->text(), QStringLiteral("02"));
            QCOMPARE(d.antalPip(), 2);
            tior->selectAll();
            klistraIn(tior, QStringLiteral("1 2"));
            QCOMPARE(tior->text(), QStringLiteral("02"));
            QCOMPARE(d.antalPip(), 3);
            QTest::keyClick(tior, Qt::Key_Return);
            klistraIn(d.txtAntal(9), QStringLiteral("07"));
            QCOMPARE(d.txtAntal(9)->text(), QStringLiteral("07"));
            QTest::keyClick(d.txtAntal(9), Qt::Key_Return);
            QTest::keyClick(d.txtAntal(8), Qt::Key_Backspace);
            QCOMPARE(d.txtAntal(8)->text(), QString());
            QTest::keyClick(d.txtAntal(8), Qt::Key_Tab);
            QCOMPARE(d.txtAntal(8)->text(), QStringLiteral("0"));
            QCOMPARE(l.lagrat(QStringLiteral("Man1098")).toInt(), 0);

            d.cmdOK()->click();
            QVERIFY(d.sparat());
            QVERIFY(d.utfall().bytteTillManuell);
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        const QString lagrad = QStringLiteral("2,7,0,0,0,0,0,0,0,0");
        QCOMPARE(l.lagrat(QStringLiteral("TioNior")).toString(), lagrad);
        QCOMPARE(l.lagrat(QStringLiteral("Man1098")).toInt(), 1);
        QCOMPARE(l.rad().tioNior, lagrad);
        QVERIFY(l.f.g.blnEjAuto1098);
        QCOMPARE(l.ini(Ini::EjAuto1098), QStringLiteral("1"));

        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        d.cmdOK()->click();
        QCOMPARE(l.lagrat(QStringLiteral("TioNior")).toString(), lagrad);
        QVERIFY(!d.utfall().bytteTillManuell);
    }

    // Closing any other way than OK stores nothing; a failed save is shown and
    // the dialog stays with what was typed.
    void stangningOchFelLagrarInget() {
        Lage l;
        {
            frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
            QVERIFY(visa(d));
            skriv(d.txtAntal(11), QStringLiteral("3"));
            d.close();
            QVERIFY(!d.sparat());
        }
        QCOMPARE(l.lagrat(QStringLiteral("Innertior")).toInt(), 0);
        QCOMPARE(l.lagrat(QStringLiteral("Man1098")).toInt(), 0);

        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QVERIFY(visa(d));
        skriv(d.txtAntal(11), QStringLiteral("99999"));
        d.cmdOK()->click();
        QCOMPARE(l.f.m.senasteText(), QStringLiteral("frm1098, cmdOK_Click: 6 Spill"));
        QCOMPARE(l.f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Fel"));
        QVERIFY(d.isVisible() && !d.sparat());

        d.txtAntal(11)->setText(QStringLiteral("3"));
        l.f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer = ?"), {l.rad().lopnummer});
        d.cmdOK()->click();
        QVERIFY(l.f.m.senasteText().startsWith(QStringLiteral("frm1098, cmdOK_Click: 3021 ")));
        QVERIFY(d.isVisible() && !d.sparat());
        QVERIFY(!l.f.g.blnEjAuto1098);
        QCOMPARE(d.txtAntal(11)->text(), QStringLiteral("3"));
    }

    void saknadIkonSagsEnGang() {
        Lage l(false);
        frm1098 d(l.f.kontext, l.sparning, l.rad(), nullptr);
        QCOMPARE(l.f.m.visade.size(), 1);
        QCOMPARE(l.f.m.senasteText(), QStringLiteral("frm1098, Form_load: Ikon saknas!"));
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Ikon saknas"));
        QCOMPARE(l.f.m.visade.back().ikon, Ikon::Information);
        QVERIFY(d.txtAntal(1)->isEnabled());

        frmSfS s(l.f.kontext, l.sparning, l.rad(), 1, nullptr);
        QCOMPARE(l.f.m.visade.size(), 1);
    }

    // --- Shot by shot ---

    // A series with no shot values opens as "00000", all of it selected, so
    // five symbols replace it; "98*++" stores 47 with its string and the sums.
    void skottForSkottSparas() {
        Lage l;
        l.lagra(QStringLiteral("Res4"), 40);
        for (const QString& inga : {QString(), QStringLiteral("0")}) {
            l.rad().sfst[2] = inga;
            frmSfS d(l.f.kontext, l.sparning, l.rad(), 3, nullptr);
            QCOMPARE(d.txtSfS()->text(), QStringLiteral("00000"));
        }
        {
            frmSfS d(l.f.kontext, l.sparning, l.rad(), 3, nullptr);
            QCOMPARE(d.windowTitle(), QStringLiteral("5 Skott"));
            QCOMPARE(d.lblTavlanr()->text(), QStringLiteral("Bana 2 Serie 3"));
            QVERIFY(visa(d));
            QCOMPARE(QApplication::focusWidget(), d.txtSfS());
            QCOMPARE(d.txtSfS()->selectedText(), QStringLiteral("00000"));
            skriv(d.txtSfS(), QStringLiteral("98*++"));
            QCOMPARE(d.txtSfS()->text(), QStringLiteral("98*++"));
            QTest::keyClick(d.txtSfS(), Qt::Key_Enter);
            QCOMPARE(QApplication::focusWidget(), d.cmdSpara());
            QTest::keyClick(d.cmdSpara(), Qt::Key_Return);
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QCOMPARE(d.sparatVarde(), std::optional<int>(47));
        }
        QCOMPARE(l.lagrat(QStringLiteral("Res3")).toInt(), 47);
        QCOMPARE(l.lagrat(QStringLiteral("SfST3")).toString(), QStringLiteral("98*++"));
        QCOMPARE(l.lagrat(QStringLiteral("Sum20")).toInt(), 87);
        QCOMPARE(l.lagrat(QStringLiteral("Totalt40")).toInt(), 87);
        QCOMPARE(l.rad().res[2], 47);

        // Opening it again shows the stored string; "*****" is 50.
        frmSfS d(l.f.kontext, l.sparning, l.rad(), 3, nullptr);
        QCOMPARE(d.txtSfS()->text(), QStringLiteral("98*++"));
        d.txtSfS()->setText(QStringLiteral("*****"));
        d.cmdSpara()->click();
        QCOMPARE(d.sparatVarde(), std::optional<int>(50));
        QCOMPARE(l.lagrat(QStringLiteral("Res3")).toInt(), 50);
    }

    // Only shot symbols get in; a sixth one into a full field beeps and moves
    // on to Spara, with a selection it replaces it.
    void skottTangenter() {
        Lage l;
        frmSfS d(l.f.kontext, l.sparning, l.rad(), 1, nullptr);
        QVERIFY(visa(d));
        QLineEdit* t = d.txtSfS();
        skriv(t, QStringLiteral("9a8-"));
        QCOMPARE(t->text(), QStringLiteral("98"));
        QCOMPARE(d.antalPip(), 2);
        QTest::keyClick(t, Qt::Key_Backspace);
        QCOMPARE(t->text(), QStringLiteral("9"));
        klistraIn(t, QStringLiteral("8 *"));
        QCOMPARE(t->text(), QStringLiteral("9"));
        QCOMPARE(d.antalPip(), 3);
        klistraIn(t, QStringLiteral("+*10"));
        QCOMPARE(t->text(), QStringLiteral("9+*10"));

        QTest::keyClick(t, Qt::Key_7);
        QCOMPARE(t->text(), QStringLiteral("9+*10"));
        QCOMPARE(d.antalPip(), 4);
        QCOMPARE(QApplication::focusWidget(), d.cmdSpara());

        t->setFocus();
        t->setSelection(4, 1);
        QTest::keyClick(t, Qt::Key_7);
        QCOMPARE(t->text(), QStringLiteral("9+*17"));
        QCOMPARE(QApplication::focusWidget(), t);
    }

    // Too few, too many (a paste can make six) and characters no key types are
    // each told, and nothing is stored until the five symbols are right.
    void felaktigaSkottLagrasInte() {
        Lage l;
        l.lagra(QStringLiteral("SfST2"), QStringLiteral("9?8+*"));
        frmSfS d(l.f.kontext, l.sparning, l.rad(), 2, nullptr);
        QVERIFY(visa(d));
        d.cmdSpara()->click();
        QCOMPARE(l.f.m.senasteText(),
                 QStringLiteral("Varje skott skrivs med en siffra, + för tia eller * för innertia. "
                                "Rätta skotten i fältet!"));
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Fel skott"));

        d.txtSfS()->setText(QStringLiteral("9988"));
        d.cmdSpara()->click();
        QCOMPARE(l.f.m.senasteText(), QStringLiteral("Du måste fylla i 5st skott i fältet!"));
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Fel antal"));
        QCOMPARE(l.f.m.visade.back().ikon, Ikon::Kritisk);
        QCOMPARE(QApplication::focusWidget(), d.txtSfS());

        d.txtSfS()->end(false);
        klistraIn(d.txtSfS(), QStringLiteral("77"));
        QCOMPARE(d.txtSfS()->text(), QStringLiteral("998877"));
        d.cmdSpara()->click();
        QCOMPARE(l.f.m.senasteText(), QStringLiteral("Du får inte fylla i mer än 5st skott i fältet!"));
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Fel antal"));
        QCOMPARE(l.f.m.visade.size(), 3);
        QVERIFY(d.isVisible() && !d.sparatVarde());
        QCOMPARE(l.lagrat(QStringLiteral("SfST2")).toString(), QStringLiteral("9?8+*"));
        QVERIFY(l.lagrat(QStringLiteral("Res2")).toInt() == 0);
    }

    // Avbryt and the close box store nothing; a failed save is shown with the
    // procedure's prefix and the dialog stays.
    void avbrytOchFelLagrarInget() {
        Lage l;
        for (int satt = 0; satt < 2; ++satt) {
            frmSfS d(l.f.kontext, l.sparning, l.rad(), 5, nullptr);
            QVERIFY(visa(d));
            skriv(d.txtSfS(), QStringLiteral("99999"));
            if (satt == 0)
                d.cmdAvbryt()->click();
            else
                d.close();
            QVERIFY(!d.isVisible() && !d.sparatVarde());
        }
        QCOMPARE(l.lagrat(QStringLiteral("SfST5")).toString(), QStringLiteral("00000"));
        QCOMPARE(l.lagrat(QStringLiteral("Res5")).toInt(), 0);

        frmSfS d(l.f.kontext, l.sparning, l.rad(), 5, nullptr);
        QVERIFY(visa(d));
        skriv(d.txtSfS(), QStringLiteral("99999"));
        l.f.g.cnnTavling.kor(QStringLiteral("DELETE FROM Skyttar WHERE Löpnummer = ?"), {l.rad().lopnummer});
        d.cmdSpara()->click();
        QVERIFY(l.f.m.senasteText().startsWith(QStringLiteral("frmSfS, cmdSpara_Click: 3021 ")));
        QCOMPARE(l.f.m.visade.back().titel, QStringLiteral("Fel"));
        QVERIFY(d.isVisible() && !d.sparatVarde());
        QCOMPARE(l.rad().res[4], 0);
    }
};

QTEST_MAIN(T_resultatdialoger)
#include "test_resultatdialoger.moc"
