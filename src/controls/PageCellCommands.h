#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QString>

class FeatureHost;
class PageCells;
class PageView;
struct ImageBitmap;
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

// Decodes a photo for a page: the imaging library's result.
using PagePhotoDecoder = std::function<int(ImageBitmap& picture)>;
// Decodes the photo on the background runner and puts it on the view's selected cell
// (then selects the next one), or with fillBlanks on every cell without a picture. A
// photo that cannot be decoded still takes its cells, with an empty picture. The cells
// given the photo, in order; none when there is no selected cell to take it.
std::vector<int> PlacePhotoOnPage(FeatureHost& host, PageView& view, PageCells& cells, const QString& stem,
                                  bool fillBlanks, const PagePhotoDecoder& decode);
