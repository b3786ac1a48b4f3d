#pragma once

#include "shell/Formkontext.h"
#include "shell/NyTavling.h"
#include "shell/Programdelar.h"
#include "shell/modGlobalt.h"
#include "support/TestKontext.h"
#include "support/TestMeddelanden.h"
#include "support/Testmiljo.h"

#include <memory>

class Askadarflode;

// Everything a test of a window or a procedure starts from: a throw-away
// program folder with the template database and Grafik/, the state of a
// program that has just started there, the test message seam, and a form
// context over a test window host and test dialogs.
//
//     Testfixtur f;
//     f.skapaTavling(QStringLiteral("Cup"), NyTavling::Typ::Sportskytte, 10, 3, 25);
//     frmNagot form(f.kontext);
class Testfixtur {
public:
    explicit Testfixtur(bool medGrafik = true);
    ~Testfixtur();

    // Creates a competition in <program folder>/Tävlingar and leaves it open in
    // g: banor lanes per squad, skjutlag squads, and skyttar shooters placed on
    // the lanes in order (squad 1 lane 1, lane 2, ...), each of the first class
    // of the competition's class table. Returns the database path. A failure
    // ends the test program.
    QString skapaTavling(const QString& namn, NyTavling::Typ typ = NyTavling::Typ::Nationellt, int banor = 10,
                         int skjutlag = 1, int skyttar = 0);
    // The competitions folder the fixture creates in.
    QString tavlingsmapp() const;

    // A TCP port on loopback that nothing listens on.
    static quint16 ledigPort();

    // What a part's registration function is given: this fixture's window host
    // and a spectator feed on loopback and a free port (made at the first call;
    // it listens only when a test starts it).
    Programdelar delar();
    Askadarflode& flode();

    Testmiljo t;
    modGlobalt g;
    TestMeddelanden m;
    TestDialoger dialoger;

private:
    // Before the host: the windows it holds may use the feed until they go.
    std::unique_ptr<Askadarflode> m_flode;

public:
    TestFonstervard fonster;
    Formkontext& kontext;
};
