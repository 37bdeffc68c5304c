#include "labels/SheetPrinting.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "dis/DeviceContext.h"
#include "krn/ltkrn.h"

bool PrintTemplatePage(QPainter& painter, const PrinterPage& page, const LabelTemplate& t,
                       const PageCells& cells, const CellProgress& progress) {
  DeviceContext dc(painter, page.Size, page.DpiX, page.DpiY, page.PhysicalOffset);
  PageDevice device;
  device.DpiX = page.DpiX;
  device.DpiY = page.DpiY;
  device.Printing = true;
  device.Target = page.Size;
  device.PhysicalOffset = page.PhysicalOffset;
  PageViewState state;
  // Each picture is shrunk to its printed size first: area averaging here costs a fraction
  // of the painter's stretch of a whole photo.
  ImageBitmap sized;
  const CellPictureSource shrunk = [&cells, &sized](int cell, QSize size) -> const ImageBitmap* {
    const ImageBitmap* picture = cells.Cell(cell).Working.get();
    if (!picture || size.width() >= picture->shownSize().width()) return nullptr;
    sized = *picture;
    const QSize stored = picture->Perspective >= LeftTop ? size.transposed() : size;
    return ResizeBitmap(sized, stored.width(), stored.height()) == SUCCESS ? &sized : nullptr;
  };
  return DrawTemplatePage(dc, device, t, cells, state, shrunk, progress);
}

QString PrintSheetToPdf(const QString& file, const LabelTemplate& t, const PageCells& cells, int dpi,
                        const CellProgress& progress) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return out.errorString();
  // The writer ignores a short write (a full disk) and goes on: it writes into memory, and
  // the file takes the whole PDF or is not replaced.
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  bool printed = false;
  {
    QPdfWriter writer(&pdf);
    writer.setTitle(QString::fromLatin1(kSheetDocumentName));
    writer.setCreator(QStringLiteral("Brivane"));
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) return QStringLiteral("The PDF could not be started.");
    PrinterPage page;
    page.DpiX = page.DpiY = writer.resolution();
    page.Size = QSize(writer.width(), writer.height());
    printed = PrintTemplatePage(painter, page, t, cells, progress);
    painter.end();
  }
  if (!printed) return QStringLiteral("The printing was stopped.");
  // A short write sets no error; the file left uncommitted is removed.
  if (out.write(pdf.data()) != pdf.size())
    return out.error() != QFileDevice::NoError
               ? out.errorString()
               : QStringLiteral("There was no room for the whole PDF.");
  if (!out.commit()) return out.errorString();
  return {};
}
