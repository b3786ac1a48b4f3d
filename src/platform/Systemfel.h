#pragma once

#include <QString>

// The system's error number with a Swedish description, "5 In- eller
// utmatningsfel": the system's own texts follow the locale, which on a C locale
// is English. A number without a description of its own still gets a Swedish
// text; 0 (a failure that gave no number) counts as an input or output error.
QString systemfeltext(int fel);
