// Runs a fuzz target once over every file named on the command line, and over every file of each
// folder named: for compilers without libFuzzer, and as the test of a seed corpus. Ends with 1
// when a path cannot be read; a failed check of the target aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool runFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  int inputs = 0;
  bool ok = true;
  for (int i = 1; i < argc; ++i) {
    const fs::path path = argv[i];
    std::error_code error;
    if (fs::is_directory(path, error)) {
      for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
        if (!entry.is_regular_file()) continue;
        ok = runFile(entry.path()) && ok;
        ++inputs;
      }
    } else {
      ok = runFile(path) && ok;
      ++inputs;
    }
    if (error) ok = false;
  }
  std::printf("%d inputs run\n", inputs);
  return ok && inputs > 0 ? 0 : 1;
}
