#include "settings/frmKlassUppgifter.h"
