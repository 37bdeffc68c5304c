// The launcher's reading of a show file: the trailer of offsets behind the appended
// pieces, then the extraction of each piece into a private folder, as the head of every
// built show does before it starts the player.

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "launcher/ExtractFolder.h"
#include "launcher/ShowLayout.h"

namespace {
constexpr char kSlideShowPlayer[] = "pavonel.exe";
constexpr char kScreenSaverPlayer[] = "Beach.exe";
constexpr std::int64_t kIntegerSize = 4;
// The trailer: six header offsets, the photo offsets, the photo count.
constexpr std::int64_t kHeaderCount = 6;

std::int64_t PhotoCount(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* last = data + size - kIntegerSize;
  return std::int32_t(std::uint32_t(last[0]) | std::uint32_t(last[1]) << 8 |
                      std::uint32_t(last[2]) << 16 | std::uint32_t(last[3]) << 24);
}

// The pieces tile the area before the trailer, in order, with the names the player
// expects to find beside it.
void ExpectSoundLayout(const ShowLayout& layout, const std::uint8_t* data, std::size_t size) {
  FUZZ_EXPECT(size >= kIntegerSize * (kHeaderCount + 1), "a read trailer fits the file");
  const std::int64_t photos = PhotoCount(data, size);
  FUZZ_EXPECT(photos >= 0, "a read trailer has a photo count");
  const std::int64_t trailer = std::int64_t(size) - kIntegerSize * (kHeaderCount + 1 + photos);
  FUZZ_EXPECT(trailer >= 0, "the photo offsets fit the file");
  const std::int64_t libraries = layout.ScreenSaver ? 5 : 4;
  FUZZ_EXPECT(std::int64_t(layout.Pieces.size()) == 1 + libraries + photos,
              "a piece for the player, each library and each photo");
  FUZZ_EXPECT(
      layout.Pieces.front().Name == (layout.ScreenSaver ? kScreenSaverPlayer : kSlideShowPlayer),
      "the player is named by the show's kind");
  for (std::size_t i = 0; i < layout.Pieces.size(); ++i) {
    const ShowPiece& piece = layout.Pieces[i];
    FUZZ_EXPECT(0 <= piece.Begin && piece.Begin <= piece.End && piece.End <= trailer,
                "a piece lies before the trailer");
    if (i + 1 < layout.Pieces.size())
      FUZZ_EXPECT(piece.End == layout.Pieces[i + 1].Begin, "a piece ends where the next begins");
    FUZZ_EXPECT(!piece.Name.empty() && piece.Name.find('/') == std::string::npos,
                "a piece is named inside the folder");
  }
  FUZZ_EXPECT(layout.Pieces.back().End == trailer, "the last piece ends at the trailer");
}

// Each extracted file holds exactly its piece's bytes, and removing leaves nothing.
void ExpectExtracted(const ShowLayout& layout, int show, const std::uint8_t* data) {
  ExtractFolder folder;
  FUZZ_EXPECT(folder.Create(), "the extraction folder can be made");
  for (std::size_t i = 0; i < layout.Pieces.size(); ++i) {
    const ShowPiece& piece = layout.Pieces[i];
    FUZZ_EXPECT(folder.Extract(show, piece.Begin, piece.End, piece.Name, i == 0),
                "every piece is extracted");
    const std::string bytes = ReadWholeFile(folder.Path() + piece.Name);
    FUZZ_EXPECT(bytes == std::string(reinterpret_cast<const char*>(data) + piece.Begin,
                                     std::size_t(piece.End - piece.Begin)),
                "an extracted piece holds its bytes");
  }
  const std::string path = folder.Path();
  folder.Remove();
  FUZZ_EXPECT(access(path.c_str(), F_OK) != 0, "removing the folder leaves nothing");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Shows extract into $TMPDIR: into the target's own folder here.
  setenv("TMPDIR", ScratchFolder().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteScratchFile("show.scr", data, size);
  const int show = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  FUZZ_EXPECT(show >= 0, "the show file opens");
  ShowLayout layout;
  if (ReadShowLayout(show, kSlideShowPlayer, kScreenSaverPlayer, layout)) {
    ExpectSoundLayout(layout, data, size);
    ExpectExtracted(layout, show, data);
  }
  close(show);
  return 0;
}
