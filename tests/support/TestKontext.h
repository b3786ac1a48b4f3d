#pragma once

#include "shell/Formkontext.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QQueue>
#include <QStringList>
#include <array>

// The main window as a form sees it, in a few lines: menu states kept in a
// table that starts as the program starts, child windows as plain top-level
// widgets made by the registered factories.
class TestFonstervard : public Fonstervard, public Fonsterregister {
public:
    TestFonstervard();
    // The context the registered windows are made with (the fixture sets it).
    void anvand(Formkontext& k) { m_kontext = &k; }

    void sattMeny(Meny meny, bool pa) override { m_pa[size_t(meny)] = pa; }
    bool menyPa(Meny meny) const override { return m_pa[size_t(meny)]; }
    void visaMeny(Meny meny, bool synlig) override { m_synlig[size_t(meny)] = synlig; }
    bool menySynlig(Meny meny) const override { return m_synlig[size_t(meny)]; }

    QWidget* visaFonster(const QString& namn, std::optional<QPoint> placeringTwips = QPoint(10, 10)) override;
    QWidget* fonster(const QString& namn) const override;
    bool stangFonster(QWidget* fonster) override;
    void tavlingSkapad() override { ++skapade; }
    // The windows still open go, as child windows go with the main window.
    void forstorOppna();
    QWidget* dialogforalder() const override { return foralder; }
    bool askadarskarmAnsluten() const override { return ansluten; }

    // As the main window registers them; dialogs and list builders are run by
    // the tests themselves.
    void registreraFonster(const QString& namn, Fonsterfabrik fabrik, Menylagen menylagen = {}) override;
    void registreraDialog(const QString&, Dialogfabrik) override {}
    void registreraListbyggare(const QString&, Listbyggare) override {}

    int skapade = 0;
    QWidget* foralder = nullptr;
    bool ansluten = false;

private:
    std::array<bool, AntalMenyval> m_pa{};
    std::array<bool, AntalMenyval> m_synlig{};
    struct Registrerat {
        Fonsterregister::Fonsterfabrik fabrik;
        Menylagen lagen;
    };
    Formkontext* m_kontext = nullptr;
    QHash<QString, Registrerat> m_register;
    QHash<QString, QPointer<QWidget>> m_oppna;
};

// The platform dialogs answered from queues; what was asked is recorded.
class TestDialoger : public Plattformsdialoger {
public:
    QString oppnaFil(QWidget*, const QString&, const QString& startmapp, const QString&) override {
        startmappar << startmapp;
        return filer.isEmpty() ? QString() : filer.dequeue();
    }
    QString valjMapp(QWidget*, const QString&, const QString& startmapp) override {
        startmappar << startmapp;
        return mappar.isEmpty() ? QString() : mappar.dequeue();
    }
    std::optional<Kopior> valjKopior(QWidget*, const Kopior&) override {
        return kopior.isEmpty() ? std::nullopt : kopior.dequeue();
    }
    bool oppnaDokument(const QString& fil) override {
        dokument << fil;
        return kanOppnaDokument;
    }

    QQueue<QString> filer;
    QQueue<QString> mappar;
    QQueue<std::optional<Kopior>> kopior;
    QStringList startmappar;
    QStringList dokument;
    bool kanOppnaDokument = true;
};
