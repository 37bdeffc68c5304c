#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

// How a template's hole meets its artwork: a crisp cut, or a feathered edge whose
// see-through pixels are scattered so that the border looks soft in a palette picture.
enum class HoleEdge { None, Hard, Soft };

// One run of the tool: either one picture (several sources side by side make a strip)
// or the contact sheet of everything already rendered.
struct RenderOptions {
  bool sheet = false;
  QString output;
  QStringList inputs;   // SVG sources, or for the sheet the rendered files
  QSize size;           // of one source's picture
  HoleEdge hole = HoleEdge::None;
  int grain = 0;        // strength of the texture noise in colour levels
  bool streak = false;  // the noise runs in long horizontal streaks (brushed metal)
  bool hasKey = false;  // transparent pixels become this colour (toolbar, cursors)
  QColor key;
  QColor matte = Qt::white;  // what shows behind partly transparent pixels
  int colours = 256;         // palette size of a GIF
  int quality = 8;           // JPEG quality factor: 2 best, 255 smallest
  QString root;              // sheet: the program folder the inputs are named from
  QString sample;            // sheet: the stand-in photo shown through template holes
};

// Parses the command line; on failure returns false and sets error.
bool ParseRenderOptions(const QStringList& arguments, RenderOptions& options, QString& error);
QString RenderUsage();
