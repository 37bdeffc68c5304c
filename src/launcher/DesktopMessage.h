#pragma once

#include <string>

// Tells the user something went wrong: always on standard error, and in a box on the
// desktop (titled "Brivane") when a display is set and zenity or xmessage is installed.
void ShowMessage(const std::string& text);
