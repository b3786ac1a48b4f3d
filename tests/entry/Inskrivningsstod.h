#pragma once

// What the result-entry tests share: the window open on a squad, its fields by
// name, keys to whatever has the focus, a shooter's stored columns.

#include "entry/frmResultatInskrivning.h"
#include "support/Askadarstod.h"
#include "support/Testfixtur.h"
#include "support/Widget.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using F = frmResultatInskrivning;
using Ikon = Meddelanden::Ikon;
using namespace Qt::StringLiterals;

inline const QColor Ljusrod(0xFF, 0xC0, 0xC0);
inline const QColor Ljusgron(0xC0, 0xFF, 0xC0);
inline const QColor Rod(0xFF, 0, 0);

inline QWidget* fokus() {
    return QApplication::focusWidget();
}
inline void skriv(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(fokus(), c.toLatin1());
}
inline void tryck(Qt::Key tangent, Qt::KeyboardModifiers mod = Qt::NoModifier) {
    QTest::keyClick(fokus(), tangent, mod);
}
// A key pressed; whether the focus went to till.
inline bool tryckTill(Qt::Key tangent, const QWidget* till) {
    tryck(tangent);
    return fokus() == till;
}
inline bool aktivera(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    return QTest::qWaitForWindowActive(w);
}

// A field of lane row r (0 for the first), which must have been built.
template <class T = QLineEdit> T* falt(const QWidget* w, int r, const char* namn) {
    return widget<T>(widget<QWidget>(w, u"picRad%1"_s.arg(r)), namn);
}
inline QLineEdit* ser(const QWidget* w, int serie, int r) {
    return falt(w, r, qPrintable(u"txtSer%1"_s.arg(serie)));
}
inline QLineEdit* bana(const QWidget* w, int r) {
    return widget<QLineEdit>(w, u"txtBana%1"_s.arg(r));
}
inline QString panel(const QWidget* w, const QString& nyckel) {
    return widget<QLabel>(w, u"panel"_s + nyckel)->text();
}
// Where the focus is among the rows: "998 txtSer10", "3 cmd1098".
inline QString plats() {
    const QWidget* w = fokus();
    const QString rad = w && w->parentWidget() ? w->parentWidget()->objectName() : QString();
    return rad.startsWith(u"picRad"_s) ? rad.mid(6) + u' ' + w->objectName() : QString();
}

// A message as shown, and the last one shown: "title|icon|text".
inline QString meddelande(const QString& titel, Meddelanden::Ikon ikon, const QString& text) {
    return titel + u'|' + QString::number(int(ikon)) + u'|' + text;
}
inline QString senaste(const TestMeddelanden& m) {
    return m.visade.isEmpty() ? QString()
                              : meddelande(m.visade.back().titel, m.visade.back().ikon, m.visade.back().text);
}

// A shooter's stored columns ("Res3, SfST3"), joined by "|".
inline QString lagrat(const modGlobalt& g, qint64 lopnummer, const QString& kolumner) {
    QSqlQuery q =
        g.cnnTavling.kor(u"SELECT %1 FROM Skyttar WHERE Löpnummer = ?"_s.arg(kolumner), {lopnummer});
    QStringList v;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            v << q.value(i).toString();
    return v.join(u'|');
}

// Result entry as the squad picker opens it, with the waits given.
inline F* oppnaFonster(Testfixtur& f, Askadarflode& flode, int skjutlag, int intervall,
                       Tolklank::Tider tider = {}) {
    auto* w = new F(f.kontext, flode, intervall, tider);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Oppna_databaser_mm(skjutlag);
    w->txtVisible();
    if (!aktivera(w))
        qWarning("the window did not become active");
    f.kontext.meddelaAktivering(w);
    return w;
}

// A competition, with result entry once opened; nothing listens to the feed.
struct Inskrivning {
    Inskrivning(NyTavling::Typ typ, int banor, int skjutlag, int skyttar) {
        f.skapaTavling(u"Cup"_s, typ, banor, skjutlag, skyttar);
    }
    ~Inskrivning() { delete w; }

    F* oppna(int skjutlag, Tolklank::Tider tider = {}) {
        return w = oppnaFonster(f, f.flode(), skjutlag, 100, tider);
    }
    qint64 lopnummer(int skjutlag, int bana) {
        return f.g.cnnTavling
            .varde(u"SELECT Startnummer FROM Skjutlag WHERE Skjutlag = ? AND Bana = ?"_s, {skjutlag, bana})
            .toLongLong();
    }
    void satt(int skjutlag, int bana, const QString& kolumn, const QVariant& varde) {
        f.g.cnnTavling.kor(u"UPDATE Skyttar SET %1 = ? WHERE Löpnummer = ?"_s.arg(kolumn),
                           {varde, lopnummer(skjutlag, bana)});
    }
    QString lagrat(int skjutlag, int bana, const QString& kolumner) {
        return ::lagrat(f.g, lopnummer(skjutlag, bana), kolumner);
    }
    int res(int skjutlag, int bana, int serie) {
        return lagrat(skjutlag, bana, u"Res%1"_s.arg(serie)).toInt();
    }

    Testfixtur f;
    QPointer<F> w;
};
