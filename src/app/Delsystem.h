#pragma once

struct Programdelar;

// The one place that knows every part of the program: each registers its
// windows, dialogs and list builders with the window host.
void registreraDelsystem(const Programdelar& delar);
