#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "mail/AddressBook.h"
#include "support/FileBytes.h"
#include "system/AtomicFile.h"

namespace {

class AddressBookTest : public testing::Test {
 protected:
  QList<AddressBookEntry> Load(const QByteArray& content) {
    WriteRaw(m_file, content);
    return LoadAddressBook(m_file);
  }
  static QStringList Flat(const QList<AddressBookEntry>& entries) {
    QStringList flat;
    for (const AddressBookEntry& e : entries) flat << e.name << e.address;
    return flat;
  }

  QTemporaryDir m_folder;
  QString m_file = m_folder.path() + "/addrbook.dat";
};

TEST_F(AddressBookTest, RoundTripInListOrder) {
  const QList<AddressBookEntry> entries{{"Ann Lee", "ann@example.org"},
                                        {QString::fromUtf8("Zoë Ünal"), "zoe@example.net"}};
  ASSERT_TRUE(SaveAddressBook(m_file, entries));
  EXPECT_EQ(ReadAll(m_file),
            QString::fromUtf8("2\nAnn Lee\nann@example.org\nZoë Ünal\nzoe@example.net\n").toUtf8());
  EXPECT_EQ(Flat(LoadAddressBook(m_file)), Flat(entries));

  ASSERT_TRUE(SaveAddressBook(m_file, {}));
  EXPECT_EQ(ReadAll(m_file), "0\n");
  EXPECT_TRUE(LoadAddressBook(m_file).isEmpty());
  EXPECT_TRUE(LoadAddressBook(m_folder.path() + "/missing.dat").isEmpty());
}

TEST_F(AddressBookTest, CountAndPairsThatDisagree) {
  EXPECT_EQ(Flat(Load("1\nAnn\nann@x.org\nBob\nbob@x.org\n")), (QStringList{"Ann", "ann@x.org"}));
  EXPECT_EQ(Flat(Load("5\nAnn\nann@x.org\nBob\nbob@x.org")),
            (QStringList{"Ann", "ann@x.org", "Bob", "bob@x.org"}));
  // A name whose address line the file lacks is kept, to be mended in the dialog.
  EXPECT_EQ(Flat(Load("2\nAnn\nann@x.org\nBob\n")), (QStringList{"Ann", "ann@x.org", "Bob", ""}));
  EXPECT_TRUE(Load("many\nAnn\nann@x.org\n").isEmpty());
  EXPECT_TRUE(Load("-3\nAnn\nann@x.org\n").isEmpty());
  EXPECT_EQ(Flat(Load("1 entry\nAnn\nann@x.org\n")), (QStringList{"Ann", "ann@x.org"}));
}

TEST_F(AddressBookTest, LinesAreCutAndLoseTrailingBlanks) {
  const QByteArray longName(600, 'n');
  EXPECT_EQ(Flat(Load("2\r\n" + longName + "\r\nann@x.org \t\r\nBob   \nbob@x.org\n")),
            (QStringList{QString(511, u'n'), "ann@x.org", "Bob", "bob@x.org"}));
  // Characters, not bytes: a multi-byte character is never split.
  const QList<AddressBookEntry> wide =
      Load("1\n" + QString(600, QChar(0x00e9)).toUtf8() + "\na@b.c\n");
  ASSERT_EQ(wide.size(), 1);
  EXPECT_EQ(wide[0].name, QString(511, QChar(0x00e9)));
}

TEST_F(AddressBookTest, UnstorableTextAndFailedWritesLeaveTheOldBook) {
  ASSERT_TRUE(SaveAddressBook(m_file, {{"Ann", "ann@x.org"}}));
  const QByteArray before = ReadAll(m_file);
  EXPECT_FALSE(IsStorableAddressBookText("Eve\nmallory@x.org"));
  EXPECT_FALSE(IsStorableAddressBookText(QString(512, u'a')));
  EXPECT_TRUE(IsStorableAddressBookText(QString(511, u'a')));
  EXPECT_FALSE(SaveAddressBook(m_file, {{"Ann", "ann@x.org"}, {"Eve\r", "eve@x.org"}}));
  EXPECT_EQ(ReadAll(m_file), before);

  // A crash between writing the new book and putting it in place.
  const AtomicWriteHook previous = SetAtomicWriteHook([](const QString&) { return false; });
  EXPECT_FALSE(SaveAddressBook(m_file, {{"Bob", "bob@x.org"}}));
  SetAtomicWriteHook(previous);
  EXPECT_EQ(ReadAll(m_file), before);
}

}  // namespace
