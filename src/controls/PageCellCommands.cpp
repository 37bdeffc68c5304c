#include "controls/PageCellCommands.h"

#include "controls/CPickPhotoDialog.h"
#include "controls/CommandIds.h"
#include "controls/FeatureHost.h"
#include "controls/SinglePhotoCommands.h"
#include "labels/PageCells.h"

bool RunCellOutputCommand(int command, SinglePhotoCommands& output, const PageCells& cells, int cell) {
  const ImageBitmap* picture = cells.HoldsPicture(cell) ? cells.Cell(cell).Working.get() : nullptr;
  const QString name = cells.IsValid(cell) ? cells.Cell(cell).Name : QString();
  switch (command) {
    case kCommandView:
      if (picture) output.viewPicture(*picture, name);
      return true;
    case kCommandCopyToClipboard:
      if (picture) output.copyToClipboardPicture(*picture);
      return true;
    case kCommandSavePictureAs:
      if (picture) output.saveAsPicture(*picture);
      return true;
    case kCommandSetAsWallpaper:
      if (picture) output.setAsWallpaperPicture(*picture, name);
      return true;
    default: return false;
  }
}

std::optional<PickedPhoto> AskForPhoto(FeatureHost& host) {
  CPickPhotoDialog dialog(host.photoList(), host.lastPickedPhoto(), host.hostWindow());
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  host.lastPickedPhoto() = dialog.pickedName();
  return PickedPhoto{dialog.pickedName(), dialog.fillBlanks()};
}
