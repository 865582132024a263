// The allocation tracker behind _b_new and _b_delete.
//
// Each tracked block is a C-heap block with a header in front of the user
// pointer; the pointer-sized word directly before the user pointer holds the
// block's MemNode, whose record (MemStruct) names the user pointer, its size
// and the file and line that asked for it. The nodes form a doubly linked
// chain, newest first, behind a head (MemList) that has the node's layout:
// a node's `prev` holds the start of the next newer node, or of the head for
// the newest one, so unlinking needs no special case.
//
// The totals are signed 32-bit counts, as documented, that wrap past
// 2^31 - 1: two live blocks of 2,000,000,000 bytes make a usedmem of
// -294,967,296. They are summed as unsigned 32-bit values, which wrap
// without overflow, and kept as the signed values of the same bits.
//
// Thread-safety: in the default build none; callers serialise every use of
// a manager. With MORVANE_THREAD_SAFE, Allocate, Release and the global
// manager's totals and destruction (bmem.cpp) hold one lock while they read
// or change the counters and the chain.
#ifndef MORVANE_SRC_TRACKER_MEM_MANAGER_H_
#define MORVANE_SRC_TRACKER_MEM_MANAGER_H_

#include <climits>
#include <cstddef>

namespace morvane::tracker {

static_assert(sizeof(unsigned int) * CHAR_BIT == 32);

// The signed 32-bit value whose two's-complement bits are `bits`.
constexpr int Signed32(unsigned int bits) {
  constexpr unsigned int kSignBit = 1u << 31;
  return bits < kSignBit ? static_cast<int>(bits)
                         : static_cast<int>(bits - kSignBit) + INT_MIN;
}

// One per live block, raw C-heap storage.
struct MemStruct {
  void* pointer;      // the user pointer of the block
  unsigned int size;  // bytes the caller asked for
  int line;
  char* file;  // C-heap copy of the caller's file name, owned here
};

class MemList;

// One per live block, raw C-heap storage of four pointer-sized words. An
// aggregate, so that a default-initialising placement new starts its life
// without writing to it.
struct MemNode {
  void* unused;   // never set
  MemNode* next;  // the next older node; null at the end of the chain
  // Where the next newer node starts, or the head object for the newest
  // node: the address of a MemNode or of the MemList, never of its links.
  void* prev;
  MemStruct* record;

  // Takes the node out of `head`'s chain and clears its `next` and `prev`.
  void Unlink(MemList& head);
};

// The chain's head. It has the node's four words, its vtable pointer
// standing where a node has its unused word: `next` (the newest node, null
// when nothing is live), `prev` and `record` (always null).
class MemList {
 public:
  MemList() = default;
  MemList(const MemList&) = delete;
  MemList& operator=(const MemList&) = delete;
  // Releases no node: nodes belong to the manager.
  virtual ~MemList();

  // The `next` word of the chain element that starts at `start`, which is
  // this head or one of its nodes: how a node's `prev` is followed.
  MemNode*& NextOf(void* start) {
    return start == this ? next : static_cast<MemNode*>(start)->next;
  }

  MemNode* next = nullptr;
  void* prev = nullptr;
  MemStruct* record = nullptr;
};

static_assert(sizeof(MemNode) == 4 * sizeof(void*));
static_assert(sizeof(MemList) == 4 * sizeof(void*));

class MemManager {
 public:
  // `filename` names the leak log that the destructor writes when blocks
  // are still live. A null name, or no heap for its copy, fails a check.
  explicit MemManager(const char* filename);
  MemManager(const MemManager&) = delete;
  MemManager& operator=(const MemManager&) = delete;
  // Writes the leak report; leaves leaked blocks, records and nodes alone.
  virtual ~MemManager();

  // A new tracked block of `size` bytes, aligned like malloc's. Never null:
  // a null `file` or an exhausted heap fails a check.
  void* Allocate(unsigned int size, const char* file, int line);
  // Releases a block that Allocate returned.
  void Release(void* pointer);

  // The totals as they stand; callers that share the manager across
  // threads read them under the tracker's lock (bmem.cpp).
  int UsedMem() const { return usedmem; }
  int MemCount() const { return memcount; }
  int MemorySize() const { return memorysize; }
  const MemList& Blocks() const { return blocks; }

 private:
  // Writes the leak log and the per-block debugger lines, and returns the
  // number of nodes in the chain (every one must have a record).
  int Report();

  char* logfile;
  // Bookkeeping bytes: per live block one MemStruct, one MemNode and the
  // file name with its terminator (the header is counted nowhere).
  int memorysize;
  int usedmem;  // bytes requested by the live blocks
  MemList blocks;
  int memcount;  // live blocks
};

// The library's one manager, constructed at load with "bmemlog.log".
MemManager& GlobalManager();

// The exit routine registered at load: destroys the global manager, only the
// first time it is called.
void DestroyGlobalManager();

}  // namespace morvane::tracker

#endif  // MORVANE_SRC_TRACKER_MEM_MANAGER_H_
