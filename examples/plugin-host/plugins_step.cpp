// The plug-in step: the loader finds and loads the plug-ins, the host looks
// up and calls each one's entry function.
#include <morvane/XDllLoader.h>
#include <morvane/XStringBuf.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "../plugins/demo_plugin.h"
#include "steps.h"
#include "wildcard.h"

namespace demo {
namespace {

// The names LoadLibraries offers to the loader: the directory's regular
// files that match the pattern, in byte order.
std::vector<std::string> PluginNames(const std::string& directory,
                                     const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(directory, error)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file() &&
        MatchesWildcard(pattern.c_str(), name.c_str()))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

int ShowPlugins(const std::string& directory, const std::string& pattern,
                const char* line) {
  XDllLoader* loader = XDllLoader::GetLoader();
  loader->AddPath(directory.c_str());
  std::printf("search directory %d: %s\n", loader->GetPathCount() - 1,
              loader->GetPath(loader->GetPathCount() - 1));
  std::printf(
      "loading %s from there (LoadLibraries itself prints a line for each "
      "library it loads):\n",
      pattern.c_str());
  loader->LoadLibraries(directory.c_str(), pattern.c_str());

  std::printf(
      "asking each plug-in about \"%s\"\n"
      "(its answer, and below it, in brackets, how it came to it):\n",
      line);
  int answered = 0;
  for (const std::string& name : PluginNames(directory, pattern)) {
    // The module is loaded already: this finds it through the search
    // directory and takes one more reference, which FreeLibrary drops.
    HINSTANCE module = loader->LoadLibraryA(name.c_str());
    if (module == nullptr) {
      std::printf("  %-14s (does not load)\n", name.c_str());
      continue;
    }
    auto entry = reinterpret_cast<DemoEntry>(
        XDllLoader::GetSymbol(module, kDemoEntryName));
    if (entry == nullptr) {
      std::printf("  %-14s (exports no %s)\n", name.c_str(), kDemoEntryName);
    } else {
      XStringBuf answer(16);
      entry(line, &answer);
      std::printf("  %-14s %s\n", name.c_str(), answer.GetPtr());
      auto about = reinterpret_cast<DemoAbout>(
          XDllLoader::GetSymbol(module, kDemoAboutName));
      if (about != nullptr) std::printf("    (%s)\n", about());
      ++answered;
    }
    loader->FreeLibrary(module);
  }
  return answered;
}

}  // namespace demo
