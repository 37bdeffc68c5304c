#pragma once

#include "controls/MainTab.h"

// What the command-enable rules look at: the current tab and what is selected on it.
struct CommandState {
  MainTab tab = MainTab::MyPhotos;
  bool photoSelected = false;   // My Photos: an entry of the photo list is selected
  bool slotHasPhoto = false;    // Photo Albums: the selected slot of the page holds a photo
  bool labelHasPhoto = false;   // Print Labels: the selected label holds a photo
  bool sheetHasPhoto = false;   // Print Labels: some label of the sheet holds a photo
};
