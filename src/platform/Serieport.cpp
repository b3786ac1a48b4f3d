#include "platform/Serieport.h"
