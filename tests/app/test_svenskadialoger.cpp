#include "app/QtDialoger.h"
#include "app/SvenskaQtTexter.h"
#include "shell/frmOppnat.h"
#include "support/Testfixtur.h"
#include "support/Testmiljo.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

// Every text Qt asks for, with its context; answers nothing itself.
struct Lyssnare : QTranslator {
    mutable QList<QPair<QByteArray, QByteArray>> fragor;
    QString translate(const char* sammanhang, const char* kalla, const char*, int) const override {
        fragor.append(qMakePair(QByteArray(sammanhang), QByteArray(kalla)));
        return {};
    }
    bool isEmpty() const override { return false; }
};

QString utanKortkommando(QString s) {
    return s.remove(QLatin1Char('&')).trimmed();
}

// Paper names, units and designations that read the same in Swedish.
bool sammaPaSvenska(const QString& text) {
    static const QSet<QString> ord{u"Letter"_s,  u"Legal"_s,    u"Ledger"_s, u"Tabloid"_s,   u"Extra"_s,
                                   u"Plus"_s,    u"Note"_s,     u"Quarto"_s, u"Statement"_s, u"Super"_s,
                                   u"Monarch"_s, u"Chou"_s,     u"Kaku"_s,   u"Personal"_s,  u"Executive"_s,
                                   u"Folio"_s,   u"Standard"_s, u"Didot"_s,  u"Cicero"_s,    u"Pica"_s,
                                   u"mm"_s,      u"x"_s};
    static const QRegularExpression ickeBokstav(u"[^\\p{L}]+"_s);
    const QStringList delar = text.split(ickeBokstav, Qt::SkipEmptyParts);
    return std::all_of(delar.cbegin(), delar.cend(),
                       [](const QString& d) { return ord.contains(d) || d == d.toUpper(); });
}

// What a dialog shows: its labels, buttons, group and tab titles, list items.
QStringList synligaTexter(const QWidget* d) {
    QStringList texter;
    for (const QLabel* l : d->findChildren<QLabel*>())
        if (l->isVisibleTo(d))
            texter << l->text();
    for (const QAbstractButton* b : d->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(d))
            texter << b->text();
    for (const QGroupBox* g : d->findChildren<QGroupBox*>())
        if (g->isVisibleTo(d))
            texter << g->title();
    for (const QTabWidget* t : d->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            texter << t->tabText(i);
    for (const QComboBox* c : d->findChildren<QComboBox*>())
        for (int i = 0; i < c->count(); ++i)
            texter << c->itemText(i);
    texter.removeAll(QString());
    return texter;
}

} // namespace

