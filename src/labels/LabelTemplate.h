#pragma once

#include <QString>

#include "krn/ImageBitmap.h"

// One sheet product of labels.dat: a grid of rows x columns equal labels on a US-letter
// page, measured in inches. The columns of the file that nothing uses are kept so that
// a template reads back whole.
struct LabelTemplate {
  static constexpr int kColumnCount = 27;
  static constexpr double kPageWidth = 8.5;
  static constexpr double kPageHeight = 11.0;

  QString Category;            // 1
  QString Texts2To6[5];        // 2-6
  int Number7 = 0;             // 7
  QString Code;                // 8: the key, stored in photos.dat and LabelType
  QString Name;                // 9
  QString Comments;            // 10
  QString LaserProduct;        // 11
  QString InkjetProduct;       // 12
  QString Texts13To15[3];      // 13-15
  double LabelWidth = 0;       // 16
  double LabelHeight = 0;      // 17
  int Columns = 0;             // 18
  int Rows = 0;                // 19
  double TopMargin = 0;        // 20
  double Decimal21 = 0;        // 21
  double LeftMargin = 0;       // 22: on screen and on paper
  double PreviewLeftMargin = 0;  // 23: in the preview picture
  double HorizontalPitch = 0;  // 24: between the left edges of neighbouring columns
  double VerticalPitch = 0;    // 25: between the top edges of neighbouring rows
  double Decimal26 = 0;        // 26
  double Decimal27 = 0;        // 27

  // The small picture of the sheet the chooser shows; made on first need.
  ImageBitmap Preview;

  // Labels on the sheet; 0 for a template whose grid the file left empty or negative.
  int CellCount() const { return Columns > 0 && Rows > 0 ? Columns * Rows : 0; }
};
