// XString conversions: GetValue, GetFromUnicode, Trim, SplitPath.
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "platform/platform.h"
#include "strings/split_path.h"
#include "strings/xstring_internal.h"

using morvane::platform::kDriveRoom;
using morvane::platform::kPartRoom;
using morvane::strings::CopyText;
using morvane::strings::Install;
using morvane::strings::NewText;

namespace {

constexpr char kComma[] = ",";
constexpr char kPeriod[] = ".";

// Solid bytes are the printable, non-space ASCII ones; every other byte,
// 128 to 255 included whatever the locale says, is blank.
bool IsSolid(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 128 && std::isgraph(byte) != 0;
}

}  // namespace

double XString::GetValue() {
  Replace(0, kComma, kPeriod);
  return std::atof(text);
}

XString& XString::GetFromUnicode(const unsigned short* w) {
  static constexpr unsigned short kNoUnits[] = {0};
  if (w == nullptr) w = kNoUnits;
  int n = 0;
  while (w[n] != 0) ++n;
  char* new_text = NewText(n);
  for (int i = 0; i < n; ++i) new_text[i] = static_cast<char>(w[i] & 0xFF);
  new_text[n] = '\0';
  // Measured: the bytes after a unit whose low byte is zero stay in the
  // buffer uncounted.
  Install(*this, new_text, morvane::strings::Measure(new_text));
  return *this;
}

// Works over the whole buffer up to `length`, so appended zero characters
// count as blanks at the end.
XString& XString::Trim() {
  int first = 0;
  while (first < length && !IsSolid(text[first])) ++first;
  int last = length - 1;
  while (last >= first && !IsSolid(text[last])) --last;
  if (last < first) {
    Install(*this, CopyText("", 0), 0);
  } else if (first != 0 || last != length - 1) {
    const int size = last - first + 1;
    Install(*this, CopyText(text + first, size), size);
  }
  return *this;
}

const XString& XString::SplitPath(XString* drive, XString* dir, XString* fname,
                                  XString* ext) const {
  // Every part is split before any is assigned, so a pointer may name this
  // string itself.
  std::array<char, kDriveRoom> drive_part{};
  std::array<char, kPartRoom> dir_part{};
  std::array<char, kPartRoom> fname_part{};
  std::array<char, kPartRoom> ext_part{};
  char* const to_drive = drive != nullptr ? drive_part.data() : nullptr;
  char* const to_dir = dir != nullptr ? dir_part.data() : nullptr;
  char* const to_fname = fname != nullptr ? fname_part.data() : nullptr;
  char* const to_ext = ext != nullptr ? ext_part.data() : nullptr;
  // On Windows the C runtime's _splitpath splits, as documented; the
  // library's own rules, the same contract written out, split every path on
  // POSIX (no _splitpath there) and those that the runtime's call refuses.
  if (!morvane::platform::RuntimeSplitPath(text, to_drive, to_dir, to_fname,
                                           to_ext))
    morvane::strings::SplitPathByRules(text, to_drive, to_dir, to_fname,
                                       to_ext);
  if (drive != nullptr) *drive = drive_part.data();
  if (dir != nullptr) *dir = dir_part.data();
  if (fname != nullptr) *fname = fname_part.data();
  if (ext != nullptr) *ext = ext_part.data();
  return *this;
}

XString& XString::SplitPath(XString* drive, XString* dir, XString* fname,
                            XString* ext) {
  std::as_const(*this).SplitPath(drive, dir, fname, ext);
  return *this;
}
