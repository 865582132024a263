#include <gtest/gtest.h>
#include <morvane/XDllLoader.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "support/captured_stdout.h"

namespace {

using morvane::platform::Calls;
using Names = std::vector<std::string>;
using Modules = std::vector<HINSTANCE>;
const auto& kSystem = morvane::platform::DefaultCalls();

// Directories of the sample tree (tests/CMakeLists.txt), as native absolute
// paths with a trailing separator: a drive letter and backslashes on Windows.
std::string Dir(const std::string& name) {
  const std::filesystem::path dir = MORVANE_PLUGIN_TREE "/" + name + "/";
  return std::filesystem::absolute(dir).make_preferred().string();
}
const std::string kPlugins = Dir("plugins"), kOverride = Dir("override"),
                  kMissing = Dir("missing"), kDeep = Dir(MORVANE_DEEP_DIR);
const std::string kAlpha = "alpha" MORVANE_PLUGIN_SUFFIX,
                  kBeta = "beta" MORVANE_PLUGIN_SUFFIX,
                  kGamma = "gamma" MORVANE_PLUGIN_SUFFIX;
const bool kWindows = kPlugins.back() == '\\';

XDllLoader* L() { return XDllLoader::GetLoader(); }
std::string Line(const std::string& dir, const std::string& name) {
  return "XDllLoader loaded: " + dir + " --> " + name + "\n";
}
// The directory of the sample tree that a test plug-in was built into; empty
// for any other module.
std::string Folder(HINSTANCE module) {
  auto folder = reinterpret_cast<const char* (*)()>(
      XDllLoader::GetSymbol(module, "morvane_plugin_folder"));
  return folder == nullptr ? "" : folder();
}

// What the loader asked of the system, in order.
Names g_loads;
Modules g_frees;

class LoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    Calls().load_library = [](const char* name) {
      return g_loads.emplace_back(name), kSystem.load_library(name);
    };
    Calls().free_library = [](HINSTANCE module) {
      return g_frees.push_back(module), kSystem.free_library(module);
    };
  }
  void TearDown() override {
    L()->KillLoader();
    Calls() = kSystem;
    kSystem.set_cwd(start_.c_str());
    g_loads.clear(), g_frees.clear();
  }
  const std::string start_ = kSystem.get_cwd();
};

// --- finding a library -------------------------------------------------------

// Directories are kept as given (a null one is not kept); the candidates
// made of them are not. A null name loads nothing.
TEST_F(LoaderTest, CandidatesCollapseSeparatorsBeforeTheBareName) {
  const std::string name = std::string(300, 'n') + "/x",
                    tail = std::string(300, 'n') + "\\x";
  for (const char* dir :
       {"libs/", "\\\\srv\\share\\", static_cast<const char*>(nullptr),
        "//srv/share", "C:/a\\\\b/"})
    L()->AddPath(dir);
  EXPECT_EQ(L()->LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(L()->LoadLibraryA(name.c_str()), nullptr);
  EXPECT_EQ(g_loads,
            (Names{"libs\\" + tail, "\\srv\\share\\" + tail,
                   "\\srv\\share\\" + tail, "C:\\a\\b\\" + tail, name}));
  EXPECT_STREQ(std::as_const(*L()).GetPath(3), "C:/a\\\\b/");
  EXPECT_EQ(L()->GetPath(4), nullptr);  // outside the list
  EXPECT_EQ(std::as_const(*L()).GetPath(-1), nullptr);
}

TEST_F(LoaderTest, FirstSearchDirectoryThatYieldsTheNameWins) {
  for (const std::string& dir : {kMissing, kOverride, kPlugins})
    L()->AddPath(dir.c_str());
  EXPECT_EQ(Folder(L()->LoadLibraryA(kAlpha.c_str())), "override");
  EXPECT_EQ(g_loads.size(), 2u);  // the missing directory, then the override
}

// A relative name is loaded from the working directory, one module per
// file: the bare name from two directories, then the search directory "."
// from both (one file under two spellings stays the module it is). Windows
// hands back the loaded module of the same base name for a bare name.
TEST_F(LoaderTest, EachFileOfOneNameIsAModuleOfItsOwn) {
  // clang-format off
  const struct { const char* label; bool dot; std::string cwd;
                 const char *folder, *on_windows; }
  kRows[] = {
    {"bare, plugins", false, kPlugins, "plugins", "plugins"},
    {"bare, override", false, kOverride, "override", "plugins"},
    {"dot, plugins", true, kPlugins, "plugins", "plugins"},
    {"dot, override", true, kOverride, "override", "override"},
  };
  // clang-format on
  std::map<std::string, HINSTANCE> first;  // the module of each folder
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.label);
    if (row.dot && L()->GetPathCount() == 0) L()->AddPath(".");
    ASSERT_TRUE(kSystem.set_cwd(row.cwd.c_str()));
    HINSTANCE module = L()->LoadLibraryA(kAlpha.c_str());
    const std::string folder = Folder(module);
    EXPECT_EQ(folder, kWindows ? row.on_windows : row.folder);
    EXPECT_EQ(module, first.emplace(folder, module).first->second);
  }
}

