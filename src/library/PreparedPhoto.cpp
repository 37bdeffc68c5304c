#include "library/PreparedPhoto.h"

#include <utility>

#include "library/StoreFiles.h"

PreparedPhoto::~PreparedPhoto() { Discard(); }

PreparedPhoto::PreparedPhoto(PreparedPhoto&& other) noexcept
    : photo_(std::exchange(other.photo_, {})),
      thumbnail_(std::exchange(other.thumbnail_, {})),
      photoGuard_(std::exchange(other.photoGuard_, std::nullopt)),
      thumbnailGuard_(std::exchange(other.thumbnailGuard_, std::nullopt)),
      writing_(std::exchange(other.writing_, std::nullopt)) {}

PreparedPhoto& PreparedPhoto::operator=(PreparedPhoto&& other) noexcept {
  if (this != &other) {
    Discard();
    photo_ = std::exchange(other.photo_, {});
    thumbnail_ = std::exchange(other.thumbnail_, {});
    photoGuard_ = std::exchange(other.photoGuard_, std::nullopt);
    thumbnailGuard_ = std::exchange(other.thumbnailGuard_, std::nullopt);
    writing_ = std::exchange(other.writing_, std::nullopt);
  }
  return *this;
}

void PreparedPhoto::AdoptPhoto(const QString& path) {
  photo_ = path;
  photoGuard_.emplace(path, RemoveOnSignal::Kind::File);
}

void PreparedPhoto::AdoptThumbnail(const QString& path) {
  thumbnail_ = path;
  thumbnailGuard_.emplace(path, RemoveOnSignal::Kind::File);
}

void PreparedPhoto::Discard() {
  if (!photo_.isEmpty()) RemoveStoreFile(photo_);
  if (!thumbnail_.isEmpty()) RemoveStoreFile(thumbnail_);
  photo_.clear();
  thumbnail_.clear();
  photoGuard_.reset();
  thumbnailGuard_.reset();
  writing_.reset();
}
