#pragma once

#include <QHash>
#include <QRect>
#include <QSize>

#include "mainwindow/MainTab.h"

// The key of the "Instructions" caption, which has no id of its own.
inline constexpr int kInstructionsCaptionId = -1;

// Where every control of the content area goes for a client area of `client` (the part
// below the toolbar) and a tab bar `tabBarHeight` high, keyed by control id. The lists
// 1070 and 1071 and the label sheet view 1011 take the same rectangle, ending 2 pixels
// short of the client's right and bottom; the tab control 1007 reaches the client's edges.
QHash<int, QRect> LayoutMainWindow(QSize client, int tabBarHeight, MainTab tab);

// Whether the control of that id is shown on the tab; the instructions, their caption
// and the tab control are always shown.
bool ControlShownOnTab(int id, MainTab tab);
