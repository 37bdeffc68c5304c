#pragma once

// The lttwn10n.dll module; its functions arrive with the features that need them.
int LtTwnModuleVersion();
