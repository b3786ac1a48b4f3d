#pragma once

#include "lists/Arbetsboksram.h"
#include "platform/workbook/Skrivarmotor.h"
#include "shell/Formkontext.h"
#include "shell/modGlobalt.h"

#include <functional>

// What a list run started from a window prints and saves with: the printer
// chosen under "Skrivare", the program's way of opening a saved file, and the
// caller's status window when it shows the list's status texts.
class Utskriftsomgivning {
public:
    explicit Utskriftsomgivning(Formkontext& k, std::function<void(const QString&)> status = {})
        : m_o{.g = k.g(),
              .m = k.m(),
              .skrivare = &m_skrivare,
              .filoppnare = [&k](const QString& fil) { k.dialoger().oppnaDokument(fil); },
              .status = std::move(status)} {
        m_skrivare.setSkrivare(k.g().strValdSkrivare);
    }
    Utskriftsomgivning(const Utskriftsomgivning&) = delete;
    Utskriftsomgivning& operator=(const Utskriftsomgivning&) = delete;

    const Arbetsboksram::Omgivning& omgivning() const { return m_o; }

private:
    Skrivarmotor m_skrivare;
    Arbetsboksram::Omgivning m_o;
};
