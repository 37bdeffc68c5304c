#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "albums/PhotoAlbum.h"
#include "library/PhotoStore.h"

class InternetSession;
class LabelTemplateList;
class Settings;
struct ParsedArguments;
struct EffectInfo;

// The command line of brivane: global options, then one command working on the My Photos
// folder of a program folder. Results go to standard output; progress, skipped files, the
// one-line reason of a failure and a warning about a settings file left unused go to
// standard error.
class BrivaneTool {
 public:
  // Exit statuses.
  static constexpr int kSuccess = 0;
  static constexpr int kFailure = 1;
  static constexpr int kWrongCommandLine = 2;

  BrivaneTool();

  int run(const QStringList& arguments);

 private:
  int import(const QStringList& arguments);
  int list(const QStringList& arguments);
  int describe(const QStringList& arguments);
  int rename(const QStringList& arguments);
  int remove(const QStringList& arguments);
  int exportPhoto(const QStringList& arguments);
  int info(const QStringList& arguments);
  int show(const QStringList& arguments);
  int labels(const QStringList& arguments);
  int listLabelTemplates(const QStringList& arguments);
  int printLabels(const QString& code, const QString& pdf, bool fill, const QStringList& photos);
  int effect(const QStringList& arguments);
  int listEffects();
  int resize(const QStringList& arguments);
  int caption(const QStringList& arguments);
  int fun(const QStringList& arguments);
  int publish(const QStringList& arguments);
  int retrieve(const QStringList& arguments);

  // A change to a picture, named for messages ("apply Blur to", "resize to 800x600").
  // Apply returns why the change could not be made, or "".
  struct PictureEdit {
    QString Doing;
    std::function<QString(ImageBitmap&)> Apply;
  };
  // Makes the change to each stored photo, stored again with its description; a photo that
  // cannot be changed does not stop the others.
  int editPhotos(const PictureEdit& edit, const QStringList& names);
  // Makes the change to a picture file, written as another in the format its name gives.
  int editFile(const PictureEdit& edit, const QString& in, const QString& out);

  // Where a fun project's picture goes: a picture file, or a new photo of the store.
  struct FunOutput {
    QString File;
    QString Name;
    QString Description;
  };
  int funCalendar(const ParsedArguments& parsed);
  int funCard(const ParsedArguments& parsed);
  // The project's photo: a stored photo's name, or with --file a picture file.
  int loadFunPhoto(const ParsedArguments& parsed, ImageBitmap& photo);
  // Checks --out, --store and --description before any drawing; kSuccess when usable.
  int checkFunOutput(const ParsedArguments& parsed, FunOutput& output);
  // Writes the file or stores the photo, and names it on standard output.
  int keepFunResult(ImageBitmap& picture, const FunOutput& output);

  // Reads the settings and opens the internet session that reaches the account's service,
  // stopped by Ctrl+C; null after reporting that there is no account or no session.
  std::unique_ptr<InternetSession> openServiceSession(Settings& settings);

  // Reports a failure of the current command and returns kFailure.
  int fail(const QString& reason);
  int usageError(const QString& reason);
  // One line for each settings file met and found unusable since the last call; each file
  // is noted once per process, so it is warned about once.
  void warnAboutUnusedSettingsFiles();
  // Finds the program folder; false after reporting that it does not exist.
  bool findProgramFolder();
  // Reads labels.dat of the program folder; false after reporting that it holds no sheets.
  bool loadLabelTemplates(LabelTemplateList& templates);
  // Finds the program folder and makes its My Photos folder exist; false after reporting.
  bool openStore();
  // Applies a change to the albums of photos.dat and saves them when places changed; a
  // failed save is a warning, since the photo has changed already.
  void updateAlbums(const std::function<int(std::vector<PhotoAlbum>&)>& change);
  // The stem of a stored photo, or "" after reporting that there is none of that name.
  QString storedStem(const QString& name);

  QTextStream m_out;
  QTextStream m_err;
  QString m_command;
  QString m_programFolder;
  PhotoStore m_store{QString()};
};
