// XDllLoader: the one plug-in loader, its search directories and the
// modules it has loaded.
#include <morvane/XDllLoader.h>
#include <morvane/XString.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr const char kCandidateFormat[] = "%s\\%s";
constexpr const char kSlash[] = "/";
constexpr const char kBackslash[] = "\\";
constexpr const char kDoubleBackslash[] = "\\\\";

constexpr const char kLoadedLine[] = "XDllLoader loaded: %s --> %s\n";

}  // namespace

XDllLoader* XDllLoader::This = nullptr;

XDllLoader::XDllLoader() = default;

// The lists do not own their pointees; KillLoader has released them.
XDllLoader::~XDllLoader() = default;

XDllLoader::XDllLoader(XDllLoader& other) = default;

XDllLoader& XDllLoader::operator=(const XDllLoader& other) {
  if (this != &other) {
    paths = other.paths;
    modules = other.modules;
  }
  return *this;
}

XDllLoader* XDllLoader::GetLoader() {
  if (This == nullptr) This = new XDllLoader();
  return This;
}

void XDllLoader::KillLoader() {
  if (This == nullptr) return;
  while (paths.Count() > 0) delete static_cast<XString*>(paths.RemoveAt(0));
  FreeAll();
  delete This;
  This = nullptr;
}

void XDllLoader::AddPath(const char* path) {
  if (path != nullptr) paths.AddTail(new XString(path));
}

const char* XDllLoader::GetPath(int i) {
  if (!paths.valid) paths.BuildIndex();
  return std::as_const(*this).GetPath(i);
}

const char* XDllLoader::GetPath(int i) const {
  const auto* path = static_cast<const XString*>(paths.Get(i));
  return path == nullptr ? nullptr : path->GetPtr();
}

int XDllLoader::GetPathCount() { return std::as_const(*this).GetPathCount(); }

int XDllLoader::GetPathCount() const { return paths.Count(); }

HINSTANCE XDllLoader::LoadLibraryA(const char* name) {
  if (name == nullptr) return nullptr;
  auto& calls = morvane::platform::Calls();
  HINSTANCE module = nullptr;
  XString candidate;
  for (int i = 0; i < GetPathCount() && module == nullptr; ++i) {
    candidate.Format(kCandidateFormat, GetPath(i), name);
    candidate.ReplaceAll(0, kSlash, kBackslash);
    candidate.ReplaceAll(0, kDoubleBackslash, kBackslash);
    module = calls.load_library(candidate.GetPtr());
  }
  if (module == nullptr) module = calls.load_library(name);
  if (module != nullptr) modules.AddTail(new HINSTANCE(module));
  return module;
}

void XDllLoader::LoadLibraries(const char* directory, const char* pattern) {
  if (directory == nullptr || pattern == nullptr) return;
  auto& calls = morvane::platform::Calls();
  const std::string saved = calls.get_cwd();
  calls.set_cwd(directory);
  const std::vector<std::string> names = calls.find_files(pattern);
  for (const std::string& name : names) {
    if (LoadLibraryA(name.c_str()) != nullptr) {
      std::printf(kLoadedLine, directory, name.c_str());
      // Keeps the lines in order with output written through other streams.
      std::fflush(stdout);
    }
  }
  if (!saved.empty()) calls.set_cwd(saved.c_str());
}

bool XDllLoader::FreeLibrary(HINSTANCE module) {
  if (!morvane::platform::Calls().free_library(module)) return false;
  for (int i = 0; i < modules.Count(); ++i) {
    auto* cell = static_cast<HINSTANCE*>(modules.Get(i));
    if (*cell == module) {
      delete static_cast<HINSTANCE*>(modules.RemoveAt(i));
      break;
    }
  }
  return true;
}

void XDllLoader::FreeAll() {
  auto& calls = morvane::platform::Calls();
  while (modules.Count() > 0) {
    auto* cell = static_cast<HINSTANCE*>(modules.RemoveAt(0));
    calls.free_library(*cell);
    delete cell;
  }
}
