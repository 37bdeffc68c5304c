#include <gtest/gtest.h>

#include <netdb.h>
#include <cerrno>

#include <QTimeZone>

#include "mail/MailMessage.h"
#include "mail/SocketErrorText.h"

namespace {

const QDateTime kDate(QDate(2026, 12, 9), QTime(7, 5, 3), QTimeZone(-(4 * 3600 + 30 * 60)));

MailMessage Message() {
  return {
      "me@example.com",
      "friend@example.org",
      "Here's some new photos!",
      "Click on the link below to see the photo.\n\nhttp://photos.example.com/view.asp?Id=42\n\n",
      {}};
}

TEST(MailMessage, TextMessageByteForByte) {
  EXPECT_EQ(ComposeMessage(Message(), kDate, "<0123abcd@example.com>"),
            "Date: Wed, 09 Dec 2026 07:05:03 -0430\r\n"
            "From: me@example.com\r\n"
            "To: friend@example.org\r\n"
            "Subject:Here's some new photos!\r\n"
            "Message-ID: <0123abcd@example.com>\r\n"
            "MIME-Version: 1.0\r\n"
            "Content-Type: text/plain; charset=utf-8\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n"
            "\r\n"
            "Click on the link below to see the photo.\r\n"
            "\r\n"
            "http://photos.example.com/view.asp?Id=3D42\r\n"
            "\r\n");
}

TEST(MailMessage, HtmlMessageByteForByte) {
  MailMessage message = Message();
  message.text = "See the photo.";
  message.html = "<p>See the <b>photo</b>.</p>";
  const QByteArray composed = ComposeMessage(message, kDate, "<0123abcd@example.com>");
  const QByteArray boundary = composed.mid(composed.indexOf("boundary=\"") + 10, 34);
  ASSERT_TRUE(boundary.startsWith("=_brivane_"));
  EXPECT_EQ(composed,
            "Date: Wed, 09 Dec 2026 07:05:03 -0430\r\n"
            "From: me@example.com\r\n"
            "To: friend@example.org\r\n"
            "Subject:Here's some new photos!\r\n"
            "Message-ID: <0123abcd@example.com>\r\n"
            "MIME-Version: 1.0\r\n"
            "Content-Type: multipart/alternative; boundary=\"" +
                boundary +
                "\"\r\n"
                "\r\n"
                "--" +
                boundary +
                "\r\n"
                "Content-Type: text/plain; charset=utf-8\r\n"
                "Content-Transfer-Encoding: quoted-printable\r\n"
                "\r\n"
                "See the photo.\r\n"
                "--" +
                boundary +
                "\r\n"
                "Content-Type: text/html; charset=utf-8\r\n"
                "Content-Transfer-Encoding: quoted-printable\r\n"
                "\r\n"
                "<p>See the <b>photo</b>.</p>\r\n"
                "--" +
                boundary + "--\r\n");
}

TEST(MailMessage, DatesUseEnglishNamesAndTheOffset) {
  EXPECT_EQ(Rfc5322Date(QDateTime(QDate(2027, 1, 31), QTime(23, 59, 59), QTimeZone(3600))),
            "Sun, 31 Jan 2027 23:59:59 +0100");
}

TEST(MailMessage, SubjectsAreEncodedOnlyWhenNeededAndFolded) {
  EXPECT_EQ(EncodedSubjectField("Plain words"), "Subject:Plain words");
  const QString longAscii = QString("word ").repeated(30).trimmed();
  const QByteArray folded = EncodedSubjectField(longAscii);
  for (const QByteArray& line : folded.split('\n')) EXPECT_LT(line.size(), 79);
  EXPECT_EQ(QByteArray(folded).replace("\r\n", ""), "Subject:" + longAscii.toLatin1());

  // Each encoded word holds whole characters: decoding them one by one gives the text back.
  const QString subject = QString::fromUtf8("Ünïcödé 写真 📷 ").repeated(8);
  const QByteArray field = EncodedSubjectField(subject);
  QString decoded;
  for (const QByteArray& line : field.split('\n')) {
    EXPECT_LT(line.size(), 79) << line.toStdString();
    const qsizetype start = line.indexOf("=?UTF-8?B?") + 10;
    const QByteArray word =
        QByteArray::fromBase64(line.mid(start, line.indexOf("?=", start) - start));
    EXPECT_TRUE(QString::fromUtf8(word).toUtf8() == word) << "a character was split";
    decoded += QString::fromUtf8(word);
  }
  EXPECT_EQ(decoded, subject);
}

TEST(MailMessage, QuotedPrintableKeepsLinesShortAndBlanksSafe) {
  EXPECT_EQ(QuotedPrintable("a = b \nend\t"), "a =3D b=20\r\nend=09\r\n");
  EXPECT_EQ(QuotedPrintable("one\r\ntwo\n"), "one\r\ntwo\r\n");
  EXPECT_EQ(QuotedPrintable(QString::fromUtf8("été")), "=C3=A9t=C3=A9\r\n");
  const QByteArray encoded = QuotedPrintable(QString(200, u'x') + QString::fromUtf8("é"));
  for (const QByteArray& line : encoded.split('\n')) EXPECT_LE(line.size(), 77);
  EXPECT_EQ(QByteArray(encoded).replace("=\r\n", ""), QByteArray(200, 'x') + "=C3=A9\r\n");
}

TEST(MailMessage, DataTransferStuffsDotsAndEndsTheData) {
  EXPECT_EQ(DataTransfer(".\r\nx.\r\n..y\r\n"), "..\r\nx.\r\n...y\r\n.\r\n");
  EXPECT_EQ(DataTransfer("no line end"), "no line end\r\n.\r\n");
}

TEST(MailMessage, HeaderInjectionAndBadAddressesAreRefused) {
  EXPECT_TRUE(HeaderProblem(Message()).isEmpty());
  MailMessage message = Message();
  message.subject = "Hello\r\nBcc: victim@example.net";
  EXPECT_EQ(HeaderProblem(message), "The subject must be a single line.");
  message = Message();
  message.to = "friend@example.org\nBcc: victim@example.net";
  EXPECT_EQ(HeaderProblem(message), "An email address must be a single line.");
  message = Message();
  message.from = "me";
  EXPECT_EQ(HeaderProblem(message), "me is not a valid email address.");

  for (const char* good : {"a@b", "first.last+tag@sub.example.co.uk"})
    EXPECT_TRUE(IsMailAddress(good)) << good;
  for (const char* bad : {"", "@b", "a@", "a@@b", "a@b@c", "a b@c", "<a@b>", "a@b\t", "a\x01@b"})
    EXPECT_FALSE(IsMailAddress(bad)) << bad;
  EXPECT_FALSE(IsMailAddress(QString(250, u'a') + "@b.cd"));
}

TEST(SocketErrorText, TableTextsWithTheirCodes) {
  EXPECT_EQ(
      SocketErrorText(10054),
      "The virtual circuit was reset by the remote side. i.e. The client connection probably shutdown. (10054)");
  EXPECT_EQ(SocketErrorText(11001), "Authoritative Answer Service not found.  (11001)");
  EXPECT_EQ(SocketErrorText(10061), "Unknown Socket error occured. (10061)");
  errno = ECONNRESET;
  EXPECT_EQ(SocketErrorText(0), SocketErrorText(10054));

  EXPECT_EQ(SocketErrorCode(EADDRINUSE), 10048);
  EXPECT_EQ(SocketErrorCode(EWOULDBLOCK), 10035);
  EXPECT_EQ(SocketErrorCode(ENOTSOCK), 10038);
  // An errno that is not a socket error must not pass for a table entry.
  EXPECT_EQ(SocketErrorCode(ENOSYS), ENOSYS);
  EXPECT_EQ(ResolverErrorCode(EAI_NONAME), 11001);
  EXPECT_EQ(ResolverErrorCode(EAI_AGAIN), 11002);
  EXPECT_EQ(ResolverErrorCode(EAI_FAIL), 11003);
}

}  // namespace
