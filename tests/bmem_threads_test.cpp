// The tracker and the loader of a build with MORVANE_THREAD_SAFE, from many
// threads at once: 8 threads make 100,000 allocations each and release all
// but a few, in interleaved order, while the main thread reads the totals
// and 4 threads race to the loader, add search directories and load and free
// plug-ins of the sample tree; then the totals and the leak report name
// exactly the blocks still live, and the loader exactly the directories and
// modules still recorded. Built only with the option: without it the threads
// would race, as documented. .ci/tsan.sh runs it under ThreadSanitizer.
#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "leak_log_reader.h"
#include "platform/platform.h"
#include "support/bookkeeping.h"
#include "tracker/mem_manager.h"

namespace {

constexpr int kThreads = 8;
constexpr int kAllocations = 100000;
constexpr std::size_t kHeld = 16;  // blocks a thread holds before releasing
constexpr int kKeptEvery = 25000;  // blocks 0, 25000, ... stay live
constexpr int kKeptPerThread = kAllocations / kKeptEvery;

std::string File(int thread) {
  return "thread" + std::to_string(thread) + ".cpp";
}
unsigned int Size(int thread, int i) {
  return static_cast<unsigned int>(i % 97 + thread);
}

// One thread's blocks: block i has Size(thread, i) bytes and line i. Once it
// holds kHeld blocks it releases one of them, chosen at random. Every
// kKeptEvery-th block stays live.
void Work(int thread) {
  const std::string file = File(thread);
  std::vector<void*> held;
  unsigned int random = static_cast<unsigned int>(thread) + 1;
  for (int i = 0; i < kAllocations; ++i) {
    void* block = _b_new(Size(thread, i), file.c_str(), i);
    if (i % kKeptEvery == 0) continue;
    held.push_back(block);
    if (held.size() < kHeld) continue;
    random = random * 1103515245u + 12345u;
    void*& chosen = held[(random >> 16) % held.size()];
    _b_delete(chosen, file.c_str(), i);
    chosen = held.back();
    held.pop_back();
  }
  for (void* block : held) _b_delete(block, "", 0);
}

constexpr int kLoaders = 4;
constexpr int kRounds = 20;         // of each loading thread
constexpr int kPathsPerLoader = 4;  // search directories, none of which exists
using Modules = std::vector<HINSTANCE>;
using Names = std::vector<std::string>;
const auto& kSystem = morvane::platform::DefaultCalls();

// Relative to the sample tree, the working directory of the test.
const char kAlpha[] = "plugins\\alpha" MORVANE_PLUGIN_SUFFIX;
const char kBeta[] = "plugins\\beta" MORVANE_PLUGIN_SUFFIX;
const std::string kPlugins = MORVANE_PLUGIN_TREE "/plugins";

std::string Absent(int thread, int i) {
  return "absent/" + std::to_string(thread) + "/" + std::to_string(i);
}

// One loading thread: each round loads alpha, fails on gamma (which only
// that thread's LastError tells) while the working directory is the
// plug-ins' own, frees alpha and loads beta for good.
void Load(int thread, XDllLoader** seen) {
  XDllLoader* loader = *seen = XDllLoader::GetLoader();
  for (int i = 0; i < kRounds; ++i) {
    if (i < kPathsPerLoader) loader->AddPath(Absent(thread, i).c_str());
    const int last = loader->GetPathCount() - 1;  // odd rounds: const
    EXPECT_NE(
        i % 2 ? std::as_const(*loader).GetPath(last) : loader->GetPath(last),
        nullptr);
    HINSTANCE alpha = loader->LoadLibraryA(kAlpha);
    EXPECT_STREQ(XDllLoader::LastError(), "");
    loader->LoadLibraries(kPlugins.c_str(), "gamma*");
    EXPECT_NE(std::string(XDllLoader::LastError()).find("gamma"),
              std::string::npos);
    EXPECT_TRUE(loader->FreeLibrary(alpha));
    EXPECT_NE(loader->LoadLibraryA(kBeta), nullptr);
  }
}

// One instance, every directory added, and one record per beta loaded:
// KillLoader releases beta as often as it was loaded, and nothing else.
void ExpectExactLoader(const std::vector<XDllLoader*>& seen) {
  XDllLoader* loader = XDllLoader::GetLoader();
  EXPECT_EQ(seen, std::vector<XDllLoader*>(kLoaders, loader));
  Names paths, added;
  for (int i = 0; i < loader->GetPathCount(); ++i)
    paths.emplace_back(loader->GetPath(i));
  for (int i = 0; i < kLoaders * kPathsPerLoader; ++i)
    added.push_back(Absent(i / kPathsPerLoader, i % kPathsPerLoader));
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, added);
  static Modules freed;
  morvane::platform::Calls().free_library = [](HINSTANCE module) {
    return freed.push_back(module), kSystem.free_library(module);
  };
  HINSTANCE beta = loader->LoadLibraryA(kBeta);
  loader->KillLoader();
  morvane::platform::Calls() = kSystem;
  EXPECT_EQ(freed, Modules(kLoaders * kRounds + 1, beta));
}

TEST(Threads, AllocationsAndLoadsAtOnceLeaveExactTotalsReportAndRecords) {
  std::filesystem::current_path(MORVANE_PLUGIN_TREE);
  std::vector<XDllLoader*> seen(kLoaders);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(Work, t);
  for (int t = 0; t < kLoaders; ++t) threads.emplace_back(Load, t, &seen[t]);
  // Never more live blocks than the threads hold and keep.
  constexpr long kMostLive = kThreads * (kHeld + kKeptPerThread);
  for (int read = 0; read < 1000; ++read) {
    const long count = _b_getmemcount();
    ASSERT_LE(count, kMostLive);
    ASSERT_GE(count, 0);
    ASSERT_GE(_b_getusedmem(), 0);
  }
  for (std::thread& thread : threads) thread.join();
  ExpectExactLoader(seen);

  // Each kept block is a call site of its own: "file:line" and its size.
  std::map<std::string, std::uint64_t> expected, reported;
  long used = 0;
  int bookkeeping = 0;
  for (int t = 0; t < kThreads; ++t) {
    for (int line = 0; line < kAllocations; line += kKeptEvery) {
      expected[File(t) + ":" + std::to_string(line)] = Size(t, line);
      used += Size(t, line);
      bookkeeping +=
          static_cast<int>(morvane::testing::BookkeepingBytes(File(t).size()));
    }
  }
  constexpr int kLive = kThreads * kKeptPerThread;
  EXPECT_EQ(_b_getusedmem(), used);
  EXPECT_EQ(_b_getmemcount(), kLive);
  EXPECT_EQ(morvane::tracker::GlobalManager().MemorySize(), bookkeeping);

  const auto dir = std::filesystem::temp_directory_path() / "morvane_threads";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::current_path(dir);
  morvane::tracker::DestroyGlobalManager();
  // The log read strictly: every block whole, the header's totals its own.
  const morvane::leaks::LeakLog log =
      morvane::leaks::ReadLeakLogFile("bmemlog.log");
  EXPECT_FALSE(log.error.has_value());
  EXPECT_EQ(log.warning_count, 0u);
  EXPECT_EQ(log.logged_bytes, used);
  EXPECT_EQ(log.logged_blocks, kLive);
  for (const morvane::leaks::Site& site : log.sites) {
    EXPECT_EQ(site.blocks, 1u) << site.file << ":" << site.line;
    reported[site.file + ":" + std::to_string(site.line)] = site.bytes;
  }
  EXPECT_EQ(reported, expected);
}

}  // namespace
