// The tracker's internal checks, each shown with its expression before the
// process aborts, its exit routine, and its totals past 2^31 - 1. (Counters,
// chain and leak report as a process sees them: leak_report_test.cpp; the
// demo checks the counters too.)
#include <gtest/gtest.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "platform/platform.h"
#include "support/bookkeeping.h"
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

static_assert(testing::BookkeepingBytes(0) ==
              sizeof(MemStruct) + sizeof(MemNode) + 1);

constexpr char kFile[] = "a.cpp";
MemNode*& HeaderOf(void* p) { return static_cast<MemNode**>(p)[-1]; }

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
  // clang-format off
#define DIES(label, n, var, ...) {label, n, [] { __VA_ARGS__; }, var}
  const std::tuple<const char*, int, void (*)(), const char*> kCases[] = {
    DIES("no log name", 0, "filename", MemManager manager(nullptr)),
    DIES("log name copy", 1, "this->logfile", MemManager manager("x.log")),
    DIES("no file, before allocating", 1, "file", _b_new(4, nullptr, 1)),
    DIES("huge block", sizeof(std::size_t) > sizeof(0u), "ret", _b_new(~0u, kFile, 1)),
    DIES("record", 2, "tempblocks", _b_new(4, kFile, 1)),
    DIES("name copy", 3, "tempblocks->file", _b_new(4, kFile, 1)),
    DIES("node", 4, "node", _b_new(4, kFile, 1)),
    DIES("null release", 0, "pointer", _b_delete(nullptr, kFile, 1)),
    DIES("no node", 0, "node", HeaderOf(block) = nullptr, Release()),
    DIES("no record", 0, "memstrc", HeaderOf(block)->record = nullptr, Release()),
    DIES("other pointer", 0, "memstrc->pointer == pointer",
         HeaderOf(block)->record->pointer = &block, Release()),
    DIES("report", 0, "memstrc",
         HeaderOf(block)->record = nullptr, DestroyGlobalManager()),
  };
  // clang-format on
  for (const auto& [label, n, action, var] : kCases)
    EXPECT_DEATH((Prepare(n), action()),
                 "Assert message: Assert in file : .*bmem\\.cpp in line : "
                 ".+, var : " +
                     std::string(var) + "\n")
        << label;
}

// --- exit routine ---

int lines_sent = 0;  // a manager with nothing live sends one line
void DestroyTwice() {
  platform::Calls().debug_output = [](const char*) { ++lines_sent; };
  DestroyGlobalManager(), DestroyGlobalManager();
  std::exit(lines_sent);
}

TEST(BmemDeathTest, ExitRoutineDestroysTheManagerOnce) {
  EXPECT_EXIT(DestroyTwice(), ::testing::ExitedWithCode(1), "");
}

// --- totals past 2^31 - 1 ---

// A heap that stands in for blocks too large to exist: the tracker writes
// only a block's header, so 64 bytes serve for any size.
void* SmallBlocks(std::size_t size) {
  return DefaultHeap().allocate(std::min<std::size_t>(size, 64));
}

int releases = 0;

// The totals are signed 32-bit values that wrap, computed without overflow
// (UBSan would stop the asan build): 2e9 + 2e9 bytes make -294967296. Each
// release gives its four blocks back through the heap's table.
TEST(Bmem, UsedMemoryWrapsPast2GiBAndComesBack) {
  std::string totals;
  const auto note = [&totals] {
    totals += std::to_string(_b_getusedmem()) + " ";
  };
  Heap().allocate = SmallBlocks;
  Heap().release = [](void* block) {
    ++releases, DefaultHeap().release(block);
  };
  void* a = _b_new(2000000000u, kFile, 1);
  void* b = _b_new(2000000000u, kFile, 2);
  note();
  void* c = _b_new(3000000000u, kFile, 3);
  note();
  _b_delete(a, kFile, 1), note();
  _b_delete(c, kFile, 3), note();
  _b_delete(b, kFile, 2), note();
  Heap() = DefaultHeap();
  EXPECT_EQ(totals, "-294967296 -1589934592 705032704 2000000000 0 ");
  EXPECT_EQ(releases, 12);
  EXPECT_EQ(GlobalManager().MemorySize(), 0);
}

}  // namespace
}  // namespace morvane::tracker
