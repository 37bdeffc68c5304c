#pragma once

// What every fuzz target shares: a private folder for the files the readers open, and
// the check that turns a broken promise of the code under test into a crash that
// libFuzzer records (and a replay reports).

#include <cstddef>
#include <cstdint>
#include <string>

// A folder of this process's own inside $TMPDIR (else /tmp), made on first use and
// removed at exit, ending in "/".
const std::string& ScratchFolder();
// Writes the bytes as ScratchFolder() + name, replacing an earlier file; the path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);
// The file's bytes, empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

[[noreturn]] void FuzzFault(const char* file, int line, const char* what);

// A promise of the code under test that the input broke.
#define FUZZ_EXPECT(condition, what) ((condition) ? void(0) : FuzzFault(__FILE__, __LINE__, what))
