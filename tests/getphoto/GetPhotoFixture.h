#pragma once

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QTemporaryDir>

#include "getphoto/CGetPhotoWizard.h"
#include "krn/ImageBitmap.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"

class CPickFilePage;

// A Get a Photo wizard over a private store, settings file and pictures folder, with
// scripted prompts and no scanner unless a test hands one.
class GetPhotoFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<CGetPhotoWizard> makeWizard(PhotoScanner* scanner = nullptr);
  // Selects the file in the browser and opens it once its picture is decoded.
  static bool OpenFile(CPickFilePage* page, const QString& name);

  static int argc;
  static char* argv[];
  QApplication application{argc, argv};
  QTemporaryDir home;  // the pictures folder and the store live here
  QString pictures;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  ScriptedPrompter prompter;
  std::unique_ptr<TestFeatureHost> host;  // its working bitmap, and the names given to the full-size view
};
