// The README's tour of the library, as one program, so that every snippet
// there keeps compiling and running. Each block between the "snippet" marks
// is quoted in README.md word for word (tour_snippets checks that).
#include <morvane/X3DMath.h>
#include <morvane/XDllLoader.h>
#include <morvane/XString.h>
#include <morvane/XStringBuf.h>
#include <morvane/XVector.h>
#include <morvane/bmem.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

void TrackedAllocation() {
  // snippet: bmem
  void* block = _b_new(64, __FILE__, __LINE__);
  std::printf("%ld bytes in %ld block(s)\n", _b_getusedmem(), _b_getmemcount());
  _b_delete(block, __FILE__, __LINE__);  // forget this and bmemlog.log says so
  // end snippet
}

void Strings() {
  // snippet: xstring
  XString path("C:/data//scenes/hall.obj");
  path.ReplaceAll(0, "/", "\\");     // C:\data\\scenes\hall.obj
  path.ReplaceAll(0, "\\\\", "\\");  // C:\data\scenes\hall.obj
  XString dir, name, ext;
  path.SplitPath(nullptr, &dir, &name, &ext);  // \data\scenes\  hall  .obj
  int slash = path.ReverseFind(path.Length(), "\\");  // 14
  XString label;
  label.Format("%s%s in %s", name.GetPtr(), ext.GetPtr(), dir.GetPtr());
  XString number("  3,25 ");
  double value = number.Trim().GetValue();  // 3.25; number now holds "3.25"
  std::printf("%s, last \\ at %d, value %g\n", label.GetPtr(), slash, value);
  // end snippet
}

void ModernStrings() {
  // snippet: xstring_modern
  std::set<XString> names{XString("b.obj"), XString("a.obj")};  // by text
  XString first = "scene/" + *names.begin();                    // scene/a.obj
  long dots = std::count(first.begin(), first.end(), '.');      // 1
  if (first != "scene/a.obj" || first.empty()) std::puts("never printed");
  std::printf("%s has %ld dot(s)\n", first.c_str(), dots);
  // end snippet
}

void Tokens() {
  // snippet: tokenize
  XString line("red, green,,blue");
  XVector<XString> words;
  line.Tokenize(&words, ", ");  // red | green | blue: no empty tokens
  for (int i = 0; i < words.Count(); ++i)
    std::printf("%s\n", words[i].GetPtr());
  // end snippet
}

void TextBuffer() {
  // snippet: xstringbuf
  XStringBuf report(32);  // doubles whenever a piece does not fit
  report.Append("%-8s %8s\n", "asset", "bytes");
  report.Append("%-8s %8d\n", "mesh", 120000);
  std::fputs(report.GetPtr(), stdout);
  report.Empty();  // keeps the grown buffer for the next round
  // end snippet
}

void Loader() {
  // snippet: loader
  XDllLoader* loader = XDllLoader::GetLoader();
  loader->AddPath("plugins");  // search directories are tried in order
  loader->LoadLibraries("plugins", "*.plugin");  // every match, recorded
  HINSTANCE extra = loader->LoadLibraryA("extra.plugin");  // null if not found
  if (extra == nullptr) {
    std::printf("extra not loaded: %s\n", XDllLoader::LastError());
  } else if (void* entry = XDllLoader::GetSymbol(extra, "plugin_main")) {
    reinterpret_cast<void (*)()>(entry)();  // its real type
  }
  std::printf("%d search path(s)\n", loader->GetPathCount());
  loader->KillLoader();  // releases everything it loaded, oldest first
  // end snippet
}

void Geometry() {
  // snippet: x3dmath
  // Rows are: constant = a*x0 + b*x1 + c*x2 (the constant term comes first).
  float m[3][4] = {{6, 1, 1, 1}, {19, 0, 2, 5}, {9, 2, 5, -1}};
  float x[3];
  X3DMath::SolveSystem(m, 4, 3, x);  // x = 1, 2, 3

  const float a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {0, 1, 0};
  const float from[3] = {0.25f, 0.25f, 1}, to[3] = {0.25f, 0.25f, -1};
  float t, u, v;
  bool hit = X3DMath::IntersectPolygon(a, b, c, from, to, &t, &u, &v);
  // hit, t = 0.5; the point is A + u*(B - A) + v*(C - A) with u = v = 0.25
  std::printf("x = %g %g %g; %s at t = %g\n", x[0], x[1], x[2],
              hit ? "hit" : "miss", t);
  // end snippet
}

}  // namespace

int main() {
  TrackedAllocation();
  Strings();
  ModernStrings();
  Tokens();
  TextBuffer();
  Loader();
  Geometry();
  return 0;
}
