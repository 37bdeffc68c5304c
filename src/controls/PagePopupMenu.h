#pragma once

#include <QList>

#include "controls/MainTab.h"

class FeatureHost;
class QMenu;
class QWidget;

// Menu 187, the pop-up of the album page and label sheet views: 0 is a separator.
QList<int> PagePopupCommands();
// The menu for a tab's page view. On the album tab the commands albums do not take
// (templates, editing, printing) are left out; on either tab the commands that need a
// picture are grayed when the selected cell holds none. Each item runs its command
// through the host. The caller owns the menu.
QMenu* MakePagePopupMenu(FeatureHost& host, MainTab tab, bool cellHoldsPicture, QWidget* parent);
