#pragma once

#include <memory>

#include <QString>

#include "controls/Prompter.h"
#include "krn/ImageBitmap.h"
#include "system/SemaphoreRegistry.h"

class ProgramRunner;
class QWidget;
class RegistryStore;

// The application object of quendal: the start-up sequence, the services and shared
// resources the main window is given, the main window's run, and the exit. A QApplication
// must exist first.
class CMainApp {
 public:
  static constexpr const char* kApplicationName = "Brivane";
  static constexpr const char* kStopSemaphoreName = "ThumbStop";
  static constexpr int kBlankPageWidth = 96;
  static constexpr int kBlankPageHeight = 127;

  // prompter: the prompts of the whole run; null means message boxes and dialogs.
  explicit CMainApp(std::unique_ptr<Prompter> prompter = nullptr);
  // Exit: closes the stop semaphore.
  ~CMainApp();
  CMainApp(const CMainApp&) = delete;
  CMainApp& operator=(const CMainApp&) = delete;

  // The start-up steps up to the main window.
  void initInstance();
  // Runs the main window until it closes, then destroys it. Returns the exit code. Once the
  // window shows, each settings file found unusable so far (the registry stand-in is
  // checked at start, the settings file as the window reads it) is reported in an error box.
  int run();

  const QString& helpFolder() const { return m_helpFolder; }
  Prompter& prompter() const { return *m_prompter; }
  SemaphoreRegistry& semaphores() { return m_semaphores; }
  const SemaphoreRegistry::Handle& stopSemaphore() const { return m_stopSemaphore; }
  const ImageBitmap& blankPage() const { return m_blankPage; }

 private:
  void loadBlankPage();
  void reportUnusedSettingsFiles(QWidget* parent);

  std::unique_ptr<Prompter> m_prompter;
  std::unique_ptr<RegistryStore> m_registry;
  std::unique_ptr<ProgramRunner> m_programRunner;
  QString m_helpFolder;
  SemaphoreRegistry m_semaphores;
  SemaphoreRegistry::Handle m_stopSemaphore;
  ImageBitmap m_blankPage;
};
