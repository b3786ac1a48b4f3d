#include "entry/frmValjSkjutlag.h"
