#pragma once

#include <QObject>
#include <QStringList>

class FeatureHost;

// Files dropped on the main window become photos: the drop is planned on the interface
// thread (asking about names already taken), then imported on the background runner,
// behind a window-modal progress box with Cancel when there are several files, and with
// only the wait cursor for one, the window staying usable.
class CDropImporter : public QObject {
  Q_OBJECT

 public:
  CDropImporter(FeatureHost& host, QObject* parent = nullptr);

  // Starts importing; does nothing while an import runs. finished follows in every case.
  void importFiles(const QStringList& files);
  bool isImporting() const { return m_importing; }

 signals:
  void finished(int imported, bool cancelled);

 private:
  FeatureHost& m_host;
  bool m_importing = false;
};