// --- symbols and failure reasons ---------------------------------------------

// Null arguments and missing names find nothing (dlsym would search the
// whole process for the C library's malloc given a null module).
TEST_F(LoaderTest, GetSymbolFindsOnlyWhatAModuleExports) {
  HINSTANCE alpha = L()->LoadLibraryA((kPlugins + kAlpha).c_str());
  EXPECT_EQ(Folder(alpha), "plugins");
  EXPECT_EQ(XDllLoader::GetSymbol(alpha, "morvane_plugin_missing"), nullptr);
  EXPECT_EQ(XDllLoader::GetSymbol(alpha, nullptr), nullptr);
  EXPECT_EQ(XDllLoader::GetSymbol(nullptr, "malloc"), nullptr);
}

// LastError after each call in turn: the reason names the file that exists
// but would not load (plugins/gamma, not the missing bare name tried after
// it), else the last name tried; a load or a null name empties it, calls
// other than loads keep it; for LoadLibraries the latest name that failed
// counts, even before a load (there gamma's bare name exists too: Windows
// names it as it was given).
TEST_F(LoaderTest, LastErrorSaysWhyTheLatestCallLoadedNothing) {
  L()->AddPath(kMissing.c_str());
  L()->AddPath(kPlugins.c_str());
  const std::string gamma = kPlugins + kGamma + ": ";
  // clang-format off
  const struct { const char* label; std::function<void()> call;
                 std::string reason; }
  kRows[] = {
    {"not a library", [] { L()->LoadLibraryA(kGamma.c_str()); }, gamma},
    {"none offered", [] { L()->LoadLibraries(kPlugins.c_str(), "z*"); }, ""},
    {"missing", [] { L()->LoadLibraryA("nowhere.x"); }, "nowhere.x: "},
    {"no load", [] { L()->GetSymbol(nullptr, "x"); L()->FreeAll(); },
     "nowhere.x: "},
    {"loaded", [] { L()->LoadLibraryA(kAlpha.c_str()); }, ""},
    {"empty name", [] { L()->LoadLibraryA(""); }, "empty library name"},
    {"null name", [] { L()->LoadLibraryA(nullptr); }, ""},
    {"a failure, then a load", [] {
       Calls().find_files = [](const char*) { return Names{kGamma, kAlpha}; };
       L()->LoadLibraries(kPlugins.c_str(), "*");
       Calls().find_files = kSystem.find_files;
     }, kWindows ? kGamma + ": " : gamma},
    {"null directory", [] { L()->LoadLibraries(nullptr, "*"); }, ""},
  };
  // clang-format on
  for (const auto& row : kRows) {
    CapturedStdout(row.call);  // no lines of loads shown
    const std::string reason = XDllLoader::LastError();
    EXPECT_EQ(reason.substr(0, row.reason.size()), row.reason) << row.label;
    EXPECT_EQ(reason.empty(), row.reason.empty())
        << row.label << ": " << reason;
  }
}

// --- records of the modules loaded -------------------------------------------

