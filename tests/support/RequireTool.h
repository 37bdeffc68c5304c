#pragma once

#include <QString>

// Whether the program a test runs can be started (found on PATH, or an executable path).
// When it cannot, records a failure that names the Debian package installing it, so that
// a machine without the tool fails the test instead of quietly checking less. Use as
//   if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
bool RequireTool(const QString& program, const char* package);
