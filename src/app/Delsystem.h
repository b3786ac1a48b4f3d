#pragma once

class MDIfrmHuvudmeny;

// The one place that knows every part of the program: each registers its
// windows, dialogs and list builders with the main window; the spectator feed's
// dialogs and menu side work on the main window's feed.
void registreraDelsystem(MDIfrmHuvudmeny& huvudmeny);
