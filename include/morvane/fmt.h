/// @file
/// Formatting XString with the fmt library: `fmt::format("{}", s)`.
///
/// Optional: include it only where fmt is available; the library itself
/// neither includes nor links fmt. The text (up to its first zero byte) is
/// formatted as a string, so every option of a string field applies
/// (`{:>8}`, `{:.3}`).
#ifndef MORVANE_FMT_H_
#define MORVANE_FMT_H_

#include <fmt/format.h>
#include <morvane/XString.h>

#include <string_view>

namespace fmt {

/// Formats an XString as the text it holds, with fmt's string formatting.
template <>
struct formatter<XString> : formatter<string_view> {
  /// Writes the text of `s` to the context's output.
  template <class FormatContext>
  auto format(const XString& s, FormatContext& context) const {
    const std::string_view text = s;
    return formatter<string_view>::format(string_view(text.data(), text.size()),
                                          context);
  }
};

}  // namespace fmt

#endif  // MORVANE_FMT_H_
