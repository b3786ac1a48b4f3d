#include "output/Listkorning.h"

#include "platform/workbook/Skrivarmotor.h"
#include "shell/Felfalla.h"
#include "shell/Fonstervard.h"
#include "shell/Formkontext.h"
#include "shell/Upptagen.h"
#include "shell/frmStatusUtskrift.h"
#include "shell/modGlobalt.h"

#include <memory>

namespace Listkorning {

namespace {

// The operator's messages of a run (a list held open, a failed print): the
// status window is taken away before any box is shown and stays away for the
// rest of the run; the hourglass is down while the box is open.
class Utanstatus : public Meddelanden {
public:
    Utanstatus(Meddelanden& m, std::unique_ptr<frmStatusUtskrift>& status, Upptagen& upptagen)
        : m_m(m), m_status(status), m_upptagen(upptagen) {}
    Svar visa(const QString& text, const QString& titel, Ikon ikon, Knappar knappar) override {
        m_status.reset();
        return m_upptagen.utanTimglas([&] { return m_m.visa(text, titel, ikon, knappar); });
    }
    std::optional<QString> inmatning(const QString& fraga, const QString& titel,
                                     const QString& standard) override {
        m_status.reset();
        return m_upptagen.utanTimglas([&] { return m_m.inmatning(fraga, titel, standard); });
    }
    bool stangFraga(const QString& text) override { return m_m.stangFraga(text); }

private:
    Meddelanden& m_m;
    std::unique_ptr<frmStatusUtskrift>& m_status;
    Upptagen& m_upptagen;
};

} // namespace

std::optional<QString> kor(Formkontext& k, const Val& val, const Lista& lista) {
    std::optional<QString> sparad;
    std::exception_ptr fel;
    {
        Upptagen upptagen(val.dialog);
        // Only the status window is painted while the list is made: no key or
        // click reaches the list's dialog until the run is over.
        auto status = std::make_unique<frmStatusUtskrift>(
            k.g().strProgrammapp, k.m(), val.dialog ? val.dialog : k.fonster().dialogforalder());
        status->show();
        if (!val.status.isEmpty())
            status->visaStatus(val.status);
        Utanstatus m(k.m(), status, upptagen);
        Skrivarmotor skrivare;
        skrivare.setSkrivare(k.g().strValdSkrivare);
        const Arbetsboksram::Omgivning o{
            .g = k.g(),
            .m = m,
            .skrivare = &skrivare,
            .filoppnare = [&k](const QString& fil) { k.dialoger().oppnaDokument(fil); },
            .status =
                [&status](const QString& text) {
                    if (status)
                        status->visaStatus(text);
                }};
        try {
            sparad = lista(o);
        } catch (...) {
            fel = std::current_exception();
        }
    }
    // Told once the status window and the busy cursor are gone.
    if (fel) {
        const Arbetsboksram::Felruta ruta = val.fel     ? *val.fel
                                            : val.lista ? val.lista->korfel
                                                        : Arbetsboksram::Felruta{};
        Felfalla(k.m(), ruta.prefix, ruta.ikon, ruta.titel, QStringLiteral(" "),
                 ruta.ordning)([&] { std::rethrow_exception(fel); });
        return std::nullopt;
    }
    if (sparad && val.mal == Utskriftsmal::Fil && val.lista && val.lista->sparadEfterKorningen)
        Arbetsboksram::visaSparad(k.m(), k.g());
    return sparad;
}

} // namespace Listkorning
