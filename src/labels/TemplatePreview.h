#pragma once

#include <vector>

#include <QRect>
#include <QSize>

#include "labels/LabelTemplate.h"

// The preview picture's size: a blank page of 96 x 127 pixels.
inline constexpr QSize kTemplatePreviewSize(96, 127);
// The preview is drawn as if on a 96 dpi screen, whatever the screen reports.
inline constexpr double kTemplatePreviewPpi = 96.0;

// The labels of the preview, cell k = column + row x columns: the letter page shrunk
// into the picture, each rectangle kept at least a pixel inside it.
std::vector<QRect> TemplatePreviewRectangles(const LabelTemplate& t, QSize picture, double ppi);

// Makes the template's preview picture when it has none yet: a white page framed in
// black with its labels in navy.
void DrawTemplatePreview(LabelTemplate& t);
