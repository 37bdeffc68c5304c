#include "controls/Prompter.h"

Prompter::~Prompter() = default;
