/// @file
/// Tracked allocation: _b_new, _b_delete and their running totals.
///
/// _b_new hands out heap blocks and remembers, for each live block, its size
/// and the source file and line that asked for it. The totals can be read at
/// any time; when the library is unloaded (at process exit, or dlclose /
/// FreeLibrary of the library) every block that was never released is listed
/// in the leak log "bmemlog.log" in the current directory and on the debugger
/// channel (OutputDebugStringA on Windows; elsewhere the destination that the
/// environment variable MORVANE_DEBUG_OUTPUT names: "stderr" or a file to
/// append to; unset, the lines are dropped). User pointers are as aligned as
/// malloc's.
///
/// Only blocks obtained from _b_new are tracked; the library's own classes use
/// the ordinary new/delete.
///
/// The totals are signed 32-bit counts that wrap past 2^31 - 1: two live
/// blocks of 2,000,000,000 bytes make _b_getusedmem() return -294967296, and
/// releasing them brings it back to 0.
///
/// Thread-safety: none in the default build. The tracker is one global
/// object; callers serialise all four functions. A build with the CMake
/// option MORVANE_THREAD_SAFE takes a lock instead: the four functions and
/// the leak report may then be called from many threads at once.
#ifndef MORVANE_BMEM_H_
#define MORVANE_BMEM_H_

#include <morvane/export.h>

/// Returns a new block of `size` bytes (0 is allowed and gives a distinct
/// pointer), recorded with `file` and `line`. Never returns null: a null
/// `file` or an exhausted heap stops the process through a failed check.
MORVANE_API void* _b_new(unsigned int size, const char* file, int line);

/// Releases a block that _b_new returned. `file` and `line` are accepted and
/// ignored. A null pointer, or a block whose bookkeeping does not match the
/// pointer, stops the process through a failed check; releasing a block
/// twice, or a pointer from another allocator, is outside the contract.
MORVANE_API void _b_delete(void* pointer, const char* file, int line);

/// Bytes requested by the blocks that are live now, as a signed 32-bit count
/// (wrapped past 2^31 - 1).
MORVANE_API long _b_getusedmem();

/// Number of blocks that are live now.
MORVANE_API long _b_getmemcount();

#endif  // MORVANE_BMEM_H_
