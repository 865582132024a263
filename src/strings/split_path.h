// XString::SplitPath's own rules: the split that XString.h documents, for the
// paths that the C runtime's _splitpath does not split (every path on POSIX,
// which has none).
#ifndef MORVANE_SRC_STRINGS_SPLIT_PATH_H_
#define MORVANE_SRC_STRINGS_SPLIT_PATH_H_

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/platform.h"

namespace morvane::strings {

// Splits `path` like _splitpath: the drive is the first two characters when
// the second is a colon; the directory runs up to and including the last '/'
// or '\'; the extension runs from the last period of the rest, period
// included; the file name lies between. Each non-null buffer receives its
// part, zero-terminated and cut to its room: platform::kDriveRoom bytes for
// `drive`, platform::kPartRoom for the others.
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
  put(drive, platform::kDriveRoom, path, rest);

  const char* name = rest;
  for (const char* p = rest; *p != '\0'; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  put(dir, platform::kPartRoom, rest, name);

  const char* end = name + std::strlen(name);
  const char* dot = end;
  for (const char* p = name; p != end; ++p)
    if (*p == '.') dot = p;
  put(fname, platform::kPartRoom, name, dot);
  put(ext, platform::kPartRoom, dot, end);
}

}  // namespace morvane::strings

#endif  // MORVANE_SRC_STRINGS_SPLIT_PATH_H_
