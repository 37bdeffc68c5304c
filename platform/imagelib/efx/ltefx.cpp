#include "efx/ltefx.h"

int LtEfxModuleVersion() { return 10; }
