#include "twn/lttwn.h"

int LtTwnModuleVersion() { return 10; }
