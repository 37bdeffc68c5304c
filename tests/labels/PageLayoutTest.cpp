#include <gtest/gtest.h>

#include <QPainter>

#include "dis/DeviceContext.h"
#include "labels/LabelTemplates.h"
#include "labels/TemplatePagePainter.h"
#include "labels/TemplatePreview.h"

namespace {
LabelTemplate Sheet(double width, double height, int columns, int rows, double top, double left,
                    double horizontalPitch, double verticalPitch) {
  LabelTemplate t;
  t.LabelWidth = width, t.LabelHeight = height, t.Columns = columns, t.Rows = rows;
  t.TopMargin = top, t.LeftMargin = t.PreviewLeftMargin = left;
  t.HorizontalPitch = horizontalPitch, t.VerticalPitch = verticalPitch;
  return t;
}
// Avery 5160 (30 a sheet), a full-sheet label, and an 8 x 10 photo print.
const LabelTemplate k5160 = Sheet(2.625, 1, 3, 10, 0.5, 0.15625, 2.78125, 1);
const LabelTemplate k5165 = Sheet(8.5, 11, 1, 1, 0, 0, 8.5, 11);
const LabelTemplate kC2160 = Sheet(8, 10, 1, 1, 0.5, 0.25, 8, 10);

PageDevice Screen(QSize target) { return PageDevice{96, 96, false, target, {}}; }
PageDevice Paper(int dpiX, int dpiY, QPoint offset = {}) {
  return PageDevice{dpiX, dpiY, true, {}, offset};
}
}  // namespace

TEST(LabelsPageLayout, LabelsStandAtTheirInchPositionsOnScreenAndPaper) {
  struct Case {
    const LabelTemplate& t;
    PageDevice device;
    int cell;
    QRect rect;
    QSize fitted;  // what pictures are fitted into: the size before left and top were raised
  };
  const Case cases[] = {
      {k5160, Screen({816, 1056}), 0, {15, 48, 252, 96}, {252, 96}},
      {k5160, Screen({816, 1056}), 1, {282, 48, 252, 96}, {252, 96}},
      {k5160, Screen({816, 1056}), 29, {549, 912, 252, 96}, {252, 96}},
      {k5160, Screen({640, 828}), 0, {11, 37, 198, 75}, {198, 75}},
      {k5160, Screen({640, 828}), 29, {430, 715, 198, 75}, {198, 75}},
      {k5165, Screen({816, 1056}), 0, {1, 1, 815, 1055}, {816, 1056}},
      // 0.25 in at 600 dpi less a physical offset of 100: 50.
      {kC2160, Paper(600, 600, {100, 100}), 0, {50, 200, 4800, 6000}, {4800, 6000}},
      // Each position truncated on its own: 46 + 834, not trunc(881.25).
      {k5160, Paper(300, 300), 1, {880, 150, 787, 300}, {787, 300}},
      {k5160, Paper(300, 300), 29, {1714, 2850, 787, 300}, {787, 300}},
      {k5160, Paper(600, 300), 0, {93, 150, 1575, 300}, {1575, 300}},
      {k5165, Paper(600, 600, {100, 100}), 0, {1, 1, 5099, 6599}, {5100, 6600}},
  };
  for (const Case& c : cases) {
    const std::vector<CellPlace> places = LayOutTemplatePage(c.t, c.device);
    ASSERT_EQ(int(places.size()), c.t.CellCount());
    const CellPlace& place = places[size_t(c.cell)];
    EXPECT_EQ(place.Rect, c.rect) << c.device.DpiX << " dpi, cell " << c.cell;
    EXPECT_EQ(QSize(place.Width, place.Height), c.fitted)
        << c.device.DpiX << " dpi, cell " << c.cell;
  }
  EXPECT_TRUE(LayOutTemplatePage(Sheet(1, 1, 3, 0, 0, 0, 1, 1), Paper(600, 600)).empty());
  EXPECT_TRUE(LayOutTemplatePage(k5160, Paper(0, 600)).empty());
}

