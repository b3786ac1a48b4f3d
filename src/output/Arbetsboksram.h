#pragma once

#include "common/Poster.h"
#include "competition/Omgangar.h"
#include "platform/Meddelanden.h"
#include "platform/workbook/Kalkylprogram.h"
#include "shell/Felfalla.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class modGlobalt;

namespace Kalkyl {
class Arbetsblad;
class Utskriftsmotor;
} // namespace Kalkyl

// The frame every workbook list is built in: a new workbook of one sheet set up
// from the parameters the list hands it (its Lista), the page header and
// footer, the list's own cells, then printing and saving in the competition's
// Utskrifter folder, with the messages the operator gets when something fails.
// Whatever happens, the workbook is closed and nothing is thrown to the caller.
// The frame knows no list by name: each list owns its Lista.
class Arbetsboksram {
public:
    // Margins in centimetres.
    struct Marginaler {
        double vanster, hoger, topp, botten, sidhuvud, sidfot;
    };
    // A range of whole columns ("a:a", "h:m") and its width.
    struct Bredd {
        QString kolumner;
        double bredd;
    };
    // Which competitions a set of widths is for; a list takes the first set
    // that fits and sets no width when none does.
    enum class Slag { Alla, Sport, Nationell, Mix };
    struct Bredder {
        Slag slag = Slag::Alla;
        std::optional<bool> omgangar; // nothing: with and without rounds
        QList<Bredd> kolumner;
    };
    // How a list shows a failure: the prefix, then the error's number and
    // description in the list's order.
    struct Felruta {
        QString prefix;
        Meddelanden::Ikon ikon;
        QString titel;
        Felfalla::Ordning ordning;
    };

    // One list's parameters, held by the list for as long as the program runs.
    struct Lista {
        QString bladnamn;
        QString rubrik; // the header's second line
        // The title goes on with " till och med Skjutlag: " and the highest
        // squad with results while not every squad has them.
        bool skjutlagstillagg = false;
        double teckenstorlek = 10;
        int orientering = Kalkyl::Orientering::Staende;
        bool liggandeMedResultat = false;        // landscape when blnSkjutlagslistaMedResultat
        std::optional<Marginaler> marginaler{};  // nothing: the sheet keeps its own
        std::optional<double> vansterLiggande{}; // the left margin in landscape, when it differs
        QList<Bredder> bredder{};                // empty: the list sets its own widths
        double radhojd = 15.75;
        QString filstam;
        QString omgangsstam{};             // for one round: this and the round's number; empty: the stem
        bool visarUtskriftsstatus = false; // "Utskrift pågår...", "Sparar till fil..."
        bool skriverVersion = false;       // [Debug] VersionExcel written with the header
        // A failure while the sheet is set up; unless the list says otherwise,
        // its description and number without a prefix.
        Felruta installningsfel{QString(), Meddelanden::Ikon::Ingen, QString(),
                                Felfalla::Ordning::BeskrivningForst};
        Felruta korfel{}; // a failure while it is written, printed or saved
        // "Filen spardes i:" is told by the run of the list (Listkorning) once
        // the status window is gone, not by the frame.
        bool sparadEfterKorningen = false;
    };
    // "Filen spardes i:" with the competition's Utskrifter folder.
    static void visaSparad(Meddelanden& m, const modGlobalt& g);

    // What the caller gives every run.
    struct Omgivning {
        modGlobalt& g;
        Meddelanden& m;
        Kalkyl::Utskriftsmotor* skrivare = nullptr; // PrintOut's printer
        // Where [Debug] ExcelVisible sends the saved file; empty: the desktop.
        Kalkyl::Kalkylprogram::Filoppnare filoppnare{};
        // Shows a status text in the caller's status window; may be empty.
        std::function<void(const QString&)> status{};
    };

    // What a list sets up on top of its Lista: what it reads elsewhere.
    struct Egen {
        std::optional<int> orientering;
        std::optional<double> vanster, hoger; // cm
        // Sets the column widths (and may read what the body needs); runs
        // inside the set-up, so a failure there ends the run before anything
        // is written.
        std::function<void(Kalkyl::Arbetsblad&)> kolumner{};
    };

    struct Korning {
        Utskriftsmal mal = Utskriftsmal::Ingen;
        std::optional<Omgangar::Omgang> omgang; // the list is of one round
        // Not empty: the right header is this label and the round's description.
        QString hogeretikett{};
        Egen egen{};
    };

    // `lista` must outlive the frame.
    Arbetsboksram(const Lista& lista, const Omgivning& omgivning);

    // One run: set-up, header and footer, `skriv` (the list's cells), then by
    // the output kind print and save ("Printer"), save ("Fil") or neither.
    // Returns the path of the saved file; nothing when nothing was saved. A
    // failed print is told and the file still saved.
    std::optional<QString> kor(const Korning& korning, const std::function<void(Kalkyl::Arbetsblad&)>& skriv);

    // The name the list is saved under (".xlsx", "/" separators).
    static QString filnamn(const Lista& lista, const QString& tavlingsmapp, Utskriftsmal mal,
                           std::optional<int> omg);

    // The left and right header. Data passes through Sidhuvudkod::skydda, and
    // when the two would not fit in the file's 255 characters the competition's
    // name is shortened, then the round's description; the rest is never cut.
    struct Sidhuvud {
        QString vanster, hoger;
    };
    static Sidhuvud sidhuvud(const QString& rubrik, const QString& tavlingsnamn, const QString& datum,
                             const QString& hogeretikett, const QString& hogerdata);
    static const QString Sidfot;

    // " till och med Skjutlag: n" while squads are without results; nothing
    // before the first result and once the last squad has them.
    static QString skjutlagstillagg(int antalSkjutlag, int paborjat);

private:
    bool installning(Kalkyl::Kalkylprogram& program, const Egen& egen, Kalkyl::Arbetsblad*& blad);
    void sattSidhuvud(Kalkyl::Arbetsblad& blad, const Korning& korning);
    std::optional<QString> spara(Kalkyl::Arbetsbok& bok, const QString& filnamn);
    void visaStatus(const QString& text) const;

    const Lista& m_lista;
    Omgivning m_o;
    QString m_version, m_versionsklass;
};
