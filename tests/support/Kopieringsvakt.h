#pragma once

#include <QDir>
#include <QEvent>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <functional>
#include <utility>

// Runs f once, when the watched widget is shown.
class NarDenVisas : public QObject {
public:
    explicit NarDenVisas(std::function<void()> f) : m_f(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show && m_f)
            std::exchange(m_f, nullptr)();
        return false;
    }

private:
    std::function<void()> m_f;
};

// Holds a competition's database from a second connection while the transfer
// wizard copies it, so that the copy waits at its snapshot of the database
// with the event loop of this thread still running. The hold begins when the
// wizard's status label is shown (the copy starts); once the destination
// holds anything, igang runs on a timer of this thread; slapp() lets the copy
// go on.
class Kopieringsvakt {
public:
    Kopieringsvakt(const QString& databas, const QString& destination, std::function<void()> igang)
        : m_dest(destination), m_igang(std::move(igang)), m_borjar([this] {
              QSqlQuery(db()).exec(QStringLiteral("BEGIN EXCLUSIVE"));
              m_vakt.start(0);
          }) {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Namn);
        d.setDatabaseName(databas);
        d.open();
        QObject::connect(&m_vakt, &QTimer::timeout, [this] {
            if (QDir(m_dest).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                return;
            m_vakt.stop();
            m_igang();
        });
    }
    ~Kopieringsvakt() {
        slapp();
        db().close();
        QSqlDatabase::removeDatabase(Namn);
    }
    Kopieringsvakt(const Kopieringsvakt&) = delete;
    Kopieringsvakt& operator=(const Kopieringsvakt&) = delete;

    // The filter to install on the wizard's "lblStatusKopiering".
    QObject* borjar() { return &m_borjar; }
    void slapp() { QSqlQuery(db()).exec(QStringLiteral("COMMIT")); }

private:
    static inline const QString Namn = QStringLiteral("kopieringsvakt");
    static QSqlDatabase db() { return QSqlDatabase::database(Namn, false); }

    QString m_dest;
    std::function<void()> m_igang;
    QTimer m_vakt;
    NarDenVisas m_borjar;
};
