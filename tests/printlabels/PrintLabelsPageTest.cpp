// The Print Labels tab as a user drives it: picking photos into labels, filling blanks,
// dragging, deleting, clearing, choosing a template and printing the sheet.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "controls/CPickPhotoDialog.h"
#include "controls/CViewPhotoDialog.h"
#include <QClipboard>
#include "controls/CPictureListBox.h"
#include "controls/CommandIds.h"
#include "controls/CommandState.h"
#include "controls/PagePopupMenu.h"
#include "controls/PageView.h"
#include "controls/SinglePhotoCommands.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "printlabels/CChooseTemplateDialog.h"
#include "printlabels/CPrintLabelsPage.h"
#include "support/RequireTool.h"
#include "support/ScriptedPrompter.h"
#include "support/TabPageTesting.h"
#include "support/TestFeatureHost.h"
#include "system/Profile.h"

namespace {
char programName[] = "printlabels_tests";
int argc = 1;
char* argv[] = {programName, nullptr};

struct Photo {
  const char* name;
  QRgb colour;
};
// Solid colours, so that a printed picture is found by its colour; Wide is landscape.
const Photo kPhotos[] = {{"Zoo", qRgb(200, 40, 40)}, {"alps", qRgb(40, 160, 40)}, {"Beach", qRgb(40, 40, 200)}};

class PrintLabelsPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    store = std::make_unique<PhotoStore>(home.filePath("myphotos") + "/");
    ASSERT_TRUE(store->EnsureFolder());
    for (const Photo& photo : kPhotos) {
      ImageBitmap picture;
      CreateBitmap(picture, 1, 160, 120, 24, ColorOrder::Bgr, nullptr, TopLeft);
      FillBitmap(picture, photo.colour);
      ASSERT_EQ(store->StorePhoto(picture, QString::fromLatin1(photo.name), QString()), SUCCESS);
      ImageBitmap thumbnail = picture;
      ResizeBitmap(thumbnail, 40, 30);
      host().photos.append(QString::fromLatin1(photo.name),
                           std::make_shared<const PhotoItem>(PhotoItem{thumbnail, 0, QString()}));
    }
    templates = LoadLabelTemplates(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "labels.dat");
    ASSERT_NE(templates.DefaultLabelTemplate(), nullptr);
    content.resize(1000, 700);
    page = std::make_unique<CPrintLabelsPage>(host(), templates, &content, nullptr);
    ShowTabPage(*page, content);
  }

  TestFeatureHost& host() {
    if (!m_host) {
      settings = std::make_unique<Settings>(home.filePath("quendal.ini"));
      m_host = std::make_unique<TestFeatureHost>(*store, *settings, prompter, home.filePath("registry.ini"));
    }
    return *m_host;
  }
  PageView& view() { return *page->sheetView(); }
  QString name(int cell) { return page->cells().Cell(cell).Name; }
  QPoint centre(int cell) { return view().places()[size_t(cell)].Rect.center(); }
  CommandState state() {
    CommandState s;
    s.tab = MainTab::PrintLabels;
    page->addCommandState(s);
    return s;
  }
  void pick(const QString& photo, bool fill) {
    WhenModalOpens<CPickPhotoDialog>([photo, fill](CPickPhotoDialog& dialog) {
      auto* list = dialog.photoList();
      for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->model()->index(row, 0).data().toString() == photo) list->setCurrentRow(row);
      dialog.findChild<QCheckBox*>("1046")->setChecked(fill);
      dialog.findChild<QPushButton*>("1")->click();
    });
    page->onCommand(kCommandPickPhoto);
  }

  QApplication application{argc, argv};
  QTemporaryDir home;
  ScriptedPrompter prompter;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<TestFeatureHost> m_host;
  LabelTemplateList templates;
  QWidget content;
  std::unique_ptr<CPrintLabelsPage> page;
};

TEST_F(PrintLabelsPage, PickingPutsAPhotoOnTheSelectedLabelAndMovesOn) {
  ASSERT_EQ(page->labelTemplate()->Code, "C2353");
  ASSERT_EQ(page->cells().Count(), 10);
  // A fresh sheet selects its first label.
  EXPECT_EQ(view().selectedCell(), 0);
  EXPECT_FALSE(state().sheetHasPhoto);
  EXPECT_TRUE(content.findChild<QLabel*>("1020")->text().startsWith("Product Code: C2353"));

  pick("Beach", false);
  EXPECT_EQ(name(0), "Beach");
  EXPECT_EQ(page->cells().Cell(0).Working->Width, 160);
  EXPECT_EQ(view().selectedCell(), 1);
  EXPECT_EQ(host().lastPicked, "Beach");
  EXPECT_TRUE(state().sheetHasPhoto);
  EXPECT_FALSE(state().labelHasPhoto);

  // The last photo picked comes up selected; Cancel places nothing.
  WhenModalOpens<CPickPhotoDialog>([](CPickPhotoDialog& dialog) {
    EXPECT_EQ(dialog.pickedName(), "Beach");
    dialog.reject();
  });
  page->onCommand(kCommandPickPhoto);
  EXPECT_FALSE(page->cells().HoldsPicture(1));

  // The keys: Right at the end of a row goes down a row in the same column.
  view().setFocus();
  QTest::keyClick(&view(), Qt::Key_Right);
  EXPECT_EQ(view().selectedCell(), 3);
  QTest::keyClick(&view(), Qt::Key_End);
  EXPECT_EQ(view().selectedCell(), 9);
  QTest::keyClick(&view(), Qt::Key_Right);
  EXPECT_EQ(view().selectedCell(), 9);
  QTest::keyClick(&view(), Qt::Key_Home);
  EXPECT_EQ(view().selectedCell(), 0);
  EXPECT_TRUE(state().labelHasPhoto);
}

