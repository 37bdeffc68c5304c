#include "library/PreparedPhoto.h"

#include <utility>

#include "library/StoreFiles.h"

PreparedPhoto::~PreparedPhoto() { Discard(); }

PreparedPhoto::PreparedPhoto(PreparedPhoto&& other) noexcept
    : photo_(std::exchange(other.photo_, {})),
      thumbnail_(std::exchange(other.thumbnail_, {})),
      writing_(std::exchange(other.writing_, std::nullopt)) {}

PreparedPhoto& PreparedPhoto::operator=(PreparedPhoto&& other) noexcept {
  if (this != &other) {
    Discard();
    photo_ = std::exchange(other.photo_, {});
    thumbnail_ = std::exchange(other.thumbnail_, {});
    writing_ = std::exchange(other.writing_, std::nullopt);
  }
  return *this;
}

void PreparedPhoto::Discard() {
  if (!photo_.isEmpty()) RemoveStoreFile(photo_);
  if (!thumbnail_.isEmpty()) RemoveStoreFile(thumbnail_);
  photo_.clear();
  thumbnail_.clear();
  writing_.reset();
}
