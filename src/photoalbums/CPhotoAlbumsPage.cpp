#include "photoalbums/CPhotoAlbumsPage.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "controls/CommandIds.h"
#include "controls/FeatureHost.h"
#include "controls/ProgramPicture.h"
#include "controls/Prompter.h"
#include "system/Folders.h"

namespace {
constexpr int kStaticHeight = 18;
constexpr int kButtonHeight = 28;
constexpr int kButtonColumnWidth = 176;
constexpr int kPictureButtonHeight = 40;
constexpr int kRightAlign = 5;
constexpr int kAlbumTabGap = 8;
constexpr int kAlbumTabShrink = 90;
constexpr int kPageViewInset = 6;

constexpr const char* kClearQuestion = "Are you sure you want to clear the page?";
constexpr const char* kNoAlbumYet =
    "You have not created a photo album yet.  Please click <Create Photo Album>";
}  // namespace

CPhotoAlbumsPage::CPhotoAlbumsPage(FeatureHost& host, QWidget* content, QObject* parent)
    : CTabPage(content, parent), m_host(host) {
  auto* albumsLabel = addControl(new QLabel(QStringLiteral("Photo &Albums"), content), 1078);
  auto* albums = addControl(new QComboBox(content), 1079);
  albumsLabel->setBuddy(albums);
  addControl(new QPushButton(QStringLiteral("&Create Photo Album"), content), 1080);
  addControl(new QPushButton(QStringLiteral("&Delete Photo Album"), content), 1081);
  addControl(new QPushButton(QStringLiteral("C&reate a Page"), content), 1082);
  addControl(new QPushButton(QStringLiteral("D&elete Page"), content), 1083);

  m_pages = addControl(new QTabWidget(content), 1085);
  m_pages->installEventFilter(this);
  // The page view lies inside the page tabs, which place it themselves.
  m_pageView = new QFrame(m_pages);
  m_pageView->setObjectName(QStringLiteral("1012"));
  m_pageView->setAutoFillBackground(true);
  QPalette paper = m_pageView->palette();
  paper.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  m_pageView->setPalette(paper);

  const struct {
    int id;
    const char* text;
    const char* picture;
  } pictureButtons[] = {{1112, "&Email This Album", "resources/album-email.bmp"},
                        {1159, "&View Album on the web", "resources/album-view-web.bmp"}};
  for (const auto& b : pictureButtons) {
    auto* button = addControl(new QPushButton(content), b.id);
    const QPixmap picture = LoadProgramPicture(GetProgramFolder() + QString::fromLatin1(b.picture));
    if (picture.isNull()) {
      button->setText(QString::fromLatin1(b.text));
    } else {
      button->setIcon(picture);
      button->setIconSize(picture.size());
      button->setToolTip(QString::fromLatin1(b.text).remove('&'));
    }
  }
}

QString CPhotoAlbumsPage::tabText() const { return QStringLiteral("Photo Albums"); }
QString CPhotoAlbumsPage::tabPicture() const { return QStringLiteral("kid.gif"); }

QString CPhotoAlbumsPage::instructions() const {
  return QStringLiteral(
      "Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' folder and "
      "place it on an empty blank space."
      "  You can also double-click, hit the space bar, or hit the Enter key, on the blank space "
      "to put a photo into.");
}

QHash<int, QRect> CPhotoAlbumsPage::layout(const TabPageFrame& frame) const {
  // The album chooser on top, a column of buttons at the right, the page tabs between.
  const QRect& page = frame.page;
  const int right = frame.client.width() - kRightAlign;
  const int columnLeft = right - kButtonColumnWidth;
  const int y = page.top() + 4;
  QHash<int, QRect> at;
  at[1078] = QRect(page.left() + 4, y + 5, 90, kStaticHeight);
  at[1079] = QRect(page.left() + 98, y, qMax(60, columnLeft - kAlbumTabGap - page.left() - 98), 26);
  at[1080] = QRect(columnLeft, y, kButtonColumnWidth, kButtonHeight);
  at[1081] = QRect(columnLeft, y + 34, kButtonColumnWidth, kButtonHeight);
  at[kPickPhotoButtonId] = QRect(columnLeft, y + 78, kButtonColumnWidth, kButtonHeight);
  at[1082] = QRect(columnLeft, y + 122, kButtonColumnWidth, kButtonHeight);
  at[1083] = QRect(columnLeft, y + 156, kButtonColumnWidth, kButtonHeight);
  at[1112] = QRect(columnLeft, y + 200, kButtonColumnWidth, kPictureButtonHeight);
  at[1159] = QRect(columnLeft, y + 246, kButtonColumnWidth, kPictureButtonHeight);
  const int albumTop = y + 34;
  const int tabControlHeight = frame.client.height() - 2;
  const int albumHeight = qMin(tabControlHeight - kAlbumTabShrink, page.bottom() - albumTop);
  at[1085] = QRect(page.left() + 4, albumTop, qMax(40, columnLeft - kAlbumTabGap - page.left() - 4),
                   qMax(40, albumHeight));
  return at;
}

bool CPhotoAlbumsPage::onCommand(int command) {
  switch (command) {
    case kCommandPickPhoto:
      m_host.prompter().showError(m_host.hostWindow(), QString::fromLatin1(kNoAlbumYet));
      return true;
    case kCommandClear:
      // Clearing the page itself comes with the albums.
      m_host.prompter().askYesNoCancel(m_host.hostWindow(), QString::fromLatin1(kClearQuestion));
      return true;
    default: return false;
  }
}

bool CPhotoAlbumsPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_pages && event->type() == QEvent::Resize)
    m_pageView->setGeometry(m_pages->rect().adjusted(kPageViewInset, kPageViewInset, -kPageViewInset,
                                                     -kPageViewInset));
  return CTabPage::eventFilter(watched, event);
}