TEST(LabelsPageLayout, MeasuresFarOffThePageDoNotWrapAround) {
  const LabelTemplate far = Sheet(1e7, 1, 3, 2, 1e7, 1e7, 1e7, 1e7);
  for (const PageDevice& device : {Paper(600, 600, {100, 100}), Screen({640, 828})}) {
    for (const CellPlace& place : LayOutTemplatePage(far, device)) {
      EXPECT_GE(place.Width, 0);
      EXPECT_GE(place.Rect.width(), 0);
      const QRect fitted = FitPictureInCell(place, {400, 300}, device, false);
      EXPECT_TRUE(fitted.isEmpty() || place.Rect.contains(fitted));
    }
  }
  // Labels of a negative size left of the preview stay out of it.
  for (const QRect& rect :
       TemplatePreviewRectangles(Sheet(-1e7, 1, 3, 1, 0, -1e7, -1e7, 1), kTemplatePreviewSize, 96))
    EXPECT_LE(rect.width(), 0);
}

TEST(LabelsPageLayout, PicturesFitTheirLabelKeepingTheirShape) {
  struct Case {
    const char* what;
    CellPlace place;
    QSize picture;
    PageDevice device;
    bool selected;
    QRect fitted;
  };
  const CellPlace screen{{15, 48, 252, 96}, 252, 96}, paper{{93, 300, 1575, 600}, 1575, 600};
  const PageDevice view = Screen({816, 1056});
  const Case cases[] = {
      {"fitted to the height, 2 px inside", screen, {4000, 3000}, view, false, {77, 50, 128, 92}},
      {"selected: a pixel shorter", screen, {4000, 3000}, view, true, {77, 50, 128, 91}},
      {"landscape in a tall label: fitted to the width, centred down",
       {{10, 10, 100, 300}, 100, 300},
       {400, 200},
       view,
       false,
       {12, 135, 96, 50}},
      {"portrait in a wide label",
       {{1, 1, 300, 100}, 300, 100},
       {200, 400},
       view,
       false,
       {126, 3, 50, 96}},
      {"paper: inset, moved left a twentieth",
       paper,
       {4000, 3000},
       Paper(600, 600),
       true,
       {523, 377, 650, 446}},
      {"paper at 300 dpi: half the inset",
       {{46, 150, 787, 300}, 787, 300},
       {4000, 3000},
       Paper(300, 300),
       false,
       {260, 189, 326, 222}},
      {"paper, full-page label: moved left only to its edge",
       {{1, 1, 5099, 6599}, 5100, 6600},
       {850, 1100},
       Paper(600, 600, {100, 100}),
       false,
       {3, 78, 4945, 6445}},
      {"paper, a label smaller than the inset",
       {{10, 10, 100, 100}, 100, 100},
       {100, 100},
       Paper(600, 600),
       false,
       {}},
      {"no pixels", screen, {0, 0}, view, false, {}},
      {"a label without size", {{1, 1, 0, 0}, 0, 0}, {100, 100}, view, false, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitPictureInCell(c.place, c.picture, c.device, c.selected), c.fitted) << c.what;
}

TEST(LabelsPageLayout, EveryShippedLabelHoldsItsPictureInsideOnEveryDevice) {
  const LabelTemplateList list = LoadLabelTemplates(BRIVANE_SOURCE_DIR "content/labels.dat");
  ASSERT_GT(list.TemplateCount(), 10);
  const PageDevice devices[] = {Paper(600, 600), Paper(600, 600, {100, 150}), Paper(300, 300),
                                Screen({640, 828}), Screen({300, 388})};
  const QSize pictures[] = {{4000, 3000}, {3000, 4000}, {1000, 1000}, {5000, 100}, {100, 5000}};
  for (const TemplateGroup& group : list.Groups())
    for (const LabelTemplate* t : group.Templates)
      for (const PageDevice& device : devices) {
        const std::vector<CellPlace> places = LayOutTemplatePage(*t, device);
        for (size_t k = 0; k < places.size(); ++k)
          for (const QSize picture : pictures) {
            const QRect fitted = FitPictureInCell(places[k], picture, device, k == 0);
            const bool mustShow = device.Printing && device.DpiX == 600 && picture == pictures[0];
            EXPECT_TRUE(fitted.isEmpty() ? !mustShow
                                         : places[k].Rect.adjusted(2, 2, -2, -2).contains(fitted))
                << t->Code.toStdString() << " label " << k << " at " << device.DpiX << " dpi";
          }
      }
}

TEST(LabelsPageLayout, ClicksAndKeysFindTheirLabel) {
  const std::vector<CellPlace> places = LayOutTemplatePage(k5160, Screen({816, 1056}));
  const std::pair<QPoint, int> hits[] = {{{15, 48}, 0},  {{266, 143}, 0}, {{267, 60}, -1},
                                         {{282, 60}, 1}, {{300, 150}, 4}, {{800, 1007}, 29},
                                         {{-1, -1}, -1}};
  for (const auto& [point, cell] : hits) EXPECT_EQ(CellAtPoint(places, point), cell) << point.x();

  // On 3 columns and 10 rows: the move, the column and row before and after.
  const std::tuple<PageMove, QPoint, QPoint> moves[] = {
      {PageMove::Home, {2, 5}, {0, 0}},  {PageMove::Home, {0, 0}, {0, 0}},
      {PageMove::End, {0, 0}, {2, 9}},   {PageMove::End, {2, 9}, {2, 9}},
      {PageMove::Left, {1, 3}, {0, 3}},  {PageMove::Left, {0, 3}, {0, 2}},
      {PageMove::Left, {0, 0}, {0, 0}},  {PageMove::Up, {1, 3}, {1, 2}},
      {PageMove::Up, {1, 0}, {1, 0}},    {PageMove::Right, {1, 3}, {2, 3}},
      {PageMove::Right, {2, 3}, {2, 4}}, {PageMove::Right, {2, 9}, {2, 9}},
      {PageMove::Down, {1, 3}, {1, 4}},  {PageMove::Down, {1, 9}, {1, 9}},
  };
  for (const auto& [move, from, to] : moves) {
    int column = from.x(), row = from.y();
    EXPECT_EQ(MoveSelection(move, column, row, 3, 10), to != from)
        << int(move) << " at " << from.x() << from.y();
    EXPECT_EQ(QPoint(column, row), to) << int(move) << " at " << from.x() << from.y();
  }
  int column = 0, row = 0;
  EXPECT_FALSE(MoveSelection(PageMove::End, column, row, 0, 10));
}

TEST(LabelsPageLayout, TheFirstDrawSelectsTheFirstLabelAndAClickAnother) {
  QImage view(640, 828, QImage::Format_RGB32);
  view.fill(Qt::white);
  QPainter painter(&view);
  DeviceContext dc(painter, view.size());
  const PageDevice device = Screen(view.size());
  QImage pixels(400, 300, QImage::Format_RGB32);
  pixels.fill(Qt::blue);
  ImageBitmap blue;
  SetBitmapImage(blue, pixels);
  PageCells cells;
  cells.Rebuild(30);
  cells.Give(4, blue, "blue");

  PageViewState state;
  ASSERT_TRUE(DrawTemplatePage(dc, device, k5160, cells, state));
  ASSERT_EQ(state.Places.size(), 30u);
  EXPECT_EQ(state.SelectedCell, 0);
  EXPECT_TRUE(state.Places[0].Rect.contains(state.ClickPoint));
  EXPECT_EQ(view.pixel(FitPictureInCell(state.Places[4], {400, 300}, device, false).center()),
            qRgb(0, 0, 255));

  SelectAtPoint(state, state.Places[5].Rect.center(), k5160.Columns);
  ASSERT_TRUE(DrawTemplatePage(dc, device, k5160, cells, state));
  EXPECT_EQ(std::make_tuple(state.SelectedCell, state.SelectedColumn, state.SelectedRow),
            std::make_tuple(5, 2, 1));
  // The selection stays with its label at another size; outside every label there is none.
  ASSERT_TRUE(DrawTemplatePage(dc, Screen({320, 414}), k5160, cells, state));
  EXPECT_EQ(state.SelectedCell, 5);
  SelectAtPoint(state, {0, 0}, k5160.Columns);
  EXPECT_EQ(state.SelectedCell, -1);
}
