#include "getphoto/ScanRunner.h"

#include <atomic>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>

#include "getphoto/PhotoScanner.h"
#include "krn/ltkrn.h"

int ScanRunner::Run(PhotoScanner& scanner, ImageBitmap& target, int flags,
                    const ScanOptionsCallback& optionsUi, QWidget* parent) {
  QProgressDialog progress(QStringLiteral("Scanning..."), QStringLiteral("Cancel"), 0, 100, parent);
  progress.setObjectName(QStringLiteral("scanProgress"));
  progress.setWindowTitle(QStringLiteral("Brivane"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setMinimumDuration(0);
  // Shown only once the device reads: before that its own options may be on screen.
  progress.hide();

  std::atomic<bool> cancelled = false;
  QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&] {
    cancelled = true;
    progress.setLabelText(QStringLiteral("Stopping the scan..."));
  });

  QEventLoop loop;
  ImageBitmap scanned;
  InitBitmap(scanned, 0, 0, 0);
  int result = 0;

  // Runs on the worker: the options dialog belongs to the interface thread.
  ScanOptionsCallback askOptions;
  if (optionsUi) {
    askOptions = [&](const QList<ScanOption>& options, QVariantMap& chosen) {
      bool accepted = false;
      QMetaObject::invokeMethod(
          &progress, [&] { accepted = optionsUi(options, chosen); }, Qt::BlockingQueuedConnection);
      return accepted;
    };
  }

  std::thread worker([&] {
    SetProgressCallback([&](int percent) {
      QMetaObject::invokeMethod(&progress, [&progress, percent] {
        if (!progress.isVisible() && !progress.wasCanceled()) progress.show();
        progress.setValue(percent);
      });
      return cancelled ? 0 : 1;
    });
    result = scanner.acquire(scanned, flags, askOptions);
    SetProgressCallback({});
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  // Progress reports still queued refer to the dialog; let them run before it goes.
  QCoreApplication::sendPostedEvents(&progress);
  progress.hide();

  if (result > 0) {
    FreeBitmap(target);
    target = std::move(scanned);
  }
  return result;
}

QStringList ScanRunner::ListSources(PhotoScanner& scanner, QWidget* parent) {
  QProgressDialog progress(QStringLiteral("Looking for scanners and cameras..."), QString(), 0, 0,
                           parent);
  progress.setWindowTitle(QStringLiteral("Brivane"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  QEventLoop loop;
  QStringList names;
  std::thread worker([&] {
    names = scanner.sources();
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  return names;
}
