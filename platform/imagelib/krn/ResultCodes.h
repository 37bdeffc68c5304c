#pragma once

// Every function of the imaging library returns SUCCESS or one of these
// negative codes; nothing throws across the library's face.
enum ResultCode : int {
  SUCCESS = 1,
  ERROR_FAILURE = -1,
  ERROR_NO_MEMORY = -2,
  ERROR_NO_BITMAP = -3,            // the bitmap holds no pixels
  ERROR_INV_PARAMETER = -4,
  ERROR_FILE_NOT_FOUND = -5,
  ERROR_FILE_OPEN = -6,            // exists, but cannot be opened (permissions, a folder)
  ERROR_FILE_READ = -7,
  ERROR_FILE_WRITE = -8,
  ERROR_FILE_FORMAT = -9,          // not an image this library recognises
  ERROR_FILE_CORRUPT = -10,        // cut short, or its header lies about its content
  ERROR_FORMAT_NOT_SUPPORTED = -11,  // a format code outside the format table
  ERROR_FORMAT_NO_READER = -12,    // a known format that nothing here can read
  ERROR_FORMAT_NO_WRITER = -13,    // a known format that nothing here can write
  ERROR_IMAGE_TOO_LARGE = -14,     // larger than the format or the library allows
  ERROR_USER_ABORT = -15,          // the progress callback asked to stop
  ERROR_BPP_NOT_SUPPORTED = -16,
  ERROR_NO_COMMENT = -17,
  ERROR_NO_CLIPBOARD = -18,
  ERROR_FILE_EXISTS = -19,         // a file is in the way where nothing was to be replaced
};

// The code's name, "ERROR_FILE_CORRUPT" for example; "UNKNOWN_RESULT" for others.
const char* ResultName(int result);
// A sentence for people: "The file is damaged or cut short."
const char* ResultText(int result);
