#pragma once

#include <vector>

#include <QString>

#include "albums/PhotoAlbum.h"

class LabelTemplateList;

// The albums of the service's album answer, read strictly a key a line in order:
// "AlbumCount=", then per album "AlbumNum=", "AlbumName=", "NumPages=", per page
// "NumRows=", "NumColumns=" and one "Photo<i>=" line a place, whose value ends in three
// characters that are no part of the name. A missing or non-numeric number counts as 0.
// Each page gets the first album layout of its grid (none when no layout has it), blank
// places for names that are missing, and no web link. Names come back as the service
// keeps them ("Fish & Chips") and are turned into the stems the photos are stored under.
std::vector<PhotoAlbum> ParseRemoteAlbums(QString answer, const LabelTemplateList& templates);
