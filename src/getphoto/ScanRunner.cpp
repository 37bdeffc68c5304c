#include "getphoto/ScanRunner.h"

#include "controls/BackgroundRunner.h"
#include "getphoto/PhotoScanner.h"
#include "krn/ltkrn.h"

int ScanRunner::Run(BackgroundRunner& runner, PhotoScanner& scanner, ImageBitmap& target, int flags,
                    const ScanOptionsCallback& optionsUi) {
  BackgroundTask task;
  task.text = QStringLiteral("Scanning...");
  task.maximum = 100;
  task.cancellable = true;
  // Shown only once the device reads: before that its own options may be on screen.
  task.showAfterMs = -1;
  task.waitCursor = false;
  task.objectName = QStringLiteral("scanProgress");

  ImageBitmap scanned;
  InitBitmap(scanned, 0, 0, 0);
  const int result = runner.run(task, [&](BackgroundJob& job) {
    ScanOptionsCallback askOptions;
    if (optionsUi) {
      // The options dialog belongs to the interface thread.
      askOptions = [&](const QList<ScanOption>& options, QVariantMap& chosen) {
        bool accepted = false;
        return job.callOnInterface([&] { accepted = optionsUi(options, chosen); }) && accepted;
      };
    }
    return scanner.acquire(scanned, flags, askOptions);
  });
  if (result > 0) {
    FreeBitmap(target);
    target = std::move(scanned);
  } else {
    FreeBitmap(scanned);
  }
  return result;
}

QStringList ScanRunner::ListSources(BackgroundRunner& runner, PhotoScanner& scanner) {
  BackgroundTask task;
  task.text = QStringLiteral("Looking for scanners and cameras...");
  task.showAfterMs = 400;
  return runner.run(task, [&scanner](BackgroundJob&) { return scanner.sources(); });
}
