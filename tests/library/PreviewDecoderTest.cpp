#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "support/TestPictures.h"
#include "library/PreviewDecoder.h"

namespace {

class PreviewDecoding : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(WritePicture(folder.filePath("large.jpg"), 1600, 1200));
    ASSERT_TRUE(WritePicture(folder.filePath("small.png"), 90, 60, "PNG"));
    ASSERT_TRUE(WriteText(folder.filePath("broken.jpg"), "\xff\xd8\xff\xe0 not really"));
  }
  static int argc;
  static char* argv[];
  QCoreApplication application{argc, argv};
  QTemporaryDir folder;
};
char name[] = "preview";
int PreviewDecoding::argc = 1;
char* PreviewDecoding::argv[] = {name, nullptr};

TEST_F(PreviewDecoding, ALargeJpegPreviewsReducedThenDecodesInFull) {
  PreviewDecoder decoder(QSize(200, 200));
  QSignalSpy previews(&decoder, &PreviewDecoder::previewReady);
  decoder.request(folder.filePath("large.jpg"));
  ASSERT_TRUE(WaitFor([&] { return decoder.isDone(); }));
  EXPECT_EQ(previews.count(), 1);
  ASSERT_TRUE(decoder.hasPreview() && decoder.hasFull());
  EXPECT_LT(decoder.preview().Width, 1600);
  EXPECT_GE(decoder.preview().Width, 200);
  EXPECT_EQ(decoder.full().Width, 1600);
  const ImageBitmap full = decoder.takeFull();
  EXPECT_EQ(full.Height, 1200);
  EXPECT_FALSE(decoder.hasFull());

  // A small picture is its own preview.
  decoder.request(folder.filePath("small.png"));
  ASSERT_TRUE(WaitFor([&] { return decoder.isDone(); }));
  EXPECT_EQ(decoder.preview().Width, 90);
  EXPECT_EQ(decoder.full().Width, 90);
}

TEST_F(PreviewDecoding, OnlyTheNewestRequestIsAnsweredAndBadFilesFail) {
  PreviewDecoder decoder(QSize(200, 200));
  QSignalSpy fulls(&decoder, &PreviewDecoder::fullReady);
  QSignalSpy failures(&decoder, &PreviewDecoder::failed);
  decoder.request(folder.filePath("large.jpg"));
  decoder.request(folder.filePath("broken.jpg"));
  decoder.request(folder.filePath("small.png"));
  ASSERT_TRUE(WaitFor([&] { return decoder.isDone(); }));
  QCoreApplication::processEvents();
  ASSERT_EQ(fulls.count(), 1);
  EXPECT_EQ(fulls[0][0].toString(), folder.filePath("small.png"));
  EXPECT_EQ(failures.count(), 0);

  decoder.request(folder.filePath("broken.jpg"));
  ASSERT_TRUE(WaitFor([&] { return decoder.isDone(); }));
  EXPECT_EQ(failures.count(), 1);
  EXPECT_FALSE(decoder.hasPreview());

  decoder.request(folder.filePath("missing.jpg"));
  ASSERT_TRUE(WaitFor([&] { return decoder.isDone(); }));
  EXPECT_EQ(failures.count(), 2);

  // Going away mid-decode neither waits long nor delivers anything.
  decoder.request(folder.filePath("large.jpg"));
  decoder.clear();
  EXPECT_TRUE(decoder.path().isEmpty());
}

}  // namespace
