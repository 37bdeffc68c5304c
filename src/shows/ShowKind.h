#pragma once

// The Fun list entries that build a show.
enum class ShowKind { SlideShow = 4, ScreenSaver = 5 };
