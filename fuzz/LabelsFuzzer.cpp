// labels.dat and the page layouts made of its templates: any file gives a list of
// templates whose grids stay within a sheet product's bounds, and laying out any template
// on the screen or on paper gives labels of sane sizes.

#include <cmath>

#include <QByteArray>
#include <QRect>

#include "FuzzSupport.h"
#include "labels/LabelTemplates.h"
#include "labels/PageLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const LabelTemplateList list = ReadLabelTemplates(bytes);
  FUZZ_EXPECT(list.TemplateCount() <= bytes.count('\n') + 1, "a template comes from a line of its own");

  int seen = 0;
  for (const TemplateGroup& group : list.Groups()) {
    for (const LabelTemplate* t : group.Templates) {
      ++seen;
      FUZZ_EXPECT(t != nullptr, "groups hold templates");
      FUZZ_EXPECT(list.FindTemplateByCode(t->Code) != nullptr, "every code is found");
      const int cells = t->CellCount();
      FUZZ_EXPECT(cells >= 0 && cells <= LabelTemplateList::kMaxGridSide * LabelTemplateList::kMaxGridSide,
                  "a grid is at most a sheet product's");
      ProductInfoText(*t);
      // A few layouts only: each costs a label a cell.
      if (seen > 8) continue;
      for (const bool printing : {false, true}) {
        PageDevice device;
        device.Printing = printing;
        device.DpiX = device.DpiY = printing ? 600 : 96;
        device.Target = QSize(612, 792);
        const std::vector<CellPlace> places = LayOutTemplatePage(*t, device);
        FUZZ_EXPECT(int(places.size()) == cells, "a place a label");
        for (const CellPlace& place : places) {
          FUZZ_EXPECT(place.Rect.left() >= 1 && place.Rect.top() >= 1, "labels start inside the page");
          const QRect fitted = FitPictureInCell(place, QSize(640, 480), device, false);
          if (!fitted.isEmpty())
            FUZZ_EXPECT(place.Rect.contains(fitted.topLeft()), "a picture stays in its label");
        }
        CellAtPoint(places, QPoint(100, 100));
      }
    }
  }
  FUZZ_EXPECT(seen == list.TemplateCount(), "every template is in a group");
  for (const LabelTemplate* layout : list.AlbumLayouts())
    FUZZ_EXPECT(LabelTemplateList::AlbumLayoutCodes().contains(layout->Code), "album layouts have album codes");
  return 0;
}
