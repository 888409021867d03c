#include "common/print_target.h"
