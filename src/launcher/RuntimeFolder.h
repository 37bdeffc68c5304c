#pragma once

#include <string>
#include <vector>

// Whether `path` (XDG_RUNTIME_DIR's value) names a folder the player's toolkit takes as it
// is: an absolute path to an existing folder, not a link, owned by this user and open to
// nobody else (mode 0700). Otherwise Qt makes "runtime-USER" in the temporary folder and
// leaves it there.
bool IsUsableRuntimeFolder(const char* path);

// The environment the player starts with: `environment` (NAME=VALUE entries) as it is when
// its XDG_RUNTIME_DIR is usable; otherwise with XDG_RUNTIME_DIR naming a new owner-only
// folder inside `privateFolder` (which ends in "/"), so that removing that folder removes
// whatever the player kept there.
std::vector<std::string> PlayerEnvironment(const char* const* environment,
                                           const std::string& privateFolder);
