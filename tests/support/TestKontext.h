#pragma once

#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"

#include <QQueue>
#include <QStringList>

// The program's window host without a main window: the registered windows
// are plain top-level widgets. It counts the competitions created and answers
// whether a spectator display is connected from a flag.
class TestFonstervard : public Fonstervard {
public:
    TestFonstervard(modGlobalt& g, Meddelanden& m, Plattformsdialoger& dialoger)
        : Fonstervard(g, m, dialoger) {
        connect(this, &Fonstervard::tavlingSkapad, this, [this] { ++skapade; });
        sattAnslutningsfraga([this] { return ansluten; });
    }

    int skapade = 0;
    bool ansluten = false;
};

// The platform dialogs answered from queues; what was asked is recorded.
class TestDialoger : public Plattformsdialoger {
public:
    QString oppnaFil(QWidget*, const QString&, const QString& startmapp, const QString&) override {
        startmappar << startmapp;
        return filer.isEmpty() ? QString() : filer.dequeue();
    }
    std::optional<Kopior> valjKopior(QWidget*, const Kopior&) override {
        return kopior.isEmpty() ? std::nullopt : kopior.dequeue();
    }
    bool oppnaDokument(const QString& fil) override {
        dokument << fil;
        return kanOppnaDokument;
    }

    QQueue<QString> filer;
    QQueue<std::optional<Kopior>> kopior;
    QStringList startmappar;
    QStringList dokument;
    bool kanOppnaDokument = true;
};
