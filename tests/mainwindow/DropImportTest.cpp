#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include "MainWindowFixture.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "system/Folders.h"

namespace {
QString Picture(const QTemporaryDir& dir, const QString& name, QColor colour, int width = 64,
                int height = 48) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  const QString path = dir.filePath(name);
  image.save(path, name.endsWith(".bmp") ? "BMP" : "JPEG");
  return path;
}

QStringList StoredFiles() {
  QStringList files = QDir(GetMyPhotosFolder()).entryList(QDir::Files);
  files.sort();
  return files;
}

int StoredWidth(const QString& stem) {
  ImageBitmap bmp;
  InitBitmap(bmp, 0, 0, 0);
  LoadImageFile(GetMyPhotosFolder() + stem + ".jpg", bmp);
  const int width = bmp.Width;
  FreeBitmap(bmp);
  return width;
}

class DropImport : public MainWindowFixture {
 protected:
  // Imports and waits for the end; returns what was imported.
  int importAndWait(CMainDialog& window, const QStringList& files) {
    QSignalSpy finished(&window, &CMainDialog::importFinished);
    window.importFiles(files);
    if (finished.isEmpty() && !finished.wait(20000)) return -1;
    return finished.first().first().toInt();
  }
  QTemporaryDir drops;
};
}  // namespace

TEST_F(DropImport, DroppedBitmapsAreStoredUnderTheirNamesAndJpegIsIgnored) {
  auto window = makeWindow();
  window->show();
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(Picture(drops, "Red.bmp", Qt::red)),
                QUrl::fromLocalFile(Picture(drops, "Fish & Chips.bmp", Qt::green)),
                QUrl::fromLocalFile(Picture(drops, "Sky.BMP", Qt::blue)),
                QUrl::fromLocalFile(Picture(drops, "Holiday.jpeg", Qt::yellow))});
  QSignalSpy finished(window.get(), &CMainDialog::importFinished);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  static_cast<QObject*>(window.get())->event(&drop);
  EXPECT_TRUE(drop.isAccepted());
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_EQ(finished.first().first().toInt(), 3);
  EXPECT_EQ(StoredFiles(), QStringList({"Fish && Chips.jpg", "Fish && Chips_tn.jpg", "Red.jpg",
                                        "Red_tn.jpg", "Sky.jpg", "Sky_tn.jpg"}));
  EXPECT_TRUE(prompter.prompts().isEmpty());

  // A ".jpeg" alone does nothing at all.
  EXPECT_EQ(importAndWait(*window, {Picture(drops, "Alone.jpeg", Qt::yellow)}), 0);
  EXPECT_EQ(StoredFiles().size(), 6);
  EXPECT_FALSE(window->isImporting());
}

TEST_F(DropImport, ATakenNameIsAskedAboutNeverSilentlyReplaced) {
  auto window = makeWindow();
  ASSERT_EQ(importAndWait(*window, {Picture(drops, "Beach.bmp", Qt::red, 64)}), 1);
  QTemporaryDir other;
  const QString wider = Picture(other, "Beach.bmp", Qt::blue, 96);

  // Cancel skips the file: the stored photo stays as it was.
  prompter.answer(Prompter::Answer::Cancel);
  EXPECT_EQ(importAndWait(*window, {wider}), 0);
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("You already have a photo named 'Beach'."));
  EXPECT_EQ(StoredWidth("Beach"), 64);

  // No keeps both: the dropped picture is stored under a new name.
  prompter.answer(Prompter::Answer::No);
  EXPECT_EQ(importAndWait(*window, {wider}), 1);
  EXPECT_EQ(StoredWidth("Beach"), 64);
  EXPECT_EQ(StoredWidth("Beach (2)"), 96);

  // Yes replaces it.
  prompter.answer(Prompter::Answer::Yes);
  EXPECT_EQ(importAndWait(*window, {wider}), 1);
  EXPECT_EQ(StoredWidth("Beach"), 96);

  // "Beach_tn.jpg" is Beach's thumbnail: a dropped "Beach_tn" is refused without a question.
  const qsizetype asked = prompter.prompts().size();
  EXPECT_EQ(importAndWait(*window, {Picture(drops, "Beach_tn.bmp", Qt::green, 80)}), 0);
  EXPECT_EQ(prompter.prompts().size(), asked);
  EXPECT_EQ(StoredWidth("Beach_tn"), 100);

  // Two files of one drop with the same name: the second one is asked about too.
  prompter.answer(Prompter::Answer::No);
  const QString fresh = Picture(drops, "Dune.bmp", Qt::red, 64);
  EXPECT_EQ(importAndWait(*window, {fresh, Picture(other, "Dune.bmp", Qt::blue, 96)}), 2);
  EXPECT_EQ(StoredWidth("Dune"), 64);
  EXPECT_EQ(StoredWidth("Dune (2)"), 96);
  EXPECT_EQ(prompter.prompts().size(), 4);
  EXPECT_EQ(prompter.unscripted(), 0);
}

TEST_F(DropImport, AManyFileDropShowsProgressAndCanBeCancelled) {
  auto window = makeWindow();
  window->show();
  QStringList files;
  for (int i = 0; i < 40; ++i) files << Picture(drops, QString("Photo %1.bmp").arg(i), Qt::gray, 1600, 1200);
  QSignalSpy finished(window.get(), &CMainDialog::importFinished);
  window->importFiles(files);
  ASSERT_TRUE(window->isImporting());
  QProgressDialog* progress = window->importProgress();
  ASSERT_TRUE(progress);
  EXPECT_EQ(progress->maximum(), 40);
  // The window keeps handling events while the files are worked on.
  QApplication::processEvents();
  emit progress->canceled();  // the Cancel button
  ASSERT_TRUE(finished.wait(20000));
  const int imported = finished.first().first().toInt();
  EXPECT_TRUE(finished.first().at(1).toBool());
  EXPECT_LT(imported, 40);
  // Whatever was stored is complete: both files of every photo.
  EXPECT_EQ(StoredFiles().size(), 2 * imported);
  EXPECT_FALSE(window->isImporting());
}