TEST_F(PrintLabelsPage, FillingBlanksFillsOnlyEmptyLabelsAndSharesOnePicture) {
  page->placePhoto("Zoo", false);
  view().selectCell(4);
  pick("alps", true);
  EXPECT_EQ(view().selectedCell(), 4);
  EXPECT_EQ(name(0), "Zoo");
  for (int k = 1; k < 10; ++k) EXPECT_EQ(name(k), "alps") << k;
  // Nine labels, one picture.
  EXPECT_EQ(page->cells().BasePool().Size(), 2);
  EXPECT_EQ(page->cells().WorkingPool().Size(), 2);
  EXPECT_EQ(page->cells().Cell(1).Working, page->cells().Cell(9).Working);

  // Delete empties the selected label; a sheet left without pictures is rebuilt blank.
  QTest::keyClick(&view(), Qt::Key_Delete);
  EXPECT_FALSE(page->cells().HoldsPicture(4));
  prompter.answer(Prompter::Answer::No);
  page->onCommand(kCommandClear);
  EXPECT_TRUE(page->cells().HoldsPicture(0));
  prompter.answer(Prompter::Answer::Yes);
  page->onCommand(kCommandClear);
  EXPECT_FALSE(page->cells().AnyUsed());
  EXPECT_EQ(page->cells().BasePool().Size(), 0) << "pictures no label holds are freed";
  ASSERT_EQ(prompter.prompts().size(), 2);
  EXPECT_EQ(prompter.prompts()[1].text, "Are you sure you want to clear the page?");
}

TEST_F(PrintLabelsPage, DraggingMovesAPictureAndDroppingOutsideChangesNothing) {
  page->placePhoto("Zoo", false);
  page->placePhoto("alps", false);
  ASSERT_EQ(name(0), "Zoo");
  ASSERT_EQ(name(1), "alps");
  // Onto a full label: its picture is replaced and the source emptied.
  QTest::mousePress(&view(), Qt::LeftButton, {}, centre(0));
  QTest::mouseMove(&view(), centre(1));
  EXPECT_TRUE(view().state().Dragging);
  QTest::mouseRelease(&view(), Qt::LeftButton, {}, centre(1));
  EXPECT_FALSE(view().state().Dragging);
  EXPECT_EQ(name(1), "Zoo");
  EXPECT_FALSE(page->cells().HoldsPicture(0));
  EXPECT_EQ(page->cells().BasePool().Size(), 1);

  // Outside every label.
  const QPoint outside(view().width() / 2, 2);
  ASSERT_EQ(CellAtPoint(view().places(), outside), -1);
  QTest::mousePress(&view(), Qt::LeftButton, {}, centre(1));
  QTest::mouseMove(&view(), outside);
  QTest::mouseRelease(&view(), Qt::LeftButton, {}, outside);
  EXPECT_EQ(name(1), "Zoo");
  EXPECT_FALSE(page->cells().HoldsPicture(0));
}

