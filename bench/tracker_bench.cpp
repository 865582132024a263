// The allocation tracker: a tracked allocation and release next to malloc and
// free, the same in a thread-safe build next to the default build, and the
// leak report of 100,000 live blocks next to the same bytes written with one
// fprintf per line.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <morvane/bmem.h>
#include <stdlib.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "tracker/heap.h"
#include "tracker/mem_manager.h"

namespace morvane::bench {
namespace {

using tracker::DefaultHeap;
using tracker::Heap;
using tracker::MemManager;
using tracker::MemNode;
using tracker::MemStruct;

// --- One tracked allocation and release --------------------------------------

constexpr unsigned int kBlockSize = 64;

void NewDeleteOurs(benchmark::State& state) {
  for (auto _ : state) {
    void* block = _b_new(kBlockSize, __FILE__, __LINE__);
    benchmark::DoNotOptimize(block);
    _b_delete(block, __FILE__, __LINE__);
  }
}

// What any implementation of the documented allocation must do at least: the
// four C-heap blocks of a tracked allocation (block with its header, record,
// copy of the file name, node), the copy of the name, and measuring the name
// again on release; no bookkeeping.
void NewDeleteFloor(benchmark::State& state) {
  constexpr std::size_t kHeader = alignof(std::max_align_t);
  const char* file = __FILE__;
  benchmark::DoNotOptimize(file);
  for (auto _ : state) {
    void* block = std::malloc(kHeader + kBlockSize);
    benchmark::DoNotOptimize(block);
    void* record = std::malloc(sizeof(MemStruct));
    benchmark::DoNotOptimize(record);
    const std::size_t name_bytes = std::strlen(file) + 1;
    void* name = std::malloc(name_bytes);
    std::memcpy(name, file, name_bytes);
    benchmark::DoNotOptimize(name);
    void* node = std::malloc(sizeof(MemNode));
    benchmark::DoNotOptimize(node);
    std::size_t again = std::strlen(static_cast<const char*>(name));
    benchmark::DoNotOptimize(again);
    std::free(block);
    std::free(name);
    std::free(record);
    std::free(node);
  }
}

void NewDeleteMalloc(benchmark::State& state) {
  for (auto _ : state) {
    void* block = std::malloc(kBlockSize);
    benchmark::DoNotOptimize(block);
    std::free(block);
  }
}

// --- The same in a thread-safe build ----------------------------------------

// One build of the tracker, loaded as a module of its own (bench/CMakeLists:
// tracker_default.so and tracker_thread_safe.so, which differ only in
// MORVANE_THREAD_SAFE). Loaded once, never closed.
struct TrackerBuild {
  void* (*b_new)(unsigned int, const char*, int) = nullptr;
  void (*b_delete)(void*, const char*, int) = nullptr;
};

TrackerBuild LoadTrackerBuild(const std::string& name) {
  TrackerBuild build;
  const std::string path = MORVANE_BENCH_TRACKER_DIR "/" + name + ".so";
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return build;
  // _b_new and _b_delete have C++ linkage: these are their linker names.
  build.b_new = reinterpret_cast<decltype(build.b_new)>(
      ::dlsym(module, "_Z6_b_newjPKci"));
  build.b_delete = reinterpret_cast<decltype(build.b_delete)>(
      ::dlsym(module, "_Z9_b_deletePvPKci"));
  return build;
}

// One thread, so the lock is never contended: what the thread-safe build
// costs a program that does not need it.
void NewDeleteBuild(benchmark::State& state, const char* name) {
  const TrackerBuild build = LoadTrackerBuild(name);
  if (build.b_new == nullptr || build.b_delete == nullptr)
    return state.SkipWithError("tracker build not found");
  for (auto _ : state) {
    void* block = build.b_new(kBlockSize, __FILE__, __LINE__);
    benchmark::DoNotOptimize(block);
    build.b_delete(block, __FILE__, __LINE__);
  }
}

// --- The leak report of 100,000 live blocks ----------------------------------

constexpr int kLeakedBlocks = 100000;
constexpr char kDebugOutputVariable[] = "MORVANE_DEBUG_OUTPUT";

// A directory of its own for the logs, removed with what it holds.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/morvane_bench_XXXXXX";
    if (::mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    if (path_.empty()) return;
    std::remove(File().c_str());
    ::rmdir(path_.c_str());
  }
  bool ok() const { return !path_.empty(); }
  std::string File() const { return path_ + "/bmemlog.log"; }

