// The small parts the answers are made of, on inputs the answers tests do not reach.

#include <gtest/gtest.h>

#include "service/PasswordHash.h"
#include "service/QueryValues.h"
#include "service/ServiceOptions.h"
#include "service/ServicePages.h"

namespace {
TEST(QueryValues, DecodesPercentsAndUndoesDoubledQuotesOnlyWhenAsked) {
  const QueryValues query(
      "A=Tom%20%26%20Jerry%27%27s%20100%25%20%231&B=x+y&C=%zz%4&D&=e&A=second&E=''''");
  EXPECT_EQ(query.text("A"), "Tom & Jerry''s 100% #1");
  EXPECT_EQ(query.undoubled("A"), "Tom & Jerry's 100% #1");
  EXPECT_EQ(query.text("B"), "x y");
  EXPECT_EQ(query.text("C"), "%zz%4") << "a broken escape stays as it was";
  EXPECT_TRUE(query.has("D"));
  EXPECT_EQ(query.text("D"), "");
  EXPECT_FALSE(query.has("Missing"));
  EXPECT_EQ(query.undoubled("E"), "''");
  EXPECT_EQ(UndoQuoteDoubling("'a'''"), "'a''");
}

TEST(QueryValues, KnowsWellFormedUtf8) {
  EXPECT_TRUE(IsUtf8("plain, Crème brûlée, ☕, 𝄞"));
  EXPECT_FALSE(IsUtf8("\xC3\x28"));          // bad continuation
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsUtf8("\xE2\x98"));          // cut short
  EXPECT_EQ(CharacterCount("a☕é𝄞"), 4u);
  EXPECT_FALSE(QueryValues("a=%00").allUtf8());
  EXPECT_EQ(PercentDecode(PercentEncode("a b&c=d%e+f/☕'")), "a b&c=d%e+f/☕'");
}

TEST(PasswordHash, SaltsEveryHashAndRefusesMalformedRecords) {
  const std::string first = PasswordHash::make("pw", 1000);
  const std::string second = PasswordHash::make("pw", 1000);
  EXPECT_NE(first, second);
  EXPECT_TRUE(PasswordHash::matches("pw", first));
  EXPECT_TRUE(PasswordHash::matches("pw", second));
  EXPECT_FALSE(PasswordHash::matches("pW", first));
  EXPECT_FALSE(PasswordHash::matches("", first));
  for (const char* stored : {"", "pw", "pbkdf2-sha256$1000$zz$00", "md5$1$00$00",
                             "pbkdf2-sha256$0$00112233445566778899aabbccddeeff$00"})
    EXPECT_FALSE(PasswordHash::matches("pw", stored)) << stored;
  // A known vector: PBKDF2-HMAC-SHA256("password", "salt", 1 round).
  EXPECT_TRUE(PasswordHash::matches(
      "password",
      "pbkdf2-sha256$1$73616c74$120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"));
}

TEST(ServiceOptions, ReadsTheCommandLineAndNamesMistakes) {
  std::string error;
  const auto options = ParseServiceOptions(
      {"--data", "/d", "--http", "0", "--https", "off", "--ftp", "2100", "--ftp-passive-ports",
       "3000-3010", "--default-space", "77", "--stop-with-parent"},
      error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->dataFolder, "/d");
  EXPECT_EQ(options->httpPort, 0);
  EXPECT_EQ(options->httpsPort, -1);
  EXPECT_EQ(options->ftpPort, 2100);
  EXPECT_EQ(options->defaultSpace, 77);
  EXPECT_TRUE(options->stopWithParent);
  EXPECT_EQ(ParseServiceOptions({"--update-version", "1.x"}, error)->updateVersion, "1.x");

  const auto space = ParseServiceOptions({"set-space", "123456789", "999"}, error);
  ASSERT_TRUE(space);
  EXPECT_EQ(space->command, ServiceOptions::Command::SetSpace);
  EXPECT_EQ(space->space, 999);

  const std::vector<std::vector<std::string>> wrong = {{"--http", "65536"},
                                                       {"--http", "-1"},
                                                       {"--https", "x"},
                                                       {"--ftp-passive-ports", "9-3"},
                                                       {"--cert", "c.pem"},
                                                       {"--http", "off", "--https", "off"},
                                                       {"--default-space", "1G"},
                                                       {"--bogus", "1"},
                                                       {"--data"},
                                                       {"set-space", "1"},
                                                       {"list-users", "extra"},
                                                       {"--public-host", "a/b"},
                                                       {"--update-url", "http://h/\r\nVersion=9"}};
  for (const auto& arguments : wrong) {
    error.clear();
    EXPECT_FALSE(ParseServiceOptions(arguments, error)) << arguments[0];
    EXPECT_FALSE(error.empty()) << arguments[0];
  }
}

TEST(ServicePages, EscapesUserTextEverywhere) {
  EXPECT_EQ(ServicePages::escape("<a href=\"x\">Tom & Jerry's</a>"),
            "&lt;a href=&quot;x&quot;&gt;Tom &amp; Jerry&#39;s&lt;/a&gt;");
  const std::string evil = "<script>alert(1)</script>";
  ServicePages::AlbumSheet sheet;
  sheet.ownerName = evil;
  sheet.albumName = evil;
  sheet.places = {{evil, "/photos/1/" + evil}};
  sheet.pageUrls = {"/x?\"" + evil};
  for (const std::string& page :
       {ServicePages::albumPage(sheet),
        ServicePages::myPhotos(evil, {{evil, evil, evil, evil}}, {{evil, evil}}),
        ServicePages::photo(evil, evil, evil, evil, 1, 1), ServicePages::webSpace(evil, evil, 1, 2),
        ServicePages::message(evil, evil)})
    EXPECT_EQ(page.find("<script>"), std::string::npos) << page;
}
}  // namespace
