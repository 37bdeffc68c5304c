#pragma once

#include "krn/ltkrn.h"

class CFramePicker;
class FeatureHost;
class QWidget;

// Makes the framed picture from the picker's whole photo and chosen frame, on the
// background runner. Without a frame (an empty or unreadable folder, or a listed file
// whose GIF is missing) it says so and makes nothing; false then and on failure.
bool ComposeWithChosenFrame(FeatureHost& host, const CFramePicker& picker, QWidget* parent, ImageBitmap& framed);
