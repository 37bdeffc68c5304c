#pragma once

#include <QList>
#include <QString>

class PhotoListModel;

struct FunActivity {
  const char* text;
  const char* pictureFile;  // in the program folder
};

// The fun list's rows of the show builder.
constexpr int kFunSlideShow = 4;
constexpr int kFunScreenSaver = 5;

// The fun list's six entries, in order: 0 to 3 are the fun projects, 4 the slide show
// and 5 the screen saver.
QList<FunActivity> FunActivities();
// Fills the model with the entries and their pictures from the program folder (ending in
// "/"); an entry whose picture is missing shows only its text.
void FillFunList(PhotoListModel& model, const QString& programFolder);
