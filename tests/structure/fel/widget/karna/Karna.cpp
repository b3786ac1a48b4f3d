// A file of the core whose header, beside it, includes a widget.
#include "karna/Karna.h"
