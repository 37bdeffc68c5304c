// The answers of every data request, byte for byte, on each store.

#include <QRegularExpression>
#include <atomic>
#include <thread>
#include <vector>

#include "ServiceTesting.h"
#include "service/PasswordHash.h"
#include "service/ServiceStore.h"

namespace {
const QByteArray kNoSuchLogin = "The User Id or Password is not correct.";

TEST_P(ServiceOnStore, AccountsSignUpLogInAndTellTheirPaths) {
  const QByteArray alice = signUp("Alice", "p@ss w'rd");
  const QByteArray bob = signUp("Bob");
  EXPECT_TRUE(QRegularExpression("^[1-9][0-9]{8}$").match(QString(alice)).hasMatch())
      << alice.toStdString();
  EXPECT_NE(alice, bob);

  EXPECT_EQ(get("/validateuser.asp?UserId=" + alice + "&Password=" + Sent("p@ss w'rd")), "SUCCESS");
  EXPECT_EQ(get("/validateuser.asp?UserId=" + alice + "&Password=secret"), kNoSuchLogin);
  EXPECT_EQ(get("/validateuser.asp?UserId=" + bob + "&Password=" + Sent("p@ss w'rd")),
            kNoSuchLogin);
  EXPECT_EQ(get("/validateuser.asp?UserId=123456789&Password=secret"), kNoSuchLogin);
  EXPECT_EQ(get("/validateuser.asp?UserId=" + alice + "&Password="), kNoSuchLogin);

  const QByteArray paths = get("/getpaths.asp?UserId=" + alice);
  const auto match = QRegularExpression("UploadPwd=([A-Za-z0-9]{20})\r\n").match(QString(paths));
  ASSERT_TRUE(match.hasMatch()) << paths.toStdString();
  const QByteArray web = QString("https://localhost:%1/").arg(service_->httpsPort()).toUtf8();
  EXPECT_EQ(paths,
            "UploadPath=ftp://localhost/photos\r\nUploadId=" + alice +
                "\r\nUploadPwd=" + match.captured(1).toUtf8() + "\r\nWebPath=" + web +
                "\r\nDiskSpaceUsed=0\r\nDiskSpacePurchased=5000\r\nActiveFlag=1\r\nErrorMsg=\r\n");
  EXPECT_NE(get("/getpaths.asp?UserId=" + bob), paths) << "upload passwords differ";

  EXPECT_EQ(get("/savespace.asp?UserId=" + alice + "&WebSpace=1234"), "Result=OK\r\n");
  EXPECT_TRUE(get("/getpaths.asp?UserId=" + alice).contains("\r\nDiskSpaceUsed=1234\r\n"));
  EXPECT_EQ(
      get("/savespace.asp?UserId=" + alice + "&WebSpace=12kB"),
      "ErrorMsg=The WebSpace value must be a whole number from 0 to 9223372036854775807.\r\n");
  EXPECT_EQ(get("/getpaths.asp?UserId=987654321"),
            "ErrorMsg=There is no account with the User Id 987654321.\r\n");
  EXPECT_EQ(get("/savespace.asp?UserId=987654321&WebSpace=1"),
            "ErrorMsg=There is no account with the User Id 987654321.\r\n");
}

TEST_P(ServiceOnStore, SignUpNamesWhatIsMissingOrWrong) {
  const std::pair<QByteArray, QByteArray> fields[] = {
      {"FirstName", "Al"}, {"LastName", "Li"}, {"Address1", "Road"}, {"Address2", ""},
      {"City", "Town"},    {"State", "ST"},    {"Zip", "1"},         {"Country", ""},
      {"Phone", "5"},      {"Fax", ""},        {"Mobile", ""},       {"Email", "al%40ex.org"},
      {"Password", "pw"}};
  const auto with = [&](const QByteArray& key, const QByteArray& value) {
    QByteArrayList pairs;
    for (const auto& [k, v] : fields) pairs << k + "=" + (k == key ? value : v);
    return get("/register.asp?" + pairs.join('&'));
  };
  EXPECT_EQ(with("City", ""), "ErrorMsg=Please give your city.\r\n");
  EXPECT_EQ(with("City", "%20%20"), "ErrorMsg=Please give your city.\r\n");
  EXPECT_EQ(with("FirstName", ""), "ErrorMsg=Please give your first name.\r\n");
  EXPECT_EQ(with("Zip", ""), "ErrorMsg=Please give your zip code.\r\n");
  EXPECT_EQ(with("Phone", ""), "ErrorMsg=Please give your phone number.\r\n");
  EXPECT_EQ(with("Email", ""), "ErrorMsg=Please give your email address.\r\n");
  for (const QByteArray email :
       {"%40example.com", "alice.example.com", "alice%40example", "a%40b.info"})
    EXPECT_EQ(with("Email", email), "ErrorMsg=Please give a valid email address.\r\n")
        << email.toStdString();
  EXPECT_TRUE(with("Email", "a%40b.co").startsWith("UserId="));
  EXPECT_EQ(with("Password", ""), "ErrorMsg=Please give a password.\r\n");
  EXPECT_EQ(with("Password", QByteArray(65, 'x')),
            "ErrorMsg=Please give a password of at most 64 characters.\r\n");
  EXPECT_TRUE(with("Password", QByteArray(64, 'x')).startsWith("UserId="));
}

TEST_P(ServiceOnStore, TheDatabaseKeepsNoClearPassword) {
  const QByteArray user = signUp("Alice", "Tr0ub4dor&3");
  const auto store = OpenServiceStore(database_, sqlitePath_);
  const SqlRows rows = store->run(
      "SELECT password_hash, upload_password FROM users WHERE user_id = $1", {user.toStdString()});
  ASSERT_EQ(rows.size(), 1u);
  const std::string& stored = rows[0][0];
  EXPECT_EQ(stored.find("Tr0ub4dor"), std::string::npos);
  const auto parts = QString::fromStdString(stored).split('$');
  ASSERT_EQ(parts.size(), 4) << stored;
  EXPECT_EQ(parts[0], "pbkdf2-sha256");
  EXPECT_GE(parts[1].toInt(), 100000);
  EXPECT_TRUE(QRegularExpression("^[0-9a-f]{32}$").match(parts[2]).hasMatch()) << stored;
  EXPECT_TRUE(QRegularExpression("^[0-9a-f]{64}$").match(parts[3]).hasMatch()) << stored;
  EXPECT_TRUE(PasswordHash::matches("Tr0ub4dor&3", stored));
  EXPECT_FALSE(PasswordHash::matches("Tr0ub4dor&4", stored));
  EXPECT_TRUE(get("/getpaths.asp?UserId=" + user)
                  .contains("UploadPwd=" + QByteArray::fromStdString(rows[0][1]) + "\r\n"));
}

TEST_P(ServiceOnStore, PhotoRecordsKeepExactlyWhatTheClientMeant) {
  const QByteArray user = signUp();
  const std::string comment = "Tom & Jerry's 100% #1 <b>+</b> \"quoted\"";
  const std::string name = "Crème brûlée's ☕ café";
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=" + SentDoubled(name) +
                "&Size=123456&W=640&H=480&Comment=" + SentDoubled(comment)),
            "Result=OK\r\n");
  // The page shows the record: every user text HTML-escaped.
  QByteArray page = get("/viewphoto.asp?UserId=" + user + "&Photo=" + Sent(name));
  EXPECT_TRUE(
      page.contains("Tom &amp; Jerry&#39;s 100% #1 &lt;b&gt;+&lt;/b&gt; &quot;quoted&quot;"))
      << page.toStdString();
  EXPECT_TRUE(page.contains("<h1>Crème brûlée&#39;s ☕ café</h1>"));
  EXPECT_TRUE(page.contains("640 &times; 480"));
  EXPECT_FALSE(page.contains("<b>+</b>"));

  // Saved again: replaced, not added.
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=" + SentDoubled(name) +
                "&Size=1&W=1&H=1&Comment=It''s%20new"),
            "Result=OK\r\n");
  page = get("/viewphoto.asp?UserId=" + user + "&Photo=" + Sent(name));
  EXPECT_TRUE(page.contains("It&#39;s new"));
  EXPECT_FALSE(page.contains("Jerry"));
  const auto store = OpenServiceStore(database_, sqlitePath_);
  EXPECT_EQ(store->run("SELECT name, size, comment FROM photos"),
            (SqlRows{{name, "1", "It's new"}}));

  EXPECT_EQ(get("/deletephoto.asp?UserId=" + user + "&Photo=" + SentDoubled(name)),
            "Result=OK\r\n");
  EXPECT_EQ(service_->request("/viewphoto.asp?UserId=" + user + "&Photo=" + Sent(name)).status,
            404);
  EXPECT_EQ(get("/deletephoto.asp?UserId=" + user + "&Photo=never"), "Result=OK\r\n");
  EXPECT_EQ(get("/deletephoto.asp?UserId=111111111&Photo=never"),
            "ErrorMsg=There is no account with the User Id 111111111.\r\n");

  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=a&Size=12.5&W=1&H=1&Comment="),
            "ErrorMsg=The Size value must be a whole number from 0 to 9223372036854775807.\r\n");
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=a&Size=1&W=-1&H=1&Comment="),
            "ErrorMsg=The W value must be a whole number from 0 to 2147483647.\r\n");
  EXPECT_EQ(get("/savephoto.asp?UserId=222222222&Photo=a&Size=1&W=1&H=1&Comment="),
            "ErrorMsg=There is no account with the User Id 222222222.\r\n");
}

