#pragma once

#include <functional>

#include <QString>

class PhotoStore;
class Prompter;
class QWidget;
struct ImageBitmap;

// The My Photos tab's Rename, Delete and Edit Comment commands: they ask through the
// prompt seam and change only files; the photo list follows the folder by itself.
// Each takes the selected photo's stem ("" when none is selected). Failures to copy,
// save or delete are not reported: the list shows what is on disk.
class PhotoStoreCommands {
 public:
  PhotoStoreCommands(PhotoStore& store, Prompter& prompter, QWidget* parent);

  // Clicking the Edit Comment preview shows the photo at full size (no name in the title).
  void setViewFullPhoto(std::function<void(const ImageBitmap&)> view) { m_viewFullPhoto = std::move(view); }

  // Asks for a new name until one is free or the user cancels; the library's result,
  // or 0 when nothing was done. newStem, when given, receives the photo's new stem.
  int renamePhoto(const QString& selectedStem, QString* newStem = nullptr);
  // Asks before deleting; only Yes deletes.
  int deletePhoto(const QString& selectedStem);
  // Shows the description and the photo (decoded into the working bitmap); OK stores the
  // photo again under its stem with the new description. The working bitmap is left
  // empty in every case.
  int editComment(ImageBitmap& working, const QString& selectedStem);

 private:
  PhotoStore& m_store;
  Prompter& m_prompter;
  QWidget* m_parent;
  std::function<void(const ImageBitmap&)> m_viewFullPhoto;
};
