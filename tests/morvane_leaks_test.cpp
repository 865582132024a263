// morvane-leaks: the leak log reader, its summaries and its command line.
//
// Each directory of leaks/ is one run of the program inside it, with the
// arguments in its file `args` (else "bmemlog.log"); its expected.txt holds
// what the run prints on standard output, then "--- stderr" and what it
// prints there, then "--- exit" and its exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "leak_log_reader.h"
#include "leak_summary.h"
#include "leaks_tool.h"
#include "tracker/leak_report.h"

namespace morvane::leaks {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = MORVANE_LEAKS_CASES;

std::string ReadFile(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// What a reading gives, in words: its error or warnings and every site.
std::string Describe(LeakLog log) {
  std::ostringstream text;
  if (log.error) text << "error at " << log.error->line << '\n';
  for (const Issue& warning : log.warnings) {
    text << warning.line << ": " << warning.text << '\n';
  }
  Summary summary{"log", std::move(log), Grouping::kSite, {}, 0};
  summary.ranked = Rank(summary.log.sites, Grouping::kSite);
  WriteText(text, summary);
  return text.str();
}

class Run : public testing::TestWithParam<std::string> {};

TEST_P(Run, PrintsTheExpectedSummaryMessagesAndExitCode) {
  const fs::path dir = kCases / GetParam();
  std::vector<std::string> args;
  std::istringstream words(ReadFile(dir / "args"));
  for (std::string word; words >> word;) args.push_back(word);
  if (args.empty()) args.push_back("bmemlog.log");
  const fs::path home = fs::current_path();
  fs::current_path(dir);
  std::ostringstream out, err;
  const int code = RunLeaksTool(args, out, err);
  fs::current_path(home);
  EXPECT_EQ(out.str() + "--- stderr\n" + err.str() + "--- exit " +
                std::to_string(code) + "\n",
            ReadFile(dir / "expected.txt"));
}

INSTANTIATE_TEST_SUITE_P(Leaks, Run, testing::ValuesIn(CaseNames()),
                         [](const auto& info) { return info.param; });

TEST(LeakLogReader, ReadsTheSameInPiecesOfAnySize) {
  for (const std::string& name : CaseNames()) {
    const fs::path log = kCases / name / "bmemlog.log";
    if (!fs::exists(log)) continue;
    const std::string bytes = ReadFile(log);
    const std::string whole = Describe(ReadLeakLogFile(log.string()));
    for (const std::size_t piece : {1, 2, 5, 64}) {
      LeakLogReader reader;
      for (std::size_t at = 0; at < bytes.size(); at += piece) {
        reader.Feed(std::string_view(bytes).substr(at, piece));
      }
      EXPECT_EQ(Describe(reader.Finish()), whole) << name << ", " << piece;
    }
  }
}

TEST(LeakLogReader, ReadsWhatTheTrackerWrites) {
  const std::string long_name = std::string(3000, 'n') + ".cpp";
  const std::string log = "round_trip_bmemlog.log";
  {
    tracker::LeakReport report(log.c_str(), 11, 4);
    char names[][16] = {"a = b.cpp", "a = b.cpp", ""};
    report.Add({nullptr, 0xFFFFFFFFu, 3, names[0]});  // printed as -1
    report.Add({&report, 5, 3, names[1]});
    report.Add({nullptr, 7, INT_MIN, names[2]});
    report.Add({nullptr, 0, 1, const_cast<char*>(long_name.c_str())});
  }
  const LeakLog read = ReadLeakLogFile(log);
  std::remove(log.c_str());
  EXPECT_EQ(Describe(read),
            "log: 4294967307 bytes leaked in 4 blocks, from 3 call sites\n"
            "the log's own totals: 11 bytes in 4 blocks, which agree with its "
            "blocks\n\n"
            "       bytes   share  blocks     largest  call site\n"
            "  4294967300  100.0%       2  4294967295  a = b.cpp:3\n"
            "           7    0.0%       1           7  :-2147483648\n"
            "           0    0.0%       1           0  " +
                long_name + ":1\n");
}

TEST(LeakLogReader, StopsAtTheFirstLineOfAGibibyteThatIsNoLog) {
  const std::string path = "gibibyte_bmemlog.log";
  std::ofstream(path).put('x');
  fs::resize_file(path, std::uintmax_t{1} << 30);  // sparse where it can be
  const LeakLog read = ReadLeakLogFile(path);
  fs::remove(path);
  ASSERT_TRUE(read.error.has_value());
  EXPECT_EQ(read.error->line, 1u);
  LeakLogReader reader;  // which needs no more than the first kilobyte
  reader.Feed(std::string(1025, 'x'));
  EXPECT_TRUE(reader.Failed());
}

// Where the tags of an HTML page do not nest ("" when they all do).
std::string TagNestingFault(const std::string& page) {
  std::vector<std::string> open;
  for (std::size_t at = page.find('<'); at != std::string::npos;
       at = page.find('<', at + 1)) {
    const std::size_t end = page.find_first_of(" >", at);
    const std::string tag = page.substr(at + 1, end - at - 1);
    if (tag == "!DOCTYPE" || tag == "meta" || tag == "br") continue;
    if (tag[0] != '/') {
      open.push_back(tag);
    } else if (open.empty() || open.back() != tag.substr(1)) {
      return "<" + tag + "> at " + std::to_string(at);
    } else {
      open.pop_back();
    }
  }
  return open.empty() ? "" : "<" + open.back() + "> left open";
}

std::size_t Occurrences(const std::string& text, const std::string& word) {
  std::size_t count = 0;
  for (std::size_t at = text.find(word); at != std::string::npos;
       at = text.find(word, at + 1)) {
    ++count;
  }
  return count;
}

TEST(LeaksHtml, IsOnePageWithAChartOfTheLargestRowsAndTheWholeTable) {
  Summary summary;
  summary.name = "<log>";
  summary.top = 0;
  for (std::uint32_t i = 1; i <= 30; ++i) {
    summary.log.sites.push_back(
        {"a<b>&c'\".cpp", static_cast<int>(i), 1, i, i});
    summary.log.bytes += i;
  }
  summary.log.warnings = {{7, "a <warning>"}};
  summary.log.warning_count = 3;
  summary.ranked = Rank(summary.log.sites, Grouping::kSite);
  std::ostringstream page;
  WriteHtml(page, summary);
  const std::string html = page.str();
  EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html", 0), 0u);
  EXPECT_EQ(TagNestingFault(html), "");
  EXPECT_EQ(Occurrences(html, "<tr>"), 31u);    // the header and every row
  EXPECT_EQ(Occurrences(html, "<rect "), 25u);  // the largest rows
  EXPECT_EQ(Occurrences(html, "a&lt;b&gt;&amp;c&#39;&quot;.cpp:30"), 3u);
  EXPECT_EQ(Occurrences(html, "<b>"), 0u);
  EXPECT_EQ(Occurrences(html,
                        "<li>line 7: a &lt;warning&gt;</li>\n"
                        "<li>2 more warnings</li>"),
            1u);
  // Every bar and label lies inside the chart.
  const std::size_t svg = html.find("<svg height=\"");
  ASSERT_NE(svg, std::string::npos);
  const int height = std::stoi(html.substr(svg + 13));
  for (std::size_t at = html.find(" y=\"", svg); at < html.find("</svg>");
       at = html.find(" y=\"", at + 1)) {
    const int y = std::stoi(html.substr(at + 4));
    EXPECT_GE(y, 0);
    EXPECT_LT(y, height);
  }
  for (const char* outside : {"<script", "http", "src=", "url("}) {
    EXPECT_EQ(Occurrences(html, outside), 0u) << outside;
  }
}

}  // namespace
}  // namespace morvane::leaks
