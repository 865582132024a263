// _b_new/_b_delete sequences against a model of the live blocks: the three
// counters, and the tracker's chain (newest first, each record naming its
// block, size, line and file). Every block is filled to its size, so the
// address sanitizer sees a block that is too small; every input releases
// what it allocated, so the tracker is back at its start between inputs.
#include <morvane/bmem.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "support/bookkeeping.h"
#include "tracker/mem_manager.h"

namespace {

using morvane::tracker::GlobalManager;
using morvane::tracker::MemNode;
using morvane::tracker::MemStruct;

constexpr size_t kMaxBlocks = 512;

struct Block {
  void* pointer;
  unsigned int size;
  std::string file;
  int line;
};

void CheckTracker(const std::vector<Block>& live) {
  long used = 0;
  int overhead = 0;
  for (const Block& b : live) {
    used += b.size;
    overhead +=
        static_cast<int>(morvane::testing::BookkeepingBytes(b.file.size()));
  }
  FUZZ_CHECK(_b_getusedmem() == used);
  FUZZ_CHECK(_b_getmemcount() == static_cast<long>(live.size()));
  FUZZ_CHECK(GlobalManager().MemorySize() == overhead);

  const MemNode* node = GlobalManager().Blocks().next;
  const void* newer = &GlobalManager().Blocks();
  for (auto b = live.rbegin(); b != live.rend(); ++b, node = node->next) {
    FUZZ_CHECK(node != nullptr && node->prev == newer);
    const MemStruct* r = node->record;
    FUZZ_CHECK(r != nullptr && r->pointer == b->pointer);
    FUZZ_CHECK(r->size == b->size && r->line == b->line);
    FUZZ_CHECK(r->file != nullptr && b->file == r->file);
    newer = node;
  }
  FUZZ_CHECK(node == nullptr);
}

void Release(std::vector<Block>& live, size_t i, const char* file, int line) {
  const Block& b = live[i];
  for (unsigned int j = 0; j < b.size; ++j)
    FUZZ_CHECK(static_cast<unsigned char*>(b.pointer)[j] ==
               static_cast<unsigned char>(b.line));
  _b_delete(b.pointer, file, line);
  live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  std::vector<Block> live;  // oldest first
  CheckTracker(live);
  while (!in.Done()) {
    if (in.Byte() % 3 != 0 && live.size() < kMaxBlocks) {
      Block b{nullptr, in.Word() % 4097u, in.Text(),
              static_cast<int>(in.Bits32())};
      b.pointer = _b_new(b.size, b.file.c_str(), b.line);
      FUZZ_CHECK(b.pointer != nullptr);
      FUZZ_CHECK(reinterpret_cast<uintptr_t>(b.pointer) %
                     alignof(std::max_align_t) ==
                 0);
      std::memset(b.pointer, static_cast<unsigned char>(b.line), b.size);
      live.push_back(b);
    } else if (!live.empty()) {
      // file and line are ignored, null or not
      const size_t i =
          static_cast<size_t>(in.Index(0, static_cast<int>(live.size()) - 1));
      const std::string file = in.Text();
      Release(live, i, file.empty() ? nullptr : file.c_str(), in.Byte());
    }
    CheckTracker(live);
  }
  while (!live.empty()) Release(live, live.size() - 1, "", 0);
  CheckTracker(live);
  return 0;
}
