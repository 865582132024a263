/// @file
/// The macro that marks the library's exported classes and functions.
///
/// MORVANE_API is dllexport while the DLL itself is built (MORVANE_BUILDING),
/// dllimport for its users, and default ELF visibility elsewhere (the library
/// is compiled with hidden visibility, so only marked names are exported).
/// MORVANE_STATIC makes it empty, for code linked against the static archive.
#ifndef MORVANE_EXPORT_H_
#define MORVANE_EXPORT_H_

/// @def MORVANE_API
/// Marks a class or function of the library's exported interface.

#if defined(MORVANE_STATIC)
#define MORVANE_API
#elif defined(_WIN32) || defined(__CYGWIN__)
#if defined(MORVANE_BUILDING)
#define MORVANE_API __declspec(dllexport)
#else
#define MORVANE_API __declspec(dllimport)
#endif
#else
#define MORVANE_API __attribute__((visibility("default")))
#endif

#endif  // MORVANE_EXPORT_H_
