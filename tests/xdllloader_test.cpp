#include <dlfcn.h>
#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

namespace platform = morvane::platform;
using Names = std::vector<std::string>;
using Modules = std::vector<HINSTANCE>;

// The sample plug-ins (tests/plugins): plugins/alpha.so returns 1,
// plugins/beta.so 2, override/alpha.so 101; plugins/gamma.so is text.
const std::string kTree = MORVANE_PLUGIN_TREE;
const std::string kPlugins = kTree + "/plugins";
const std::string kOverride = kTree + "/override";
const std::string kEmpty = kTree + "/empty";
const std::string kAlpha = kPlugins + "/alpha.so";

int ValueOf(HINSTANCE module) {
  auto* get =
      reinterpret_cast<int (*)()>(dlsym(module, "morvane_plugin_value"));
  return get == nullptr ? -1 : get();
}

// True while the process holds the library at `path`; loads nothing.
bool IsLoaded(const std::string& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (module != nullptr) dlclose(module);
  return module != nullptr;
}

std::string Cwd() { return platform::DefaultCalls().get_cwd(); }

std::string Line(const std::string& directory, const std::string& name) {
  return "XDllLoader loaded: " + directory + " --> " + name + "\n";
}

// What reached the system through the platform table.
Names g_loads;
Modules g_frees;
Names g_cwd_changes;

HINSTANCE RecordLoad(const char* name) {
  g_loads.emplace_back(name);
  return platform::DefaultCalls().load_library(name);
}
HINSTANCE RecordLoadOnly(const char* name) {
  g_loads.emplace_back(name);
  return nullptr;
}
bool RecordFree(HINSTANCE module) {
  g_frees.push_back(module);
  return platform::DefaultCalls().free_library(module);
}
bool RefuseFree(HINSTANCE) { return false; }
bool RecordSetCwd(const char* path) {
  g_cwd_changes.emplace_back(path);
  return platform::DefaultCalls().set_cwd(path);
}
bool RefuseSetCwd(const char* path) {
  g_cwd_changes.emplace_back(path);
  return false;
}
std::string FailGetCwd() { return std::string(); }

// A loader's destructor is private, so a copy can never be deleted; copies
// stay reachable here for the life of the process.
XDllLoader* Keep(XDllLoader* copy) {
  static auto* kept = new std::vector<XDllLoader*>();
  kept->push_back(copy);
  return copy;
}

class LoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    start_cwd_ = Cwd();
    g_cwd_changes.clear();
    platform::Calls().load_library = RecordLoad;
    platform::Calls().free_library = RecordFree;
    platform::Calls().set_cwd = RecordSetCwd;
    Renew();
  }
  void TearDown() override {
    loader()->KillLoader();
    platform::Calls() = platform::DefaultCalls();
    ASSERT_EQ(chdir(start_cwd_.c_str()), 0);
  }
  static XDllLoader* loader() { return XDllLoader::GetLoader(); }
  // A fresh loader and fresh records.
  static void Renew() {
    loader()->KillLoader();
    g_loads.clear();
    g_frees.clear();
  }
  static std::string LoadAll(const std::string& directory,
                             const char* pattern) {
    testing::internal::CaptureStdout();
    loader()->LoadLibraries(directory.c_str(), pattern);
    return testing::internal::GetCapturedStdout();
  }

  std::string start_cwd_;
};

// --- The one instance and its directories
// ---------------------------------------

TEST_F(LoaderTest, OneInstanceUntilKilledAndKillingTwiceIsHarmless) {
  XDllLoader* first = XDllLoader::GetLoader();
  EXPECT_EQ(XDllLoader::GetLoader(), first);
  EXPECT_EQ(first->GetPath(0), nullptr);
  char path[] = "a//b\\";
  first->AddPath("plugins");
  first->AddPath(path);
  path[0] = 'z';
  EXPECT_EQ(first->GetPathCount(), 2);
  EXPECT_STREQ(first->GetPath(0), "plugins");
  EXPECT_STREQ(first->GetPath(1), "a//b\\");
  ASSERT_NE(first->LoadLibraryA(kAlpha.c_str()), nullptr);

  XDllLoader* copy = Keep(new XDllLoader(*first));
  first->KillLoader();
  copy->KillLoader();  // no instance any more: nothing is touched
  EXPECT_EQ(copy->GetPathCount(), 2);
  EXPECT_EQ(g_frees.size(), 1u);
  EXPECT_EQ(XDllLoader::GetLoader()->GetPathCount(), 0);
}

