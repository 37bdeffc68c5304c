#include "krn/ResultCodes.h"

namespace {
struct ResultEntry {
  int code;
  const char* name;
  const char* text;
};

constexpr ResultEntry kResults[] = {
    {SUCCESS, "SUCCESS", "Done."},
    {ERROR_FAILURE, "ERROR_FAILURE", "The operation failed."},
    {ERROR_NO_MEMORY, "ERROR_NO_MEMORY", "There is not enough memory for this picture."},
    {ERROR_NO_BITMAP, "ERROR_NO_BITMAP", "There is no picture to work on."},
    {ERROR_INV_PARAMETER, "ERROR_INV_PARAMETER", "A value given to the imaging library is not valid."},
    {ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND", "The file does not exist."},
    {ERROR_FILE_OPEN, "ERROR_FILE_OPEN", "The file cannot be opened."},
    {ERROR_FILE_READ, "ERROR_FILE_READ", "The file cannot be read."},
    {ERROR_FILE_WRITE, "ERROR_FILE_WRITE", "The file cannot be written."},
    {ERROR_FILE_FORMAT, "ERROR_FILE_FORMAT", "The file is not a picture Brivane knows."},
    {ERROR_FILE_CORRUPT, "ERROR_FILE_CORRUPT", "The picture file is damaged or cut short."},
    {ERROR_FORMAT_NOT_SUPPORTED, "ERROR_FORMAT_NOT_SUPPORTED", "This file type is not supported."},
    {ERROR_FORMAT_NO_READER, "ERROR_FORMAT_NO_READER", "Pictures of this file type cannot be read here."},
    {ERROR_FORMAT_NO_WRITER, "ERROR_FORMAT_NO_WRITER", "Pictures cannot be saved in this file type here."},
    {ERROR_IMAGE_TOO_LARGE, "ERROR_IMAGE_TOO_LARGE", "The picture is too large for this file type."},
    {ERROR_USER_ABORT, "ERROR_USER_ABORT", "The operation was stopped."},
    {ERROR_BPP_NOT_SUPPORTED, "ERROR_BPP_NOT_SUPPORTED", "This number of colours is not supported here."},
    {ERROR_NO_COMMENT, "ERROR_NO_COMMENT", "The file has no such comment."},
    {ERROR_NO_CLIPBOARD, "ERROR_NO_CLIPBOARD", "The clipboard cannot be used."},
    {ERROR_FILE_EXISTS, "ERROR_FILE_EXISTS", "A file of that name is already there."},
};

const ResultEntry* FindResult(int code) {
  for (const auto& entry : kResults)
    if (entry.code == code) return &entry;
  return nullptr;
}
}  // namespace

const char* ResultName(int result) {
  const ResultEntry* entry = FindResult(result);
  return entry ? entry->name : "UNKNOWN_RESULT";
}

const char* ResultText(int result) {
  const ResultEntry* entry = FindResult(result);
  return entry ? entry->text : "The imaging library reported an unknown error.";
}