TEST_F(PrintLabelsPage, ATemplateOfAnyGroupCanBeChosenAndKeepsTheFirstPictures) {
  page->placePhoto("Zoo", false);
  page->placePhoto("alps", false);
  page->placePhoto("Beach", false);
  // The last group, whatever its name, down to its last template.
  WhenModalOpens<CChooseTemplateDialog>([](CChooseTemplateDialog& dialog) {
    QTabBar* tabs = dialog.groupTabs();
    ASSERT_GT(tabs->count(), 1);
    EXPECT_EQ(tabs->objectName(), "1007");
    tabs->setCurrentIndex(tabs->count() - 1);
    QListWidget* list = dialog.templateList();
    ASSERT_GT(list->count(), 0);
    EXPECT_EQ(list->currentRow(), 0);
    for (int row = 0; row < list->count(); ++row)
      if (list->item(row)->text().startsWith("C2242 ")) list->setCurrentRow(row);
    EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>("1037")->toPlainText().contains("Product Code: C2242"));
    dialog.findChild<QPushButton*>("1")->click();
  });
  page->onCommand(kCommandChooseTemplate);
  ASSERT_EQ(page->labelTemplate()->Code, "C2242");
  EXPECT_EQ(page->cells().Count(), 2);
  EXPECT_EQ(name(0), "Zoo");
  EXPECT_EQ(name(1), "alps");
  EXPECT_EQ(page->cells().BasePool().Size(), 2) << "the dropped label's picture is freed";
  EXPECT_EQ(ReadProfileString(settings->file(), "Settings", "LabelType", ""), "C2242");
  EXPECT_TRUE(content.findChild<QLabel*>("1020")->text().contains("C2242"));

  // Cancel changes nothing.
  WhenModalOpens<CChooseTemplateDialog>([](CChooseTemplateDialog& dialog) { dialog.reject(); });
  page->onCommand(kCommandChooseTemplate);
  EXPECT_EQ(page->labelTemplate()->Code, "C2242");

  // The first template of every tab in turn.
  for (const TemplateGroup& group : templates.Groups()) {
    const int tab = int(&group - templates.Groups().data());
    WhenModalOpens<CChooseTemplateDialog>([tab](CChooseTemplateDialog& dialog) {
      dialog.groupTabs()->setCurrentIndex(tab);
      // A double-click on an entry chooses it.
      emit dialog.templateList()->itemDoubleClicked(dialog.templateList()->item(0));
      if (dialog.isVisible()) dialog.reject();
    });
    page->onCommand(kCommandChooseTemplate);
    EXPECT_EQ(page->labelTemplate(), group.Templates.front()) << group.Name.toStdString();
  }
}

TEST_F(PrintLabelsPage, TheChooserTakesTemplatesOfGroupsOfAnyName) {
  LabelTemplateList own = ReadLabelTemplates(
      "2\nPhoto Paper\n1\nPrints,,,,,,1,P1,One print,,,,,,,8,10,1,1,0.5,0,0.25,0.25,8,10\n"
      "Photo Paper\n1\nPrints,,,,,,2,P2,Two prints,,,,,,,8,5,1,2,0.5,0,0.25,0.25,8,5\n");
  CChooseTemplateDialog dialog(own);
  ASSERT_EQ(dialog.groupTabs()->count(), 2);
  // Two groups of one name each show their own templates.
  dialog.groupTabs()->setCurrentIndex(1);
  ASSERT_EQ(dialog.templateList()->count(), 1);
  EXPECT_EQ(dialog.templateList()->item(0)->text(), "P2 Two prints");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.selectedTemplate()->Code, "P2");
}

TEST_F(PrintLabelsPage, OutputCommandsTakeTheSelectedLabelsPicture) {
  page->placePhoto("alps", false);
  view().selectCell(0);
  // The label's picture as edited, not the photo's file.
  FillBitmap(*page->cells().WorkingPicture(0), qRgb(1, 2, 3));
  page->cells().WorkingChanged(0);
  page->onCommand(kCommandCopyToClipboard);
  EXPECT_EQ(QApplication::clipboard()->image().pixel(5, 5), qRgb(1, 2, 3));
  QString title;
  WhenModalOpens<CViewPhotoDialog>([&title](CViewPhotoDialog& dialog) {
    title = dialog.windowTitle();
    dialog.reject();
  });
  page->onCommand(kCommandView);
  EXPECT_TRUE(title.contains("alps")) << title.toStdString();
  // On an empty label they do nothing.
  view().selectCell(5);
  QApplication::clipboard()->clear();
  page->onCommand(kCommandCopyToClipboard);
  EXPECT_TRUE(QApplication::clipboard()->image().isNull());
}

TEST_F(PrintLabelsPage, ThePagesMenuGraysOrLeavesOutWhatTheCellCannotTake) {
  auto enabled = [](QMenu* menu) {
    QStringList on, all;
    QAction* previous = nullptr;
    for (QAction* action : menu->actions()) {
      EXPECT_FALSE(action->isSeparator() && (!previous || previous->isSeparator())) << "doubled separator";
      previous = action;
      if (action->isSeparator()) continue;
      all << action->objectName();
      if (action->isEnabled()) on << action->objectName();
    }
    EXPECT_FALSE(previous && previous->isSeparator());
    return std::pair{on, all};
  };
  std::unique_ptr<QMenu> empty(MakePagePopupMenu(host(), MainTab::PrintLabels, false, nullptr));
  auto [emptyOn, labelItems] = enabled(empty.get());
  EXPECT_EQ(emptyOn, (QStringList{"1010", "32800"}));
  EXPECT_EQ(labelItems.size(), 15);
  std::unique_ptr<QMenu> full(MakePagePopupMenu(host(), MainTab::PrintLabels, true, nullptr));
  EXPECT_EQ(enabled(full.get()).first.size(), 15);
  std::unique_ptr<QMenu> album(MakePagePopupMenu(host(), MainTab::PhotoAlbums, false, nullptr));
  EXPECT_EQ(enabled(album.get()).second,
            (QStringList{"1010", "32799", "32796", "32779", "32785", "32786", "32805"}));
  EXPECT_EQ(enabled(album.get()).first, QStringList{"1010"});
  // An item runs its command through the main window.
  full->actions().constLast()->trigger();
  EXPECT_EQ(host().commands, QList<int>{kCommandDelete});
}

