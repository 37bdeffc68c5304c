#pragma once

#include <QDialog>

struct ImageBitmap;
class QLabel;
class CDescriptionEdit;
class CPicturePreview;

// Dialog 205, "Edit Comment": the photo's stem, its description (at most 255
// characters) with a button that clears it, and the photo fitted into the picture preview.
// Clicking the preview asks for the full-size view.
class CEditCommentDialog : public QDialog {
  Q_OBJECT

 public:
  CEditCommentDialog(const QString& stem, const QString& description,
                     const ImageBitmap& picture, QWidget* parent = nullptr);

  QString description() const;

 signals:
  void previewClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* m_stem;
  CDescriptionEdit* m_description;
  CPicturePreview* m_preview;
};
