/// @file
/// Compiler attributes that the public headers attach to their declarations.
#ifndef MORVANE_ATTRIBUTES_H_
#define MORVANE_ATTRIBUTES_H_

/// Lets the compiler check the arguments of a printf-style member function:
/// `fmt_index` is the position of the format (the object counts as 1), and
/// `first_arg` that of the first variable argument. GCC for MinGW reads the
/// `printf` archetype as the Microsoft runtime's conversions (\%I64d, no \%zu),
/// which are the ones the DLL's formatter knows; elsewhere it means the C
/// library's. The check knows printf's grammar only: for a function whose
/// own grammar differs (XString::Format in C++17 code) it checks the
/// printf reading of the format, not the function's. Compilers without the
/// attribute check nothing.
#if defined(__GNUC__)
#define MORVANE_PRINTF_LIKE(fmt_index, first_arg) \
  __attribute__((format(printf, fmt_index, first_arg)))
#else
#define MORVANE_PRINTF_LIKE(fmt_index, first_arg)
#endif

#endif  // MORVANE_ATTRIBUTES_H_
