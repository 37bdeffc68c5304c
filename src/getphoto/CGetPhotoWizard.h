#pragma once

#include "controls/CWizardSheet.h"

class CNamePage;
class FeatureHost;
class PhotoScanner;
class COpenPhotoPage;
class CPickFilePage;

// "Get a New Photo": choose the source (only when a scanner library is there), choose a
// file or scan, then name the photo. Finish stores the last photo and closes; Next with
// "Get another photo" stores it and starts again at the first page.
class CGetPhotoWizard : public CWizardSheet {
  Q_OBJECT

 public:
  // scanner: the scanners and cameras; null when there is no scanner library.
  CGetPhotoWizard(FeatureHost& host, PhotoScanner* scanner, QWidget* parent = nullptr);
  ~CGetPhotoWizard() override;

  FeatureHost& host() const { return m_host; }
  PhotoScanner* scanner() const { return m_scanner; }
  // Null when no scanner library is there.
  COpenPhotoPage* openPage() const { return m_openPage; }
  CPickFilePage* pickPage() const { return m_pickPage; }
  CNamePage* namePage() const { return m_namePage; }
  // How many photos this run has stored.
  int storedCount() const { return m_stored; }
  void countStored() { ++m_stored; }

 private:
  FeatureHost& m_host;
  PhotoScanner* m_scanner;
  COpenPhotoPage* m_openPage = nullptr;
  CPickFilePage* m_pickPage = nullptr;
  CNamePage* m_namePage = nullptr;
  int m_stored = 0;
};
