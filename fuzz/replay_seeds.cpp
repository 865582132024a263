// A main for a fuzz harness without libFuzzer, as the test suite builds it:
// runs the harness once on each file given, and on every file of each
// directory given (its checked-in seeds), in name order. A model mismatch
// aborts with its message (FUZZ_CHECK); an unreadable input, or none at
// all, fails the run.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::set<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!fs::is_directory(argv[i])) {
      inputs.insert(argv[i]);
      continue;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(argv[i])) {
      inputs.insert(entry.path());
    }
  }
  for (const fs::path& path : inputs) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
      std::cerr << "cannot read " << path << '\n';
      return 1;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()),
                           bytes.size());
  }
  std::cout << inputs.size() << " inputs replayed\n";
  return inputs.empty() ? 1 : 0;
}
