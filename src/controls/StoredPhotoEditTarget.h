#pragma once

#include <memory>

#include <QString>

#include "controls/PictureEditTarget.h"

class FeatureHost;

// A stored photo handed to an editing dialog: decoded at full size into the main window's
// working picture, and stored again under its own name (keeping its description) each
// time the dialog applies a change. The working picture is emptied when the target goes.
class StoredPhotoEditTarget : public PictureEditTarget {
 public:
  // Null, after telling the user, when the photo cannot be decoded.
  static std::unique_ptr<StoredPhotoEditTarget> Open(FeatureHost& host, const QString& stem);
  ~StoredPhotoEditTarget() override;

  ImageBitmap& picture() override;
  void pictureChanged() override;

 private:
  StoredPhotoEditTarget(FeatureHost& host, QString stem) : m_host(host), m_stem(std::move(stem)) {}

  FeatureHost& m_host;
  QString m_stem;
};
