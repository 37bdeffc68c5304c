#include "controls/StoredPhotoEditTarget.h"

#include <QWidget>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "krn/ltkrn.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

std::unique_ptr<StoredPhotoEditTarget> StoredPhotoEditTarget::Open(FeatureHost& host, const QString& stem) {
  if (stem.isEmpty()) return nullptr;
  const PhotoStore& store = host.photoStore();
  BackgroundTask task;
  task.text = QStringLiteral("Opening the photo...");
  task.objectName = QStringLiteral("openPhotoProgress");
  // A 24-megapixel photo takes a moment to decode; the window keeps painting meanwhile.
  std::pair<int, ImageBitmap> loaded = host.backgroundRunner().run(task, [&store, stem](BackgroundJob&) {
    ImageBitmap picture;
    const int result = store.LoadPhoto(picture, stem);
    return std::make_pair(result, std::move(picture));
  });
  if (loaded.first != SUCCESS) {
    host.prompter().showError(host.hostWindow(), QStringLiteral("The photo '%1' could not be opened: %2")
                                                     .arg(NameForStem(stem), QString::fromUtf8(ResultText(loaded.first))));
    return nullptr;
  }
  host.workingPicture() = std::move(loaded.second);
  return std::unique_ptr<StoredPhotoEditTarget>(new StoredPhotoEditTarget(host, stem));
}

StoredPhotoEditTarget::~StoredPhotoEditTarget() {
  FreeBitmap(m_host.workingPicture());
  InitBitmap(m_host.workingPicture(), 0, 0, 0);
}

ImageBitmap& StoredPhotoEditTarget::picture() { return m_host.workingPicture(); }

void StoredPhotoEditTarget::pictureChanged() {
  PhotoStore& store = m_host.photoStore();
  // Storing makes the thumbnail from the picture it is given: give it a copy.
  const ImageBitmap edited = m_host.workingPicture();
  BackgroundTask task;
  task.text = QStringLiteral("Saving the photo...");
  task.objectName = QStringLiteral("storePhotoProgress");
  const int result = m_host.backgroundRunner().run(task, [&store, edited, stem = m_stem](BackgroundJob&) {
    ImageBitmap working = edited;
    return store.ReplacePicture(working, stem);
  });
  if (result != SUCCESS)
    m_host.prompter().showError(m_host.hostWindow(), QStringLiteral("The photo '%1' could not be saved: %2")
                                                         .arg(NameForStem(m_stem), QString::fromUtf8(ResultText(result))));
}
