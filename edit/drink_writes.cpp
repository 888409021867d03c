#include "store/CDatabase.h"
