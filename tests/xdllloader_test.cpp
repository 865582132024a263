#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/loaded_library.h"

namespace {

namespace fs = std::filesystem;
using morvane::platform::Calls;
using Names = std::vector<std::string>;
const auto& kSystem = morvane::platform::DefaultCalls();

// The sample plug-ins (tests/CMakeLists.txt). Directories are native absolute
// paths with a trailing separator: a drive letter and backslashes on Windows.
const std::string kSep = fs::path("/").make_preferred().string();
const std::string kTree =
    fs::absolute(MORVANE_PLUGIN_TREE "/").make_preferred().string();
const std::string kPlugins = kTree + "plugins" + kSep,
                  kOverride = kTree + "override" + kSep,
                  kMissing = kTree + "missing" + kSep;
const std::string kAlpha = "alpha" MORVANE_PLUGIN_SUFFIX,
                  kBeta = "beta" MORVANE_PLUGIN_SUFFIX,
                  kGamma = "gamma" MORVANE_PLUGIN_SUFFIX;  // text, no library

std::string Line(const std::string& dir, const std::string& name) {
  return "XDllLoader loaded: " + dir + " --> " + name + "\n";
}
std::string Cwd() { return kSystem.get_cwd() + kSep; }
bool Enter(const std::string& dir) { return kSystem.set_cwd(dir.c_str()); }
XDllLoader* L() { return XDllLoader::GetLoader(); }
std::string LoadAll(const std::string& dir, const std::string& glob) {
  testing::internal::CaptureStdout();
  L()->LoadLibraries(dir.c_str(), glob.c_str());
  return testing::internal::GetCapturedStdout();
}

// What the loader asked of the system, in order.
Names g_loads;
std::vector<HINSTANCE> g_frees;

class LoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    Calls().load_library = [](const char* name) {
      g_loads.emplace_back(name);
      return kSystem.load_library(name);
    };
    Calls().free_library = [](HINSTANCE module) {
      g_frees.push_back(module);
      return kSystem.free_library(module);
    };
  }
  void TearDown() override {
    L()->KillLoader();
    Calls() = kSystem;
    Enter(start_);
    g_loads.clear(), g_frees.clear();
  }
  const std::string start_ = Cwd();
};

// --- Finding a library -------------------------------------------------------

TEST_F(LoaderTest, CandidatesCollapseSeparatorsBeforeTheBareName) {
  const std::string long_name(1000, 'n');
  L()->AddPath("libs/");
  EXPECT_EQ(L()->LoadLibraryA(long_name.c_str()), nullptr);
  for (const char* dir : {"\\\\srv\\share\\", "//srv/share", "C:/a//b\\\\\\c/"})
    L()->AddPath(dir);
  EXPECT_EQ(L()->LoadLibraryA("sub/x.dll"), nullptr);
  EXPECT_EQ(g_loads,
            (Names{"libs\\" + long_name, long_name, "libs\\sub\\x.dll",
                   "\\srv\\share\\sub\\x.dll", "\\srv\\share\\sub\\x.dll",
                   "C:\\a\\b\\c\\sub\\x.dll", "sub/x.dll"}));
}

TEST_F(LoaderTest, FirstSearchDirectoryWinsAndEveryLoadIsReleasedOnce) {
  for (const std::string& dir : {kMissing, kOverride, kPlugins})
    L()->AddPath(dir.c_str());
  HINSTANCE alpha = L()->LoadLibraryA(kAlpha.c_str());
  EXPECT_EQ(L()->LoadLibraryA(kAlpha.c_str()), alpha);
  HINSTANCE beta = L()->LoadLibraryA(kBeta.c_str());
  EXPECT_TRUE(IsLoaded(kOverride + kAlpha) && !IsLoaded(kPlugins + kAlpha));
  EXPECT_FALSE(L()->FreeLibrary(nullptr));
  EXPECT_TRUE(L()->FreeLibrary(alpha));  // and forgets one of its records
  L()->FreeAll();
  EXPECT_FALSE(IsLoaded(kOverride + kAlpha) || IsLoaded(kPlugins + kBeta));
  HINSTANCE again = L()->LoadLibraryA(kBeta.c_str());
  // Names that load nothing are not recorded, whatever the reason.
  EXPECT_EQ(L()->LoadLibraryA(""), nullptr);
  Calls().load_library = [](const char*) -> HINSTANCE { return nullptr; };
  EXPECT_EQ(L()->LoadLibraryA(kBeta.c_str()), nullptr);
  static XDllLoader* copy = new XDllLoader(*L());  // never deleted
  L()->KillLoader();
  copy->KillLoader();  // there is no instance any more: touches nothing
  EXPECT_EQ(copy->GetPathCount(), 3);
  EXPECT_EQ(g_frees,
            (std::vector<HINSTANCE>{nullptr, alpha, alpha, beta, again}));
  EXPECT_EQ(L()->GetPath(0), nullptr);  // a new loader
}

