#pragma once

// The program's own labels.dat, read once: the album readers look layouts up in it.

#include <QString>

#include "labels/LabelTemplates.h"

#ifndef BRIVANE_CONTENT_DIR
#error "BRIVANE_CONTENT_DIR names the folder holding labels.dat"
#endif

inline const LabelTemplateList& ShippedTemplates() {
  static const LabelTemplateList list =
      LoadLabelTemplates(QStringLiteral(BRIVANE_CONTENT_DIR "/") + LabelTemplateList::kFileName);
  return list;
}
