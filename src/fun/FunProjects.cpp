#include "fun/FunProjects.h"

#include "controls/CommandIds.h"
#include "system/Folders.h"

namespace {
const FunProjectInfo kProjects[] = {
    {FunProject::SportsCard, "Sports Card", kCommandFunSportsCard, GetSportsCardFolder,
     "What would you like to do with your Sports Card?", "Click <Print It> to print your your Sports Card."},
    {FunProject::Calendar, "Calendar", kCommandFunCalendar, nullptr, "What would you like to do with your Calendar?",
     "Click <Print It> to print your your Calendar."},
    {FunProject::Magazine, "Magazine Cover", kCommandFunMagazine, GetMagazineFolder,
     "What would you like to do with your Magazine?", "Click <Print It> to print your your Magazine."},
    {FunProject::GreetingCard, "Greeting Card", kCommandFunGreetingCard, GetGreetingCardFolder,
     "What would you like to do with your GreetingCard?", "Click <Print It> to print your your Greeting Card."},
};
}  // namespace

const FunProjectInfo& ProjectInfo(FunProject project) { return kProjects[int(project)]; }

std::optional<FunProject> ProjectForCommand(int command) {
  for (const FunProjectInfo& info : kProjects)
    if (info.Command == command) return info.Project;
  return std::nullopt;
}

std::optional<FunProject> ProjectForFunRow(int row) {
  if (row < 0 || row > 3) return std::nullopt;
  return FunProject(row);
}
