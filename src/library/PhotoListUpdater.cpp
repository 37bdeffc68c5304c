#include "library/PhotoListUpdater.h"

PhotoListUpdater::PhotoListUpdater(PhotoListModel* model, QObject* parent)
    : QObject(parent), m_model(model) {}

void PhotoListUpdater::setSelectionModel(QItemSelectionModel* selection) {
  m_selection = selection;
}

void PhotoListUpdater::apply(const PhotoListChanges& changes) {
  for (const PhotoListChange& change : changes) applyOne(change);
}

void PhotoListUpdater::applyOne(const PhotoListChange& change) {
  using Kind = PhotoListChange::Kind;
  if (change.Type == Kind::ScanDone) {
    if (m_model) selectFirstWhenNoneSelected();
    emit scanDone();
    return;
  }
  if (change.Type == Kind::FirstScanDone) {
    emit firstScanDone();
    return;
  }
  if (!m_model) return;
  if (change.Type == Kind::Clear) {
    m_model->clear();
    return;
  }
  // Each change is applied by what the model holds, so that a model written by someone
  // else in between still ends up matching the folder.
  const int row = m_model->findExact(change.Stem, Qt::CaseSensitive);
  switch (change.Type) {
    case Kind::Add:
    case Kind::Replace:
      if (row >= 0)
        m_model->replaceItem(row, change.Item);
      else
        m_model->insertSorted(change.Stem, change.Item);
      break;
    case Kind::Remove:
      m_model->remove(row);
      break;
    default:
      break;
  }
}

void PhotoListUpdater::selectFirstWhenNoneSelected() {
  if (!m_selection || m_selection->model() != m_model.data() || m_model->count() == 0) return;
  if (m_selection->hasSelection()) return;
  m_selection->setCurrentIndex(m_model->index(0),
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Current);
}
