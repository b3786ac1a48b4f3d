#pragma once

#include "output/Arbetsboksram.h"

#include <functional>
#include <optional>

class Formkontext;
class QWidget;

// Running a list from a window, the same for every list: the busy guard (the
// busy cursor, the list's dialog disabled), the status window, the printer
// chosen under "Skrivare" and the program's way of opening a saved file, the
// error trap, and "Filen spardes i:". Whatever the list tells the operator
// while it is made, the status window is gone first, so that no message box
// stands under it.
namespace Listkorning {

struct Val {
    Utskriftsmal mal = Utskriftsmal::Ingen;
    // The workbook list run, as the list hands it to the frame; nothing for a
    // list that is only shown on screen.
    const Arbetsboksram::Lista* lista = nullptr;
    // Disabled while the list is made; nothing for a list built without a
    // window of its own (the status window then belongs to the main window).
    QWidget* dialog = nullptr;
    // The status window's text from the start; empty: the list's own texts.
    QString status{};
    // How a failure thrown out of the list is told; nothing: as the list's
    // sheet tells a failure while it is written.
    std::optional<Arbetsboksram::Felruta> fel{};
};

// Makes the list. Returns the saved file's path; nothing when nothing was
// saved. Nothing is thrown to the caller.
using Lista = std::function<std::optional<QString>(const Arbetsboksram::Omgivning&)>;
std::optional<QString> kor(Formkontext& k, const Val& val, const Lista& lista);

} // namespace Listkorning
