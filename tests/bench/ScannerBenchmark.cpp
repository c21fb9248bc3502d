// Cost of scanning a 1 MB text, line by line, against a few dozen patterns of the kinds the
// converter uses (markup spans, attribute names, link words, text commands).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "text/JParser.h"
#include "text/JReplaceParser.h"

namespace {

std::vector<std::string> MakeLines() {
  const char* samples[] = {
      "The quick brown fox jumps over the lazy dog, see http://example.org/page.html now.",
      "  1.2 Section heading with <b>bold</b> and *emphasis* and _underline_ words",
      "Mail: someone@example.com (call 555-1234 before 12:30) -- thanks!",
      "AAAAAAAAAAAAAAAAAAAAAAAB aaab aab [[TAG x=1]] {braces} ;;; ... !!!",
      "\tindented code line: for (int i = 0; i < 10; ++i) { total += i; }",
  };
  std::vector<std::string> lines;
  std::size_t total = 0;
  for (int i = 0; total < 1024 * 1024; ++i) {
    lines.emplace_back(samples[i % 5]);
    total += lines.back().size() + 1;
  }
  return lines;
}

int Consume(JParser&, JPattern&, JMatchState&, ParseBuffer&, int&, void*) {
  return kJNothingDone;
}

void AddPatterns(JParser& parser) {
  const char* patterns[] = {
      ">**<", "<**>", "[[**]]", "?Whref*W=", "?Wsrc*W=", "http|://", "ftp|://", "www.",
      "@%Z", "news:", "mailto:", "*Z.htm", "%1%1:%1%1", "AAB", "Section", "Chapter",
      "Appendix", "Figure", "Table %1", "|*?Z|*", "_?Z_", "(c)", "(r)", "(tm)", "--",
      "...", "e.g.", "i.e.", "Note:", "Warning:", "TODO", "FIXME", "$_$_", "{**}", "%1.%1",
      "lazy dog", "quick brown", "thanks", "before", "total",
  };
  for (const char* pattern : patterns) {
    if (parser.AddPattern(kJCallback, pattern, nullptr, 0, Consume, nullptr) == nullptr)
      std::abort();
  }
}

// Scans every line once per iteration. JReplaceParser::Scan hides JParser::Scan, hence the
// template.
template <class Parser>
void ScanEveryLine(benchmark::State& state, Parser& parser) {
  const std::vector<std::string> lines = MakeLines();
  std::size_t bytes = 0;
  for (const std::string& line : lines)
    bytes += line.size();
  for (auto _ : state) {
    for (const std::string& line : lines)
      benchmark::DoNotOptimize(parser.Scan(line.c_str(), nullptr, static_cast<int>(line.size())));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
  state.counters["patterns"] = static_cast<double>(parser.GetPatternCount());
}

void BM_ScanLines(benchmark::State& state) {
  JParser parser;
  AddPatterns(parser);
  ScanEveryLine(state, parser);
}
BENCHMARK(BM_ScanLines)->Unit(benchmark::kMillisecond);

void BM_ReplaceLines(benchmark::State& state) {
  JReplaceParser parser;
  const char* words[] = {"quick", "lazy", "bold", "section", "thanks", "total", "http|://",
                         "%1%1:%1%1", "*Z@", "--", "...", "AAB"};
  for (const char* word : words) {
    if (parser.AddPatternShort(kJReplace, word, "#", 0) == nullptr)
      std::abort();
  }
  ScanEveryLine(state, parser);
}
BENCHMARK(BM_ReplaceLines)->Unit(benchmark::kMillisecond);

void BM_ScanOneMegabyteLine(benchmark::State& state) {
  std::string text;
  for (const std::string& line : MakeLines()) {
    text += line;
    text += '\n';
  }
  JParser parser;
  AddPatterns(parser);
  for (auto _ : state)
    benchmark::DoNotOptimize(parser.Scan(text.c_str(), nullptr, static_cast<int>(text.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanOneMegabyteLine)->Unit(benchmark::kMillisecond);

}  // namespace
