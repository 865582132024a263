// morvane/export.h: the macro that marks the library's exported classes and
// functions, and the few declarations that differ between Windows and the
// other platforms in the public headers.
//
// MORVANE_API is dllexport while the DLL itself is built (MORVANE_BUILDING),
// dllimport for its users, and default ELF visibility elsewhere (the library
// is compiled with hidden visibility, so only marked names are exported).
// MORVANE_STATIC makes it empty, for code linked against the static archive.
#ifndef MORVANE_EXPORT_H_
#define MORVANE_EXPORT_H_

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

// Lets the compiler check printf-style arguments of XStringBuf::Append.
// On Windows the library formats with the runtime's own _vsnprintf, so the
// Microsoft conversions apply there (%I64d, no %zu or %lld).
#if defined(__MINGW32__)
#define MORVANE_PRINTF_LIKE(fmt_index, first_arg) \
  __attribute__((format(ms_printf, fmt_index, first_arg)))
#elif defined(__GNUC__)
#define MORVANE_PRINTF_LIKE(fmt_index, first_arg) \
  __attribute__((format(printf, fmt_index, first_arg)))
#else
#define MORVANE_PRINTF_LIKE(fmt_index, first_arg)
#endif

// The module handle of XDllLoader. On Windows it is the system's own HINSTANCE
// (declared here exactly as <windows.h> declares it, so both may be included);
// elsewhere it is the handle that dlopen returns.
#if defined(_WIN32)
struct HINSTANCE__;
typedef struct HINSTANCE__* HINSTANCE;
#else
using HINSTANCE = void*;
#endif

#endif  // MORVANE_EXPORT_H_
