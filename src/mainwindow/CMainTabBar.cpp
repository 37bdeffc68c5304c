#include "mainwindow/CMainTabBar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace {
constexpr int kPictureInset = 3;
constexpr int kTextGap = 8;
constexpr int kTextEndGap = 14;
constexpr int kMinimumHeight = 32;
}  // namespace

CMainTabBar::CMainTabBar(QWidget* parent) : QTabBar(parent) {
  setDrawBase(true);
  setExpanding(false);
}

void CMainTabBar::setPictures(QList<QPixmap> pictures) {
  m_pictures = std::move(pictures);
  updateGeometry();
  update();
}

QPixmap CMainTabBar::picture(int index) const {
  return index >= 0 && index < m_pictures.size() ? m_pictures[index] : QPixmap();
}

QSize CMainTabBar::tabSizeHint(int index) const {
  const QPixmap pic = picture(index);
  // Sized for the bold text of the selected tab, so that selecting a tab never cuts its text.
  QFont bold = font();
  bold.setBold(true);
  const int textWidth = QFontMetrics(bold).horizontalAdvance(tabText(index));
  const int width = kPictureInset + pic.width() + kTextGap + textWidth + kTextEndGap;
  const int height = qMax(kMinimumHeight, pic.height() + 2 * kPictureInset + 2);
  return {width, height};
}

void CMainTabBar::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  for (int i = 0; i < count(); ++i) {
    QStyleOptionTab option;
    initStyleOption(&option, i);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_TabBarTabShape, option);

    const QRect tab = tabRect(i);
    const QPixmap pic = picture(i);
    const int pictureLeft = tab.left() + kPictureInset;
    if (!pic.isNull()) painter.drawPixmap(pictureLeft, kPictureInset, pic);
    const int textLeft = pictureLeft + pic.width() + kTextGap;
    const QRect textRect(textLeft, tab.top() + tab.height() / 3, tab.right() - textLeft,
                         tab.height() - tab.height() / 3);
    painter.setPen(palette().color(QPalette::WindowText));
    QFont font = painter.font();
    font.setBold(i == currentIndex());
    painter.setFont(font);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, tabText(i));
  }
}
