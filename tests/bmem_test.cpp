// The tracker's bookkeeping as the library sees it: counters, the chain, the
// header words, the internal checks and the exit routine.
#include <gtest/gtest.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "tracker/heap.h"
#include "tracker/mem_manager.h"

namespace morvane::tracker {
namespace {

constexpr char kFile[] = "a.cpp";  // five characters
constexpr int kBlockBytes = sizeof(MemStruct) + sizeof(MemNode) + 6;

constexpr std::uintptr_t kAlignment = alignof(std::max_align_t);  // malloc's

MemNode*& HeaderOf(void* p) { return static_cast<MemNode**>(p)[-1]; }

// Checks the counters, and the chain against `live` (newest first): every
// back link, aligned blocks, records with their own copy of kFile.
void ExpectLive(const std::vector<void*>& live, long usedmem) {
  const int count = static_cast<int>(live.size());
  EXPECT_EQ(_b_getusedmem(), usedmem);
  EXPECT_EQ(_b_getmemcount(), count);
  EXPECT_EQ(GlobalManager().MemorySize(), count * kBlockBytes);
  const MemLinks* prev = &GlobalManager().Blocks();
  EXPECT_TRUE(prev->prev == nullptr && prev->record == nullptr);
  std::vector<void*> chain;
  for (const MemNode* node = prev->next; node; prev = node, node = node->next) {
    EXPECT_EQ(node->prev, prev);
    EXPECT_STREQ(node->record->file, kFile);
    chain.push_back(node->record->pointer);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(chain.back()) % kAlignment, 0u);
  }
  EXPECT_EQ(chain, live);
}

// --- counters, chain and release ---

TEST(Bmem, CountersAndChainFollowReleasesInAnyOrder) {
  const char* const kReleaseFiles[] = {kFile, "other.cpp", nullptr};
  for (const unsigned scale : {10u, 0u}) {  // 0: distinct blocks, no bytes
    int order[] = {0, 1, 2};
    do {
      char file[] = "a.cpp";
      void* const blocks[] = {_b_new(scale, file, 1),
                              _b_new(2 * scale, file, 2),
                              _b_new(3 * scale, file, 3)};
      file[0] = 'x';  // the records keep their own copies
      std::vector<void*> live = {blocks[2], blocks[1], blocks[0]};
      ExpectLive(live, 6L * scale);
      EXPECT_EQ(GlobalManager().MemorySize(),
                sizeof(void*) == 4 ? 114 : 3 * kBlockBytes);
      long usedmem = 6L * scale;
      for (int i : order) {  // releases may name any file and line
        _b_delete(blocks[i], kReleaseFiles[i], -i);
        live.erase(std::find(live.begin(), live.end(), blocks[i]));
        ExpectLive(live, usedmem -= (i + 1L) * scale);
      }
    } while (std::next_permutation(order, order + 3));
  }
}

// --- failed checks ---

int allocations_left = 0;  // the one that fails: 1 the next one, 0 none
void* block;
void Release() { _b_delete(block, kFile, 1); }

TEST(BmemDeathTest, EveryCheckNamesItsExpression) {
  block = _b_new(8, kFile, 1);
  // The text on standard error on every platform, and a heap that fails.
  platform::Calls().fail_check = [](const char* text) {
    std::fprintf(stderr, "%s;\n", text), std::abort();
  };
  Heap().allocate = [](std::size_t size) {
    return --allocations_left == 0 ? nullptr : std::malloc(size);
  };
  // Where size_t is as narrow as unsigned int, ~0u and the header overflow:
  // refused without asking the heap. Elsewhere the heap says no.
  const bool wide = sizeof(std::size_t) > sizeof(unsigned);
  const std::tuple<int, void (*)(), const char*> kCases[] = {
      {0, [] { MemManager manager(nullptr); }, "filename"},
      {1, [] { MemManager manager("x.log"); }, "this->logfile"},
      {1, [] { _b_new(4, nullptr, 1); }, "file"},  // before any allocation
      {1, [] { _b_new(4, kFile, 1); }, "ret"},
      {wide, [] { _b_new(~0u, kFile, 1); }, "ret"},
      {2, [] { _b_new(4, kFile, 1); }, "tempblocks"},
      {3, [] { _b_new(4, kFile, 1); }, "tempblocks->file"},
      {4, [] { _b_new(4, kFile, 1); }, "node"},
      {0, [] { _b_delete(nullptr, kFile, 1); }, "pointer"},
      {0, [] { HeaderOf(block) = nullptr, Release(); }, "node"},
      {0, [] { HeaderOf(block)->record = nullptr, Release(); }, "memstrc"},
      {0,
       [] { HeaderOf(block)->record->pointer = &allocations_left, Release(); },
       "memstrc->pointer == pointer"},
      {0, [] { HeaderOf(block)->record = nullptr, DestroyGlobalManager(); },
       "memstrc"},  // in the report
  };
  for (const auto& [failing_allocation, action, var] : kCases) {
    allocations_left = failing_allocation;
    EXPECT_DEATH(action(),
                 "Assert in file : .*bmem\\.cpp in line : .+, var : " +
                     std::string(var) + ";")
        << var;
  }
  Heap() = DefaultHeap();
  platform::Calls() = platform::DefaultCalls();
  Release();
}

// --- exit routine ---

int lines_sent = 0;  // a manager with nothing live sends one line

TEST(BmemDeathTest, ExitRoutineDestroysTheManagerOnce) {
  EXPECT_EXIT(
      (
          platform::Calls().debug_output = [](const char*) { ++lines_sent; },
          DestroyGlobalManager(), DestroyGlobalManager(),
          std::_Exit(lines_sent)),
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace morvane::tracker
