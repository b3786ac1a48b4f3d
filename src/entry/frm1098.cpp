#include "entry/frm1098.h"
