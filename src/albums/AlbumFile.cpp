#include "albums/AlbumFile.h"

#include <limits>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "labels/LabelTemplates.h"
#include "system/AtomicFile.h"

namespace {
constexpr qsizetype kMaxLineLength = 510;
// A character takes at most four bytes of UTF-8: decoding this many bytes of a long line
// is enough for its first kMaxLineLength characters.
constexpr qsizetype kMaxLineBytes = 4 * kMaxLineLength;

bool IsLineBreaking(QChar c) {
  return c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

// A line's text as it stands. QString::fromUtf8 would drop a byte-order mark that begins
// the line: a name beginning with U+FEFF would come back as another name. Stateless: a
// sequence the line cuts short becomes U+FFFD, as fromUtf8 has it, not nothing.
QString LineText(const char* bytes, qsizetype size) {
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
  return decoder.decode(QByteArrayView(bytes, size));
}

QString WithoutTrailingSpace(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  text.truncate(end);
  return text;
}

// The file's lines one at a time, each cut at kMaxLineLength characters and without its
// trailing white space; what follows the cut is skipped up to the line's end.
class AlbumLineReader {
 public:
  explicit AlbumLineReader(const QByteArray& bytes) : bytes_(bytes) {
    if (bytes_.startsWith("\xEF\xBB\xBF")) at_ = 3;
  }

  bool AtEnd() const { return at_ >= bytes_.size(); }

  // The next line; false at the end of the file.
  bool Next(QString& line) {
    if (AtEnd()) return false;
    qsizetype end = bytes_.indexOf('\n', at_);
    if (end < 0) end = bytes_.size();
    const qsizetype length = std::min(end - at_, kMaxLineBytes);
    QString text = LineText(bytes_.constData() + at_, length);
    if (text.size() > kMaxLineLength) {
      qsizetype cut = kMaxLineLength;
      // Never half a surrogate pair.
      if (text[cut - 1].isHighSurrogate()) --cut;
      text.truncate(cut);
    }
    at_ = end + 1;
    line = WithoutTrailingSpace(std::move(text));
    return true;
  }

  // The next line as a count: its leading number, as C's atoi reads it; 0 at the end.
  bool NextNumber(int& number) {
    QString line;
    if (!Next(line)) return false;
    number = LeadingInteger(line);
    return true;
  }

 private:
  static int LeadingInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    constexpr qint64 kMax = std::numeric_limits<int>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
      value = std::min(kMax, value * 10 + (text[i].unicode() - u'0'));
    return int(negative ? -value : value);
  }

  const QByteArray& bytes_;
  qsizetype at_ = 0;
};

void AppendLine(QByteArray& out, const QString& text) {
  out += CleanAlbumText(text).toUtf8();
  out += "\r\n";
}

void AppendLine(QByteArray& out, qsizetype number) {
  out += QByteArray::number(number);
  out += "\r\n";
}

// The names a page writes: the read ones and the blanks added after them to fill the
// layout are written as the file had them, so an untouched page reads back the same.
qsizetype WrittenNameCount(const AlbumPage& page) {
  const qsizetype all = page.Names.size();
  if (page.FileNameCount < 0 || page.FileNameCount >= all) return all;
  for (qsizetype k = page.FileNameCount; k < all; ++k)
    if (!page.Names[k].isEmpty()) return all;
  return page.FileNameCount;
}
}  // namespace

std::vector<PhotoAlbum> ReadAlbums(const QByteArray& bytes, const LabelTemplateList& templates) {
  std::vector<PhotoAlbum> albums;
  AlbumLineReader reader(bytes);
  int albumCount = 0;
  if (!reader.NextNumber(albumCount)) return albums;
  // Counts are never trusted for memory: every album, page and name takes a line, so
  // the loops end with the file whatever the counts claim.
  for (int a = 0; a < albumCount; ++a) {
    PhotoAlbum album;
    if (!reader.Next(album.Name)) break;
    album.Name = CleanAlbumText(album.Name);
    int pageCount = 0;
    reader.NextNumber(pageCount);
    for (int p = 0; p < pageCount; ++p) {
      QString code;
      if (!reader.Next(code)) break;
      AlbumPage page;
      page.LayoutCode = CleanAlbumText(code);
      if (!page.LayoutCode.isEmpty()) page.Layout = templates.FindTemplateByCode(page.LayoutCode);
      int nameCount = 0;
      reader.NextNumber(nameCount);
      if (reader.Next(page.WebLink)) page.WebLink = CleanAlbumText(page.WebLink);
      QString name;
      for (int k = 0; k < nameCount && reader.Next(name); ++k)
        page.Names.append(CleanAlbumText(name));
      page.FileNameCount = int(page.Names.size());
      while (page.Names.size() < page.PlaceCount()) page.Names.append(QString());
      album.Pages.push_back(std::move(page));
    }
    albums.push_back(std::move(album));
  }
  return albums;
}

