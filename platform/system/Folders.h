#pragma once

#include <QString>

// Folder paths always end in "/"; callers append file names directly.

// The folder of the running program (the real path of its executable, so a start
// through PATH or a symbolic link still finds it). BRIVANE_PROGRAM_FOLDER overrides it.
QString GetProgramFolder();
// Where the user's own files live: myphotos/, photos.dat, addrbook.dat and
// deletealbums.dat. A portable program keeps them in its own folder; an installed one
// (its folder holds kInstalledMarker) in $XDG_DATA_HOME/brivane/ (default
// ~/.local/share/brivane/), since its folder is read-only and shared by every user.
QString GetUserDataFolder();
inline constexpr const char* kInstalledMarker = "brivane-installed";
// The user data folder's myphotos/.
QString GetMyPhotosFolder();
// Makes the user data folder and its myphotos/ exist. A data folder made here is
// private to the user (0700): other users of the computer do not see the photos.
bool MakeMyPhotosFolder();
QString GetFramesFolder();
QString GetEdgesFolder();
QString GetSportsCardFolder();
QString GetMagazineFolder();
QString GetGreetingCardFolder();

// Where the settings file and the registry stand-in live: BRIVANE_WINDOWS_FOLDER, else
// $XDG_CONFIG_HOME/brivane/ (default ~/.config/brivane/).
QString GetWindowsFolder();
// The default home of installed screen savers: BRIVANE_SYSTEM_FOLDER, else
// $XDG_DATA_HOME/brivane/ (default ~/.local/share/brivane/).
QString GetSystemFolder();
// Ends a folder path with "/" (an empty path stays empty).
QString WithTrailingSlash(const QString& folder);
