#pragma once

// The ltefx10n.dll module; its functions arrive with the features that need them.
int LtEfxModuleVersion();
