#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QPointer>

#include "library/PhotoListChange.h"
#include "library/PhotoListModel.h"

// Applies the thumbnail watcher's changes to a photo list model, on the interface
// thread. Owns nothing: once the model (or the selection model) is gone, the changes
// meant for it are dropped. While the watcher runs this is the only writer of the model.
class PhotoListUpdater : public QObject {
  Q_OBJECT

 public:
  explicit PhotoListUpdater(PhotoListModel* model, QObject* parent = nullptr);

  // The view's selection, so that a finished scan can select entry 0 when nothing is
  // selected. Optional: without one only scanDone() is emitted.
  void setSelectionModel(QItemSelectionModel* selection);
  PhotoListModel* model() const { return m_model; }

  void apply(const PhotoListChanges& changes);

 signals:
  void scanDone();
  void firstScanDone();

 private:
  void applyOne(const PhotoListChange& change);
  void selectFirstWhenNoneSelected();

  QPointer<PhotoListModel> m_model;
  QPointer<QItemSelectionModel> m_selection;
};
