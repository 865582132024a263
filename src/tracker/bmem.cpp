// The allocation tracker: the global manager's life, tracked allocation and
// release, and the internal checks. Every check of the tracker is made in
// this file, because a failed check reports this file's path and the check's
// line in it.
#include <morvane/bmem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/lock.h"
#include "platform/platform.h"
#include "tracker/heap.h"
#include "tracker/leak_report.h"
#include "tracker/mem_manager.h"

namespace morvane::tracker {
namespace {

constexpr char kCheckFormat[] = "Assert in file : %s in line : %d, var : %s";
constexpr std::size_t kCheckTextRoom = 256;

[[noreturn]] void FailedCheck(int line, const char* expression) {
  char text[kCheckTextRoom];
  std::snprintf(text, sizeof text, kCheckFormat, __FILE__, line, expression);
  platform::FailCheck(text);
}

// The message names the expression exactly as written, so the names of the
// variables that the checks test are part of the tracker's output.
#define MEM_CHECK(expression) \
  ((expression) ? void() : FailedCheck(__LINE__, #expression))

// The header in front of a block keeps the user pointer as aligned as the C
// heap's own blocks; the node's address is its last pointer-sized word.
constexpr std::size_t kHeaderSize = alignof(std::max_align_t);
// The size of that word: a pointer to a node, not a node.
constexpr std::size_t kNodeAddressSize =
    sizeof(MemNode*);  // NOLINT(bugprone-sizeof-expression)
static_assert(kHeaderSize >= kNodeAddressSize);

// The name's length plus its terminator, as the counters count it.
unsigned int NameBytes(const char* name) {
  return static_cast<unsigned int>(std::strlen(name) + 1);
}

// total += amount and total -= amount on a 32-bit total that wraps.
void Add(int& total, unsigned int amount) {
  total = Signed32(static_cast<unsigned int>(total) + amount);
}
void Subtract(int& total, unsigned int amount) {
  total = Signed32(static_cast<unsigned int>(total) - amount);
}

constexpr auto kRecordBytes = static_cast<unsigned int>(sizeof(MemStruct));
constexpr auto kNodeBytes = static_cast<unsigned int>(sizeof(MemNode));

// Guards the counters and the chain of every manager in a build with
// MORVANE_THREAD_SAFE (nothing otherwise). Constant-initialised: the global
// manager's static initialiser may take it.
platform::Lock manager_lock;

void* HeaderWord(void* pointer) {
  return static_cast<char*>(pointer) - kNodeAddressSize;
}

}  // namespace

void MemNode::Unlink(MemList& head) {
  if (next != nullptr) next->prev = prev;
  head.NextOf(prev) = next;
  next = nullptr;
  prev = nullptr;
}

MemList::~MemList() = default;

MemManager::MemManager(const char* filename)
    : logfile(nullptr), memorysize(0), usedmem(0), memcount(0) {
  MEM_CHECK(filename);
  const std::size_t bytes = std::strlen(filename) + 1;
  this->logfile = static_cast<char*>(HeapAllocate(bytes));
  MEM_CHECK(this->logfile);
  std::memcpy(this->logfile, filename, bytes);
}

MemManager::~MemManager() {
  if (usedmem > 0 || memorysize > 0) {
    // The report's walk also counts the records: a second walk would meet
    // the same nodes and make the same check on each.
    const int varcount = Report();
    SendSummary(this, memorysize, usedmem, varcount, logfile);
  } else {
    SendNothingLive(this);
  }
  HeapRelease(logfile);
}

// The node is allocated before the counters grow, so that the lock covers
// only the counters and the link; a failed "node" check ends the process,
// so no caller can tell the difference.
void* MemManager::Allocate(unsigned int size, const char* file, int line) {
  MEM_CHECK(file);
  // A size that the header would carry past the top of size_t wraps the sum
  // below the header's own size (only where size_t is as narrow as unsigned
  // int); it is refused like any block the heap cannot give.
  const std::size_t bytes = kHeaderSize + size;
  char* ret =
      bytes >= kHeaderSize ? static_cast<char*>(HeapAllocate(bytes)) : nullptr;
  MEM_CHECK(ret);

  auto* tempblocks = static_cast<MemStruct*>(HeapAllocate(sizeof(MemStruct)));
  MEM_CHECK(tempblocks);
  tempblocks = new (tempblocks) MemStruct;  // trivial: writes nothing
  const unsigned int name_bytes = NameBytes(file);
  tempblocks->file = static_cast<char*>(HeapAllocate(name_bytes));
  MEM_CHECK(tempblocks->file);
  std::memcpy(tempblocks->file, file, name_bytes);
  tempblocks->pointer = ret + kHeaderSize;
  tempblocks->size = size;
  tempblocks->line = line;

  auto* node = static_cast<MemNode*>(HeapAllocate(sizeof(MemNode)));
  MEM_CHECK(node);
  node = new (node) MemNode;  // trivial: leaves the unused word unset
  node->record = tempblocks;
  {
    platform::LockGuard guard(manager_lock);
    Add(usedmem, size);
    Add(memorysize, kRecordBytes + name_bytes + kNodeBytes);
    Add(memcount, 1);
    node->next = blocks.next;
    node->prev = &blocks;
    blocks.next = node;
    if (node->next != nullptr) node->next->prev = node;
  }

  std::memcpy(HeaderWord(tempblocks->pointer), &node, kNodeAddressSize);
  return tempblocks->pointer;
}

// The block, its name, its record and its node go back to the heap after
// the counters have shrunk and the node has left the chain, so that the lock
// covers only those.
void MemManager::Release(void* pointer) {
  MEM_CHECK(pointer);
  MemNode* node = nullptr;
  std::memcpy(&node, HeaderWord(pointer), kNodeAddressSize);
  MEM_CHECK(node);
  MemStruct* memstrc = node->record;
  MEM_CHECK(memstrc);
  MEM_CHECK(memstrc->pointer == pointer);

  const unsigned int name_bytes = NameBytes(memstrc->file);
  {
    platform::LockGuard guard(manager_lock);
    Subtract(usedmem, memstrc->size);
    Subtract(memcount, 1);
    Subtract(memorysize, name_bytes + kRecordBytes + kNodeBytes);
    node->Unlink(blocks);
  }
  HeapRelease(static_cast<char*>(pointer) - kHeaderSize);
  HeapRelease(memstrc->file);
  HeapRelease(memstrc);
  HeapRelease(node);
}

int MemManager::Report() {
  if (blocks.next == nullptr) return 0;
  int count = 0;
  LeakReport report(logfile, usedmem, memcount);
  for (const MemNode* node = blocks.next; node != nullptr; node = node->next) {
    const MemStruct* memstrc = node->record;
    MEM_CHECK(memstrc);
    report.Add(*memstrc);
    ++count;
  }
  return count;
}

namespace {

constexpr char kLogFileName[] = "bmemlog.log";

// Static storage without a destructor of its own: the manager ends only
// through DestroyGlobalManager, which the runtime calls at unload (at process
// exit, or when a shared library is closed).
alignas(MemManager) unsigned char manager_storage[sizeof(MemManager)];
MemManager* manager = nullptr;
bool manager_destroyed = false;

// The library's only static initialiser.
[[maybe_unused]] const bool manager_constructed = [] {
  manager = new (manager_storage) MemManager(kLogFileName);
  std::atexit(DestroyGlobalManager);
  return true;
}();

}  // namespace

MemManager& GlobalManager() { return *manager; }

void DestroyGlobalManager() {
  platform::LockGuard guard(manager_lock);
  if (manager_destroyed) return;
  manager_destroyed = true;
  manager->~MemManager();
}

}  // namespace morvane::tracker

using morvane::tracker::GlobalManager;
using morvane::tracker::manager_lock;

void* _b_new(unsigned int size, const char* file, int line) {
  return GlobalManager().Allocate(size, file, line);
}

void _b_delete(void* pointer, const char* /*file*/, int /*line*/) {
  GlobalManager().Release(pointer);
}

long _b_getusedmem() {
  morvane::platform::LockGuard guard(manager_lock);
  return GlobalManager().UsedMem();
}

long _b_getmemcount() {
  morvane::platform::LockGuard guard(manager_lock);
  return GlobalManager().MemCount();
}
