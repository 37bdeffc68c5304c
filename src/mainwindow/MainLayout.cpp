#include "mainwindow/MainLayout.h"

namespace {
constexpr int kMargin = 6;
constexpr int kLeftColumnWidth = 190;
constexpr int kStaticHeight = 18;
constexpr int kCaptionTop = 4;
constexpr int kBottomMargin = 3;
constexpr int kTabControlTop = 2;
constexpr int kPageInset = 4;
constexpr int kPageEdge = 2;
}  // namespace

TabPageFrame MainFrameLayout(QSize client, int tabBarHeight) {
  TabPageFrame frame;
  frame.client = client;
  frame.margin = kMargin;
  const int columnTop = kCaptionTop + kStaticHeight + 3;
  frame.leftColumn = QRect(QPoint(kMargin, columnTop),
                           QPoint(kMargin + kLeftColumnWidth - 1, client.height() - kBottomMargin - 1));
  const int tabLeft = kMargin + kLeftColumnWidth + kMargin;
  frame.page = QRect(QPoint(tabLeft + kPageInset, kTabControlTop + tabBarHeight + kPageInset),
                     QPoint(client.width() - kPageEdge - 1, client.height() - kPageEdge - 1));
  return frame;
}

QHash<int, QRect> LayoutFrameControls(const TabPageFrame& frame) {
  const int tabLeft = kMargin + kLeftColumnWidth + kMargin;
  return {{kInstructionsCaptionId, QRect(kMargin, kCaptionTop, kLeftColumnWidth, kStaticHeight)},
          {kInstructionsId, frame.leftColumn},
          {1007, QRect(tabLeft, kTabControlTop, frame.client.width() - tabLeft,
                       frame.client.height() - kTabControlTop)}};
}
