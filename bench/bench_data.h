// Inputs shared by the benchmarks: built once, deterministically, so that
// every run and both sides of each pair see the same data.
#ifndef MORVANE_BENCH_BENCH_DATA_H_
#define MORVANE_BENCH_BENCH_DATA_H_

#include <cstddef>
#include <string>

namespace morvane::bench {

constexpr std::size_t kMiB = 1024 * 1024;

// Exactly 1 MiB of lower-case English words separated by single spaces, on
// one line. None of its words is "needle", and it holds no '#'.
const std::string& WordText();

// A word that the text does not hold, but whose first letters start many
// partial matches in it.
constexpr char kAbsentWord[] = "needle";

// Two words of the text that follow each other in it, the second one with a
// letter added: absent too, with long partial matches.
constexpr char kAbsentPhrase[] = "library systemx";

}  // namespace morvane::bench

#endif  // MORVANE_BENCH_BENCH_DATA_H_
