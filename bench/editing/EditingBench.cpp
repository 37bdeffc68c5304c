// bench_editing FRAMES_FOLDER EDGES_FOLDER PICTURE_OUT_FOLDER
// A 24-megapixel photo (6000 x 4000): the repaint of the preview for each of 200 drag
// moves behind a frame and under a crop shape (min, median, max), then the framed picture
// made on OK for every frame and edge, and the oval crop of the whole photo. Prints
// "key value" lines; the oval crop and one framed picture are saved for the script's
// comparison.

#include <algorithm>
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "BenchSupport.h"
#include "controls/CPicturePreview.h"
#include "controls/PictureEditTarget.h"
#include "editing/CCaptionDialog.h"
#include "editing/CCaptionView.h"
#include "editing/CCaptionWindow.h"
#include "editing/CCropDialog.h"
#include "editing/CRedEyeDialog.h"
#include "controls/CScrollImageView.h"
#include "editing/CFramePicker.h"
#include "editing/CropGeometry.h"
#include "editing/CropToShape.h"
#include "photoedits/FrameComposite.h"
#include "fil/ltfil.h"
#include "library/PhotoStore.h"
#include "controls/StoredPhotoEditTarget.h"
#include "photoedits/CaptionLayout.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"

namespace {
class HeldPicture : public PictureEditTarget {
 public:
  ImageBitmap& picture() override { return held; }
  void pictureChanged() override {}
  ImageBitmap held;
};

// Repaints the preview after each of 200 pan moves; prints min, median and max in ms.
void TimeDrags(const char* name, CPicturePreview& preview) {
  std::vector<double> times;
  for (int move = 0; move < 200; ++move) {
    preview.setPanOffset(QPoint(move % 40 * 3 - 60, move % 25 * 2 - 25));
    QElapsedTimer timer;
    timer.start();
    preview.repaint();
    times.push_back(double(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf("%s-repaint-min %.2f\n%s-repaint-median %.2f\n%s-repaint-max %.2f\n", name, times.front(), name,
              times[times.size() / 2], name, times.back());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_editing FRAMES_FOLDER EDGES_FOLDER OUT_FOLDER\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString frames = QString::fromLocal8Bit(argv[1]), edges = QString::fromLocal8Bit(argv[2]);
  const QString out = QString::fromLocal8Bit(argv[3]);
  const ImageBitmap photo = PhotoLikePicture(6000, 4000, 1);

  QTemporaryDir home;
  ScriptedPrompter prompter;
  PhotoStore store(home.filePath("myphotos") + "/");
  Settings settings(home.filePath("quendal.ini"));
  TestFeatureHost host(store, settings, prompter, home.filePath("registry.ini"));

  CFramePicker picker(HoleFill::BlackAtCentre);
  picker.resize(820, 480);
  picker.setFolder(frames);
  picker.setPhoto(photo);
  picker.show();
  QApplication::processEvents();
  TimeDrags("frame", *picker.preview());

  HeldPicture target;
  target.held = photo;
  CCropDialog crop(host, target);
  crop.show();
  crop.findChild<QListWidget*>("1018")->setCurrentRow(3);  // Oval
  QApplication::processEvents();
  TimeDrags("crop", *crop.preview());

  // The red-eye view at full size, scrolled about the photo.
  {
    CRedEyeDialog redEye(host, target);
    redEye.resize(1000, 760);
    redEye.show();
    QApplication::processEvents();
    std::vector<double> times;
    for (int move = 0; move < 200; ++move) {
      redEye.view()->setScrollPosition(QPoint(move * 25, move * 17));
      QElapsedTimer timer;
      timer.start();
      redEye.view()->viewport()->repaint();
      times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("redeye-repaint-min %.2f\nredeye-repaint-median %.2f\nredeye-repaint-max %.2f\n", times.front(),
                times[times.size() / 2], times.back());
  }

  for (const QString& folder : {frames, edges})
    for (const FrameItem& item : ListFrames(folder, HoleFill::BlackAtCentre)) {
      ImageBitmap frame, framed;
      if (!LoadFrame(folder, item.Name, frame)) continue;
      const auto start = std::chrono::steady_clock::now();
      const int result = ComposeInFrame(photo, frame, FrameView{QPoint(), 1, QSize(400, 300), QSize(400, 267)}, framed);
      std::printf("frame %s|%.1f|%d\n", qPrintable(item.Name), Ms(std::chrono::steady_clock::now() - start), result);
    }

  // The oval as the dialog crops it at the start: the whole picture visible, the Oval's
  // factors, nothing dragged.
  const CropShape& oval = CropShapes()[3];
  CropArea area{QRect(0, 0, 6000, 4000), CropShapeRect(QSize(6000, 4000), oval.HeightFactor, oval.WidthFactor), true, true};
  ImageBitmap cropped;
  const auto start = std::chrono::steady_clock::now();
  const int result = CropToShape(photo, area, cropped);
  std::printf("oval-crop %.1f %d\n", Ms(std::chrono::steady_clock::now() - start), result);
  std::printf("oval-rect %d %d %d %d\n", area.Shape.x(), area.Shape.y(), area.Shape.width(), area.Shape.height());
  SaveImageFile(out + "/photo.jpg", photo, FormatForExtension("jpg"), 24, 2);

  // A speech balloon on the stored photo: from OK to the photo stored again, through the
  // dialog and the store, as the My Photos tab does it; then the drawing alone.
  ImageBitmap toStore = photo;
  store.EnsureFolder();
  store.StorePhoto(toStore, "Beach", "Sand and sea");
  {
    std::unique_ptr<StoredPhotoEditTarget> stored = StoredPhotoEditTarget::Open(host, "Beach");
    CCaptionDialog caption(host, *stored);
    caption.show();
    caption.findChild<QListWidget*>("1074")->setCurrentRow(1);
    caption.findChild<QPlainTextEdit*>("1075")->setPlainText(QStringLiteral(
        "Wir waren am Strand, das Wasser war klar und kühl, und die Möwen stahlen uns das Brot."));
    caption.setFontAndColour(QFont(QStringLiteral("DejaVu Sans"), 14), QColor(0, 0, 160));
    caption.view()->captionWindow()->setPosition(QPoint(400, 250));
    QApplication::processEvents();
    const auto okAt = std::chrono::steady_clock::now();
    caption.accept();
    std::printf("caption-ok-to-stored %.1f\n", Ms(std::chrono::steady_clock::now() - okAt));
    const CCaptionWindow& window = *caption.view()->captionWindow();
    ImageBitmap reread;
    const QPoint inBox = QPointF(QPointF(window.position()) * CaptionScaleForPicture(photo.shownSize()) + QPointF(30, 30)).toPoint();
    std::printf("caption-stored %d\n", store.LoadPhoto(reread, "Beach") == SUCCESS &&
                                           qGray(reread.Pixels.pixel(inBox)) > 245);
    ImageBitmap drawn = photo;
    drawn.Pixels.detach();  // a photo of its own, as the dialog's caller has
    const double scale = CaptionScaleForPicture(photo.shownSize());
    const auto drawAt = std::chrono::steady_clock::now();
    const int drawn_ = BurnCaption(drawn, window.caption(), window.wrapWidth(), QPointF(window.position()) * scale, scale);
    std::printf("caption-draw %.1f %d\n", Ms(std::chrono::steady_clock::now() - drawAt), drawn_);
    std::printf("caption-box %.0f %.0f %.0f %.0f\n", window.position().x() * scale, window.position().y() * scale,
                window.layout().box().width() * scale, window.layout().box().height() * scale);
    SaveImageFile(out + "/captioned.jpg", drawn, FormatForExtension("jpg"), 24, 2);
  }
  return 0;
}
