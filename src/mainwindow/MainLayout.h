#pragma once

#include <QHash>
#include <QRect>
#include <QSize>

#include "controls/CTabPage.h"

// The key of the "Instructions" caption, which has no id of its own.
inline constexpr int kInstructionsCaptionId = -1;

// The frame's geometry for a client area of `client` (the part below the toolbar) and a
// tab bar `tabBarHeight` high: the left column under the instructions' caption, and the
// page area inside the tab control, ending 2 pixels short of the client's right and
// bottom.
TabPageFrame MainFrameLayout(QSize client, int tabBarHeight);
// Where the frame's own controls go: the instructions' caption, the instructions 1073
// (the whole left column unless a page places them) and the tab control 1007, which
// reaches the client's edges.
QHash<int, QRect> LayoutFrameControls(const TabPageFrame& frame);
