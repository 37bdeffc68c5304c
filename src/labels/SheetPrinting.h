#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

#include "labels/TemplatePagePainter.h"

class QPainter;

// The name printers show for a printed sheet.
inline constexpr const char* kSheetDocumentName = "Photos Printing On Labels";

// A printer's page as the Printing code sees it.
struct PrinterPage {
  int DpiX = 600;
  int DpiY = 600;
  // The printable area, in device pixels.
  QSize Size;
  // Of the printable area from the paper's corner, in device pixels.
  QPoint PhysicalOffset;
};

// Paints the sheet on a printer's page whose painter is active: each picture in its
// label at the label's inch position from the paper's corner. False when progress
// stopped it.
bool PrintTemplatePage(QPainter& painter, const PrinterPage& page, const LabelTemplate& t,
                       const PageCells& cells, const CellProgress& progress = {});

// Prints the sheet as one US-letter page of a PDF at dpi, replacing the file only when
// the whole page is written. An empty text on success, otherwise why it failed.
QString PrintSheetToPdf(const QString& file, const LabelTemplate& t, const PageCells& cells, int dpi,
                        const CellProgress& progress = {});
