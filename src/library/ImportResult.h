#pragma once

#include <QString>

// What became of one file offered for import.
struct ImportResult {
  enum class Status {
    Imported,
    NotAnImageType,  // the extension is not in the image file-type table
    BadName,         // the file's name cannot be a photo name
    NameTaken,       // a photo of that name is stored and the policy is to skip
    DecodeFailed,
    StoreFailed,
  };

  Status State = Status::Imported;
  QString Name;        // the photo name used (or that would have been used)
  int Code = 1;        // the imaging library's result for decoding or storing
  QString Reason;      // a sentence for people when the file was not imported

  bool imported() const { return State == Status::Imported; }
};
