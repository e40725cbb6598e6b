// Runs a fuzz target once over every file named on the command line and over every file of each
// folder named, in name order, without libFuzzer: the seed corpus as an ordinary test, and a way
// to rerun a crash file with any compiler. A run that finds no input fails, so that a missing
// corpus cannot pass for a clean one; a path that cannot be read fails too; a failed check of the
// target aborts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// As with libFuzzer, a target may leave out its one-time set-up.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);

  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const fs::path named = argv[i];
    std::error_code error;
    if (fs::is_directory(named, error)) {
      for (const fs::directory_entry& entry : fs::directory_iterator(named, error)) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else {
      inputs.push_back(named);
    }
    if (error) {
      std::fprintf(stderr, "cannot read %s\n", named.c_str());
      return 1;
    }
  }
  std::sort(inputs.begin(), inputs.end());

  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", input.c_str());
      return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::printf("%s (%zu bytes)\n", input.filename().c_str(), bytes.size());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
