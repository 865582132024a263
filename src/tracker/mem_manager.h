// The allocation tracker behind _b_new and _b_delete.
//
// Each tracked block is a C-heap block with a header in front of the user
// pointer; the pointer-sized word directly before the user pointer holds the
// block's MemNode, whose record (MemStruct) names the user pointer, its size
// and the file and line that asked for it. The nodes form a doubly linked
// chain, newest first, behind a head (MemList) that has the node's layout, so
// that the newest node's `prev` is the head and unlinking needs no special
// case.
//
// Thread-safety: none; callers serialise every use of a manager.
#ifndef MORVANE_SRC_TRACKER_MEM_MANAGER_H_
#define MORVANE_SRC_TRACKER_MEM_MANAGER_H_

#include <cstddef>

namespace morvane::tracker {

// One per live block, raw C-heap storage.
struct MemStruct {
  void* pointer;      // the user pointer of the block
  unsigned int size;  // bytes the caller asked for
  int line;
  char* file;  // C-heap copy of the caller's file name, owned here
};

struct MemNode;

// The three link fields that the chain's head and its nodes share.
struct MemLinks {
  MemNode* next;      // the next older node; null at the end of the chain
  MemLinks* prev;     // the next newer node, or the head for the newest node
  MemStruct* record;  // null in the head
};

// The word in front of a node's links; never set.
struct MemNodeWord {
  void* unused;
};

// One per live block, raw C-heap storage. An aggregate, so that a
// default-initialising placement new starts its life without writing to it.
struct MemNode : MemNodeWord, MemLinks {
  // Takes the node out of the chain and clears its `next` and `prev`.
  void Unlink();
};

// The chain's head: its vptr stands where a node has its unused word.
class MemList : public MemLinks {
 public:
  MemList();
  MemList(const MemList&) = delete;
  MemList& operator=(const MemList&) = delete;
  // Releases no node: nodes belong to the manager.
  virtual ~MemList();
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

  int UsedMem() const { return usedmem; }
  int MemCount() const { return memcount; }
  int MemorySize() const { return memorysize; }
  const char* LogFile() const { return logfile; }
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
