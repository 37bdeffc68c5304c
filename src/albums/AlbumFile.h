#pragma once

#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "albums/PhotoAlbum.h"

class LabelTemplateList;

// photos.dat, the albums of the user data folder: every value on a line of its own, CR LF
// line ends. Reading takes a line up to 510 characters, drops its trailing white space
// and reads numbers from its leading digits (none: 0).
//   album count; per album: name, page count; per page: layout code, name count, web
//   link, then one name a line.
inline constexpr const char* kAlbumFileName = "photos.dat";
inline constexpr const char* kDeletedAlbumsFileName = "deletealbums.dat";

// The albums of the file's bytes; layouts are looked up by code in the template list.
// A malformed file gives what it held before it ran out.
std::vector<PhotoAlbum> ReadAlbums(const QByteArray& bytes, const LabelTemplateList& templates);
// An unreadable or missing file gives no albums.
std::vector<PhotoAlbum> LoadAlbums(const QString& file, const LabelTemplateList& templates);
// The file's bytes for the albums.
QByteArray WriteAlbums(const std::vector<PhotoAlbum>& albums);
// Replaces the file with the albums: written beside it, synced, then renamed over it, so
// a crash or a full disk leaves the old file. False when it could not be written.
bool SaveAlbums(const QString& file, const std::vector<PhotoAlbum>& albums);
// Appends the album's name, a line, to deletealbums.dat (for the web service to delete
// the album there), on a line of its own even after a cut last line; false when the file cannot be written.
bool RecordDeletedAlbum(const QString& file, const QString& name);
// The album names of deletealbums.dat, a line each (its first 511 bytes, the rest and the
// line end dropped); empty lines are skipped. None when the file is missing.
QStringList ReadDeletedAlbums(const QString& file);

// A name as it may stand on a line of the file: control characters (line breaks, NUL,
// tabs…) dropped, trailing blanks trimmed.
QString CleanAlbumText(const QString& text);
// Whether typed text holds a character the file cannot keep on one line.
bool HasLineBreakingCharacter(const QString& text);

// A photo of the store was renamed or deleted: every place naming it follows. Returns
// how many places changed.
int RenamePhotoInAlbums(std::vector<PhotoAlbum>& albums, const QString& oldStem, const QString& newStem);
int RemovePhotoFromAlbums(std::vector<PhotoAlbum>& albums, const QString& stem);
