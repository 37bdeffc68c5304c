#pragma once

#include <optional>

#include <QString>

class FeatureHost;
class PageCells;
class SinglePhotoCommands;

// The commands a label sheet and an album page share.

// View Full Size, Copy to Clipboard, Save Picture As and Set as Wallpaper on the cell's
// picture (nothing when it holds none); false for any other command.
bool RunCellOutputCommand(int command, SinglePhotoCommands& output, const PageCells& cells, int cell);

// "Pick a Photo": the photo picked, and whether it goes on every blank place.
struct PickedPhoto {
  QString Stem;
  bool FillBlanks = false;
};
// Asks with the Pick a Photo dialog, which starts at the photo picked last; nullopt on
// Cancel.
std::optional<PickedPhoto> AskForPhoto(FeatureHost& host);
