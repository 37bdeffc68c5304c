#pragma once

// Reading a picture file into memory, with the library's result codes for what goes wrong.

#include <QString>
#include <cstddef>
#include <cstdlib>
#include <memory>

struct FileBuffer {
  std::unique_ptr<unsigned char, decltype(&std::free)> Data{nullptr, &std::free};
  std::size_t Size = 0;  // bytes read
  qint64 DiskSize = 0;   // the whole file's size

  const unsigned char* begin() const { return Data.get(); }
};

// Reads up to maxBytes from the start of the file (all of it by default). Missing:
// ERROR_FILE_NOT_FOUND; a folder, a device or no permission: ERROR_FILE_OPEN;
// empty: ERROR_FILE_FORMAT.
int ReadFileBuffer(const QString& file, FileBuffer& buffer, std::size_t maxBytes = SIZE_MAX);
