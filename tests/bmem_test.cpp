// The tracker's bookkeeping as the library sees it: counters, the chain, the
// header words, the internal checks and the exit routine.
#include <gtest/gtest.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
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

// Words 1 to 3 of a chain element (a node or the head), as a debugger sees
// them in memory: next, prev, record. (Word 0 is a node's unset word.)
std::vector<const void*> Links(const void* element) {
  const void* words[4];
  std::memcpy(words, element, sizeof words);
  return {words[1], words[2], words[3]};
}

// Checks the counters, and the chain's words against `live` (newest first):
// from each block's header word to its node, whose `prev` holds the start of
// the next newer node, or of the head for the newest.
void ExpectLive(const std::vector<void*>& live, long usedmem) {
  const long count = static_cast<long>(live.size());
  EXPECT_EQ(std::make_tuple(_b_getusedmem(), _b_getmemcount(),
                            long{GlobalManager().MemorySize()}),
            std::make_tuple(usedmem, count, count * kBlockBytes));
  const void* head = &GlobalManager().Blocks();
  std::vector<const void*> nodes = {head};
  for (void* block : live) nodes.push_back(HeaderOf(block));
  nodes.push_back(nullptr);
  EXPECT_EQ(Links(head),
            (std::vector<const void*>{nodes[1], nullptr, nullptr}));
  for (std::size_t i = 1; i + 1 < nodes.size(); ++i) {
    const void* record = HeaderOf(live[i - 1])->record;
    EXPECT_EQ(Links(nodes[i]),
              (std::vector<const void*>{nodes[i + 1], nodes[i - 1], record}))
        << "node " << i;
    EXPECT_EQ(HeaderOf(live[i - 1])->record->pointer, live[i - 1]);
  }
}

// --- counters, chain and release ---

TEST(Bmem, CountersAndChainFollowReleasesInAnyOrder) {
  int order[] = {0, 1, 2};
  do {
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

constexpr char kCheckText[] =
    "Assert in file : .*bmem\\.cpp in line : .+, var : ";
int allocations_left;  // the one that fails: 1 the next one, 0 none
void* block;
void Release() { _b_delete(block, kFile, 1); }

// In a death test's child: a live block, a heap that refuses allocation `n`,
// and failed checks that show their text on standard error on every platform.
void Prepare(int n) {
  block = _b_new(8, kFile, 1);
  allocations_left = n;
  Heap().allocate = [](std::size_t size) {
    return --allocations_left == 0 ? nullptr : DefaultHeap().allocate(size);
  };
  platform::Calls().fail_check = [](const char* text) {
    std::fprintf(stderr, "%s;\n", text), kFlushCoverage(), std::abort();
  };
}

TEST(BmemDeathTest, EveryCheckNamesItsExpression) {
  // Where size_t is as narrow as unsigned int, ~0u and the header overflow:
  // refused without asking the heap. Elsewhere the heap says no.
  const std::tuple<int, void (*)(), const char*> kCases[] = {
      {0, [] { MemManager manager(nullptr); }, "filename"},
      {1, [] { MemManager manager("x.log"); }, "this->logfile"},
      {1, [] { _b_new(4, nullptr, 1); }, "file"},  // before any allocation
      {sizeof(std::size_t) > sizeof(0u), [] { _b_new(~0u, kFile, 1); }, "ret"},
      {2, [] { _b_new(4, kFile, 1); }, "tempblocks"},
      {3, [] { _b_new(4, kFile, 1); }, "tempblocks->file"},
      {4, [] { _b_new(4, kFile, 1); }, "node"},
      {0, [] { _b_delete(nullptr, kFile, 1); }, "pointer"},
      {0, [] { HeaderOf(block) = nullptr, Release(); }, "node"},
      {0, [] { HeaderOf(block)->record = nullptr, Release(); }, "memstrc"},
      {0, [] { HeaderOf(block)->record->pointer = &block, Release(); },
       "memstrc->pointer == pointer"},
      {0, [] { HeaderOf(block)->record = nullptr, DestroyGlobalManager(); },
       "memstrc"},  // in the report
  };
  for (const auto& [n, action, var] : kCases)
    EXPECT_DEATH((Prepare(n), action()), kCheckText + std::string(var) + ";");
}

// The platform's own display of a failed check, then abort: standard error on
// POSIX; on Windows a message box (it returns at once without a desktop),
// and abort ends the process with code 3.
TEST(BmemDeathTest, FailedCheckIsShownThenAborts) {
#if MORVANE_TEST_ON_WINDOWS
  EXPECT_EXIT(_b_delete(nullptr, kFile, 1), ::testing::ExitedWithCode(3), "");
#else
  EXPECT_EXIT(_b_delete(nullptr, kFile, 1), ::testing::KilledBySignal(SIGABRT),
              "Assert message: Assert in file : .*bmem.cpp in line : [0-9]+, "
              "var : pointer");
#endif
}

// --- debugger channel ---

// Each message becomes one whole line: a line end is added where it has
// none, so that the next message (also the next run's, in a file) starts a
// line of its own.
TEST(DebugChannel, GoesWhereMorvaneDebugOutputSays) {
  const auto send = platform::DefaultCalls().debug_output;
  const auto sent_to_stderr = [send](char* setting, const char* message) {
    putenv(setting);
    ::testing::internal::CaptureStderr();
    send(message);
    return ::testing::internal::GetCapturedStderr();
  };
  EXPECT_EQ(sent_to_stderr(const_cast<char*>("MORVANE_DEBUG_OUTPUT="), "x"),
            "");
  static char to_stderr[] = "MORVANE_DEBUG_OUTPUT=stderr";
  EXPECT_EQ(sent_to_stderr(to_stderr, "line"), "line\n");
  EXPECT_EQ(sent_to_stderr(to_stderr, "two\n\n"), "two\n\n");
  EXPECT_EQ(sent_to_stderr(to_stderr, ""), "\n");
  std::remove("debug_channel.txt");
  EXPECT_EQ(sent_to_stderr(
                const_cast<char*>("MORVANE_DEBUG_OUTPUT=debug_channel.txt"),
                "summary"),
            "");
  send("next\n");
  putenv(const_cast<char*>("MORVANE_DEBUG_OUTPUT="));
  std::FILE* file = std::fopen("debug_channel.txt", "rb");
  ASSERT_NE(file, nullptr);
  char text[32] = {};
  std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  EXPECT_STREQ(text, "summary\nnext\n");
}

// --- exit routine ---

int lines_sent = 0;  // a manager with nothing live sends one line
void CountLine(const char*) { ++lines_sent; }

TEST(BmemDeathTest, ExitRoutineDestroysTheManagerOnce) {
  EXPECT_EXIT(
      (platform::Calls().debug_output = CountLine, DestroyGlobalManager(),
       DestroyGlobalManager(), std::exit(lines_sent)),
      ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace morvane::tracker