TEST_F(PrintLabelsPage, PrintingPutsEveryPictureInItsLabelOnPaper) {
  if (!RequireTool("pdftoppm", "poppler-utils")) return;
  page->placePhoto("Zoo", false);
  page->placePhoto("Beach", false);
  const QString pdf = home.filePath("sheet.pdf");
  page->photoOutput().setPrinterChooser([pdf](QWidget*) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setResolution(600);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    // A printer that cannot print to the paper's edge: positions still count from it.
    printer->setPageMargins(QMarginsF(0.1, 0.2, 0.1, 0.1), QPageLayout::Inch);
    return printer;
  });
  ASSERT_TRUE(page->printSheet());

  QProcess info;
  info.start("pdfinfo", {pdf});
  ASSERT_TRUE(info.waitForFinished(20000));
  EXPECT_TRUE(info.readAllStandardOutput().contains("Photos Printing On Labels"));
  QProcess render;
  render.start("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, home.filePath("sheet")});
  ASSERT_TRUE(render.waitForFinished(20000));
  const QImage paper = QImage(home.filePath("sheet.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(paper.size(), QSize(2550, 3300));
  const LabelTemplate& t = *page->labelTemplate();
  const double halfMillimetre = 300 / 25.4 / 2;
  for (int k = 0; k < 3; ++k) {
    const int c = k % t.Columns, r = k / t.Columns;
    const QRectF label((t.LeftMargin + c * t.HorizontalPitch) * 300, (t.TopMargin + r * t.VerticalPitch) * 300,
                       t.LabelWidth * 300, t.LabelHeight * 300);
    // Where the photo's colour is, looking well beyond the label.
    const QRgb colour = kPhotos[k == 0 ? 0 : 2].colour;
    QRect found;
    const QRect around = label.toRect().adjusted(-150, -150, 150, 150) & paper.rect();
    for (int y = around.top(); y <= around.bottom(); y += 2)
      for (int x = around.left(); x <= around.right(); x += 2) {
        const QRgb p = paper.pixel(x, y);
        if (std::abs(qRed(p) - qRed(colour)) + std::abs(qGreen(p) - qGreen(colour)) + std::abs(qBlue(p) - qBlue(colour)) < 40)
          found |= QRect(x, y, 1, 1);
      }
    if (k == 2) {
      EXPECT_TRUE(found.isNull()) << "the empty label prints nothing";
      continue;
    }
    ASSERT_FALSE(found.isNull()) << k;
    EXPECT_TRUE(label.adjusted(-halfMillimetre, -halfMillimetre, halfMillimetre, halfMillimetre).contains(QRectF(found)))
        << k << ": " << found.x() << "," << found.y() << " " << found.width() << "x" << found.height();
    // Fitted: as tall as the label less the insets (2 px and an eighth of an inch a side).
    EXPECT_NEAR(found.height(), label.height() - 2 * (300 / 8.0 + 1), 6) << k;
  }
}

TEST_F(PrintLabelsPage, Screenshots) {
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  // The printed page as people see it, rendered from the PDF.
  if (RequireTool("pdftoppm", "poppler-utils")) {
    page->placePhoto("Zoo", false);
    page->placePhoto("Beach", true);
    const QString pdf = home.filePath("shown.pdf");
    page->photoOutput().setPrinterChooser([pdf](QWidget*) {
      auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(pdf);
      printer->setResolution(600);
      return printer;
    });
    ASSERT_TRUE(page->printSheet());
    QProcess render;
    render.start("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf, folder + "printed-sheet"});
    ASSERT_TRUE(render.waitForFinished(20000));
    prompter.answer(Prompter::Answer::Yes);
    page->onCommand(kCommandClear);
  }
  page->placePhoto("Zoo", false);
  page->placePhoto("alps", false);
  view().selectCell(4);
  pick("Beach", true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(content.grab().save(folder + "print-labels-sheet.png"));
  WhenModalOpens<CChooseTemplateDialog>([folder](CChooseTemplateDialog& dialog) {
    dialog.groupTabs()->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(folder + "choose-template.png"));
    dialog.reject();
  });
  page->onCommand(kCommandChooseTemplate);
}
}  // namespace