TEST_P(ServiceOnStore, NamesThatWouldLeaveTheirFolderAreRefused) {
  const QByteArray user = signUp();
  const QByteArray album =
      get("/savealbum.asp?UserId=" + user + "&Album=Trip&NumPages=1").mid(8, 9);
  ASSERT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=0&NumRows=1&NumCols=1").left(4),
            "URL=");
  const std::pair<std::string, QByteArray> refused[] = {
      {"../x", "ErrorMsg=The name cannot hold \"/\" or \"\\\".\r\n"},
      {"a/b", "ErrorMsg=The name cannot hold \"/\" or \"\\\".\r\n"},
      {"a\\b", "ErrorMsg=The name cannot hold \"/\" or \"\\\".\r\n"},
      {"..", "ErrorMsg=The name cannot be \"..\".\r\n"},
      {".", "ErrorMsg=The name cannot be \".\".\r\n"},
      {"tab\there", "ErrorMsg=The name cannot hold control characters.\r\n"},
      {"line\r\nbreak", "ErrorMsg=The name cannot hold control characters.\r\n"},
      {"", "ErrorMsg=The name is empty.\r\n"},
      {std::string(256, 'n'), "ErrorMsg=The name is longer than 255 characters.\r\n"},
  };
  for (const auto& [name, answer] : refused) {
    SCOPED_TRACE(name);
    EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=" + SentDoubled(name) +
                  "&Size=1&W=1&H=1&Comment="),
              answer);
    EXPECT_EQ(get("/savealbum.asp?UserId=" + user + "&Album=" + SentDoubled(name) + "&NumPages=1"),
              answer);
    EXPECT_EQ(get("/deletealbum.asp?UserId=" + user + "&Album=" + SentDoubled(name)), answer);
    if (!name.empty()) {
      EXPECT_EQ(get("/savealbumphoto.asp?UserId=" + user + "&AlbumId=" + album +
                    "&PageNum=0&PhotoNum=0&PhotoName=" + SentDoubled(name)),
                answer);
    }
  }
  // NUL in any value, and text that is not UTF-8, never reach the database.
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=a%00b&Size=1&W=1&H=1&Comment="),
            "ErrorMsg=The request holds text that is not UTF-8 or holds NUL characters.\r\n");
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=ok&Size=1&W=1&H=1&Comment=%C3%28"),
            "ErrorMsg=The request holds text that is not UTF-8 or holds NUL characters.\r\n");
  // 255 characters of two bytes each are a good name.
  std::string longest;
  for (int i = 0; i < 255; ++i) longest += "é";
  EXPECT_EQ(
      get("/savephoto.asp?UserId=" + user + "&Photo=" + Sent(longest) + "&Size=1&W=1&H=1&Comment="),
      "Result=OK\r\n");
}

