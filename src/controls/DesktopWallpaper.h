#pragma once

#include <QString>

#include "krn/ImageBitmap.h"

class ProgramRunner;
class RegistryStore;

// Where Set as Wallpaper writes the picture: the Windows folder + name + ".bmp".
QString WallpaperPath(const QString& windowsFolder, const QString& name);
// Writes the picture there as BMP at its own depth (replacing the previous one), sets
// "TileWallpaper" to "0" under "Control Panel\Desktop" so it is centred, and asks the
// desktops present to show it centred. Every failure is silent; returns the BMP's result.
int SetDesktopWallpaper(const ImageBitmap& picture, const QString& path, RegistryStore& registry,
                        ProgramRunner& runner);
// The best-effort part: GNOME (gsettings), KDE Plasma (plasma-apply-wallpaperimage) and
// Xfce (xfconf-query), each when its program is present.
void ApplyDesktopWallpaper(const QString& path, ProgramRunner& runner);
