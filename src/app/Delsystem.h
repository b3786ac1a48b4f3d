#pragma once

class Fonsterregister;

// The one place that knows every part of the program: each registers its
// windows, dialogs and list builders with the main window.
void registreraDelsystem(Fonsterregister& register_);
