#pragma once

#include <QString>

class PhotoScanner;
class ProgramRunner;
class Prompter;
class RegistryStore;
class SemaphoreRegistry;
struct ImageBitmap;

// The services the application makes once at start-up and hands the main window, which
// passes them on to the features through FeatureHost. The application owns each of them
// for longer than the window lives.
struct MainWindowServices {
  Prompter* prompter = nullptr;
  SemaphoreRegistry* semaphores = nullptr;
  RegistryStore* registry = nullptr;
  ProgramRunner* programRunner = nullptr;
  // The settings file ("quendal.ini" in the Windows folder).
  QString settingsFile;
  // Where the help pages lie, ending in "/".
  QString helpFolder;
  // The blank page (96 x 127) that label template previews draw on copies of.
  const ImageBitmap* blankPage = nullptr;
  // Scanners and cameras for Get a New Photo; null: the scanner module.
  PhotoScanner* scanner = nullptr;
};
