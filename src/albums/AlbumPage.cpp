#include "albums/AlbumPage.h"

#include "labels/LabelTemplate.h"

AlbumPage AlbumPage::Blank(const LabelTemplate* layout) {
  AlbumPage page;
  page.Layout = layout;
  page.LayoutCode = layout ? layout->Code : QString();
  for (int k = 0; k < page.PlaceCount(); ++k) page.Names.append(QString());
  return page;
}

int AlbumPage::PlaceCount() const { return Layout ? Layout->CellCount() : 0; }

QString AlbumPage::Name(int place) const { return place >= 0 && place < Names.size() ? Names[place] : QString(); }

void AlbumPage::SetName(int place, const QString& name) {
  if (place < 0) return;
  while (Names.size() <= place) Names.append(QString());
  Names[place] = name;
}
