#include <gtest/gtest.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tracker/heap.h"
#include "tracker/mem_manager.h"

namespace {

using morvane::tracker::GlobalManager;
using morvane::tracker::Heap;
using morvane::tracker::MemLinks;
using morvane::tracker::MemManager;
using morvane::tracker::MemNode;
using morvane::tracker::MemStruct;

constexpr char kFile[] = "a.cpp";  // five characters
constexpr int kBlockBytes = sizeof(MemStruct) + sizeof(MemNode) + 6;

MemNode* HeaderOf(void* pointer) {
  MemNode* node;
  std::memcpy(&node, static_cast<char*>(pointer) - sizeof node, sizeof node);
  return node;
}

// The chain from the head, newest first, checking every back link.
std::vector<void*> Chain(const MemManager& manager) {
  std::vector<void*> pointers;
  const MemLinks* prev = &manager.Blocks();
  for (const MemNode* node = prev->next; node != nullptr; node = node->next) {
    EXPECT_EQ(node->prev, prev);
    pointers.push_back(node->record->pointer);
    prev = node;
  }
  return pointers;
}

// --- counters and release ---

TEST(Bmem, CountersFollowBlocksReleasedInAnyOrder) {
  const int base_bytes = GlobalManager().MemorySize();
  std::array<int, 3> order = {0, 1, 2};
  do {
    std::vector<void*> live = {_b_new(10, kFile, 1), _b_new(20, kFile, 2),
                               _b_new(30, kFile, 3)};
    EXPECT_EQ(_b_getusedmem(), 60);
    EXPECT_EQ(_b_getmemcount(), 3);
    EXPECT_EQ(GlobalManager().MemorySize(), base_bytes + 3 * kBlockBytes);
    const std::vector<void*> blocks = live;
    long used = 60;
    for (int index : order) {
      _b_delete(blocks[index], kFile, index);
      live.erase(std::find(live.begin(), live.end(), blocks[index]));
      used -= 10 * (index + 1);
      EXPECT_EQ(_b_getusedmem(), used);
      EXPECT_EQ(_b_getmemcount(), static_cast<long>(live.size()));
      EXPECT_EQ(GlobalManager().MemorySize(),
                base_bytes + static_cast<int>(live.size()) * kBlockBytes);
      EXPECT_EQ(Chain(GlobalManager()),
                std::vector<void*>(live.rbegin(), live.rend()));
    }
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST(Bmem, SizeZeroGivesDistinctBlocksCountedWithoutBytes) {
  void* first = _b_new(0, kFile, 1);
  void* second = _b_new(0, kFile, 1);
  EXPECT_NE(first, second);
  EXPECT_EQ(_b_getusedmem(), 0);
  EXPECT_EQ(_b_getmemcount(), 2);
  EXPECT_EQ(GlobalManager().MemorySize(), 2 * kBlockBytes);
  _b_delete(first, kFile, 1);
  _b_delete(second, kFile, 1);
  EXPECT_EQ(GlobalManager().MemorySize(), 0);
}

TEST(Bmem, ReleaseIgnoresFileAndLine) {
  const struct {
    const char* file;
    int line;
  } kCases[] = {{kFile, 1}, {"other.cpp", 99}, {nullptr, 0}, {nullptr, -7}};
  for (const auto& c : kCases) {
    _b_delete(_b_new(8, kFile, 1), c.file, c.line);
    EXPECT_EQ(_b_getmemcount(), 0);
  }
}

TEST(Bmem, BlocksAreAlignedLikeMallocAndUsable) {
  for (unsigned size : {0u, 1u, 7u, 8u, 15u, 16u, 17u, 100u}) {
    void* block = _b_new(size, kFile, 1);
    EXPECT_EQ(
        reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u)
        << size;
    std::memset(block, 0xab, size);
    _b_delete(block, kFile, 1);
  }
}

// --- chain and header ---

TEST(BmemChain, NewestFirstBehindAHeadThatLooksLikeANode) {
  MemManager manager("chain.log");
  void* first = manager.Allocate(1, kFile, 1);
  void* second = manager.Allocate(2, kFile, 2);
  void* third = manager.Allocate(3, kFile, 3);
  EXPECT_EQ(Chain(manager), (std::vector<void*>{third, second, first}));
  EXPECT_EQ(manager.Blocks().next, HeaderOf(third));
  EXPECT_EQ(manager.Blocks().prev, nullptr);
  EXPECT_EQ(manager.Blocks().record, nullptr);
  for (void* block : {second, first, third}) manager.Release(block);
  EXPECT_EQ(manager.Blocks().next, nullptr);
}

TEST(BmemChain, RecordKeepsItsOwnCopyOfTheFileName) {
  MemManager manager("record.log");
  std::string file = "caller.cpp";
  void* block = manager.Allocate(42, file.c_str(), 17);
  file = "changed!!!";
  const MemStruct* record = HeaderOf(block)->record;
  EXPECT_EQ(record->pointer, block);
  EXPECT_EQ(record->size, 42u);
  EXPECT_EQ(record->line, 17);
  EXPECT_STREQ(record->file, "caller.cpp");
  manager.Release(block);
}

// --- failed checks ---

// Written only with what both GoogleTest regex flavours understand.
std::string Failed(const std::string& var) {
  return "Assert in file : .*bmem\\.cpp in line : .+, var : " + var + "\n";
}

int allocations_left = 0;
void* FailingAllocate(std::size_t size) {
  return --allocations_left == 0 ? nullptr : std::malloc(size);
}
// Makes the n-th allocation from now on fail (1: the next one; 0: none).
void FailAllocation(int n) {
  allocations_left = n;
  Heap().allocate = FailingAllocate;
}

void ReleaseWithHeader(void* block, MemNode* node) {
  std::memcpy(static_cast<char*>(block) - sizeof node, &node, sizeof node);
  _b_delete(block, kFile, 1);
}

void ReleaseWithoutRecord(void* block) {
  HeaderOf(block)->record = nullptr;
  _b_delete(block, kFile, 1);
}

void ReportWithoutRecord() {
  auto* manager = new MemManager("never_written.log");
  HeaderOf(manager->Allocate(1, kFile, 1))->record = nullptr;
  delete manager;
}

// Every check, in the order the operations make them.
TEST(BmemDeathTest, EveryCheckNamesItsExpression) {
  void* block = _b_new(8, kFile, 1);
  void* other = _b_new(8, kFile, 2);
  const struct {
    int failing_allocation;  // 0: none fails
    std::function<void()> action;
    const char* var;
  } kCases[] = {
      {0, [] { MemManager manager(nullptr); }, "filename"},
      {1, [] { MemManager manager("x.log"); }, "this->logfile"},
      {1, [] { _b_new(4, nullptr, 1); }, "file"},  // before any allocation
      {1, [] { _b_new(4, kFile, 1); }, "ret"},
      {2, [] { _b_new(4, kFile, 1); }, "tempblocks"},
      {3, [] { _b_new(4, kFile, 1); }, "tempblocks->file"},
      {4, [] { _b_new(4, kFile, 1); }, "node"},
      {0, [] { _b_delete(nullptr, kFile, 1); }, "pointer"},
      {0, [=] { ReleaseWithHeader(block, nullptr); }, "node"},
      {0, [=] { ReleaseWithoutRecord(block); }, "memstrc"},
      {0, [=] { ReleaseWithHeader(block, HeaderOf(other)); },
       "memstrc->pointer == pointer"},
      {0, ReportWithoutRecord, "memstrc"},
  };
  for (const auto& c : kCases) {
    EXPECT_DEATH((FailAllocation(c.failing_allocation), c.action()),
                 Failed(c.var))
        << c.var;
  }
  _b_delete(block, kFile, 1);
  _b_delete(other, kFile, 2);
}

TEST(BmemDeathTest, SizeThatOverflowsTheHeaderFailsRet) {
  if (sizeof(std::size_t) > sizeof(unsigned)) GTEST_SKIP() << "no overflow";
  EXPECT_DEATH(_b_new(~0u, kFile, 1), Failed("ret"));
}

int manager_lines = 0;
void CountManagerLines(const char* text) {
  if (std::strncmp(text, "manager ", 8) == 0) ++manager_lines;
}

TEST(BmemDeathTest, ExitRoutineDestroysTheManagerOnce) {
  EXPECT_EXIT(
      {
        morvane::platform::Calls().debug_output = CountManagerLines;
        morvane::tracker::DestroyGlobalManager();
        morvane::tracker::DestroyGlobalManager();
        std::fprintf(stderr, "destroyed %d time(s)\n", manager_lines);
        std::_Exit(0);
      },
      ::testing::ExitedWithCode(0), "destroyed 1 time\\(s\\)");
}

}  // namespace
