// A file of the core that reaches printing through a header of src it includes.
#include "karna/Skrivare.h"
