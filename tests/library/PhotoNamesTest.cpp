#include <gtest/gtest.h>

#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"

TEST(ThumbnailSize, LongerSideBecomesHundredCutTowardZeroNeverZero) {
  EXPECT_EQ(ThumbnailSize(1600, 1200), QSize(100, 75));
  EXPECT_EQ(ThumbnailSize(1200, 1600), QSize(75, 100));
  EXPECT_EQ(ThumbnailSize(500, 500), QSize(100, 100));
  EXPECT_EQ(ThumbnailSize(640, 479), QSize(100, 74));
  EXPECT_EQ(ThumbnailSize(20000, 100), QSize(100, 1));
  EXPECT_EQ(ThumbnailSize(100, 30000), QSize(1, 100));
  EXPECT_EQ(ThumbnailSize(2000000000, 1999999999), QSize(100, 99));  // no overflow
  EXPECT_TRUE(ThumbnailSize(0, 100).isEmpty());
}

TEST(PhotoNames, AmpersandsAreDoubledInStemsAndShownSingle) {
  EXPECT_EQ(StemForName("Fish & Chips"), "Fish && Chips");
  EXPECT_EQ(NameForStem("Fish && Chips"), "Fish & Chips");
  for (const QString name : {"R&B & Soul", "&", "a&&b"}) EXPECT_EQ(NameForStem(StemForName(name)), name);
}

TEST(PhotoNames, TakenWhenAStoredNameBeginsWithItIgnoringCase) {
  const QStringList stored = {"Tommy", "Fish & Chips"};
  EXPECT_TRUE(IsNameTaken("tom", stored));
  EXPECT_TRUE(IsNameTaken("TOMMY", stored));
  EXPECT_FALSE(IsNameTaken("Tommy2", stored));
  // Names, not stems: ampersands compare as typed.
  EXPECT_TRUE(IsNameTaken("fish & c", stored));
  EXPECT_FALSE(IsNameTaken("Fish && C", stored));
  EXPECT_TRUE(IsNameTaken("", stored));
  EXPECT_FALSE(IsNameTaken("", {}));

  const NameCheck check = CheckPhotoName("  Tom ", stored);
  EXPECT_EQ(check.Verdict, NameVerdict::Taken);
  EXPECT_EQ(check.Message, "You already have a photo named 'Tom'.  Please type a different name.");
  EXPECT_EQ(CheckPhotoName("   ", stored).Message,
            "Please type a name for this photo so Brivane can store it in the 'My Photos' folder for you.");
}

TEST(PhotoNames, NamesThatWouldLeaveTheFolderAreRefused) {
  for (const QString& name : QStringList{"../escape", "a/b", ".", "..", "tab\there", "line\nbreak",
                                         "del\x7f", QString("nul") + QChar(0), QString("half") + QChar(0xD800)})
    EXPECT_EQ(CheckPhotoName(name, {}).Verdict, NameVerdict::Unsafe) << name.toStdString();
  // What Windows forbade but Linux allows stays allowed.
  for (const QString name : {"a:b", "why?", "star*", "back\\slash", "<angle>|", "..."})
    EXPECT_TRUE(CheckPhotoName(name, {}).accepted()) << name.toStdString();
}

TEST(PhotoNames, SixtyCharactersCountCharactersNotUnits) {
  const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // two UTF-16 units
  EXPECT_TRUE(CheckPhotoName(smile.repeated(60), {}).accepted());
  EXPECT_EQ(CheckPhotoName(smile.repeated(61), {}).Verdict, NameVerdict::TooLong);
  EXPECT_EQ(LeftCharacters("ab" + smile + "cd", 3), "ab" + smile);
}

TEST(PhotoNames, InvisibleNamesCountAsEmpty) {
  // Zero-width space, joiners, a byte-order mark, a lone combining mark, a Hangul filler.
  for (const char16_t* invisible : {u"\u200B", u"\u200B \u200D\u2060", u"\uFEFF", u"\u0301", u"\u3164"})
    EXPECT_EQ(CheckPhotoName(QString::fromUtf16(invisible), {}).Verdict, NameVerdict::Empty);
  for (const char16_t* visible : {u"a\u200B", u"\u00E9", u"\U0001F600", u"e\u0301"})
    EXPECT_TRUE(CheckPhotoName(QString::fromUtf16(visible), {}).accepted());
}
