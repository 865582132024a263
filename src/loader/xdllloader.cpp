// XDllLoader: the one plug-in loader, its search directories and the
// modules it has loaded.
//
// In a build with MORVANE_THREAD_SAFE one lock guards the instance pointer
// and the lists of every loader (copies share their strings and cells), and
// each public member that touches them holds it for its whole call: a load
// then also keeps the platform's stored load failure and the working
// directory to itself (LoadLibraries changes the directory for its whole
// call). The lock is not recursive, so the members call each other's
// unlocked bodies below. In the default build the lock is nothing.
#include <morvane/XDllLoader.h>
#include <morvane/XString.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/lock.h"
#include "platform/platform.h"

namespace {

using morvane::platform::LockGuard;

morvane::platform::Lock loader_lock;

constexpr const char kCandidateFormat[] = "%s\\%s";
constexpr const char kSlash[] = "/";
constexpr const char kBackslash[] = "\\";
constexpr const char kDoubleBackslash[] = "\\\\";

constexpr const char kLoadedLine[] = "XDllLoader loaded: %s --> %s\n";

// The text that LastError returns: with MORVANE_THREAD_SAFE the calling
// thread's own, so that a thread reads the reason of its own load.
std::string& LastFailure() {
  if constexpr (morvane::platform::kThreadSafe) {
    thread_local std::string text;
    return text;
  } else {
    static std::string text;
    return text;
  }
}

// The text of a search directory, null for no element. The text outlives
// the lock: only KillLoader deletes a path string.
const char* PathText(const void* path) {
  return path == nullptr ? nullptr
                         : static_cast<const XString*>(path)->GetPtr();
}

// LoadLibraryA's body over a loader's two lists, the lock held.
HINSTANCE Load(XPtrList& paths, XPtrList& modules, const char* name) {
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
  for (int i = 0; i < paths.Count() && module == nullptr; ++i) {
    candidate.Format(kCandidateFormat, PathText(paths.Get(i)), name);
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

// FreeAll's body, the lock held.
void ReleaseAll(XPtrList& modules) {
  auto& calls = morvane::platform::Calls();
  while (modules.Count() > 0) {
    auto* cell = static_cast<HINSTANCE*>(modules.RemoveAt(0));
    calls.free_library(*cell);
    delete cell;
  }
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
  LockGuard guard(loader_lock);
  if (This == nullptr) This = new XDllLoader();
  return This;
}

void XDllLoader::KillLoader() {
  LockGuard guard(loader_lock);
  if (This == nullptr) return;
  while (paths.Count() > 0) delete static_cast<XString*>(paths.RemoveAt(0));
  ReleaseAll(modules);
  delete This;
  This = nullptr;
}

void XDllLoader::AddPath(const char* path) {
  if (path == nullptr) return;
  auto* text = new XString(path);
  LockGuard guard(loader_lock);
  paths.AddTail(text);
}

const char* XDllLoader::GetPath(int i) {
  LockGuard guard(loader_lock);
  return PathText(paths.Get(i));
}

const char* XDllLoader::GetPath(int i) const {
  LockGuard guard(loader_lock);
  return PathText(paths.Get(i));
}

int XDllLoader::GetPathCount() { return std::as_const(*this).GetPathCount(); }

int XDllLoader::GetPathCount() const {
  LockGuard guard(loader_lock);
  return paths.Count();
}

HINSTANCE XDllLoader::LoadLibraryA(const char* name) {
  LockGuard guard(loader_lock);
  return Load(paths, modules, name);
}

void XDllLoader::LoadLibraries(const char* directory, const char* pattern) {
  LastFailure().clear();
  if (directory == nullptr || pattern == nullptr) return;
  LockGuard guard(loader_lock);
  auto& calls = morvane::platform::Calls();
  const std::string saved = calls.get_cwd();
  calls.set_cwd(directory);
  const std::vector<std::string> names = calls.find_files(pattern);
  // Each LoadLibraryA call starts a reason of its own; the latest failure's
  // is the reason of the whole.
  std::string reason;
  for (const std::string& name : names) {
    if (Load(paths, modules, name.c_str()) != nullptr) {
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
  LockGuard guard(loader_lock);
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
  LockGuard guard(loader_lock);
  ReleaseAll(modules);
}
