// The path-splitting rules of XString::SplitPath, for platforms whose C
// runtime has no _splitpath (and for the paths a runtime's own cannot cut).
#ifndef MORVANE_SRC_STRINGS_PATH_RULES_H_
#define MORVANE_SRC_STRINGS_PATH_RULES_H_

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace morvane::strings {

// Buffer sizes of the four parts, terminator included.
inline constexpr std::size_t kDriveRoom = 3;
inline constexpr std::size_t kPartRoom = 256;

// Splits `path`: the drive is the first two characters when the second is a
// colon; the directory runs up to and including the last '/' or '\'; the
// extension runs from the last period of the rest, period included; the file
// name lies between. Each non-null buffer receives its part, cut to its room
// (kDriveRoom for `drive`, kPartRoom for the others) and zero-terminated.
inline void SplitPathByRules(const char* path, char* drive, char* dir,
                             char* fname, char* ext) {
  auto put = [](char* out, std::size_t room, const char* from, const char* to) {
    if (out == nullptr) return;
    const std::size_t size =
        std::min(static_cast<std::size_t>(to - from), room - 1);
    std::memcpy(out, from, size);
    out[size] = '\0';
  };

  const char* rest = path;
  if (path[0] != '\0' && path[1] == ':') rest = path + 2;
  put(drive, kDriveRoom, path, rest);

  const char* name = rest;
  for (const char* p = rest; *p != '\0'; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  put(dir, kPartRoom, rest, name);

  const char* end = name + std::strlen(name);
  const char* dot = end;
  for (const char* p = name; p != end; ++p)
    if (*p == '.') dot = p;
  put(fname, kPartRoom, name, dot);
  put(ext, kPartRoom, dot, end);
}

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_PATH_RULES_H_
