// Library loading: LoadLibraries over twenty sample plug-ins (and FreeAll to
// release them again) next to a plain dlopen/dlclose loop over the same
// files.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <morvane/XDllLoader.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace morvane::bench {
namespace {

constexpr char kPluginDir[] = MORVANE_BENCH_PLUGIN_DIR;
constexpr char kPluginPattern[] = "*.so";
constexpr int kPluginCount = MORVANE_BENCH_PLUGIN_COUNT;

// The loader prints one line per library it loads; those go to /dev/null
// while the benchmark runs, and standard output comes back afterwards.
class StdoutDiscarded {
 public:
  StdoutDiscarded() {
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    const int null_fd = ::open("/dev/null", O_WRONLY);
    if (null_fd >= 0) {
      ::dup2(null_fd, STDOUT_FILENO);
      ::close(null_fd);
    }
  }
  StdoutDiscarded(const StdoutDiscarded&) = delete;
  StdoutDiscarded& operator=(const StdoutDiscarded&) = delete;
  ~StdoutDiscarded() {
    std::fflush(stdout);
    if (saved_ >= 0) {
      ::dup2(saved_, STDOUT_FILENO);
      ::close(saved_);
    }
  }

 private:
  int saved_ = -1;
};

// The full paths of the plug-ins, in the order the loader meets them.
std::vector<std::string> PluginPaths() {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(kPluginDir)) {
    while (const dirent* entry = ::readdir(dir)) {
      if (::fnmatch(kPluginPattern, entry->d_name, 0) == 0)
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = std::string(kPluginDir) + "/" + name;
  return names;
}

// Whether every plug-in is loaded right now (without loading any).
bool AllLoaded(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr) return false;
    ::dlclose(module);
  }
  return true;
}

void LoadLibrariesOurs(benchmark::State& state) {
  const std::vector<std::string> paths = PluginPaths();
  if (static_cast<int>(paths.size()) != kPluginCount)
    return state.SkipWithError("the sample plug-ins are missing");
  XDllLoader* loader = XDllLoader::GetLoader();
  {
    StdoutDiscarded quiet;
    loader->LoadLibraries(kPluginDir, kPluginPattern);
    const bool loaded = AllLoaded(paths);
    loader->FreeAll();
    if (!loaded) {
      loader->KillLoader();
      return state.SkipWithError("LoadLibraries did not load the plug-ins");
    }
    for (auto _ : state) {
      loader->LoadLibraries(kPluginDir, kPluginPattern);
      loader->FreeAll();
    }
  }
  loader->KillLoader();
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          kPluginCount);
}

void LoadLibrariesDlopen(benchmark::State& state) {
  const std::vector<std::string> paths = PluginPaths();
  if (static_cast<int>(paths.size()) != kPluginCount)
    return state.SkipWithError("the sample plug-ins are missing");
  std::vector<void*> modules(paths.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
      modules[i] = ::dlopen(paths[i].c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    for (void* module : modules) {
      if (module != nullptr) ::dlclose(module);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) *
                          kPluginCount);
}

BENCHMARK(LoadLibrariesOurs)
    ->Name("load_libraries/ours")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadLibrariesDlopen)
    ->Name("load_libraries/theirs")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morvane::bench
