#include "web/CPublishPage.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kTextCount = 4;
const char* const kPublishTexts[kTextCount] = {
    "Share your photos with your friends and family.",
    "Brivane puts the photos of your 'My Photos' folder and your photo albums on the Brivane "
    "photo service, so that anybody you send the links to can look at them in a web browser.",
    "Only new and changed photos are sent each time, so publishing again after adding a few "
    "photos is quick.",
    "You need a free account on the service; Brivane asks for it the first time you publish."};
constexpr int kTextHeights[kTextCount] = {30, 60, 60, 60};
}  // namespace

CPublishPage::CPublishPage(FeatureHost& host, CPhotoAlbumsPage& albums, QWidget* content, QObject* parent)
    : CTabPage(content, parent), m_publish(host, albums) {
  for (int i = 0; i < kTextCount; ++i) {
    auto* text = addControl(new QLabel(QString::fromLatin1(kPublishTexts[i]), content), 1090 + i);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (i == 0) {
      QFont title = text->font();
      title.setPointSizeF(title.pointSizeF() * 1.4);
      title.setBold(true);
      text->setFont(title);
    }
  }
  auto* publish = addControl(new QPushButton(QStringLiteral("&Put my photos on the web"), content), 1094);
  connect(publish, &QPushButton::clicked, this, [this] { m_publish.run(); });
}

QString CPublishPage::tabText() const { return QStringLiteral("Publish to the Web"); }
QString CPublishPage::tabPicture() const { return QStringLiteral("web.gif"); }

QString CPublishPage::instructions() const {
  return QStringLiteral("Just click <Put my photos on the web>.  Then get ready to share your photos!");
}

QHash<int, QRect> CPublishPage::layout(const TabPageFrame& frame) const {
  // The texts one below the other, then the button.
  const int textLeft = frame.page.left() + 16;
  const int textWidth = qMax(100, frame.page.width() - 32);
  int y = frame.page.top() + 16;
  QHash<int, QRect> at;
  for (int i = 0; i < kTextCount; ++i) {
    at[1090 + i] = QRect(textLeft, y, textWidth, kTextHeights[i]);
    y += kTextHeights[i] + 10;
  }
  at[1094] = QRect(textLeft, y, 230, 32);
  return at;
}
