#pragma once

#include <string>

// The launcher's own file, opened for reading: the path it was started with as spelled,
// with ".exe" appended when that name lacks ".exe"/".scr" and does not exist. The file
// opened must be the running executable; when it is not (a start through PATH, a made-up
// first argument) or cannot be opened, /proc/self/exe is used. -1 when neither opens.
int OpenOwnFile(const std::string& spelled);

// The name the screen-saver player is extracted under: the spelled path's file name
// without folder and extension, case kept, plus ".exe".
std::string ScreenSaverPlayerName(const std::string& spelled);
