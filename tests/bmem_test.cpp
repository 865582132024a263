// The tracker's bookkeeping as the library sees it: counters, the chain, the
// header words, the internal checks and the exit routine. (The leak report
// and the debugger channel: leak_report_test.cpp.)
#include <gtest/gtest.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tracker/heap.h"
#include "tracker/mem_manager.h"

// A death test's child ends in abort, which writes no coverage data: in a
// coverage build it writes the counters gathered so far first.
#if MORVANE_TEST_COVERAGE
extern "C" void __gcov_dump();
constexpr void (*kFlushCoverage)() = __gcov_dump;
#else
constexpr void (*kFlushCoverage)() = [] {};
#endif

namespace morvane::tracker {
namespace {

constexpr char kFile[] = "a.cpp";  // five characters
// Bookkeeping per block from kFile: a record, a node and the name's 6 bytes
// (three blocks: 114 bytes where pointers take 4 bytes).
constexpr long kBlockBytes = sizeof(void*) == 4 ? 38 : 62;

MemNode*& HeaderOf(void* p) { return static_cast<MemNode**>(p)[-1]; }

// --- counters, chain and release ---

// Words 1 to 3 of each chain element, as a debugger sees them in memory:
// next, prev and record. The head comes first (word 0: its vtable pointer),
// then, newest first, the node that each live block's header word names
// (word 0: unset); a node's `prev` holds the start of the next newer element.
void ExpectLive(const std::vector<void*>& live, long usedmem) {
  const long count = static_cast<long>(live.size());
  EXPECT_EQ((std::vector<long>{_b_getusedmem(), _b_getmemcount(),
                               GlobalManager().MemorySize()}),
            (std::vector<long>{usedmem, count, count * kBlockBytes}));
  std::vector<const void*> chain = {&GlobalManager().Blocks()};
  for (void* block : live) chain.push_back(HeaderOf(block));
  chain.push_back(nullptr);
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
    const void* words[4];
    std::memcpy(words, chain[i], sizeof words);
    const void* record = i ? HeaderOf(live[i - 1])->record : nullptr;
    EXPECT_EQ(std::vector<const void*>(words + 1, words + 4),
              (std::vector<const void*>{chain[i + 1],
                                        i ? chain[i - 1] : nullptr, record}))
        << "element " << i;
  }
}

TEST(Bmem, CountersAndChainFollowReleasesInAnyOrder) {
  int order[] = {0, 1, 2};
  do {
    SCOPED_TRACE(testing::Message()
                 << "releases " << order[0] << order[1] << order[2]);
    void* blocks[3];  // of 0 (a distinct block, no bytes), 10 and 20 bytes
    for (int i = 0; i < 3; ++i) blocks[i] = _b_new(10 * i, kFile, i);
    std::vector<void*> live = {blocks[2], blocks[1], blocks[0]};
    long usedmem = 30;
    ExpectLive(live, usedmem);
    for (int i : order) {  // releases may name any file and line
      _b_delete(blocks[i], i ? nullptr : "other.cpp", -i);
      live.erase(std::find(live.begin(), live.end(), blocks[i]));
      ExpectLive(live, usedmem -= 10 * i);
    }
  } while (std::next_permutation(order, order + 3));
}

// --- failed checks ---

int allocations_left;  // the one that fails: 1 the next one, 0 none
void* block;
void Release() { _b_delete(block, kFile, 1); }

// In a death test's child: a live block, a heap that refuses allocation `n`,
// and the platform's display of failed checks: on POSIX standard error gets
// "Assert message: <text>"; on Windows a message box (it returns at once
// without a desktop), so the test shows the same line.
void Prepare(int n) {
  block = _b_new(8, kFile, 1);
  allocations_left = n;
  Heap().allocate = [](std::size_t size) {
    return --allocations_left == 0 ? nullptr : DefaultHeap().allocate(size);
  };
  platform::Calls().fail_check = [](const char* text) {
    if (MORVANE_TEST_ON_WINDOWS)
      std::fprintf(stderr, "Assert message: %s\n", text);
    kFlushCoverage(), platform::DefaultCalls().fail_check(text);
  };
}

TEST(BmemDeathTest, EveryCheckShowsItsExpressionThenAborts) {
  // Where size_t is as narrow as unsigned int, ~0u and the header overflow:
  // refused without asking the heap. Elsewhere the heap says no.
  const std::tuple<const char*, int, void (*)(), const char*> kCases[] = {
      {"no log name", 0, [] { MemManager manager(nullptr); }, "filename"},
      {"log name copy", 1, [] { MemManager manager("x.log"); },
       "this->logfile"},
      {"no file", 1, [] { _b_new(4, nullptr, 1); },
       "file"},  // before allocating
      {"huge block", sizeof(std::size_t) > sizeof(0u),
       [] { _b_new(~0u, kFile, 1); }, "ret"},
      {"record", 2, [] { _b_new(4, kFile, 1); }, "tempblocks"},
      {"name copy", 3, [] { _b_new(4, kFile, 1); }, "tempblocks->file"},
      {"node", 4, [] { _b_new(4, kFile, 1); }, "node"},
      {"null release", 0, [] { _b_delete(nullptr, kFile, 1); }, "pointer"},
      {"no node", 0, [] { HeaderOf(block) = nullptr, Release(); }, "node"},
      {"no record", 0, [] { HeaderOf(block)->record = nullptr, Release(); },
       "memstrc"},
      {"other pointer", 0,
       [] { HeaderOf(block)->record->pointer = &block, Release(); },
       "memstrc->pointer == pointer"},
      {"report", 0,
       [] { HeaderOf(block)->record = nullptr, DestroyGlobalManager(); },
       "memstrc"},
  };
  for (const auto& [label, n, action, var] : kCases)
    EXPECT_DEATH((Prepare(n), action()),
                 "Assert message: Assert in file : .*bmem\\.cpp in line : "
                 ".+, var : " +
                     std::string(var) + "\n")
        << label;
}

// --- exit routine ---

int lines_sent = 0;  // a manager with nothing live sends one line

TEST(BmemDeathTest, ExitRoutineDestroysTheManagerOnce) {
  EXPECT_EXIT(
      (
          platform::Calls().debug_output = [](const char*) { ++lines_sent; },
          DestroyGlobalManager(), DestroyGlobalManager(),
          std::exit(lines_sent)),
      testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace morvane::tracker