// The program's file dialog as the operator meets it (Qt's own, under a
// desktop without a file dialog of its own) speaks Swedish.
class TestSvenskaDialoger : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every text the dialog asks for is answered in Swedish (a shortcut's keys
    // stay as they are), and none of its labels, buttons, lists, column heads
    // and menu items is left in English; a new folder is "Ny mapp".
    void filDialogen() {
        QVERIFY(laddaSvenskaQtTexter(*qApp));
        Testmiljo t;
        QFile tavling(t.fil(QStringLiteral("Cup.air")));
        QVERIFY(tavling.open(QIODevice::WriteOnly));
        Lyssnare lyssnare;
        QCoreApplication::installTranslator(&lyssnare);
        QStringList texter;
        bool nyMapp = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            QVERIFY(QTest::qWaitForWindowExposed(d));
            for (const QLabel* l : d->findChildren<QLabel*>())
                texter << l->text();
            for (const QAbstractButton* b : d->findChildren<QAbstractButton*>())
                texter << b->text() << b->toolTip();
            for (const QComboBox* c : d->findChildren<QComboBox*>())
                for (int i = 0; i < c->count(); ++i)
                    texter << c->itemText(i);
            for (const QHeaderView* h : d->findChildren<QHeaderView*>())
                for (int i = 0; i < h->count(); ++i)
                    texter << h->model()->headerData(i, h->orientation()).toString();
            for (const QListView* v : d->findChildren<QListView*>())
                for (int i = 0; i < v->model()->rowCount(v->rootIndex()); ++i)
                    texter << v->model()->index(i, 0, v->rootIndex()).data().toString();
            for (const QAction* a : d->findChildren<QAction*>())
                texter << a->text();
            d->findChild<QAction*>(QStringLiteral("qt_new_folder_action"))->trigger();
            nyMapp = QFileInfo(t.fil(QStringLiteral("Ny mapp"))).isDir();
            d->reject();
        });
        QtDialoger dialoger;
        const QString fil = dialoger.oppnaFil(nullptr, QStringLiteral("Öppna"), t.mapp(),
                                              QStringLiteral("Tävlingar (*.air)"));
        QCoreApplication::removeTranslator(&lyssnare);
        QVERIFY(fil.isEmpty());
        QVERIFY(nyMapp);

        QStringList engelska;
        QSet<QString> kallor;
        for (const auto& [sammanhang, kalla] : std::as_const(lyssnare.fragor)) {
            if (sammanhang == "QShortcut" || sammanhang == "QGuiApplication" || kalla == "OK" ||
                kalla.startsWith("Alt+"))
                continue;
            kallor.insert(utanKortkommando(QString::fromUtf8(kalla)));
            const QString fraga = QString::fromUtf8(sammanhang + ": " + kalla);
            if (QCoreApplication::translate(sammanhang, kalla) == QString::fromUtf8(kalla) &&
                !engelska.contains(fraga))
                engelska << fraga;
        }
        for (const QString& text : std::as_const(texter))
            if (!text.isEmpty() && kallor.contains(utanKortkommando(text)))
                engelska << text;
        QVERIFY(kallor.size() > 20);
        QVERIFY(texter.size() > 20);
        QVERIFY2(engelska.isEmpty(), qPrintable(engelska.join(u'\n')));
    }

    // The printer's properties ("Egenskaper" in the print dialog of "Utskrifts
    // alt."): every text it asks for has its Swedish, and none of the texts it
    // shows (page, paper sizes and units, orientation, margins, job options)
    // is left in English.
    void egenskapsdialogen() {
        QVERIFY(laddaSvenskaQtTexter(*qApp));
        Lyssnare lyssnare;
        QCoreApplication::installTranslator(&lyssnare);
        QPrinter skrivare;
        QPrintDialog utskrift(&skrivare);
        QString titel;
        QStringList texter;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                if (QWidget* d = QApplication::activeModalWidget(); d && d != &utskrift) {
                    titel = d->windowTitle();
                    texter = synligaTexter(d);
                    d->close();
                }
            });
            utskrift.findChild<QPushButton*>(u"properties"_s)->click();
            utskrift.reject();
        });
        utskrift.exec();
        QCoreApplication::removeTranslator(&lyssnare);

        QCOMPARE(titel, u"Skrivaregenskaper"_s);
        QStringList engelska;
        QSet<QString> kallor;
        for (const auto& [sammanhang, kalla] : std::as_const(lyssnare.fragor)) {
            if (!QRegularExpression(u"^Q(Print|Page|Cups)"_s)
                     .match(QString::fromLatin1(sammanhang))
                     .hasMatch())
                continue;
            const QString text = QString::fromUtf8(kalla);
            kallor.insert(utanKortkommando(text));
            if (QCoreApplication::translate(sammanhang, kalla) == text && !sammaPaSvenska(text))
                engelska << QString::fromUtf8(sammanhang) + u": "_s + text;
        }
        for (const QString& text : std::as_const(texter))
            if (kallor.contains(utanKortkommando(text)) && !sammaPaSvenska(text))
                engelska << text;
        QVERIFY(texter.size() > 100);
        QVERIFY2(engelska.isEmpty(), qPrintable(engelska.join(u'\n')));
    }

    // On a system that speaks no language (this program runs with LC_ALL=C),
    // sizes and dates come out in Swedish form: in the file dialog and in the
    // note on the opened competition.
    void svenskaFormatUtanSystemsprak() {
        QCOMPARE(QLocale::system().language(), QLocale::C);
        ::svenskaFormatUtanSystemsprak();
        Testfixtur f;
        f.g.strTavlingsnamn = u"Cup"_s;
        f.g.strTavlingsdatabas = f.t.fil(u"Cup.air"_s);
        QFile tavling(f.g.strTavlingsdatabas);
        QVERIFY(tavling.open(QIODevice::WriteOnly));
        tavling.write(QByteArray(90112, 'x'));
        QVERIFY(tavling.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(6, 19)),
                                    QFileDevice::FileModificationTime));
        tavling.close();
        QVERIFY(frmOppnat::informationstext(f.g).endsWith(u"Senast ändrad: 2026-12-07 06:19"_s));

        QStringList rad;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            const QTreeView* vy = d->findChild<QTreeView*>(u"treeView"_s);
            // The folder is read in the background.
            const auto hittad = [&] {
                const QAbstractItemModel* m = vy->model();
                for (int r = 0; r < m->rowCount(vy->rootIndex()); ++r) {
                    const auto cell = [&](int k) {
                        return m->index(r, k, vy->rootIndex()).data().toString();
                    };
                    if (cell(0) == u"Cup.air"_s) {
                        rad = {cell(1), cell(3)};
                        return true;
                    }
                }
                return false;
            };
            const bool lasts = QTest::qWaitFor(hittad);
            d->reject();
            QVERIFY(lasts);
        });
        QtDialoger().oppnaFil(nullptr, u"Öppna"_s, f.t.mapp(), u"Tävlingar (*.air)"_s);
        QCOMPARE(rad, (QStringList{u"88,00 KiB"_s, u"2026-12-07 06:19"_s}));
    }
};

// The program as it starts on a system whose locale is C.
int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "C");
    qputenv("LANG", "C");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestSvenskaDialoger test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "test_svenskadialoger.moc"
