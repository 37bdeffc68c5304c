#include "printlabels/CPrintLabelsPage.h"

#include <QFrame>
#include <QLabel>

#include "controls/CommandIds.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"

namespace {
constexpr int kStaticHeight = 18;
constexpr int kButtonHeight = 28;
constexpr int kBottomMargin = 3;
constexpr int kGap = 3;
constexpr const char* kClearQuestion = "Are you sure you want to clear the page?";
}  // namespace

CPrintLabelsPage::CPrintLabelsPage(FeatureHost& host, QWidget* content, QObject* parent)
    : CTabPage(content, parent), m_host(host) {
  auto* sheet = addControl(new QFrame(content), 1011);
  sheet->setFrameShape(QFrame::StyledPanel);
  sheet->setFrameShadow(QFrame::Sunken);
  sheet->setAutoFillBackground(true);
  QPalette paper = sheet->palette();
  paper.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  sheet->setPalette(paper);
  addControl(new QLabel(QStringLiteral("Label Template:"), content), 1050);
  addControl(new QLabel(content), 1020);
}

QString CPrintLabelsPage::tabText() const { return QStringLiteral("Print Labels"); }
QString CPrintLabelsPage::tabPicture() const { return QStringLiteral("label.gif"); }

QString CPrintLabelsPage::instructions() const {
  return QStringLiteral(
      "1. Click the <Templates> button at the top to change the type of Avery label you want to "
      "print out."
      "\n\n2. Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' "
      "folder and place it on an empty label."
      "  You can also double-click, hit the space bar, or hit the Enter key, on the label to put "
      "a photo into."
      "\n\n3. Once you put a photo on a label you can add a caption to the photo, add a "
      "frame, crop the photo, perform a 'Special Effect', or print the sheet of labels using the "
      "'Caption', 'Frame', 'Crop', 'Effects', and 'Print' buttons at the top.");
}

QHash<int, QRect> CPrintLabelsPage::layout(const TabPageFrame& frame) const {
  // The left column from the bottom up: the template's name, its caption, Pick a Photo,
  // and the instructions above them, clear of the button.
  const QRect& column = frame.leftColumn;
  QHash<int, QRect> at;
  at[1011] = frame.page;
  at[1020] = QRect(column.left(), frame.client.height() - kBottomMargin - kStaticHeight, column.width(),
                   kStaticHeight);
  at[1050] = QRect(column.left(), at[1020].top() - kGap - kStaticHeight, column.width(), kStaticHeight);
  at[kPickPhotoButtonId] =
      QRect(column.left(), at[1050].top() - frame.margin - kButtonHeight, column.width(), kButtonHeight);
  at[kInstructionsId] = QRect(column.topLeft(), QPoint(column.right(), at[kPickPhotoButtonId].top() - frame.margin));
  return at;
}

bool CPrintLabelsPage::onCommand(int command) {
  if (command != kCommandClear) return false;
  // Clearing the sheet itself comes with the label sheets.
  m_host.prompter().askYesNoCancel(m_host.hostWindow(), QString::fromLatin1(kClearQuestion));
  return true;
}
