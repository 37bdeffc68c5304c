#pragma once

#include <memory>

#include "controls/CTabPage.h"
#include "labels/PageCells.h"

class FeatureHost;
class LabelTemplateList;
class PageView;
class QLabel;
class SinglePhotoCommands;
struct LabelTemplate;

// The Print Labels tab: a sheet of labels laid out by the current label template, photos
// placed on its labels, moved between them and printed on one page. The sheet is not
// kept: it is empty at every start.
class CPrintLabelsPage : public CTabPage {
  Q_OBJECT

 public:
  // The sheet starts with the template list's default label template.
  CPrintLabelsPage(FeatureHost& host, LabelTemplateList& templates, QWidget* content, QObject* parent);
  ~CPrintLabelsPage() override;

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;
  void addCommandState(CommandState& state) const override;
  bool onCommand(int command) override;
  std::unique_ptr<PictureEditTarget> editTarget(int command) override;

  const LabelTemplate* labelTemplate() const { return m_template; }
  // Makes the template the sheet's: labels beyond its count go, new ones are blank.
  void setLabelTemplate(LabelTemplate* t);
  PageCells& cells() { return m_cells; }
  PageView* sheetView() const { return m_view; }
  SinglePhotoCommands& photoOutput() const { return *m_output; }
  // Puts the photo of the store on the selected label (then selects the next one), or
  // with fillBlanks on every label without a picture.
  void placePhoto(const QString& name, bool fillBlanks);
  // Prints the sheet on the printer the user chooses; false when nothing was printed.
  bool printSheet();

 private:
  void pickPhoto();
  void deleteSelected();
  // The label's picture as placed again, its edits dropped.
  void revertLabel(int cell);
  void clearSheet();
  void chooseTemplate();
  void moveLabelPicture(int from, int to);
  void showMenu(QPoint globalPos);
  void sheetChanged();
  int templateInfoHeight(int width) const;
  // The selected label's picture, or null when it holds none.
  const ImageBitmap* selectedPicture() const;

  FeatureHost& m_host;
  LabelTemplateList& m_templates;
  LabelTemplate* m_template = nullptr;
  PageCells m_cells;
  PageView* m_view;
  QLabel* m_templateInfo;
  std::unique_ptr<SinglePhotoCommands> m_output;
};
