#include "img/ltimg.h"

int LtImgModuleVersion() { return 10; }
