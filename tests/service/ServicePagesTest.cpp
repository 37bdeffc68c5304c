// The pages for people, drawn by headless Chromium at desktop and phone sizes. The photos
// are solid colours, so the screenshots show where each one went.

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "ServiceTesting.h"
#include "service/PhotoNames.h"
#include "support/RequireTool.h"

namespace {
struct Size {
  const char* name;
  int width, height;
};
const Size kSizes[] = {{"desktop", 1280, 900}, {"phone", 390, 844}};

// Where the pixels close to one colour are, and how many.
struct Spot {
  int count = 0;
  QRect box;
};

Spot Find(const QImage& image, const std::function<bool(QRgb)>& matches, const QRect& area = {}) {
  Spot spot;
  const QRect scan = area.isNull() ? image.rect() : area.intersected(image.rect());
  for (int y = scan.top(); y <= scan.bottom(); ++y)
    for (int x = scan.left(); x <= scan.right(); ++x)
      if (matches(image.pixel(x, y))) {
        ++spot.count;
        spot.box |= QRect(x, y, 1, 1);
      }
  return spot;
}

bool Red(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool Green(QRgb c) { return qGreen(c) > 200 && qRed(c) < 60 && qBlue(c) < 60; }
bool Blue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60; }
bool Yellow(QRgb c) { return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 60; }
bool Colourful(QRgb c) { return QColor(c).hsvSaturation() > 120 && QColor(c).value() > 80; }

class PagesInChromium : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RequireTool("chromium", "chromium")) GTEST_SKIP();
    ReferenceService::Options options;
    options.arguments = {"--default-space", "4000000"};
    service_ = std::make_unique<ReferenceService>(options);
    ASSERT_TRUE(service_->isRunning()) << service_->error().toStdString();
    user_ =
        service_
            ->get(
                "/register.asp?FirstName=Alice&LastName=Smith&Address1=R&Address2=&City=T&State=S"
                "&Zip=1&Country=&Phone=5&Fax=&Mobile=&Email=a%40b.org&Password=pw")
            .mid(7, 9);
    // As the FTP server would store them: the photo, and a thumbnail only for "Green".
    photo("Red & Ruby", Qt::red, "Tom & Jerry's <favourite> 100% #1");
    photo("Green", Qt::green, "");
    photo("Blue", Qt::blue, "Sky");
    writeJpeg(PhotoNames::thumbnailFile("Green"), Qt::yellow);
    ASSERT_EQ(get("/savephoto.asp?UserId=" + user_ + "&Photo=Green_tn&Size=1&W=80&H=60&Comment="),
              "Result=OK\r\n");

    album_ = get("/savealbum.asp?UserId=" + user_ + "&Album=" + SentDoubled("Alice's colours") +
                 "&NumPages=2")
                 .mid(8, 9);
    ASSERT_EQ(
        get("/savealbumpage.asp?AlbumId=" + album_ + "&PageNum=0&NumRows=2&NumCols=2").left(4),
        "URL=");
    ASSERT_EQ(
        get("/savealbumpage.asp?AlbumId=" + album_ + "&PageNum=1&NumRows=1&NumCols=1").left(4),
        "URL=");
    const char* const places[] = {"Red & Ruby", "Green", "Blue"};
    for (int slot = 0; slot < 3; ++slot)
      ASSERT_EQ(get("/savealbumphoto.asp?UserId=" + user_ + "&AlbumId=" + album_ +
                    "&PageNum=0&PhotoNum=" + QByteArray::number(slot) +
                    "&PhotoName=" + SentDoubled(places[slot])),
                "Result=OK\r\n");
    ASSERT_EQ(get("/savespace.asp?UserId=" + user_ + "&WebSpace=1000000"), "Result=OK\r\n");
  }

  QByteArray get(const QByteArray& pathAndQuery) const { return service_->get(pathAndQuery); }

  void writeJpeg(const std::string& file, Qt::GlobalColor colour) {
    const QString folder = service_->dataFolder() + "/upload/photos/" + QString(user_) + "/";
    QDir().mkpath(folder);
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(folder + QString::fromStdString(file), "JPG", 95));
  }

  void photo(const std::string& name, Qt::GlobalColor colour, const std::string& comment) {
    writeJpeg(PhotoNames::photoFile(name), colour);
    ASSERT_EQ(get("/savephoto.asp?UserId=" + user_ + "&Photo=" + SentDoubled(name) +
                  "&Size=1000&W=480&H=360&Comment=" + SentDoubled(comment)),
              "Result=OK\r\n");
  }

  // Screenshots of the page at both sizes (taken at once), kept for people to look at.
  std::vector<QImage> screenshots(const QByteArray& pathAndQuery, const QString& name) {
    QDir().mkpath(BRIVANE_SCREENSHOT_DIR);
    std::vector<std::unique_ptr<QProcess>> browsers;
    std::vector<QString> files;
    for (const Size& size : kSizes) {
      files.push_back(QString(BRIVANE_SCREENSHOT_DIR) + "service-" + name + "-" + size.name +
                      ".png");
      QFile::remove(files.back());
      auto& browser = browsers.emplace_back(std::make_unique<QProcess>());
      browser->start(
          "chromium",
          {"--headless=new", "--no-sandbox", "--disable-gpu", "--hide-scrollbars", "--no-first-run",
           "--user-data-dir=" + profile_.path() + "/" + size.name, "--screenshot=" + files.back(),
           QString("--window-size=%1,%2").arg(size.width).arg(size.height),
           service_->httpBase() + QString::fromUtf8(pathAndQuery.mid(1))});
    }
    std::vector<QImage> images;
    for (std::size_t i = 0; i < browsers.size(); ++i) {
      EXPECT_TRUE(browsers[i]->waitForFinished(60000)) << "chromium did not finish";
      images.emplace_back(files[i]);
      EXPECT_FALSE(images.back().isNull()) << "no screenshot " << files[i].toStdString() << ": "
                                           << browsers[i]->readAllStandardError().toStdString();
    }
    return images;
  }

  std::unique_ptr<ReferenceService> service_;
  QTemporaryDir profile_;
  QByteArray user_;
  QByteArray album_;
};

