#include "text/ProtectedSpans.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Spans = std::vector<std::pair<int, int>>;

// Every span of text, walked as the word conversions walk it.
Spans AllSpans(const char* text, const char* tagStart, const char* tagEnd) {
  const TextString line(text);
  const TextString start(tagStart);
  const TextString end(tagEnd);
  ProtectedSpanFinder finder(line, start, end);
  Spans spans;
  int from = 0;
  int spanStart = 0;
  int spanEnd = 0;
  while (finder.Next(from, spanStart, spanEnd)) {
    spans.emplace_back(spanStart, spanEnd);
    from = std::max(spanEnd, spanStart + 1);
  }
  return spans;
}

TEST(ProtectedSpanFinder, FindsEachKindOfSpanInOrder) {
  struct Case {
    const char* text;
    const char* tagStart;
    const char* tagEnd;
    Spans spans;
  };
  const Case cases[] = {
      {"plain words only", "[[", "]]", {}},
      {"x <a href=y>link</a> z", "[[", "]]", {{2, 20}}},
      {"<A>up</A> after", "[[", "]]", {{0, 9}}},
      // Only "<a" before a blank or ">" opens an anchor.
      {"<abbr>x</abbr><area>", "[[", "]]", {}},
      {"see <a", "[[", "]]", {}},
      {"see <", "[[", "]]", {}},
      {"<a\tb> unfinished", "[[", "]]", {{0, 16}}},
      // A field ends with the second "}}}" after its start.
      {"a {\\field{x}}}{y}}} b", "[[", "]]", {{2, 19}}},
      {"{\\field{x}}} unfinished", "[[", "]]", {{0, 23}}},
      {"a [[b]] c", "[[", "]]", {{2, 7}}},
      {"[[t]] <a>u</a>", "[[", "]]", {{0, 5}, {6, 14}}},
      {"[[t]] <a>u</a>", "", "", {{6, 14}}},
      {"[[open to the end", "[[", "]]", {{0, 17}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(AllSpans(c.text, c.tagStart, c.tagEnd), c.spans);
  }
}

}  // namespace
