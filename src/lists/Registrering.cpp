#include "lists/Registrering.h"

#include "lists/Resultatlistbok.h"
#include "lists/Resultaturval.h"
#include "lists/frmResSkarmGrund.h"
#include "shell/Fonsternamn.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Programdelar.h"
#include "shell/modGlobalt.h"

namespace Resultatlistor {

namespace {

// The printed and saved result list: the chosen classes written into the
// result-list workbook, then printed or saved.
// Every class is ranked before the workbook is begun, so that a failing read
// leaves no half-written list behind.
void resultatlistbok(const Arbetsboksram::Omgivning& o, const Listbestallning& b) {
    const std::optional<int> omg = b.omgang ? std::optional(b.omgang->omg) : std::nullopt;
    const QList<Klassblock> block = Resultaturval(o.g).valjUt(b.klasser, omg);
    Resultatlistbok::kor(o, b.mal, block, b.omgang);
}

} // namespace

void registrera(const Programdelar& delar) {
    registrera(delar, resultatlistbok);
}

void registrera(const Programdelar& delar, Arbetsboksutskrift arbetsbok) {
    // While the dialog is open no class can change and no other list can be
    // started with another output kind.
    delar.fonster.registreraFonster(
        Fonsternamn::ValResSkarmGrund,
        [arbetsbok](Formkontext& k, const Utskriftsmal& mal) -> QWidget* {
            auto* dialog = new frmValResSkarmGrund(k, mal, arbetsbok);
            if (!dialog->laddad()) {
                delete dialog;
                return nullptr;
            }
            return dialog;
        },
        {.menyer = {.avVidOppning = {Meny::mnuUtskrift, Meny::mnuInstallningar, Meny::mnuInskrivning},
                    .paVidStangning = {Meny::mnuInskrivning, Meny::mnuUtskrift, Meny::mnuInstallningar}},
         .storlek = QSize(3540, 5805)});
    // The list window holds no menu item; the dialog fills it after each run.
    delar.fonster.registreraFonster(Fonsternamn::ResSkarmGrund,
                                    [](Formkontext& k) { return new frmResSkarmGrund(k); },
                                    {.placering = std::nullopt, .storlek = QSize(11895, 8310)});
}

} // namespace Resultatlistor