 private:
  std::string path_;
};

// Every byte that a benchmark's manager takes from the C heap, so that the
// leaked blocks (which the report leaves alone) can be freed afterwards.
// Releases are deferred to the same point.
std::vector<void*>& HeapBlocks() {
  static std::vector<void*> blocks;
  return blocks;
}

void* RecordingAllocate(std::size_t size) {
  void* block = std::malloc(size);
  HeapBlocks().push_back(block);
  return block;
}

void DeferredRelease(void*) {}

class RecordedHeap {
 public:
  RecordedHeap() {
    HeapBlocks().reserve(4 * kLeakedBlocks + 16);
    Heap() = {RecordingAllocate, DeferredRelease};
  }
  RecordedHeap(const RecordedHeap&) = delete;
  RecordedHeap& operator=(const RecordedHeap&) = delete;
  ~RecordedHeap() {
    Heap() = DefaultHeap();
    FreeAll();
  }
  static void FreeAll() {
    for (void* block : HeapBlocks()) std::free(block);
    HeapBlocks().clear();
  }
};

// The debugger channel discards its lines while the variable is unset, as it
// is in a process that nobody debugs.
class DiscardedDebugOutput {
 public:
  DiscardedDebugOutput() {
    if (const char* value = std::getenv(kDebugOutputVariable)) saved_ = value;
    had_value_ = std::getenv(kDebugOutputVariable) != nullptr;
    ::unsetenv(kDebugOutputVariable);
  }
  DiscardedDebugOutput(const DiscardedDebugOutput&) = delete;
  DiscardedDebugOutput& operator=(const DiscardedDebugOutput&) = delete;
  ~DiscardedDebugOutput() {
    if (had_value_) ::setenv(kDebugOutputVariable, saved_.c_str(), 1);
  }

 private:
  std::string saved_;
  bool had_value_ = false;
};

// A manager in storage of its own, holding the benchmark's 100,000 blocks
// from a few dozen source files, as a long-running program might leak them.
MemManager* FillManager(void* storage, const std::string& logfile) {
  static const std::vector<std::string> files = [] {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
      names.push_back("src/module_" + std::to_string(i) + "/component_" +
                      std::to_string(i * 7 % 13) + ".cpp");
    }
    return names;
  }();
  auto* manager = new (storage) MemManager(logfile.c_str());
  std::mt19937 random(99);
  std::uniform_int_distribution<unsigned int> size(1, 4096);
  std::uniform_int_distribution<int> line(1, 3000);
  for (int i = 0; i < kLeakedBlocks; ++i) {
    manager->Allocate(size(random), files[i % files.size()].c_str(),
                      line(random));
  }
  return manager;
}

void LeakReportOurs(benchmark::State& state) {
  TempDir dir;
  if (!dir.ok()) return state.SkipWithError("no temporary directory");
  const std::string logfile = dir.File();
  DiscardedDebugOutput discard;
  RecordedHeap heap;
  alignas(MemManager) unsigned char storage[sizeof(MemManager)];
  for (auto _ : state) {
    state.PauseTiming();
    MemManager* manager = FillManager(storage, logfile);
    state.ResumeTiming();
    manager->~MemManager();
    state.PauseTiming();
    RecordedHeap::FreeAll();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          kLeakedBlocks);
}

// The log as an application would write it by hand: the same bytes, one
// fprintf per line, from the same chain.
void WriteLogByHand(const char* logfile, const MemManager& manager) {
  std::FILE* log = std::fopen(logfile, "w");
  if (log == nullptr) return;
  const std::time_t now = std::time(nullptr);
  std::fprintf(log, "[qmx] mem_manager\n");
  std::fprintf(log, "::::::::::::::::::::::::::::::::::::::::::\n");
  std::fprintf(log, "timestamp: %s\n\n", std::asctime(std::localtime(&now)));
  std::fprintf(log, "overall size of memory leaks   = %8d byte\n",
               manager.UsedMem());
  std::fprintf(log, "num of memory leaks            = %8d \n\n",
               manager.MemCount());
  for (const MemNode* node = manager.Blocks().next; node != nullptr;
       node = node->next) {
    const MemStruct& record = *node->record;
    std::fprintf(log,
                 ",------------------------------------------------------------"
                 "[mem leak]\n");
    std::fprintf(log, "|   size    = %d\n", static_cast<int>(record.size));
    std::fprintf(log, "|   src     = %s\n", record.file);
    std::fprintf(log, "|   line    = %d\n", record.line);
    std::fprintf(log, "|   pointer = %" PRIxPTR "\n",
                 reinterpret_cast<std::uintptr_t>(record.pointer));
    std::fprintf(
        log,
        "'-------------------------------------------------------------"
        "------\n\n");
  }
  std::fprintf(log, "---\nEOF\n");
  std::fclose(log);
}

void LeakReportFprintf(benchmark::State& state) {
  TempDir dir;
  if (!dir.ok()) return state.SkipWithError("no temporary directory");
  const std::string logfile = dir.File();
  RecordedHeap heap;
  // Never destroyed: its report is not what this side measures. Its bytes
  // go back with the recorded heap.
  alignas(MemManager) unsigned char storage[sizeof(MemManager)];
  const MemManager* manager = FillManager(storage, logfile);
  for (auto _ : state) WriteLogByHand(logfile.c_str(), *manager);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          kLeakedBlocks);
}

BENCHMARK(NewDeleteOurs)->Name("b_new_delete/ours");
BENCHMARK(NewDeleteMalloc)->Name("b_new_delete/theirs");
BENCHMARK(NewDeleteFloor)->Name("b_new_delete/floor");
BENCHMARK_CAPTURE(NewDeleteBuild, thread_safe, "tracker_thread_safe")
    ->Name("b_new_delete_thread_safe/ours");
BENCHMARK_CAPTURE(NewDeleteBuild, default, "tracker_default")
    ->Name("b_new_delete_thread_safe/default");
BENCHMARK(LeakReportOurs)
    ->Name("leak_report/ours")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(LeakReportFprintf)
    ->Name("leak_report/theirs")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvane::bench