TEST_F(LoaderTest, CopiesShareThePathStrings) {
  loader()->AddPath(kPlugins.c_str());
  XDllLoader* copy = Keep(new XDllLoader(*loader()));
  EXPECT_EQ(copy->GetPath(0), loader()->GetPath(0));
  loader()->AddPath("more");
  EXPECT_EQ(copy->GetPathCount(), 1);
  *copy = *loader();
  EXPECT_EQ(copy->GetPathCount(), 2);
  EXPECT_EQ(copy->GetPath(1), loader()->GetPath(1));
  XDllLoader& same = *copy;
  *copy = same;
  EXPECT_EQ(copy->GetPath(0), loader()->GetPath(0));
}

// --- Candidate names
// -----------------------------------------------------------

TEST_F(LoaderTest, CandidatesHaveSingleBackslashesThenTheBareName) {
  struct Case {
    const char* directory;
    const char* name;
    const char* candidate;
  };
  const Case cases[] = {
      {"libs/", "a.dll", "libs\\a.dll"},
      {"libs\\", "a.dll", "libs\\a.dll"},
      {"\\\\server\\share", "a.dll", "\\server\\share\\a.dll"},
      {"//server/share", "a.dll", "\\server\\share\\a.dll"},
      {"a//b\\\\\\c/", "sub/x.so", "a\\b\\c\\sub\\x.so"},
      {"", "a.dll", "\\a.dll"},
  };
  platform::Calls().load_library = RecordLoadOnly;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    Renew();
    loader()->AddPath(c.directory);
    EXPECT_EQ(loader()->LoadLibraryA(c.name), nullptr);
    EXPECT_EQ(g_loads, (Names{c.candidate, c.name}));
  }
  Renew();
  EXPECT_EQ(loader()->LoadLibraryA("sub//x.so"), nullptr);
  loader()->AddPath("one");
  loader()->AddPath("two");
  EXPECT_EQ(loader()->LoadLibraryA("x.so"), nullptr);
  EXPECT_EQ(g_loads, (Names{"sub//x.so", "one\\x.so", "two\\x.so", "x.so"}));
}

// --- Loading real plug-ins
// -----------------------------------------------------

TEST_F(LoaderTest, FirstSearchDirectoryHoldingTheNameWins) {
  loader()->AddPath(kOverride.c_str());
  loader()->AddPath(kPlugins.c_str());
  EXPECT_EQ(ValueOf(loader()->LoadLibraryA("alpha.so")), 101);
  EXPECT_EQ(ValueOf(loader()->LoadLibraryA("beta.so")), 2);
  Renew();
  loader()->AddPath(kPlugins.c_str());
  loader()->AddPath(kOverride.c_str());
  EXPECT_EQ(ValueOf(loader()->LoadLibraryA("alpha.so")), 1);
  EXPECT_EQ(g_loads.size(), 1u);
}

TEST_F(LoaderTest, LongAndOddSpellingsReachTheLibrary) {
  std::string dots, backslashed = kPlugins;
  while (dots.size() < 992) dots += "./";
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  const std::pair<std::string, std::string> cases[] = {
      {kPlugins + "//", "alpha.so"},
      {kPlugins + std::string(1000, '/'), "alpha.so"},
      {backslashed + "\\", "alpha.so"},
      {"\\" + backslashed, "alpha.so"},
      {kPlugins, dots + "alpha.so"},  // a name of 1000 characters
  };
  for (const auto& [directory, name] : cases) {
    SCOPED_TRACE(directory.substr(0, 100) + " " + name.substr(0, 10));
    Renew();
    loader()->AddPath(directory.c_str());
    EXPECT_EQ(ValueOf(loader()->LoadLibraryA(name.c_str())), 1);
    ASSERT_EQ(g_loads.size(), 1u);
    EXPECT_EQ(g_loads[0].size(), kPlugins.size() + 1 + name.size());
  }
}

