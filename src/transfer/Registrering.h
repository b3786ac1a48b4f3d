#pragma once

struct Programdelar;

// The import and export wizards, as the main menu's "&Importera" and
// "&Exportera" run them: modal dialogs.
namespace Overforingsfonster {
void registrera(const Programdelar& delar);
} // namespace Overforingsfonster
