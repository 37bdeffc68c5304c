#pragma once

#include <functional>

#include <QString>

class PhotoScanner;
class PhotoStore;
class Prompter;
class Settings;
struct ImageBitmap;

// What the Get a Photo wizard takes from the main window: the working bitmap the picture
// passes through, the store, the settings (view style, last folder), the prompt seam, the
// scanners, and the full-size view. All outlive the wizard.
struct GetPhotoHost {
  ImageBitmap* Working = nullptr;
  PhotoStore* Store = nullptr;
  Settings* ProgramSettings = nullptr;
  Prompter* Prompts = nullptr;
  PhotoScanner* Scanner = nullptr;  // null: no scanner library
  // Shows a picture full size, titled with the name ("" for none).
  std::function<void(const ImageBitmap& picture, const QString& name)> ViewFullPhoto;
};
