#include "controls/PageCellCommands.h"

#include "controls/BackgroundRunner.h"
#include "controls/CPickPhotoDialog.h"
#include "controls/CommandIds.h"
#include "controls/FeatureHost.h"
#include "controls/PageView.h"
#include "controls/SinglePhotoCommands.h"
#include "krn/ltkrn.h"
#include "labels/PageCells.h"
#include "labels/ScaledPictureCache.h"

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

std::vector<int> PlacePhotoOnPage(FeatureHost& host, PageView& view, PageCells& cells, const QString& stem,
                                  bool fillBlanks, const PagePhotoDecoder& decode) {
  const int selected = view.selectedCell();
  if (!fillBlanks && !cells.IsValid(selected)) return {};
  BackgroundTask task;
  task.text = QStringLiteral("Opening %1...").arg(stem);
  task.objectName = QStringLiteral("placeProgress");
  // Reduced for the screen on the worker too, so that the first drawing is quick.
  auto [picture, shown] = host.backgroundRunner().run(task, [&decode](BackgroundJob&) {
    ImageBitmap decoded;
    if (decode(decoded) != SUCCESS) InitBitmap(decoded, 0, 0, 0);
    return std::pair{decoded, ScaledPictureCache::ReducedForScreen(decoded)};
  });
  const std::vector<int> placed = fillBlanks ? cells.FillBlanks(picture, stem) : std::vector<int>{selected};
  if (!fillBlanks) cells.Give(selected, picture, stem);
  if (!placed.empty()) view.addReducedPicture(cells.Cell(placed.front()).Working, std::move(shown));
  if (!fillBlanks) view.moveSelection(PageMove::Right);
  return placed;
}
