/// @file
/// HINSTANCE, the handle of a loaded module that XDllLoader hands out and
/// takes back. It has a header of its own so that code beneath the loader
/// (the library's system layer) can name it without the loader.
#ifndef MORVANE_MODULE_HANDLE_H_
#define MORVANE_MODULE_HANDLE_H_

#ifdef _WIN32
/// The system's module type, as <windows.h> declares it.
struct HINSTANCE__;
/// A loaded module: the system's own HINSTANCE, so that <windows.h> may be
/// included beside this header.
using HINSTANCE = HINSTANCE__*;
#else
/// A loaded module: the handle that dlopen returns.
using HINSTANCE = void*;
#endif

#endif  // MORVANE_MODULE_HANDLE_H_
