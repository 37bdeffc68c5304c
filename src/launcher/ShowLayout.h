#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One appended piece of a show file: bytes [Begin, End) extracted under Name.
struct ShowPiece {
  std::string Name;
  std::int64_t Begin = 0;
  std::int64_t End = 0;
};

// The pieces of a show file as its trailer describes them, checked against the file's
// length before anything is read: the player first, then the libraries, then the photos.
struct ShowLayout {
  bool ScreenSaver = false;
  std::vector<ShowPiece> Pieces;
};

// Reads the trailer of the open show file; the player piece is named by the show's kind.
// False when the file is too short, the photo count does not fit, or an offset lies
// outside the pieces' area or before the previous one.
bool ReadShowLayout(int fd, const std::string& slideShowPlayer,
                    const std::string& screenSaverPlayer, ShowLayout& layout);
