#pragma once

// The ltimg10n.dll module; its functions arrive with the features that need them.
int LtImgModuleVersion();
