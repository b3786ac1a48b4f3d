#include "settings/Tolkmaskinstest.h"
