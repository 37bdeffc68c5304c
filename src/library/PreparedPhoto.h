#pragma once

#include <optional>

#include <QString>

#include "system/LockFile.h"
#include "system/RemoveOnSignal.h"

// A photo written to hidden temporaries in the store's folder, waiting for the stem it is
// to be placed under. While it lives it holds the store's writing lock shared, so a sweep
// of stale temporaries leaves its files alone; whatever it still holds when it goes, or
// when an interrupt or a terminate signal stops the process, is removed.
class PreparedPhoto {
 public:
  PreparedPhoto() = default;
  ~PreparedPhoto();
  PreparedPhoto(PreparedPhoto&& other) noexcept;
  PreparedPhoto& operator=(PreparedPhoto&& other) noexcept;
  PreparedPhoto(const PreparedPhoto&) = delete;
  PreparedPhoto& operator=(const PreparedPhoto&) = delete;

  bool IsReady() const { return !photo_.isEmpty() && !thumbnail_.isEmpty(); }

 private:
  friend class PhotoStore;
  void AdoptPhoto(const QString& path);
  void AdoptThumbnail(const QString& path);
  // Removes the temporaries that are left.
  void Discard();

  QString photo_;
  QString thumbnail_;
  std::optional<RemoveOnSignal> photoGuard_;
  std::optional<RemoveOnSignal> thumbnailGuard_;
  std::optional<LockFile> writing_;
};
