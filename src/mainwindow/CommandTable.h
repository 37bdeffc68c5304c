#pragma once

#include <QList>
#include <QString>

// The commands of menu 132, the toolbar and pop-up menu 184, as data the main window
// builds its actions from.
struct MenuEntry {
  enum class Kind { Command, Separator, SubmenuBegin, SubmenuEnd };
  Kind kind = Kind::Command;
  int command = 0;
  QString text;  // the menu text, or the submenu's title
};

struct MenuDefinition {
  const char* title;
  QList<MenuEntry> entries;
};

struct ToolbarButton {
  int command;
  const char* text;
};

// The menu bar, menu by menu, top to bottom; the Help menu names the photo-sharing
// service's site.
QList<MenuDefinition> MainMenuDefinition(const QString& serviceSiteName);
// The toolbar's eleven buttons, left to right; button i shows image i of the strip.
QList<ToolbarButton> ToolbarButtons();
// The photo list's pop-up menu 184, top to bottom (0 is a separator).
QList<int> PhotoPopupCommands();
