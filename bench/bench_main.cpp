// The benchmark program's entry point: Google Benchmark's own, plus the
// machine's processor model and core count in the JSON context, so that a
// table made from the JSON alone can say where it was measured.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr char kCpuInfo[] = "/proc/cpuinfo";
constexpr char kModelKey[] = "model name";

std::string CpuModel() {
  std::ifstream info(kCpuInfo);
  std::string line;
  while (std::getline(info, line)) {
    if (line.compare(0, sizeof kModelKey - 1, kModelKey) != 0) continue;
    const auto colon = line.find(':');
    if (colon == std::string::npos) break;
    const auto first = line.find_first_not_of(' ', colon + 1);
    return first == std::string::npos ? std::string() : line.substr(first);
  }
  return "unknown";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("cpu_model", CpuModel());
  benchmark::AddCustomContext(
      "nproc", std::to_string(std::thread::hardware_concurrency()));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