TEST_F(PagesInChromium, AlbumPageLaysOutItsGridAndLeavesTheFreePlaceEmpty) {
  const auto images = screenshots(
      "/viewalbum.asp?UserId=" + user_ + "&AlbumId=" + album_ + "&PageNum=0", "viewalbum");
  for (const QImage& image : images) {
    if (image.isNull()) continue;
    SCOPED_TRACE(image.width());
    const Spot red = Find(image, Red), green = Find(image, Green), blue = Find(image, Blue);
    const int area = image.width() * image.height();
    for (const Spot* spot : {&red, &green, &blue}) EXPECT_GT(spot->count, area / 50);
    // Places of one grid: the same size, cropped to fill them.
    EXPECT_NEAR(red.box.width(), green.box.width(), 3);
    EXPECT_NEAR(red.box.height(), blue.box.height(), 3);
    EXPECT_NEAR(red.count, red.box.width() * red.box.height(), red.count / 50)
        << "a full rectangle";
    // Reading order: red, green on the first row; blue under red.
    EXPECT_LT(red.box.right(), green.box.left());
    EXPECT_NEAR(red.box.top(), green.box.top(), 2);
    EXPECT_LT(red.box.bottom(), blue.box.top());
    EXPECT_NEAR(red.box.left(), blue.box.left(), 2);
    // The fourth place is an empty frame: nothing colourful in it.
    const QRect free(green.box.left(), blue.box.top(), green.box.width(), blue.box.height());
    EXPECT_LT(Find(image, Colourful, free).count, free.width() * free.height() / 100);
    // The sheet is portrait: the grid is taller than wide (letter paper, 8.5 x 11).
    const QRect grid = red.box | green.box | blue.box;
    EXPECT_GT(grid.height(), grid.width());
  }
}

