#include <gtest/gtest.h>

#include "mainwindow/CommandEnable.h"
#include "controls/CommandIds.h"

namespace {
// The columns of the enable table: My Photos with and without a selection, the album and
// label tabs with and without a photo in the selected place, Publish and Fun.
struct Column {
  const char* name;
  CommandState state;
};

std::vector<Column> Columns() {
  std::vector<Column> columns;
  auto add = [&](const char* name, MainTab tab, bool photo, bool slot, bool label, bool sheet) {
    columns.push_back({name, CommandState{tab, photo, slot, label, sheet}});
  };
  add("photos+sel", MainTab::MyPhotos, true, true, true, true);
  add("photos-none", MainTab::MyPhotos, false, true, true, true);
  add("albums+slot", MainTab::PhotoAlbums, true, true, false, true);
  add("albums-slot", MainTab::PhotoAlbums, true, false, true, true);
  add("labels+label", MainTab::PrintLabels, true, true, true, true);
  add("labels-label+sheet", MainTab::PrintLabels, true, true, false, true);
  add("labels-empty", MainTab::PrintLabels, true, true, false, false);
  add("publish", MainTab::Publish, true, true, true, true);
  add("fun", MainTab::Fun, true, true, true, true);
  return columns;
}

struct Row {
  std::vector<int> commands;
  std::vector<bool> enabled;  // one per column, in the order of Columns()
};
}  // namespace

TEST(CommandEnable, EveryRowOfTheTableOnEveryTab) {
  const std::vector<Row> rows = {
      {{kCommandCrop, kCommandCaption, kCommandEnhance, kCommandFrame, kCommandRedEye, kCommandResize},
       {true, false, false, false, true, false, false, false, false}},
      {{kCommandDelete, kCommandView, kCommandSavePictureAs, kCommandSetAsWallpaper,
        kCommandFunSportsCard, kCommandFunCalendar, kCommandFunMagazine, kCommandFunGreetingCard},
       {true, false, true, false, true, false, false, false, false}},
      {{kCommandPrint}, {true, false, false, false, true, true, false, false, false}},
      {{kCommandClear}, {false, false, true, false, true, false, false, false, false}},
      {{kCommandChooseTemplate}, {false, false, false, false, true, true, true, false, false}},
      {{kCommandEditComment, kCommandRename, kCommandEmailPhoto},
       {true, false, false, false, false, false, false, false, false}},
      // Commands without a rule stay available everywhere.
      {{kCommandGetPhoto, kCommandPreferences, kCommandExit, kCommandHelpContents, kCommandAbout,
        kCommandLookOnline},
       {true, true, true, true, true, true, true, true, true}},
  };
  const std::vector<Column> columns = Columns();
  for (const Row& row : rows)
    for (int command : row.commands)
      for (size_t c = 0; c < columns.size(); ++c)
        EXPECT_EQ(IsCommandEnabled(command, columns[c].state), row.enabled[c])
            << "command " << command << " in " << columns[c].name;
}
