#pragma once

#include <optional>

#include <QString>

// The four fun projects, in the order of the Fun list's first rows.
enum class FunProject { SportsCard = 0, Calendar = 1, Magazine = 2, GreetingCard = 3 };

struct FunProjectInfo {
  FunProject Project;
  const char* Name;          // in the wizard's texts and the viewer's title
  int Command;               // the Photo > Fun menu command
  QString (*Folder)();       // the templates; null for the calendar
  const char* Question;      // the print-and-save page's text
  const char* PrintText;     // the print page's text
};

const FunProjectInfo& ProjectInfo(FunProject project);
// The project a menu command starts, or none.
std::optional<FunProject> ProjectForCommand(int command);
// The project of a Fun list row (0 to 3), or none.
std::optional<FunProject> ProjectForFunRow(int row);
