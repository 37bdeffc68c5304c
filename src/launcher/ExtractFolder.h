#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A new folder private to the user inside the temporary folder ($TMPDIR, else /tmp) that
// the show's pieces are extracted into. Every path written is kept, in order, for Remove.
class ExtractFolder {
 public:
  ExtractFolder() = default;
  ExtractFolder(const ExtractFolder&) = delete;
  ExtractFolder& operator=(const ExtractFolder&) = delete;

  // $TMPDIR, else /tmp, ending in "/".
  static std::string TemporaryFolder();

  // Makes the folder (owner-only). False with errno set when it cannot be made.
  bool Create();
  const std::string& Path() const { return m_path; }

  // Writes bytes [begin, end) of the source as a new file of that name, owner-only, and
  // executable when asked. The path is listed for Remove even when writing fails.
  bool Extract(int source, std::int64_t begin, std::int64_t end, const std::string& name,
               bool executable);

  // Deletes every written file in the order written, then whatever else the player left
  // behind, then the folder itself.
  void Remove();

 private:
  std::string m_path;
  std::vector<std::string> m_written;
};
