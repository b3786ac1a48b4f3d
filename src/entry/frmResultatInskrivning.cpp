#include "entry/frmResultatInskrivning.h"
