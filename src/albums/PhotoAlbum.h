#pragma once

#include <vector>

#include <QString>

#include "albums/AlbumPage.h"

// A named album: its pages in order. Names need not be unique.
struct PhotoAlbum {
  QString Name;
  std::vector<AlbumPage> Pages;
};
