#pragma once

#include <QString>
#include <QStringList>

struct LabelTemplate;

// One page of an album: a layout of the template list and one photo name a place, place
// k = column + row x columns. Names are photo stems of the store; "" is a blank place.
struct AlbumPage {
  // The layout's template; null when labels.dat knows no template of LayoutCode (the
  // page is then shown with the default layout and keeps its code).
  const LabelTemplate* Layout = nullptr;
  QString LayoutCode;
  // As many names as the file gave, at least one a place of the layout: names beyond
  // the places are kept and written back.
  QStringList Names;
  // The page's address on the web service, with one "%s" for the user id; "" until the
  // page is published.
  QString WebLink;
  // How many names the file gave (-1 for a page made here): blanks added after them to
  // fill the layout are not written back while they stay blank.
  int FileNameCount = -1;

  // A page of the layout with every place blank.
  static AlbumPage Blank(const LabelTemplate* layout);
  // Places the layout has (0 without a layout).
  int PlaceCount() const;
  // The name of place k, or "" beyond the names.
  QString Name(int place) const;
  // Sets the name of place k (places beyond the names add blanks first).
  void SetName(int place, const QString& name);
};
