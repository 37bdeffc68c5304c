#pragma once

#include <QString>
#include <functional>

class PhotoStore;
class Prompter;
class RegistryStore;
struct ImageBitmap;

// What the slide show and screen saver builder takes from the main window.
struct ShowBuilderHost {
  PhotoStore* Store = nullptr;
  Prompter* Prompts = nullptr;
  RegistryStore* Registry = nullptr;
  QString ProgramFolder;  // ending "/": the launcher, the players and the modules
  QString SystemFolder;   // ending "/": where screen savers go by default
  // Shows a photo full size, titled with its name.
  std::function<void(const ImageBitmap& picture, const QString& name)> ViewFullPhoto;
  // Starts a finished slide show.
  std::function<void(const QString& show)> OpenShow;
};
