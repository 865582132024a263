/// @file
/// HINSTANCE, the handle of a loaded module that XDllLoader hands out and
/// takes back. It has a header of its own so that code beneath the loader
/// (the library's system layer) can name it without the loader.
#ifndef MORVANE_MODULE_HANDLE_H_
#define MORVANE_MODULE_HANDLE_H_

#include <filesystem>

/// The system's module type on Windows, as <windows.h> declares it.
struct HINSTANCE__;

namespace morvane::internal {

/// The module handle for a standard library whose paths are made of
/// `PathChar`: on POSIX systems (char paths) the handle that dlopen returns.
template <class PathChar>
struct ModuleHandleFor {
  /// void*, as dlopen gives it.
  using type = void*;
};

/// On Windows (the one system whose paths are made of wchar_t) the system's
/// own HINSTANCE, so that <windows.h> may be included beside this header.
template <>
struct ModuleHandleFor<wchar_t> {
  /// HINSTANCE__*, as <windows.h> declares HINSTANCE.
  using type = HINSTANCE__*;
};

}  // namespace morvane::internal

/// A loaded module: the system's HINSTANCE on Windows, the dlopen handle
/// (void*) elsewhere. Which of the two is chosen by the standard library's
/// own notion of the system (the character type of its paths), not by a
/// platform macro; the exported names of the loader stay those of either
/// system's handle.
using HINSTANCE =
    morvane::internal::ModuleHandleFor<std::filesystem::path::value_type>::type;

#endif  // MORVANE_MODULE_HANDLE_H_
