// bench_fun PROGRAM_FOLDER OUT_FOLDER
// A 24-megapixel photo (6000 x 4000) made into each fun project through the wizard's
// pages: the time the project page takes to draw it, then from Finish to the photo stored
// and from "Print It" to the PDF written (US letter, 300 dpi). Prints "key value" lines.

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "controls/CPictureListBox.h"
#include "controls/SinglePhotoCommands.h"
#include "editing/CFramePage.h"
#include "editing/CFramePicker.h"
#include "fun/CCalendarPage.h"
#include "fun/CFunProjectWizard.h"
#include "fun/CGreetingCardPage.h"
#include "fun/CNamePhotoPage.h"
#include "fun/CPrintPage.h"
#include "fun/CPrintSaveFunPage.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"

namespace {
const char* Key(FunProject project) {
  switch (project) {
    case FunProject::SportsCard: return "sportscard";
    case FunProject::Calendar: return "calendar";
    case FunProject::Magazine: return "magazine";
    case FunProject::GreetingCard: return "greetingcard";
  }
  return "";
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_fun PROGRAM_FOLDER OUT_FOLDER\n");
    return 2;
  }
  qputenv("BRIVANE_PROGRAM_FOLDER", QByteArray(argv[1]));
  QApplication application(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[2]);
  QTemporaryDir home;
  ScriptedPrompter prompter;
  PhotoStore store(home.filePath("myphotos") + "/");
  store.EnsureFolder();
  Settings settings(home.filePath("quendal.ini"));
  TestFeatureHost host(store, settings, prompter, home.filePath("registry.ini"));
  const ImageBitmap photo = PhotoLikePicture(6000, 4000, 3);

  for (FunProject project : {FunProject::SportsCard, FunProject::Calendar, FunProject::Magazine, FunProject::GreetingCard}) {
    host.working = photo;
    CFunProjectWizard wizard(host, project, false, &host.window);
    wizard.show();
    QApplication::processEvents();
    // The calendar's page reduces the photo to its box as it is shown, then draws.
    auto start = std::chrono::steady_clock::now();
    wizard.setActivePage(wizard.page(0));
    if (CFramePage* frame = wizard.framePage()) {
      frame->picker()->frameList()->setCurrentRow(0);
      QApplication::processEvents();
      start = std::chrono::steady_clock::now();
      wizard.pressNext();  // composes the photo into the template, then draws the project
    } else {
      qobject_cast<CCalendarPage*>(wizard.projectPage())->choose(3, 2027);
      QApplication::processEvents();
    }
    if (auto* card = qobject_cast<CGreetingCardPage*>(wizard.projectPage()))
      card->messageEdit()->setPlainText(QStringLiteral("Happy birthday!\nLove, Sam"));
    if (auto* name = wizard.projectPage()->findChild<QLineEdit*>(QStringLiteral("1051"))) name->setText("Jamie Fox");
    if (auto* caption = wizard.projectPage()->findChild<QLineEdit*>(QStringLiteral("1179"))) caption->setText("Summer!");
    std::printf("%s-draw %.1f\n", Key(project), Ms(std::chrono::steady_clock::now() - start));
    wizard.pressNext();
    wizard.printSavePage()->findChild<QRadioButton*>(QStringLiteral("1194"))->click();
    wizard.pressNext();

    const QString pdf = out + "/" + Key(project) + ".pdf";
    wizard.photoOutput().setPrinterChooser([pdf](QWidget*) {
      auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(pdf);
      printer->setResolution(300);
      printer->setPageSize(QPageSize(QPageSize::Letter));
      return printer;
    });
    start = std::chrono::steady_clock::now();
    wizard.printPage()->print();
    std::printf("%s-print %.1f %lld\n", Key(project), Ms(std::chrono::steady_clock::now() - start),
                QFileInfo(pdf).size());
    wizard.pressNext();
    wizard.namePage()->nameEdit()->setText(QString::fromLatin1(Key(project)));
    start = std::chrono::steady_clock::now();
    wizard.pressFinish();
    const QSize size = wizard.projectPicture().Pixels.size();
    std::printf("%s-store %.1f %d %dx%d\n", Key(project), Ms(std::chrono::steady_clock::now() - start),
                int(store.Contains(QString::fromLatin1(Key(project)))), size.width(), size.height());
  }
  return 0;
}
