// The live-update answer comes from the network: an answer is taken only when every field
// is well formed, and versions compare as an order.

#include <string>

#include "FuzzSupport.h"
#include "update/UpdateAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string problem;
  const std::optional<UpdateAnswer> answer = ParseUpdateAnswer(text, problem);
  if (!answer) {
    FUZZ_EXPECT(!problem.empty(), "a refused answer says why");
    return 0;
  }
  FUZZ_EXPECT(IsVersionNumber(answer->Version), "the version is a version number");
  FUZZ_EXPECT(IsDownloadAddress(answer->Download), "the address is a plain web address");
  FUZZ_EXPECT(IsSha256Digest(answer->Sha256), "the digest is 64 hexadecimal digits");
  for (const char c : answer->Download)
    FUZZ_EXPECT(c > ' ' && c < 0x7f && c != '\'' && c != '"' && c != '`' && c != '$' && c != '\\',
                "no blanks, quotes, backslashes or expansions");
  const std::string current = "1.1";
  const int order = CompareVersions(answer->Version, current);
  FUZZ_EXPECT(CompareVersions(answer->Version, answer->Version) == 0, "a version equals itself");
  FUZZ_EXPECT((order > 0) == (CompareVersions(current, answer->Version) < 0), "the order is antisymmetric");
  FUZZ_EXPECT(CompareVersions(answer->Version + ".0", answer->Version) == 0 ||
                  !IsVersionNumber(answer->Version + ".0"),
              "missing parts count as 0");
  return 0;
}
