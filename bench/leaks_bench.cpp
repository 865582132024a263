// morvane-leaks's summary of a leak log of 1,000,000 blocks over 1,000 call
// sites, next to reading the same file line by line with std::getline. The
// log is written once, into the temporary directory, by the first of the
// two benchmarks that runs, and removed when the program ends.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "leak_log_reader.h"
#include "leak_summary.h"
#include "tracker/leak_log_format.h"

namespace morvane::bench {
namespace {

constexpr int kBlocks = 1000000;
constexpr int kFiles = 100;
constexpr int kLinesPerFile = 10;  // 1,000 call sites

class LargeLog {
 public:
  LargeLog()
      : path_((std::filesystem::temp_directory_path() /
               ("morvane_bench_leaks_" +
                std::to_string(std::random_device()()) + ".log"))
                  .string()) {
    std::FILE* log = std::fopen(path_.c_str(), "w");
    if (log == nullptr) return;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> site(0, kFiles * kLinesPerFile - 1);
    std::uniform_int_distribution<std::uint32_t> size(1, 4096);
    std::string files[kFiles];
    for (int i = 0; i < kFiles; ++i) {
      files[i] = "src/module_" + std::to_string(i % 7) + "/component_" +
                 std::to_string(i) + ".cpp";
    }
    std::fputs(tracker::kLogBanner, log);
    std::fputs(tracker::kLogRule, log);
    std::fprintf(log, tracker::kLogTimestamp, "Mon Dec  7 04:49:50 2026\n");
    // The same draws twice: the total first, then the blocks.
    std::mt19937 again = random;
    std::uint32_t total = 0;
    for (int i = 0; i < kBlocks; ++i) {
      site(again);
      total += size(again);
    }
    std::fprintf(log, tracker::kLogTotalSize, static_cast<int>(total));
    std::fprintf(log, tracker::kLogTotalCount, kBlocks);
    for (int i = 0; i < kBlocks; ++i) {
      const int at = site(random);
      std::fprintf(log, "%s%s%d%s%s%s%d%s%x%s", tracker::kLogBlockTop,
                   tracker::kLogBlockSize, static_cast<int>(size(random)),
                   tracker::kLogBlockSource, files[at / kLinesPerFile].c_str(),
                   tracker::kLogBlockLine, 100 + at % kLinesPerFile * 37,
                   tracker::kLogBlockPointer, 0x10000u + 64u * i,
                   tracker::kLogBlockBottom);
    }
    std::fputs(tracker::kLogEnd, log);
    ok_ = std::fclose(log) == 0;
  }
  LargeLog(const LargeLog&) = delete;
  LargeLog& operator=(const LargeLog&) = delete;
  ~LargeLog() { std::remove(path_.c_str()); }

  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool ok_ = false;
};

const LargeLog& TheLog() {
  static const LargeLog log;
  return log;
}

void SummaryOurs(benchmark::State& state) {
  if (!TheLog().ok()) return state.SkipWithError("cannot write the log");
  for (auto _ : state) {
    leaks::Summary summary;
    summary.name = TheLog().path();
    summary.log = leaks::ReadLeakLogFile(TheLog().path());
    summary.ranked = leaks::Rank(summary.log.sites, leaks::Grouping::kSite);
    std::ostringstream text;
    leaks::WriteText(text, summary);
    benchmark::DoNotOptimize(text);
    if (summary.log.blocks != kBlocks) state.SkipWithError("misread");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kBlocks);
}

void SummaryGetline(benchmark::State& state) {
  if (!TheLog().ok()) return state.SkipWithError("cannot write the log");
  for (auto _ : state) {
    std::ifstream log(TheLog().path());
    std::string line;
    std::size_t lines = 0;
    while (std::getline(log, line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kBlocks);
}

BENCHMARK(SummaryOurs)
    ->Name("leaks_summary/ours")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SummaryGetline)
    ->Name("leaks_summary/theirs")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morvane::bench