TEST_P(ServiceOnStore, EchoedValuesNeverBreakTheLines) {
  EXPECT_EQ(get("/getpaths.asp?UserId=1%0D%0AActiveFlag=1%00%0A"),
            "ErrorMsg=The request holds text that is not UTF-8 or holds NUL characters.\r\n");
  EXPECT_EQ(get("/getpaths.asp?UserId=1%0D%0AActiveFlag=1%0A"),
            "ErrorMsg=There is no account with the User Id 1ActiveFlag=1.\r\n");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=x%0D%0AURL=evil&PageNum=0&NumRows=1&NumCols=1"),
            "ErrorMsg=There is no album with the Album Id xURL=evil.\r\n");
  // A multi-line comment is kept, but a page is where it shows, not an answer.
  const QByteArray user = signUp();
  EXPECT_EQ(get("/savephoto.asp?UserId=" + user + "&Photo=p&Size=1&W=1&H=1&Comment=one%0D%0Atwo"),
            "Result=OK\r\n");
  EXPECT_TRUE(get("/viewphoto.asp?UserId=" + user + "&Photo=p").contains("one\r\ntwo"));
}

TEST_P(ServiceOnStore, AlbumsRoundTripThroughGetAlbums) {
  const QByteArray user = signUp();
  const QByteArray other = signUp("Bob");
  EXPECT_EQ(get("/getalbums.asp?UserId=" + user), "AlbumCount=0\r\n");
  EXPECT_EQ(get("/getalbums.asp?UserId=000000000"), "AlbumCount=0\r\n");

  const QByteArray made = get("/savealbum.asp?UserId=" + user +
                              "&Album=" + SentDoubled("Mum's 60th & more") + "&NumPages=2");
  ASSERT_TRUE(QRegularExpression("^AlbumId=[1-9][0-9]{8}\r\n$").match(QString(made)).hasMatch())
      << made.toStdString();
  const QByteArray album = made.mid(8, 9);
  const QByteArray second =
      get("/savealbum.asp?UserId=" + user + "&Album=Zoo&NumPages=1").mid(8, 9);
  EXPECT_NE(second, album);
  // Saved again under the same name: the same album.
  EXPECT_EQ(get("/savealbum.asp?UserId=" + user + "&Album=" + SentDoubled("Mum's 60th & more") +
                "&NumPages=2"),
            made);

  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=0&NumRows=2&NumCols=2"),
            "URL=http://localhost:" + QByteArray::number(service_->httpPort()) +
                "/viewalbum.asp?UserId=%s&AlbumId=" + album + "&PageNum=0\r\n");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=1&NumRows=1&NumCols=3").left(4),
            "URL=");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=2&NumRows=1&NumCols=1"),
            "ErrorMsg=The album has no page 2.\r\n");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=0&NumRows=21&NumCols=1"),
            "ErrorMsg=The NumRows value must be a whole number from 1 to 20.\r\n");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=123456789&PageNum=0&NumRows=1&NumCols=1"),
            "ErrorMsg=There is no album with the Album Id 123456789.\r\n");

  const auto place = [&](const QByteArray& owner, int page, int slot, const std::string& name) {
    return get("/savealbumphoto.asp?UserId=" + owner + "&AlbumId=" + album +
               "&PageNum=" + QByteArray::number(page) + "&PhotoNum=" + QByteArray::number(slot) +
               "&PhotoName=" + SentDoubled(name));
  };
  EXPECT_EQ(place(user, 0, 0, "Fish & Chips"), "Result=OK\r\n");
  EXPECT_EQ(place(user, 0, 3, "Kid's cake"), "Result=OK\r\n");
  EXPECT_EQ(place(user, 1, 2, "Beach"), "Result=OK\r\n");
  EXPECT_EQ(place(user, 1, 1, "Gone"), "Result=OK\r\n");
  EXPECT_EQ(place(user, 1, 1, ""), "Result=OK\r\n");
  EXPECT_EQ(place(user, 0, 4, "x"), "ErrorMsg=The page has no place 4.\r\n");
  EXPECT_EQ(place(other, 0, 1, "x"),
            "ErrorMsg=You have no album with the Album Id " + album + ".\r\n");

  const QByteArray expected =
      "AlbumCount=2\r\n"
      "AlbumNum=0\r\nAlbumName=Mum's 60th & more\r\nNumPages=2\r\n"
      "NumRows=2\r\nNumColumns=2\r\nPhoto0=Fish & Chipsjpg\r\nPhoto1=jpg\r\nPhoto2=jpg\r\nPhoto3=Kid's cakejpg\r\n"
      "NumRows=1\r\nNumColumns=3\r\nPhoto0=jpg\r\nPhoto1=jpg\r\nPhoto2=Beachjpg\r\n"
      "AlbumNum=1\r\nAlbumName=Zoo\r\nNumPages=1\r\n"
      "NumRows=1\r\nNumColumns=1\r\nPhoto0=jpg\r\n";
  EXPECT_EQ(get("/getalbums.asp?UserId=" + user), expected);
  EXPECT_EQ(get("/getalbums.asp?UserId=" + other), "AlbumCount=0\r\n");

  // A smaller grid forgets the places beyond it; fewer pages forget the pages beyond.
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=0&NumRows=1&NumCols=2").left(4),
            "URL=");
  EXPECT_EQ(get("/savealbumpage.asp?AlbumId=" + album + "&PageNum=0&NumRows=2&NumCols=2").left(4),
            "URL=");
  EXPECT_EQ(get("/savealbum.asp?UserId=" + user + "&Album=" + SentDoubled("Mum's 60th & more") +
                "&NumPages=1"),
            made);
  EXPECT_EQ(get("/savealbum.asp?UserId=" + user + "&Album=Zoo&NumPages=1001"),
            "ErrorMsg=The NumPages value must be a whole number from 0 to 1000.\r\n");
  EXPECT_EQ(
      get("/getalbums.asp?UserId=" + user),
      "AlbumCount=2\r\nAlbumNum=0\r\nAlbumName=Mum's 60th & more\r\nNumPages=1\r\n"
      "NumRows=2\r\nNumColumns=2\r\nPhoto0=Fish & Chipsjpg\r\nPhoto1=jpg\r\nPhoto2=jpg\r\nPhoto3=jpg\r\n"
      "AlbumNum=1\r\nAlbumName=Zoo\r\nNumPages=1\r\nNumRows=1\r\nNumColumns=1\r\nPhoto0=jpg\r\n");

  EXPECT_EQ(get("/deletealbum.asp?UserId=" + user + "&Album=" + SentDoubled("Mum's 60th & more")),
            "Result=OK\r\n");
  EXPECT_EQ(get("/deletealbum.asp?UserId=" + user + "&Album=Never"), "Result=OK\r\n");
  EXPECT_EQ(
      get("/getalbums.asp?UserId=" + user),
      "AlbumCount=1\r\nAlbumNum=0\r\nAlbumName=Zoo\r\nNumPages=1\r\nNumRows=1\r\nNumColumns=1\r\nPhoto0=jpg\r\n");
  const auto store = OpenServiceStore(database_, sqlitePath_);
  EXPECT_EQ(
      store->run("SELECT COUNT(*) FROM album_slots WHERE album_id = $1", {album.toStdString()}),
      (SqlRows{{"0"}}));
  EXPECT_EQ(
      store->run("SELECT COUNT(*) FROM album_pages WHERE album_id = $1", {album.toStdString()}),
      (SqlRows{{"0"}}));
}

TEST_P(ServiceOnStore, ManyClientsAtOnceAllGetTheirAnswers) {
  const QByteArray user = signUp();
  std::vector<std::thread> clients;
  std::atomic<int> good{0};
  for (int c = 0; c < 8; ++c)
    clients.emplace_back([&, c] {
      for (int i = 0; i < 25; ++i) {
        const QByteArray name = "c" + QByteArray::number(c) + "-" + QByteArray::number(i);
        if (get("/savephoto.asp?UserId=" + user + "&Photo=" + name + "&Size=1&W=1&H=1&Comment=") ==
            "Result=OK\r\n")
          ++good;
      }
    });
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(good.load(), 200);
  const auto store = OpenServiceStore(database_, sqlitePath_);
  EXPECT_EQ(store->run("SELECT COUNT(*) FROM photos"), (SqlRows{{"200"}}));
}

INSTANTIATE_TEST_SUITE_P(Stores, ServiceOnStore, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return std::string(info.param); });
}  // namespace