// Every module loaded is released once, oldest first: by FreeLibrary, which
// drops its first record (here at the front, or further on), or by FreeAll.
// Names that load nothing leave no record; a module that the loader did not
// load, or that the system does not release, drops none.
TEST_F(LoaderTest, EveryModuleLoadedIsReleasedOnceOldestFirst) {
  L()->AddPath(kPlugins.c_str());
  HINSTANCE other = kSystem.load_library((kOverride + kAlpha).c_str());
  EXPECT_TRUE(L()->FreeLibrary(other));
  EXPECT_FALSE(L()->FreeLibrary(nullptr));
  EXPECT_EQ(L()->LoadLibraryA(""), nullptr);
  Calls().load_library = [](const char*) -> HINSTANCE { return nullptr; };
  EXPECT_EQ(L()->LoadLibraryA(kBeta.c_str()), nullptr);
  Calls().load_library = kSystem.load_library;
  HINSTANCE a = L()->LoadLibraryA(kAlpha.c_str()),
            b = L()->LoadLibraryA(kBeta.c_str());
  L()->LoadLibraryA(kAlpha.c_str());
  EXPECT_TRUE(L()->FreeLibrary(a));  // records a b a: the front one goes
  L()->LoadLibraryA(kBeta.c_str()), L()->LoadLibraryA(kAlpha.c_str());
  EXPECT_TRUE(L()->FreeLibrary(a));  // b a b a: the second one goes
  L()->FreeAll();
  EXPECT_EQ(g_frees, (Modules{other, nullptr, a, a, b, b, a}));
}

// A copy shares the loader's directories and records; KillLoader on it once
// the instance is gone touches nothing.
TEST_F(LoaderTest, KillLoaderEndsTheInstanceAndTheNextStartsEmpty) {
  static XDllLoader* copy = new XDllLoader(*L());  // never deleted
  L()->AddPath(kPlugins.c_str());
  HINSTANCE beta = L()->LoadLibraryA(kBeta.c_str());
  *copy = *L();
  L()->KillLoader();
  copy->KillLoader();
  EXPECT_EQ(copy->GetPathCount(), 1);
  EXPECT_EQ(g_frees, Modules{beta});
  EXPECT_EQ(std::as_const(*L()).GetPath(0), nullptr);
  EXPECT_EQ(std::as_const(*L()).GetPathCount(), 0);
}

// --- loading a directory -----------------------------------------------------

// LoadLibraries enters the directory (or searches the current one when it
// cannot), offers LoadLibraryA every name that matches, prints a line for
// each that loads, and enters the directory it started in again, however
// long its name (null arguments: nothing of all this). Only '*' and '?' are
// wildcards: brackets and backslashes match themselves (a set or an escape
// would let more names through).
TEST_F(LoaderTest, LoadLibrariesLoadsTheMatchesOfADirectory) {
  const std::string wildcards = Dir("wildcards");
  const char *plugins = kPlugins.c_str(), *odd = wildcards.c_str(),
             *none = nullptr;
  // clang-format off
  const struct { const char* label; const char *dir, *pattern;
                 Names offered; std::string printed = "", start = kOverride; }
  kRows[] = {
    {"null directory", none, "*", {}}, {"null pattern", plugins, none, {}},
    {"entered", plugins, "a*", {kAlpha}, Line(kPlugins, kAlpha)},
    {"not entered", kMissing.c_str(), "a*", {kAlpha}, Line(kMissing, kAlpha)},
    {"not a library", plugins, "*m*", {kGamma}},
    {"from deep", plugins, "?et?*", {kBeta}, Line(kPlugins, kBeta), kDeep},
    {"[", odd, "lib[1].x", {"lib[1].x"}}, {"?", odd, "lib?.x", {"lib1.x"}},
    {"*", odd, "l*1*.x", {"lib1.x", "lib[12].x", "lib[1].x"}},
    {"* at the end", odd, "ab*", {"ab"}}, {"\\", odd, "a\\b", {"a\\b"}},
  };
  // clang-format on
  for (const auto& row : kRows) {
    // Windows names cannot hold a backslash.
    if (kWindows && row.label[0] == '\\') continue;
    SCOPED_TRACE(row.label);
    ASSERT_TRUE(kSystem.set_cwd(row.start.c_str()));
    g_loads.clear();
    EXPECT_EQ(CapturedStdout([&] { L()->LoadLibraries(row.dir, row.pattern); }),
              row.printed);
    std::sort(g_loads.begin(), g_loads.end());  // Windows: the system's order
    EXPECT_EQ(g_loads, row.offered);
    EXPECT_EQ((std::filesystem::path(kSystem.get_cwd()) / "").string(),
              row.start);
    L()->FreeAll();  // Windows would take a loaded alpha for any other alpha
  }
}

}  // namespace
