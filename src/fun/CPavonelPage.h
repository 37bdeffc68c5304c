#pragma once

#include <QList>
#include <QTimer>

#include "controls/CWizardPage.h"
#include "shows/ShowPhotoList.h"

class CFilePreview;
class CShowBuilderWizard;
class PreviewDecoder;
class QLabel;
class QPushButton;
class QTreeWidget;

// "Slide Show" (dialog 239): the photos of the store on the left, the show's photos on
// the right, in show order, and a preview of the photo chosen on the left.
class CPavonelPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CPavonelPage(CShowBuilderWizard& wizard);
  ~CPavonelPage() override;

  QTreeWidget* available() const { return m_available; }
  QTreeWidget* chosen() const { return m_chosen; }
  QPushButton* addButton() const { return m_add; }
  QPushButton* addAllButton() const { return m_addAll; }
  QPushButton* removeButton() const { return m_remove; }
  QPushButton* clearButton() const { return m_clear; }
  CFilePreview* preview() const { return m_preview; }
  PreviewDecoder& decoder() const;
  // The show's photos, in order.
  QStringList chosenStems() const;

  void add();
  void addAll();
  void remove();
  void clear();
  // Sorts a list by the texts of a column; each click on one list turns its direction.
  void sortList(QTreeWidget* list, int column);
  // The preview timer's work, also for tests.
  void checkSelection();

  void onSetActive() override;
  void onKillActive() override;
  void onWizardNext() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static void Fill(QTreeWidget* list, const QList<ShowPhoto>& photos);
  // The Photo column as wide as its names, within the list; Description takes the rest.
  static void FitColumns(QTreeWidget* list);
  static QList<ShowPhoto> Rows(const QTreeWidget* list);
  void updateControls();

  CShowBuilderWizard& m_wizard;
  QLabel* m_caption;
  QTreeWidget* m_available;
  QTreeWidget* m_chosen;
  QPushButton* m_add;
  QPushButton* m_addAll;
  QPushButton* m_remove;
  QPushButton* m_clear;
  CFilePreview* m_preview;
  QTimer m_timer;
  bool m_availableAscending = false;
  bool m_chosenAscending = false;
};