std::vector<PhotoAlbum> LoadAlbums(const QString& file, const LabelTemplateList& templates) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) return {};
  return ReadAlbums(in.readAll(), templates);
}

QByteArray WriteAlbums(const std::vector<PhotoAlbum>& albums) {
  QByteArray out;
  AppendLine(out, qsizetype(albums.size()));
  for (const PhotoAlbum& album : albums) {
    AppendLine(out, album.Name);
    AppendLine(out, qsizetype(album.Pages.size()));
    for (const AlbumPage& page : album.Pages) {
      AppendLine(out, page.LayoutCode);
      const qsizetype names = WrittenNameCount(page);
      AppendLine(out, names);
      AppendLine(out, page.WebLink);
      for (qsizetype k = 0; k < names; ++k) AppendLine(out, page.Names[k]);
    }
  }
  return out;
}

bool SaveAlbums(const QString& file, const std::vector<PhotoAlbum>& albums) {
  // The program folder must be there already: a file in a folder made up here would be
  // one the program never reads.
  if (file.isEmpty() || !QFileInfo(QFileInfo(file).absolutePath()).isDir()) return false;
  return WriteFileAtomically(file, WriteAlbums(albums));
}

bool RecordDeletedAlbum(const QString& file, const QString& name) {
  QFile out(file);
  if (file.isEmpty() || !out.open(QIODevice::ReadWrite | QIODevice::Append)) return false;
  QByteArray line = CleanAlbumText(name).toUtf8() + "\r\n";
  // A file that ends inside a line (cut by a full disk, or edited) would join this name
  // to that line, and the web's album of the joined name would be deleted instead.
  if (const qint64 size = out.size(); size > 0 && out.seek(size - 1) && out.read(1) != "\n")
    line.prepend("\r\n");
  const bool written = out.write(line) == line.size();
  return out.flush() && written;
}

QStringList ReadDeletedAlbums(const QString& file) {
  QFile in(file);
  QStringList names;
  if (file.isEmpty() || !in.open(QIODevice::ReadOnly)) return names;
  while (!in.atEnd()) {
    QByteArray line = in.readLine(512);
    // The rest of a longer line is dropped, never read as a name of its own.
    if (!line.endsWith('\n'))
      while (!in.atEnd() && !in.readLine(512).endsWith('\n')) {
      }
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (!line.isEmpty()) names.append(LineText(line.constData(), line.size()));
  }
  return names;
}

QString CleanAlbumText(const QString& text) {
  QString clean;
  clean.reserve(text.size());
  for (QChar c : text)
    if (!IsLineBreaking(c)) clean.append(c);
  return WithoutTrailingSpace(std::move(clean));
}

bool HasLineBreakingCharacter(const QString& text) {
  for (QChar c : text)
    if (IsLineBreaking(c)) return true;
  return false;
}

int RenamePhotoInAlbums(std::vector<PhotoAlbum>& albums, const QString& oldStem,
                        const QString& newStem) {
  // A blank place names no photo, and a name kept as it is changes nothing.
  if (oldStem.isEmpty() || oldStem == newStem) return 0;
  int changed = 0;
  for (PhotoAlbum& album : albums)
    for (AlbumPage& page : album.Pages)
      for (QString& name : page.Names)
        if (name == oldStem) {
          name = newStem;
          ++changed;
        }
  return changed;
}

int RemovePhotoFromAlbums(std::vector<PhotoAlbum>& albums, const QString& stem) {
  return stem.isEmpty() ? 0 : RenamePhotoInAlbums(albums, stem, QString());
}
