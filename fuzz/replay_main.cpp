// Runs a fuzz target over saved inputs without libFuzzer: every file named on
// the command line, and every file inside a named folder. A broken check
// aborts inside the target, so the last "replay:" line names the input.
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

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "replay: cannot read %s\n", file.c_str());
    return false;
  }
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::fprintf(stderr, "replay: %s\n", file.c_str());
  // A heap copy of exactly the input's size, so that AddressSanitizer sees
  // any read past its end.
  const auto data = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), data.get());
  LLVMFuzzerTestOneInput(data.get(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  std::size_t count = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) {
      if (replay(path))
        ++count;
      else
        ok = false;
      continue;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, ec))
      if (entry.is_regular_file()) files.push_back(entry.path());
    if (ec) {
      std::fprintf(stderr, "replay: cannot list %s\n", path.c_str());
      ok = false;
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      if (replay(file))
        ++count;
      else
        ok = false;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  return ok && count > 0 ? 0 : 1;
}
