// Runs a fuzz target's entry over saved inputs without libFuzzer, so the ordinary build
// and the sanitizer build replay the corpus and every input that ever found a fault.
//   fuzz_replay_<target> FOLDER_OR_FILE...
// Every file of each folder (names starting with "." excepted) is fed once, in name
// order. A missing folder or no input at all fails: a replay of nothing proves nothing.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {
namespace fs = std::filesystem;

bool Inputs(const fs::path& place, std::vector<fs::path>& files) {
  std::error_code error;
  if (fs::is_regular_file(place, error)) {
    files.push_back(place);
    return true;
  }
  if (!fs::is_directory(place, error)) return false;
  std::vector<fs::path> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(place, error))
    if (entry.is_regular_file() && entry.path().filename().string().front() != '.')
      found.push_back(entry.path());
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
  return !error;
}
}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    if (!Inputs(argv[i], files)) {
      std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
      return 2;
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "replay: no inputs\n");
    return 2;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A buffer of exactly the input's size, as libFuzzer gives, so a read past its end is
    // caught by the address sanitizer.
    std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    std::fprintf(stderr, "replay: %s\n", file.c_str());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return 0;
}
