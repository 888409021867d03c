#include "edit/amount_text.h"