TEST_F(PagesInChromium, MyPhotosShowsThumbnailsOnlyWithTheRightPassword) {
  const auto images = screenshots("/viewmyphotos.asp?UserId=" + user_ + "&Pwd=pw", "viewmyphotos");
  for (const QImage& image : images) {
    if (image.isNull()) continue;
    SCOPED_TRACE(image.width());
    const int area = image.width() * image.height();
    EXPECT_GT(Find(image, Red).count, area / 100);
    EXPECT_GT(Find(image, Blue).count, area / 100);
    EXPECT_GT(Find(image, Yellow).count, area / 100) << "Green's thumbnail";
    EXPECT_EQ(Find(image, Green).count, 0) << "the photo itself, though it has a thumbnail";
  }
  const QByteArray page = get("/viewmyphotos.asp?UserId=" + user_ + "&Pwd=pw");
  EXPECT_TRUE(page.contains("<title>Pelloria - Alice&#39;s photos</title>"));
  EXPECT_TRUE(page.contains("Tom &amp; Jerry&#39;s &lt;favourite&gt; 100% #1"));
  EXPECT_TRUE(
      page.contains("href=\"/viewphoto.asp?UserId=" + user_ + "&amp;Photo=Red%20%26%20Ruby\""));
  EXPECT_TRUE(page.contains("src=\"/photos/" + user_ + "/Red%20%26%26%20Ruby.jpg\""));
  EXPECT_TRUE(page.contains("href=\"/viewalbum.asp?UserId=" + user_ + "&amp;AlbumId=" + album_ +
                            "&amp;PageNum=0\""));
  EXPECT_FALSE(page.contains(">Green_tn<")) << "a thumbnail is not a photo of its own";

  const auto wrong = service_->request("/viewmyphotos.asp?UserId=" + user_ + "&Pwd=nope");
  EXPECT_TRUE(wrong.body.contains("The User Id or Password is not correct."));
  EXPECT_FALSE(wrong.body.contains("/photos/"));
}

TEST_F(PagesInChromium, PhotoPageShowsThePhotoLarge) {
  const auto images =
      screenshots("/viewphoto.asp?UserId=" + user_ + "&Photo=" + Sent("Red & Ruby"), "viewphoto");
  for (const QImage& image : images) {
    if (image.isNull()) continue;
    SCOPED_TRACE(image.width());
    const Spot red = Find(image, Red);
    EXPECT_GT(red.count, image.width() * image.height() / 8);
    EXPECT_NEAR(double(red.box.width()) / red.box.height(), 480.0 / 360.0, 0.05) << "not cropped";
  }
}

TEST_F(PagesInChromium, WebSpacePageFillsItsBarToTheShareInUse) {
  const auto images = screenshots("/getwebspace.asp?UserId=" + user_, "getwebspace");
  const auto filled = [](QRgb c) {
    return std::abs(qRed(c) - 0x2f) < 12 && std::abs(qGreen(c) - 0x7d) < 12 &&
           std::abs(qBlue(c) - 0x7a) < 12;
  };
  const auto empty = [](QRgb c) {
    return std::abs(qRed(c) - 0xdc) < 6 && std::abs(qGreen(c) - 0xef) < 6 &&
           std::abs(qBlue(c) - 0xed) < 6;
  };
  for (const QImage& image : images) {
    if (image.isNull()) continue;
    SCOPED_TRACE(image.width());
    const Spot bar = Find(image, filled);
    ASSERT_GT(bar.count, 0);
    const QRect row(0, bar.box.center().y(), image.width(), 1);
    const double used = Find(image, filled, row).count;
    const double rest = Find(image, empty, row).count;
    EXPECT_NEAR(used / (used + rest), 0.25, 0.03);
  }
  const QByteArray page = get("/getwebspace.asp?UserId=" + user_);
  EXPECT_TRUE(page.contains("brivane-service set-space " + user_));
  EXPECT_TRUE(page.contains("977 KB")) << "used";
  EXPECT_TRUE(page.contains("2.9 MB")) << "available";
}
}  // namespace
