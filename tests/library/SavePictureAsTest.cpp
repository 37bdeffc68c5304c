#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "fil/ltfil.h"
#include "library/SavePictureAs.h"
#include "StoreTestSupport.h"

// Whatever a store running at the same time put into the imaging library's comment table
// is not this picture's: a saved copy carries no description.
TEST(SavePictureAs, ASavedCopyTakesNoDescriptionFromTheCommentTable) {
  QTemporaryDir dir;
  const ImageBitmap picture = TestPicture(40, 30);
  SetSaveComment(COMMENT_DESCRIPTION, "another photo's description");
  const int jpeg = SavePictureAs(SaveAsSettingsFor(dir.filePath("copy.jpg"), 24), picture);
  const int png = SavePictureAs(SaveAsSettingsFor(dir.filePath("copy.png"), 24), picture);
  SetSaveComment(COMMENT_DESCRIPTION, QString());
  ASSERT_EQ(jpeg, SUCCESS);
  ASSERT_EQ(png, SUCCESS);
  for (const QString name : {"copy.jpg", "copy.png"})
    EXPECT_EQ(ReadFileComment(dir.filePath(name), COMMENT_DESCRIPTION, nullptr), ERROR_NO_COMMENT)
        << name.toStdString();
}
