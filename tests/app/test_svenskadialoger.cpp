#include "app/QtDialoger.h"
#include "app/SvenskaQtTexter.h"
#include "support/Testmiljo.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTranslator>

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
};

QTEST_MAIN(TestSvenskaDialoger)
#include "test_svenskadialoger.moc"
