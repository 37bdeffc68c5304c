#include "controls/PagePopupMenu.h"

#include <QMenu>

#include "controls/CommandIds.h"
#include "controls/FeatureHost.h"

namespace {
const char* CommandText(int command) {
  switch (command) {
    case kCommandPickPhoto: return "P&ick a Photo";
    case kCommandClear: return "C&lear Page";
    case kCommandView: return "&View Full Size Photo";
    case kCommandCopyToClipboard: return "&Copy to Clipboard";
    case kCommandSavePictureAs: return "&Save Picture As...";
    case kCommandSetAsWallpaper: return "S&et as Wallpaper";
    case kCommandChooseTemplate: return "Choose &Template";
    case kCommandEnhance: return "&Enhance";
    case kCommandCrop: return "&Crop";
    case kCommandCaption: return "Add a C&aption";
    case kCommandFrame: return "&Frame";
    case kCommandRedEye: return "Correct &Red Eye";
    case kCommandResize: return "Resi&ze";
    case kCommandPrint: return "&Print Labels";
    case kCommandDelete: return "&Delete";
    default: return "";
  }
}

bool LabelsOnly(int command) {
  switch (command) {
    case kCommandChooseTemplate:
    case kCommandEnhance:
    case kCommandCrop:
    case kCommandCaption:
    case kCommandFrame:
    case kCommandRedEye:
    case kCommandResize:
    case kCommandPrint: return true;
    default: return false;
  }
}
}  // namespace

QList<int> PagePopupCommands() {
  return {kCommandPickPhoto, kCommandClear, 0, kCommandView, kCommandCopyToClipboard, kCommandSavePictureAs,
          kCommandSetAsWallpaper, 0, kCommandChooseTemplate, 0, kCommandEnhance, kCommandCrop, kCommandCaption,
          kCommandFrame, kCommandRedEye, kCommandResize, 0, kCommandPrint, 0, kCommandDelete};
}

QMenu* MakePagePopupMenu(FeatureHost& host, MainTab tab, bool cellHoldsPicture, QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName(QStringLiteral("187"));
  const bool album = tab == MainTab::PhotoAlbums;
  for (int command : PagePopupCommands()) {
    if (command == 0) {
      // Left-out items must not leave two separators together, or one at the end.
      const QList<QAction*> items = menu->actions();
      if (!items.isEmpty() && !items.last()->isSeparator()) menu->addSeparator();
      continue;
    }
    if (album && LabelsOnly(command)) continue;
    QAction* action = menu->addAction(QString::fromLatin1(CommandText(command)));
    action->setObjectName(QString::number(command));
    action->setData(command);
    const bool always = command == kCommandPickPhoto || command == kCommandChooseTemplate;
    action->setEnabled(always || cellHoldsPicture);
    QObject::connect(action, &QAction::triggered, menu, [&host, command] { host.runCommand(command); });
  }
  return menu;
}