TEST_F(LoaderTest, BareNameIsLoadedFromTheWorkingDirectory) {
  ASSERT_EQ(chdir(kPlugins.c_str()), 0);
  EXPECT_EQ(ValueOf(loader()->LoadLibraryA("beta.so")), 2);
  loader()->AddPath(kEmpty.c_str());
  EXPECT_EQ(ValueOf(loader()->LoadLibraryA("alpha.so")), 1);
  EXPECT_EQ(g_loads.back(), "alpha.so");
}

TEST_F(LoaderTest, NothingLoadsGivesNullAndRecordsNothing) {
  loader()->AddPath(kPlugins.c_str());
  const std::string long_name(1000, 'x');
  for (const char* name : {"missing.so", "gamma.so", "", long_name.c_str()})
    EXPECT_EQ(loader()->LoadLibraryA(name), nullptr) << name;
  EXPECT_EQ(g_loads.size(), 8u);
  loader()->FreeAll();
  EXPECT_TRUE(g_frees.empty());
}

// --- Releasing
// -----------------------------------------------------------------

TEST_F(LoaderTest, EveryLoadIsReleasedOnceOldestFirst) {
  ASSERT_EQ(chdir(kPlugins.c_str()), 0);
  HINSTANCE beta = loader()->LoadLibraryA("beta.so");
  HINSTANCE alpha = loader()->LoadLibraryA("alpha.so");
  EXPECT_EQ(loader()->LoadLibraryA("alpha.so"), alpha);
  loader()->FreeAll();
  EXPECT_EQ(g_frees, (Modules{beta, alpha, alpha}));
  EXPECT_FALSE(IsLoaded(kAlpha));
  loader()->FreeAll();
  EXPECT_EQ(g_frees.size(), 3u);

  HINSTANCE again = loader()->LoadLibraryA("beta.so");
  loader()->KillLoader();
  EXPECT_EQ(g_frees, (Modules{beta, alpha, alpha, again}));
  EXPECT_FALSE(IsLoaded(kPlugins + "/beta.so"));
}

TEST_F(LoaderTest, FreeLibraryDropsOneRecordOnlyWhenReleased) {
  HINSTANCE alpha = loader()->LoadLibraryA(kAlpha.c_str());
  loader()->LoadLibraryA(kAlpha.c_str());
  EXPECT_TRUE(loader()->FreeLibrary(alpha));
  EXPECT_TRUE(IsLoaded(kAlpha));
  loader()->FreeAll();
  EXPECT_EQ(g_frees, (Modules{alpha, alpha}));
  EXPECT_FALSE(IsLoaded(kAlpha));

  g_frees.clear();
  alpha = loader()->LoadLibraryA(kAlpha.c_str());
  platform::Calls().free_library = RefuseFree;
  EXPECT_FALSE(loader()->FreeLibrary(alpha));
  platform::Calls().free_library = RecordFree;
  EXPECT_FALSE(loader()->FreeLibrary(nullptr));
  HINSTANCE foreign = dlopen((kPlugins + "/beta.so").c_str(), RTLD_NOW);
  EXPECT_TRUE(loader()->FreeLibrary(foreign));
  loader()->FreeAll();
  EXPECT_EQ(g_frees, (Modules{nullptr, foreign, alpha}));
  EXPECT_FALSE(IsLoaded(kAlpha));
}

// --- Loading a directory
// -------------------------------------------------------

