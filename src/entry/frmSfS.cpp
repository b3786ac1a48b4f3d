#include "entry/frmSfS.h"
