#include "edit/CQueries.h"
