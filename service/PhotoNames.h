#pragma once

#include <string>

// Photo and album names become file names: these rules keep them inside their folder.
namespace PhotoNames {
// Why name cannot be used, or empty when it can: at most 255 characters, no "/", "\",
// NUL or control characters, not "." or "..".
std::string problem(const std::string& name);
// The file stem of a photo name: every "&" doubled ("Fish & Chips" -> "Fish && Chips").
std::string stem(const std::string& name);
// The photo's file and its thumbnail in the upload folder.
inline std::string photoFile(const std::string& name) { return stem(name) + ".jpg"; }
inline std::string thumbnailFile(const std::string& name) { return stem(name) + "_tn.jpg"; }
}  // namespace PhotoNames
