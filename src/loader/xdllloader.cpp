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

// The text that LastError returns.
std::string& LastFailure() {
  static std::string text;
  return text;
}

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
  std::string& reason = LastFailure();
  reason.clear();
  if (name == nullptr) return nullptr;
  auto& calls = morvane::platform::Calls();
  // The reason of the last file that exists but would not load, else of the
  // last attempt.
  bool reason_names_a_file = false;
  auto attempt = [&](const char* file) {
    HINSTANCE module = calls.load_library(file);
    if (module != nullptr) return module;
    morvane::platform::LoadFailure failure = calls.load_failure();
    if (failure.file_exists || !reason_names_a_file) {
      reason = std::move(failure.text);
      reason_names_a_file = failure.file_exists;
    }
    return module;
  };
  HINSTANCE module = nullptr;
  XString candidate;
  for (int i = 0; i < GetPathCount() && module == nullptr; ++i) {
    candidate.Format(kCandidateFormat, GetPath(i), name);
    candidate.ReplaceAll(0, kSlash, kBackslash);
    candidate.ReplaceAll(0, kDoubleBackslash, kBackslash);
    module = attempt(candidate.GetPtr());
  }
  if (module == nullptr) module = attempt(name);
  if (module != nullptr) {
    reason.clear();
    modules.AddTail(new HINSTANCE(module));
  }
  return module;
}

void XDllLoader::LoadLibraries(const char* directory, const char* pattern) {
  LastFailure().clear();
  if (directory == nullptr || pattern == nullptr) return;
  auto& calls = morvane::platform::Calls();
  const std::string saved = calls.get_cwd();
  calls.set_cwd(directory);
  const std::vector<std::string> names = calls.find_files(pattern);
  // Each LoadLibraryA call starts a reason of its own; the latest failure's
  // is the reason of the whole.
  std::string reason;
  for (const std::string& name : names) {
    if (LoadLibraryA(name.c_str()) != nullptr) {
      std::printf(kLoadedLine, directory, name.c_str());
      // Keeps the lines in order with output written through other streams.
      std::fflush(stdout);
    } else {
      reason = LastFailure();
    }
  }
  LastFailure() = std::move(reason);
  if (!saved.empty()) calls.set_cwd(saved.c_str());
}

void* XDllLoader::GetSymbol(HINSTANCE module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return morvane::platform::Calls().find_symbol(module, name);
}

const char* XDllLoader::LastError() { return LastFailure().c_str(); }

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
