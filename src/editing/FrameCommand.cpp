#include "editing/FrameCommand.h"

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "editing/CFramePicker.h"

bool ComposeWithChosenFrame(FeatureHost& host, const CFramePicker& picker, QWidget* parent, ImageBitmap& framed) {
  if (!picker.hasFrame()) {
    host.prompter().showError(parent, picker.frameCount() == 0
                                          ? QStringLiteral("There are no frames in \"%1\" to choose from.").arg(picker.folder())
                                          : QStringLiteral("The chosen frame could not be loaded; choose another one."));
    return false;
  }
  BackgroundTask task;
  task.text = QStringLiteral("Framing the photo...");
  task.objectName = QStringLiteral("frameProgress");
  auto [result, picture] = host.backgroundRunner().run(
      task, [photo = picker.photo(), frame = picker.frame(), view = picker.view()](BackgroundJob&) {
        ImageBitmap out;
        const int code = ComposeInFrame(photo, frame, view, out);
        return std::make_pair(code, std::move(out));
      });
  if (result != SUCCESS) {
    host.prompter().showError(parent, QStringLiteral("The photo could not be framed: %1").arg(QString::fromUtf8(ResultText(result))));
    return false;
  }
  framed = std::move(picture);
  return true;
}
