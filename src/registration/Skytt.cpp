#include "registration/Skytt.h"