TEST_F(LoaderTest, LoadLibrariesOffersMatchingNamesInOrder) {
  struct Case {
    const std::string& directory;
    const char* pattern;
    Names offered;
    std::string printed;
  };
  const Case cases[] = {
      {kPlugins,
       "*.so",
       {"alpha.so", "beta.so", "gamma.so"},
       Line(kPlugins, "alpha.so") + Line(kPlugins, "beta.so")},
      {kPlugins, "?eta.so", {"beta.so"}, Line(kPlugins, "beta.so")},
      {kPlugins, "*.dll", {}, ""},
      {kPlugins, "gamma.so", {"gamma.so"}, ""},
      {kEmpty, "*", {".", ".."}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    Renew();
    g_cwd_changes.clear();
    EXPECT_EQ(LoadAll(c.directory, c.pattern), c.printed);
    EXPECT_EQ(g_loads, c.offered);
    EXPECT_EQ(g_cwd_changes, (Names{c.directory, start_cwd_}));
    EXPECT_EQ(Cwd(), start_cwd_);
  }
}

TEST_F(LoaderTest, LoadLibrariesPrefersTheSearchDirectories) {
  loader()->AddPath(kOverride.c_str());
  EXPECT_EQ(LoadAll(kPlugins, "a*.so"), Line(kPlugins, "alpha.so"));
  EXPECT_TRUE(IsLoaded(kOverride + "/alpha.so"));
  EXPECT_FALSE(IsLoaded(kAlpha));
}

TEST_F(LoaderTest, UnenterableDirectoryIsSearchedAsTheCurrentOne) {
  const std::string missing = kTree + "/no-such-directory";
  ASSERT_EQ(chdir(kPlugins.c_str()), 0);
  EXPECT_EQ(LoadAll(missing, "*.so"),
            Line(missing, "alpha.so") + Line(missing, "beta.so"));
  EXPECT_EQ(Cwd(), kPlugins);

  Renew();
  ASSERT_EQ(chdir(kOverride.c_str()), 0);
  platform::Calls().set_cwd = RefuseSetCwd;
  g_cwd_changes.clear();
  EXPECT_EQ(LoadAll(kPlugins, "*.so"), Line(kPlugins, "alpha.so"));
  EXPECT_TRUE(IsLoaded(kOverride + "/alpha.so"));
  EXPECT_EQ(g_cwd_changes, (Names{kPlugins, kOverride}));
}

TEST_F(LoaderTest, UnreadableWorkingDirectoryIsNotRestored) {
  platform::Calls().get_cwd = FailGetCwd;
  EXPECT_EQ(LoadAll(kPlugins, "beta.so"), Line(kPlugins, "beta.so"));
  EXPECT_EQ(g_cwd_changes, Names{kPlugins});
}

TEST_F(LoaderTest, LongWorkingDirectoryIsRestored) {
  char base[] = "/tmp/morvane-loader-XXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  Names created{base};
  while (created.back().size() <= 600) {
    created.push_back(created.back() + "/" + std::string(100, 'd'));
    ASSERT_EQ(mkdir(created.back().c_str(), 0700), 0);
  }
  ASSERT_EQ(chdir(created.back().c_str()), 0);
  EXPECT_EQ(LoadAll(kPlugins, "b*"), Line(kPlugins, "beta.so"));
  EXPECT_EQ(Cwd(), created.back());
  ASSERT_EQ(chdir(start_cwd_.c_str()), 0);
  for (auto it = created.rbegin(); it != created.rend(); ++it)
    rmdir(it->c_str());
}

// --- Libraries of the system
// -----------------------------------------------------

// The C library's character-set modules: many libraries nobody here built.
std::string GconvDirectory() {
  Names candidates{"/usr/lib/x86_64-linux-gnu/gconv", "/usr/lib64/gconv",
                   "/usr/lib/gconv"};
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&std::abort), &info) != 0) {
    const std::string libc = info.dli_fname;
    candidates.insert(candidates.begin(),
                      libc.substr(0, libc.rfind('/')) + "/gconv");
  }
  for (const std::string& candidate : candidates) {
    struct stat st;
    if (stat(candidate.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      return candidate;
  }
  return std::string();
}

TEST_F(LoaderTest, LoadsAndReleasesEverySystemCharsetModule) {
  const std::string directory = GconvDirectory();
  if (directory.empty()) GTEST_SKIP() << "no gconv module directory here";
  ASSERT_EQ(chdir(directory.c_str()), 0);
  const Names names = platform::DefaultCalls().find_files("*.so");
  ASSERT_EQ(chdir(start_cwd_.c_str()), 0);
  Names loadable;
  std::string expected;
  for (const std::string& name : names) {
    void* module = dlopen((directory + "/" + name).c_str(), RTLD_NOW);
    if (module == nullptr) continue;
    dlclose(module);
    loadable.push_back(name);
    expected += Line(directory, name);
  }
  ASSERT_FALSE(loadable.empty());

  EXPECT_EQ(LoadAll(directory, "*.so"), expected);
  loader()->KillLoader();
  EXPECT_EQ(g_frees.size(), loadable.size());
  for (const std::string& name : loadable)
    EXPECT_FALSE(IsLoaded(directory + "/" + name)) << name;
}

}  // namespace
