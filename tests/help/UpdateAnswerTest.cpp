// The rules by which the live-update module trusts an update server's answer, beyond
// what the tests against the service serve.

#include <gtest/gtest.h>

#include "update/UpdateAnswer.h"

namespace {

TEST(UpdateAnswer, VersionsCompareAsNumbers) {
  for (const char* bad : {"", "1.", ".1", "1..2", "v1.2", "-1", "1.2.3.4.5.6.7.8.9", "1234567890"})
    EXPECT_FALSE(IsVersionNumber(bad)) << bad;
  EXPECT_GT(CompareVersions("1.10", "1.9"), 0);
  EXPECT_EQ(CompareVersions("1.1", "1.1.0"), 0);
  EXPECT_GT(CompareVersions("1.1.1", "1.1"), 0);
  EXPECT_LT(CompareVersions("1.01", "1.2"), 0);
}

TEST(UpdateAnswer, OnlyPlainWebAddressesAndWholeAnswersPass) {
  EXPECT_TRUE(IsDownloadAddress("HTTPS://example.org:8443/b?x=1&y=2#top"));
  EXPECT_TRUE(IsDownloadAddress("http://[::1]:8080/"));
  for (const char* bad : {"http://", "http:///path", "ftp://example.org/", "javascript:alert(1)",
                          "http://example.org/\x01", "http://example.org/\xc3\xa9",
                          "http://trusted.example@evil.example/", "-http://example.org/"})
    EXPECT_FALSE(IsDownloadAddress(bad)) << bad;
  EXPECT_FALSE(IsDownloadAddress("http://example.org/" + std::string(3000, 'a')));

  const std::string digest(64, 'c');
  std::string problem;
  const auto answer = ParseUpdateAnswer(
      "Version=1.2\r\nDownload=http://h/d/\nNews=later\r\n\r\nSHA256=" + digest, problem);
  ASSERT_TRUE(answer) << problem;
  EXPECT_EQ(answer->Version, "1.2");
  EXPECT_EQ(answer->Download, "http://h/d/");
  EXPECT_EQ(answer->Sha256, digest);
  const std::string rest = "Download=http://h/d/\nSHA256=" + digest + "\n";
  for (const std::string& refused :
       {rest, "Version=1.2\nVersion=1.3\n" + rest, "Version=1.2\n<html>\n" + rest,
        "Version=1.2\n" + rest.substr(0, rest.find('\n'))}) {
    problem.clear();
    EXPECT_FALSE(ParseUpdateAnswer(refused, problem)) << refused;
    EXPECT_FALSE(problem.empty());
  }
}

}  // namespace
