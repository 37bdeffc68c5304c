#include "mainwindow/MainLayout.h"

namespace {
constexpr int kMargin = 6;
constexpr int kLeftColumnWidth = 190;
constexpr int kStaticHeight = 18;
constexpr int kButtonHeight = 28;
constexpr int kButtonColumnWidth = 176;
constexpr int kPictureButtonHeight = 40;
constexpr int kRightAlign = 5;
constexpr int kAlbumTabGap = 8;
constexpr int kAlbumTabShrink = 90;
}  // namespace

QHash<int, QRect> LayoutMainWindow(QSize client, int tabBarHeight, MainTab tab) {
  const int w = client.width();
  const int h = client.height();
  QHash<int, QRect> at;

  // The left column: instructions above the label template's name.
  at[kInstructionsCaptionId] = QRect(kMargin, 4, kLeftColumnWidth, kStaticHeight);
  const QRect templateName(kMargin, h - 3 - kStaticHeight, kLeftColumnWidth, kStaticHeight);
  at[1020] = templateName;
  at[1050] = QRect(kMargin, templateName.top() - 3 - kStaticHeight, kLeftColumnWidth, kStaticHeight);
  const int instructionsTop = at[kInstructionsCaptionId].bottom() + 3;
  const int instructionsBottom =
      tab == MainTab::PrintLabels ? at[1050].top() - 3 : templateName.bottom();
  at[1073] = QRect(kMargin, instructionsTop, kLeftColumnWidth,
                   instructionsBottom - instructionsTop + 1);

  // The tab control fills the rest; its pages start below the tab bar.
  const int tabLeft = kMargin + kLeftColumnWidth + kMargin;
  at[1007] = QRect(tabLeft, 2, w - tabLeft, h - 2);
  const int pageTop = 2 + tabBarHeight;
  const int pageLeft = tabLeft + 4;
  const QRect page(QPoint(pageLeft, pageTop + 4), QPoint(w - 2 - 1, h - 2 - 1));
  at[1070] = page;
  at[1071] = page;

  // Print Labels: the sheet takes the list's place; Pick a Photo sits in the left column.
  at[1011] = page;
  if (tab == MainTab::PrintLabels)
    at[1010] = QRect(kMargin, at[1050].top() - kMargin - kButtonHeight, kLeftColumnWidth, kButtonHeight);

  // Photo Albums: the album chooser on top, a column of buttons at the right.
  const int right = w - kRightAlign;
  const int columnLeft = right - kButtonColumnWidth;
  int y = page.top() + 4;
  at[1078] = QRect(page.left() + 4, y + 5, 90, kStaticHeight);
  at[1079] = QRect(page.left() + 98, y, qMax(60, columnLeft - kAlbumTabGap - page.left() - 98), 26);
  at[1080] = QRect(columnLeft, y, kButtonColumnWidth, kButtonHeight);
  at[1081] = QRect(columnLeft, y + 34, kButtonColumnWidth, kButtonHeight);
  if (tab == MainTab::PhotoAlbums) at[1010] = QRect(columnLeft, y + 78, kButtonColumnWidth, kButtonHeight);
  at[1082] = QRect(columnLeft, y + 122, kButtonColumnWidth, kButtonHeight);
  at[1083] = QRect(columnLeft, y + 156, kButtonColumnWidth, kButtonHeight);
  at[1112] = QRect(columnLeft, y + 200, kButtonColumnWidth, kPictureButtonHeight);
  at[1159] = QRect(columnLeft, y + 246, kButtonColumnWidth, kPictureButtonHeight);
  const int albumTop = y + 34;
  const int albumHeight = qMin(at[1007].height() - kAlbumTabShrink, page.bottom() - albumTop);
  at[1085] = QRect(page.left() + 4, albumTop,
                   qMax(40, columnLeft - kAlbumTabGap - page.left() - 4), qMax(40, albumHeight));

  // Publish to the Web: the texts one below the other, then the button.
  const int textLeft = page.left() + 16;
  const int textWidth = qMax(100, page.width() - 32);
  y = page.top() + 16;
  const int heights[] = {30, 60, 60, 60};
  for (int i = 0; i < 4; ++i) {
    at[1090 + i] = QRect(textLeft, y, textWidth, heights[i]);
    y += heights[i] + 10;
  }
  at[1094] = QRect(textLeft, y, 230, 32);
  return at;
}

bool ControlShownOnTab(int id, MainTab tab) {
  switch (id) {
    case 1070: return tab == MainTab::MyPhotos;
    case 1071: return tab == MainTab::Fun;
    case 1010: return tab == MainTab::PhotoAlbums || tab == MainTab::PrintLabels;
    case 1011: case 1050: case 1020: return tab == MainTab::PrintLabels;
    case 1078: case 1079: case 1080: case 1081: case 1082: case 1083: case 1085:
    case 1112: case 1159:
      return tab == MainTab::PhotoAlbums;
    case 1090: case 1091: case 1092: case 1093: case 1094:
      return tab == MainTab::Publish;
    default:
      return true;
  }
}
