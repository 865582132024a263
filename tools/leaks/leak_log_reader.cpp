#include "leak_log_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <utility>

#include "tracker/leak_log_format.h"

namespace morvane::leaks {
namespace {

using std::string_view;

// The log's lines, from the texts the tracker writes them with.
constexpr string_view WithoutLineEnds(string_view text) {
  while (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  while (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return text;
}
// Where `c` first stands in `text` (its size if nowhere). Indices rather than
// string_view::find, whose null test of a pointer GCC cannot evaluate at
// compile time under -fsanitize=undefined.
constexpr std::size_t IndexOf(string_view text, char c) {
  std::size_t at = 0;
  while (at < text.size() && text[at] != c) ++at;
  return at;
}
// The part of a printf format before its conversion.
constexpr string_view BeforeConversion(string_view format) {
  return format.substr(0, IndexOf(format, '%'));
}

constexpr string_view kBanner = WithoutLineEnds(tracker::kLogBanner);
constexpr string_view kRule = WithoutLineEnds(tracker::kLogRule);
constexpr string_view kTimestamp = BeforeConversion(tracker::kLogTimestamp);
constexpr string_view kTotalSize = BeforeConversion(tracker::kLogTotalSize);
constexpr string_view kTotalCount = BeforeConversion(tracker::kLogTotalCount);
constexpr string_view kBlockTop = WithoutLineEnds(tracker::kLogBlockTop);
constexpr string_view kSizeLabel = WithoutLineEnds(tracker::kLogBlockSize);
constexpr string_view kSourceLabel = WithoutLineEnds(tracker::kLogBlockSource);
constexpr string_view kLineLabel = WithoutLineEnds(tracker::kLogBlockLine);
constexpr string_view kPointerLabel =
    WithoutLineEnds(tracker::kLogBlockPointer);
constexpr string_view kBlockBottom = WithoutLineEnds(tracker::kLogBlockBottom);
constexpr string_view kEndLines = WithoutLineEnds(tracker::kLogEnd);
constexpr string_view kEndRule = kEndLines.substr(0, IndexOf(kEndLines, '\n'));
constexpr string_view kEndWord = kEndLines.substr(IndexOf(kEndLines, '\n') + 1);

// Every line but a source file's name is short; a longer one is a fault,
// and only its length is kept while it is read.
constexpr std::size_t kShortLineLimit = 1024;
constexpr std::size_t kReadPiece = std::size_t{1} << 18;
constexpr int kMaxHexDigits = 16;

std::string Quoted(string_view text) {
  std::string quoted = "\"";
  quoted.append(text.data(), text.size());
  quoted += '"';
  return quoted;
}

std::string LabelAnd(string_view label, const char* value) {
  return Quoted(label) + " and " + value;
}

// A value printed by "%d": an optional minus sign and the digits, without
// leading zeros, within 32 bits.
std::optional<std::int32_t> ParseDecimal(string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  if (text.front() == '0' && (text.size() > 1 || negative)) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

// A pointer printed by "%x": lower-case hexadecimal digits without leading
// zeros, at most 64 bits.
bool IsHex(string_view text) {
  if (text.empty() || text.size() > kMaxHexDigits) return false;
  if (text.front() == '0' && text.size() > 1) return false;
  for (const char c : text) {
    if ((c < '0' || c > '9') && (c < 'a' || c > 'f')) return false;
  }
  return true;
}

// A total line, which must be exactly what `format` makes of its value.
std::optional<std::int32_t> ParseTotal(string_view line, const char* format) {
  const string_view prefix = BeforeConversion(format);
  if (line.substr(0, prefix.size()) != prefix) return std::nullopt;
  string_view rest = line.substr(prefix.size());
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const std::size_t digits = rest.find_first_not_of("-0123456789");
  const std::optional<std::int32_t> value =
      ParseDecimal(rest.substr(0, digits));
  if (!value) return std::nullopt;
  char expected[kShortLineLimit];
  std::snprintf(expected, sizeof expected, format, *value);
  if (WithoutLineEnds(expected) != line) return std::nullopt;
  return value;
}

bool StartsWith(string_view text, string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool LeakLog::TotalsAgree() const {
  return static_cast<std::uint32_t>(bytes) ==
             static_cast<std::uint32_t>(logged_bytes) &&
         static_cast<std::uint32_t>(blocks) ==
             static_cast<std::uint32_t>(logged_blocks);
}

std::size_t LeakLogReader::SiteKeyHash::operator()(const SiteKey& key) const {
  return std::hash<string_view>()(key.file) ^
         (static_cast<std::size_t>(static_cast<std::uint32_t>(key.line)) *
          0x9e3779b9u);
}

std::size_t LeakLogReader::LineLimit() const {
  return expect_ == Expect::kSource ? std::string::npos : kShortLineLimit;
}

void LeakLogReader::Feed(string_view piece) {
  while (!piece.empty() && !Failed()) {
    const auto* end =
        static_cast<const char*>(std::memchr(piece.data(), '\n', piece.size()));
    const std::size_t length =
        end != nullptr ? static_cast<std::size_t>(end - piece.data())
                       : piece.size();
    const string_view text = piece.substr(0, length);
    if (end != nullptr && partial_.empty() && !partial_too_long_) {
      Line(text, false);
    } else {
      // A line that runs on into the next piece is kept, up to the limit.
      if (!partial_too_long_ && partial_.size() + length > LineLimit()) {
        partial_too_long_ = true;
        std::string().swap(partial_);
        // Such a line ends the reading of a header at once: a file that is
        // no log need not be read to its first line end.
        if (expect_ < Expect::kBlockOrEnd) return Line(partial_, true);
      }
      if (!partial_too_long_) partial_.append(text.data(), text.size());
      if (end == nullptr) return;
      Line(partial_, partial_too_long_);
      partial_.clear();
      partial_too_long_ = false;
    }
    piece.remove_prefix(length + 1);
  }
}

LeakLog LeakLogReader::Finish() {
  // The last line, if the file does not end with a line end.
  if (!Failed() && (!partial_.empty() || partial_too_long_)) {
    Line(partial_, partial_too_long_);
  }
  if (!Failed()) {
    switch (expect_) {
      case Expect::kSize:
      case Expect::kSource:
      case Expect::kLine:
      case Expect::kPointer:
      case Expect::kBottom:
        ++log_.skipped_blocks;
        Warn(line_number_, "block skipped (from line " +
                               std::to_string(block_line_) +
                               "): the file ends inside it");
        [[fallthrough]];
      case Expect::kBlockOrEnd:
      case Expect::kEmptyAfterBlock:
      case Expect::kNextBlock:
        Warn(line_number_, "the file ends without the closing " +
                               Quoted(kEndRule) + " and " + Quoted(kEndWord) +
                               " lines: it may have been cut off");
        break;
      case Expect::kEof:
        Warn(line_number_, "the file ends without " + Quoted(kEndWord) +
                               " after " + Quoted(kEndRule));
        break;
      case Expect::kAfterEof:
      case Expect::kIgnoreRest:
        break;
      default:
        Fail(line_number_ + 1,
             "not a leak log: the file ends inside the log's header");
        break;
    }
  }
  site_index_.clear();
  for (std::size_t i = 0; i < log_.sites.size(); ++i) {
    log_.sites[i].file = std::move(names_[i]);
  }
  names_.clear();
  return std::move(log_);
}

void LeakLogReader::Line(string_view line, bool too_long) {
  ++line_number_;
  too_long = too_long || line.size() > LineLimit();
  if (line_number_ == 1) crlf_ = !line.empty() && line.back() == '\r';
  if (crlf_ && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  // No line of a log holds a zero byte: the file names come from C strings.
  const bool valid =
      !too_long && std::memchr(line.data(), '\0', line.size()) == nullptr;
  if (expect_ < Expect::kBlockOrEnd) {
    HeaderLine(line, valid);
  } else {
    BlockLine(line, valid);
  }
}

void LeakLogReader::HeaderLine(string_view line, bool valid) {
  std::optional<std::int32_t> total;
  std::string what = "an empty line";
  switch (expect_) {
    case Expect::kBanner:
      if (valid && line == kBanner) return Next(Expect::kRule);
      what = Quoted(kBanner);
      break;
    case Expect::kRule:
      if (valid && line == kRule) return Next(Expect::kTimestamp);
      what = Quoted(kRule);
      break;
    case Expect::kTimestamp:
      if (valid && StartsWith(line, kTimestamp)) {
        return Next(Expect::kTimestampEnd);
      }
      what = LabelAnd(kTimestamp, "the time");
      break;
    // asctime's own line end, then the empty line of the format.
    case Expect::kTimestampEnd:
      if (valid && line.empty()) return Next(Expect::kEmptyAfterTimestamp);
      break;
    case Expect::kEmptyAfterTimestamp:
      if (valid && line.empty()) return Next(Expect::kTotalSize);
      break;
    case Expect::kEmptyAfterTotals:
      if (valid && line.empty()) return Next(Expect::kBlockOrEnd);
      break;
    case Expect::kTotalSize:
      if (valid) total = ParseTotal(line, tracker::kLogTotalSize);
      if (total) {
        log_.logged_bytes = *total;
        return Next(Expect::kTotalCount);
      }
      what = LabelAnd(kTotalSize, "the total size");
      break;
    default:  // Expect::kTotalCount
      if (valid) total = ParseTotal(line, tracker::kLogTotalCount);
      if (total) {
        log_.logged_blocks = *total;
        return Next(Expect::kEmptyAfterTotals);
      }
      what = LabelAnd(kTotalCount, "the number of blocks");
      break;
  }
  Fail(line_number_, "not a leak log: expected " + what);
}

void LeakLogReader::BlockLine(string_view line, bool valid) {
  const auto value_after = [&](string_view label) {
    return valid && StartsWith(line, label)
               ? std::optional<string_view>(line.substr(label.size()))
               : std::nullopt;
  };
  std::optional<string_view> value;
  std::optional<std::int32_t> number;
  switch (expect_) {
    case Expect::kSize:
      if ((value = value_after(kSizeLabel)) &&
          (number = ParseDecimal(*value))) {
        block_size_ = static_cast<std::uint32_t>(*number);
        return Next(Expect::kSource);
      }
      return SkipBlock(line, valid, LabelAnd(kSizeLabel, "a number"));
    case Expect::kSource:
      if ((value = value_after(kSourceLabel))) {
        block_file_.assign(value->data(), value->size());
        return Next(Expect::kLine);
      }
      return SkipBlock(line, valid, LabelAnd(kSourceLabel, "a file name"));
    case Expect::kLine:
      if ((value = value_after(kLineLabel)) &&
          (number = ParseDecimal(*value))) {
        block_source_line_ = *number;
        return Next(Expect::kPointer);
      }
      return SkipBlock(line, valid, LabelAnd(kLineLabel, "a number"));
    case Expect::kPointer:
      if ((value = value_after(kPointerLabel)) && IsHex(*value)) {
        return Next(Expect::kBottom);
      }
      return SkipBlock(line, valid,
                       LabelAnd(kPointerLabel, "a hexadecimal address"));
    case Expect::kBottom:
      if (valid && line == kBlockBottom) {
        AddBlock();
        return Next(Expect::kEmptyAfterBlock);
      }
      return SkipBlock(line, valid, Quoted(kBlockBottom));
    case Expect::kEmptyAfterBlock:
      if (valid && line.empty()) return Next(Expect::kBlockOrEnd);
      Warn(line_number_,
           "expected an empty line; skipped up to the next block");
      return Resync(line, valid);
    case Expect::kEof:
      if (valid && line == kEndWord) return Next(Expect::kAfterEof);
      Warn(line_number_, "expected " + Quoted(kEndWord) + " after " +
                             Quoted(kEndRule) +
                             "; skipped up to the next block");
      return Resync(line, valid);
    case Expect::kAfterEof:
      Warn(line_number_, "text after " + Quoted(kEndWord) + " ignored");
      return Next(Expect::kIgnoreRest);
    case Expect::kIgnoreRest:
      return;
    case Expect::kBlockOrEnd:
      if (!(valid && (line == kBlockTop || line == kEndRule))) {
        Warn(line_number_,
             "unexpected text skipped up to the next block: "
             "expected " +
                 Quoted(kBlockTop) + " or " + Quoted(kEndRule));
      }
      return Resync(line, valid);
    default:  // Expect::kNextBlock
      return Resync(line, valid);
  }
}

void LeakLogReader::Resync(string_view line, bool valid) {
  if (valid && line == kBlockTop) {
    block_line_ = line_number_;
    expect_ = Expect::kSize;
  } else if (valid && line == kEndRule) {
    expect_ = Expect::kEof;
  } else {
    expect_ = Expect::kNextBlock;
  }
}

void LeakLogReader::SkipBlock(string_view line, bool valid,
                              const std::string& expected) {
  ++log_.skipped_blocks;
  Warn(line_number_, "block skipped (from line " + std::to_string(block_line_) +
                         "): expected " + expected);
  Resync(line, valid);
}

void LeakLogReader::AddBlock() {
  const SiteKey key{block_file_, block_source_line_};
  auto found = site_index_.find(key);
  if (found == site_index_.end()) {
    names_.push_back(block_file_);
    found = site_index_
                .emplace(SiteKey{names_.back(), block_source_line_},
                         log_.sites.size())
                .first;
    log_.sites.emplace_back();
    log_.sites.back().line = block_source_line_;
  }
  Site& site = log_.sites[found->second];
  ++site.blocks;
  site.bytes += block_size_;
  if (block_size_ > site.largest) site.largest = block_size_;
  ++log_.blocks;
  log_.bytes += block_size_;
}

void LeakLogReader::Fail(std::uint64_t line, std::string text) {
  log_.error = Issue{line, std::move(text)};
}

void LeakLogReader::Warn(std::uint64_t line, std::string text) {
  ++log_.warning_count;
  if (log_.warnings.size() < kMaxWarnings) {
    log_.warnings.push_back(Issue{line, std::move(text)});
  }
}

LeakLog ReadLeakLogFile(const std::string& path) {
  const auto failure = [](const char* what) {
    LeakLog log;
    log.error = Issue{0, std::string(what) + std::strerror(errno)};
    return log;
  };
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return failure("cannot open it: ");
  try {
    const auto buffer = std::make_unique<char[]>(kReadPiece);
    LeakLogReader reader;
    while (!reader.Failed()) {
      const std::size_t size =
          std::fread(buffer.get(), 1, kReadPiece, file.get());
      if (size == 0) break;
      reader.Feed(string_view(buffer.get(), size));
    }
    if (std::ferror(file.get())) return failure("cannot read it: ");
    return reader.Finish();
  } catch (const std::bad_alloc&) {
    // A file name of gigabytes, where memory is short.
    LeakLog log;
    log.error = Issue{0, "not enough memory to read it"};
    return log;
  }
}

}  // namespace morvane::leaks
