#pragma once

#include "controls/CommandState.h"

// Whether a command is enabled in that state. Commands without a rule (Get Photo,
// Preferences, Exit, Help …) are always enabled.
bool IsCommandEnabled(int command, const CommandState& state);