// --- Loading a directory -----------------------------------------------------

TEST_F(LoaderTest, LoadLibrariesOffersEveryMatchAndRestoresTheDirectory) {
  const std::string glob = "*" MORVANE_PLUGIN_SUFFIX;
  ASSERT_TRUE(Enter(kPlugins));
  const Names found = kSystem.find_files(glob.c_str());
  ASSERT_TRUE(Enter(kOverride));
  std::string printed;
  for (const std::string& name : found)
    if (name != kGamma) printed += Line(kPlugins, name);
  EXPECT_EQ(LoadAll(kPlugins, glob), printed);
  EXPECT_EQ(g_loads, found);
  EXPECT_EQ(LoadAll(kPlugins, "*.none"), "");
  L()->FreeAll();  // Windows would take a loaded alpha for any other alpha
  // A directory that cannot be entered: the current one is searched.
  EXPECT_EQ(LoadAll(kMissing, glob), Line(kMissing, kAlpha));
  EXPECT_EQ(Cwd(), kOverride);
}

TEST_F(LoaderTest, LongWorkingDirectoryIsRestored) {
  if (kSep == "\\")
    GTEST_SKIP() << "Windows keeps the working directory under 260 characters";
  std::string deep = kTree + "deep";
  for (int i = 0; i < 3; ++i) deep += "/" + std::string(200, 'd');
  fs::create_directories(deep);
  ASSERT_TRUE(Enter(deep));
  EXPECT_EQ(LoadAll(kPlugins, "?et?*"), Line(kPlugins, kBeta));  // ? is one
  EXPECT_EQ(Cwd(), deep + kSep);
}

// '*' and '?' are the only wildcards: brackets and backslashes match
// themselves (a set or an escape would also let "lib1.x" or "ab" through).
TEST_F(LoaderTest, PatternsHaveOnlyTwoWildcards) {
  const bool posix = kSep == "/";  // Windows names cannot hold a backslash
  const std::string dir = kTree + "wildcards";
  fs::create_directories(dir);
  for (const char* name : {"lib[1].x", "lib1.x", "lib[12].x", "ab", "a\\b"})
    if (posix || name[1] != '\\') std::ofstream(dir + kSep + name).put('x');
  ASSERT_TRUE(Enter(dir));
  // clang-format off
  const struct { const char* pattern; Names found; } kCases[] = {
    {"lib[1].x",  {"lib[1].x"}},
    {"lib?.x",    {"lib1.x"}},
    {"lib[??].x", {"lib[12].x"}},
    {"l*1*.x",    {"lib1.x", "lib[12].x", "lib[1].x"}},  // in byte order
    {"*]*",       {"lib[12].x", "lib[1].x"}},
    {"a\\b",      {"a\\b"}},
  };
  // clang-format on
  for (const auto& c : kCases) {
    if (!posix && std::strchr(c.pattern, '\\') != nullptr) continue;
    Names found = kSystem.find_files(c.pattern);
    Names want = c.found;
    if (!posix) {  // the system's own order
      std::sort(found.begin(), found.end());
      std::sort(want.begin(), want.end());
    }
    EXPECT_EQ(found, want) << c.pattern;
  }
}

// Null arguments: nothing recorded, loaded, printed or entered.
TEST_F(LoaderTest, NullArgumentsDoNothing) {
  L()->AddPath(nullptr);
  EXPECT_EQ(L()->GetPathCount(), 0);
  EXPECT_EQ(L()->LoadLibraryA(nullptr), nullptr);
  Calls().set_cwd = [](const char* path) {
    ADD_FAILURE() << "entered " << path;
    return false;
  };
  testing::internal::CaptureStdout();
  L()->LoadLibraries(nullptr, "*");
  L()->LoadLibraries(kPlugins.c_str(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(g_loads, Names{});
}

// --- Libraries of the system -------------------------------------------------

TEST_F(LoaderTest, LoadsAndReleasesEverySystemCharsetModule) {
  const std::string dir = MORVANE_GCONV_DIR "/";
  if (!fs::is_directory(dir))
    GTEST_SKIP() << "no gconv modules here: they come with the GNU C library";
  const std::string printed = LoadAll(dir, "*.so");
  EXPECT_NE(printed, "");
  L()->KillLoader();
  for (const std::string& name : g_loads) EXPECT_FALSE(IsLoaded(dir + name));
}

}  // namespace
