#include <QFileInfo>

#include "BrivaneTool.h"
#include "CommandLine.h"
#include "library/SavePictureAs.h"

int BrivaneTool::editPhotos(const PictureEdit& edit, const QStringList& names) {
  if (!openStore()) return kFailure;
  int status = kSuccess;
  for (const QString& name : names) {
    const QString stem = storedStem(name);
    if (stem.isEmpty()) {
      status = kFailure;
      continue;
    }
    ImageBitmap working;
    int result = m_store.LoadPhoto(working, stem);
    QString problem = result == SUCCESS ? edit.Apply(working) : ResultDescription(result);
    if (problem.isEmpty() && (result = m_store.ReplacePicture(working, stem)) != SUCCESS)
      problem = ResultDescription(result);
    EmptyBitmap(working);
    if (!problem.isEmpty()) status = fail(QStringLiteral("cannot %1 '%2': %3").arg(edit.Doing, name, problem));
  }
  return status;
}

int BrivaneTool::editFile(const PictureEdit& edit, const QString& in, const QString& out) {
  const QString target = QFileInfo(out).absoluteFilePath();
  if (QFileInfo(in).absoluteFilePath() == target)
    return usageError(QStringLiteral("write the result to another file than '%1'").arg(in));
  ImageBitmap picture;
  FileInfo header;
  int result = LoadPictureFile(in, picture, header);
  if (result != SUCCESS) return fail(QStringLiteral("cannot read '%1': %2").arg(in, FileResultDescription(result, header)));
  const QString problem = edit.Apply(picture);
  if (!problem.isEmpty()) return fail(QStringLiteral("cannot %1 '%2': %3").arg(edit.Doing, in, problem));
  const SaveAsSettings settings = SaveAsSettingsFor(target, picture.BitsPerPixel);
  if (settings.Format == 0) return fail(QStringLiteral("'%1' does not end in an image file type Brivane writes").arg(out));
  result = SavePictureAs(settings, picture);
  if (result != SUCCESS) return fail(QStringLiteral("cannot write '%1': %2").arg(target, ResultDescription(result)));
  return kSuccess;
}
