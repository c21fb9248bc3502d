// Whole conversions as a user runs them: kvlcons turns documents into RTF, and a real RTF
// reader (LibreOffice, headless) opens each result. The checks are those a user makes: the
// file opens, the words come through in order with the right characters, and headings,
// links and tables arrive as such.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "support/Kvlcons.h"
#include "support/Soffice.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(KELVANE_FIXTURES_DIR) / "e2e";
const fs::path kCorpus = fs::path(KELVANE_CORPUS_DIR);

// Empty when the RTF's groups nest properly: one outer group that closes at the end, escaped
// braces and backslashes not counted; else what is wrong.
std::string BraceFault(const std::string& rtf) {
  if (rtf.rfind("{\\rtf1", 0) != 0)
    return "does not start with {\\rtf1";
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '\\') {
      ++i;  // the escaped character, or the first letter of a control word
      continue;
    }
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0)
        return "a } closes nothing at byte " + std::to_string(i);
      if (depth == 0 && rtf.find_first_not_of(" \r\n", i + 1) != std::string::npos)
        return "text after the document's closing brace at byte " + std::to_string(i);
    }
  }
  return depth == 0 ? std::string() : std::to_string(depth) + " groups left open";
}

// The words of text: runs of ASCII letters and digits of two characters or more that are not
// all digits (numbers become bullet labels and page numbers, single letters bullet marks).
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  auto flush = [&] {
    if (word.size() >= 2 &&
        !std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); }))
      words.push_back(word);
    word.clear();
  };
  for (const unsigned char c : text) {
    if (c < 0x80 && std::isalnum(c))
      word += static_cast<char>(c);
    else
      flush();
  }
  flush();
  return words;
}

struct OrderResult {
  std::size_t found = 0;
  std::vector<std::string> missing;  // the first few words not found in order
};

// Follows the input's words through the output in order. A word is found where it starts
// the same run of up to three words in the output, within the next window of output words;
// a word not found counts as missing and the search goes on from where it was, so one
// dropped word does not make every later word missing.
OrderResult WordsInOrder(const std::vector<std::string>& input,
                         const std::vector<std::string>& output) {
  constexpr std::size_t kWindow = 400;
  constexpr std::size_t kRun = 3;
  OrderResult result;
  std::size_t at = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    const std::size_t end = std::min(output.size(), at + kWindow);
    std::size_t found = end;
    for (std::size_t p = at; p < end && found == end; ++p) {
      bool same = true;
      for (std::size_t k = 0; k < kRun && same && i + k < input.size() && p + k < output.size(); ++k)
        same = output[p + k] == input[i + k];
      if (same)
        found = p;
    }
    if (found != end) {
      ++result.found;
      at = found + 1;
    } else if (result.missing.size() < 20) {
      result.missing.push_back(input[i]);
    }
  }
  return result;
}

// Input words that the output lacks, with what the output holds fewer of: every word of the
// input must arrive as often as it stands there.
std::vector<std::string> LostWords(const std::vector<std::string>& input,
                                   const std::vector<std::string>& output) {
  std::unordered_map<std::string, long> balance;
  for (const std::string& w : input)
    ++balance[w];
  for (const std::string& w : output)
    --balance[w];
  std::vector<std::string> lost;
  for (const auto& [word, count] : balance) {
    if (count > 0)
      lost.push_back(word + " (" + std::to_string(count) + ")");
  }
  std::sort(lost.begin(), lost.end());
  return lost;
}

struct ReadingOrder {
  std::size_t anchors = 0;         // runs of words found once in the input and the output
  std::size_t anchorsInOrder = 0;  // of them, the longest chain in the same order
  std::size_t found = 0;           // input words found between their own anchors
  std::size_t widestGap = 0;       // most input words between two anchors of the chain
};

// The order of a whole document's words when a table may read its cells otherwise than its
// lines: a cell that gathers the lines of a multi-line row comes before the next cell of the
// row. Runs of kRun words that occur exactly once in the input and once in the output are
// anchors; the longest chain of anchors in the same order in both cuts both texts into
// stretches, and an input word is in order when its own stretch of the output holds it.
// Words moved past an anchor, text moved out of its place and scrambled stretches all show.
ReadingOrder WordsInReadingOrder(const std::vector<std::string>& input,
                                 const std::vector<std::string>& output) {
  constexpr std::size_t kRun = 5;
  ReadingOrder result;
  // Where each run of the input and of the output first starts and how often it occurs.
  struct Seen {
    std::size_t at = 0;
    int count = 0;
  };
  auto runs = [](const std::vector<std::string>& words) {
    std::unordered_map<std::string, Seen> seen;
    std::string key;
    for (std::size_t i = 0; i + kRun <= words.size(); ++i) {
      key.clear();
      for (std::size_t k = 0; k < kRun; ++k)
        key += words[i + k] + ' ';
      Seen& s = seen[key];
      if (s.count++ == 0)
        s.at = i;
    }
    return seen;
  };
  const auto inputRuns = runs(input);
  const auto outputRuns = runs(output);
  std::vector<std::pair<std::size_t, std::size_t>> pairs;  // (input index, output index)
  for (const auto& [key, s] : inputRuns) {
    const auto it = outputRuns.find(key);
    if (s.count == 1 && it != outputRuns.end() && it->second.count == 1)
      pairs.emplace_back(s.at, it->second.at);
  }
  std::sort(pairs.begin(), pairs.end());
  result.anchors = pairs.size();

  // The longest chain of anchors whose output indexes rise with their input indexes.
  std::vector<std::size_t> tails;  // per chain length, the pair ending the best chain
  std::vector<std::size_t> before(pairs.size(), SIZE_MAX);
  for (std::size_t n = 0; n < pairs.size(); ++n) {
    const auto place = std::lower_bound(
        tails.begin(), tails.end(), pairs[n].second,
        [&](std::size_t tail, std::size_t value) { return pairs[tail].second < value; });
    if (place != tails.begin())
      before[n] = *(place - 1);
    if (place == tails.end())
      tails.push_back(n);
    else
      *place = n;
  }
  std::vector<std::pair<std::size_t, std::size_t>> chain;
  for (std::size_t n = tails.empty() ? SIZE_MAX : tails.back(); n != SIZE_MAX; n = before[n])
    chain.push_back(pairs[n]);
  std::reverse(chain.begin(), chain.end());
  result.anchorsInOrder = chain.size();

  chain.insert(chain.begin(), {0, 0});
  chain.emplace_back(input.size(), output.size());
  std::unordered_map<std::string, long> stretch;
  for (std::size_t n = 0; n + 1 < chain.size(); ++n) {
    const auto [inFrom, outFrom] = chain[n];
    const auto [inTo, outTo] = chain[n + 1];
    result.widestGap = std::max(result.widestGap, inTo - inFrom);
    stretch.clear();
    for (std::size_t p = outFrom; p < outTo; ++p)
      ++stretch[output[p]];
    for (std::size_t i = inFrom; i < inTo; ++i) {
      long& left = stretch[input[i]];
      if (left > 0) {
        --left;
        ++result.found;
      }
    }
  }
  return result;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words)
    text += w + " ";
  return text;
}

// Runs of blanks, tabs and line ends as one space.
std::string Collapsed(const std::string& text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      blank = true;
      continue;
    }
    if (blank && !out.empty())
      out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// The lines of a bit diagram that hold no word, each trimmed: the tick rulers ("+-+-+-+-+", a
// tick at every other column) and the bit numbers above them ("0 1 2 3 4 5 6 7 8 9 0 1",
// digits one blank apart). The word check does not see them, but a diagram without them loses
// what it shows. Lines end at a line feed, a form feed or a carriage return.
std::vector<std::string> BitDiagramRulers(const std::string& text) {
  std::vector<std::string> rulers;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find_first_of("\n\f\r", from);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(from, end - from);
    from = end + 1;
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos)
      continue;
    line.erase(0, first);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
      line.pop_back();
    // Alternating pairs: '+' and '-' in a tick ruler, a digit and a blank in bit numbers.
    const bool ticks = line[0] == '+';
    const bool numbers = std::isdigit(static_cast<unsigned char>(line[0])) != 0;
    bool alternating = ticks || numbers;
    for (std::size_t i = 0; i < line.size() && alternating; ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      if (i % 2 == 1)
        alternating = c == (ticks ? '-' : ' ');
      else
        alternating = ticks ? c == '+' : std::isdigit(c) != 0;
    }
    if (alternating && line.size() >= (ticks ? 9u : 15u))
      rulers.push_back(line);
  }
  return rulers;
}

// The text of UTF-16 LE bytes after a byte-order mark, as UTF-8 (enough for the words).
std::string Utf16LeToUtf8(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned unit = static_cast<unsigned char>(bytes[i]) |
                          (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit < 0x80)
      out += static_cast<char>(unit);
    else
      out += ' ';
  }
  return out;
}

// The input's own text for the word comparison.
std::string InputText(const fs::path& input) {
  const std::string bytes = ReadBytes(input.string());
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    return Utf16LeToUtf8(bytes);
  return bytes;
}

// The characters of a text as its bytes really hold them: UTF-16 LE after its byte-order mark,
// UTF-8 (with or without its mark) when every byte above 127 is in a well-formed sequence,
// else one character per byte (Latin-1).
std::u32string DecodedAsItIs(const std::string& bytes) {
  std::u32string out;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      out += static_cast<char32_t>(byte(i) | (byte(i + 1) << 8));
    return out;
  }
  std::size_t i = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  for (; i < bytes.size(); ++i) {
    const unsigned char lead = byte(i);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
    if (extra < 0 || i + extra >= bytes.size())
      break;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    bool wellFormed = true;
    for (int k = 1; k <= extra && wellFormed; ++k) {
      wellFormed = (byte(i + k) & 0xC0) == 0x80;
      c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (!wellFormed)
      break;
    out += c;
    i += extra;
  }
  if (i >= bytes.size())
    return out;
  out.clear();
  for (const char c : bytes)
    out += static_cast<char32_t>(static_cast<unsigned char>(c));
  return out;
}

// The characters beyond ASCII of text, each with how often it occurs.
std::map<char32_t, long> CharactersBeyondAscii(const std::u32string& text) {
  std::map<char32_t, long> counts;
  for (const char32_t c : text) {
    if (c >= 0x80)
      ++counts[c];
  }
  return counts;
}

// Where the characters beyond ASCII of the input and of what a reader shows differ: an input
// character shown fewer times than the input holds it (a Windows-1252 control range byte
// excepted, which the conversion writes as ASCII punctuation), or a shown character the input
// never holds (the bullet the conversion adds, and the byte-order mark and the six-per-em
// spaces that LibreOffice's text export writes in runs of blanks, excepted), as when UTF-8
// bytes are shown as Windows-1252 letters ("\u00C2\u00A7" for a section sign).
std::string CharacterFault(const std::u32string& input, const std::u32string& shown) {
  const std::map<char32_t, long> in = CharactersBeyondAscii(input);
  const std::map<char32_t, long> out = CharactersBeyondAscii(shown);
  std::string fault;
  for (const auto& [c, count] : in) {
    const auto it = out.find(c);
    const long seen = it == out.end() ? 0 : it->second;
    if (seen < count && (c < 0x80 || c > 0x9F))
      fault += "U+" + std::to_string(static_cast<unsigned long>(c)) + " shown " +
               std::to_string(seen) + " of " + std::to_string(count) + " times; ";
  }
  for (const auto& [c, count] : out) {
    if (in.count(c) == 0 && c != U'\u2022' && c != U'\uFEFF' && c != U'\u2006')
      fault += "U+" + std::to_string(static_cast<unsigned long>(c)) + " shown " +
               std::to_string(count) + " times, not in the input; ";
  }
  return fault;
}

// One expectation of a fixture's ".expect" file: "kind: value". "{today}" in a value stands
// for the day's date as the date tag writes it (3-Dec-2026).
struct Expectation {
  std::string kind;
  std::string value;
};

std::string Today() {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  (void)localtime_r(&now, &local);
  return std::to_string(local.tm_mday) + "-" + kMonths[local.tm_mon] + "-" +
         std::to_string(local.tm_year + 1900);
}

std::string WithToday(std::string value) {
  const std::string mark = "{today}";
  for (std::size_t at = value.find(mark); at != std::string::npos; at = value.find(mark, at))
    value.replace(at, mark.size(), Today());
  return value;
}

std::vector<Expectation> ReadExpectations(const fs::path& file) {
  std::vector<Expectation> list;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos)
      continue;
    list.push_back({line.substr(0, colon), WithToday(line.substr(colon + 2))});
  }
  return list;
}

// The input text with the first occurrence of each "dropped" text made a blank: what the
// conversion leaves out by design (directive lines, which it acts on; the names of mail header
// lines, whose values it shows; in-line tags, which it executes).
std::string WithoutDropped(std::string text, const std::vector<Expectation>& expectations) {
  for (const Expectation& e : expectations) {
    if (e.kind != "dropped")
      continue;
    const std::size_t at = text.find(e.value);
    EXPECT_NE(at, std::string::npos) << "the input lacks the dropped text " << e.value;
    if (at != std::string::npos)
      text.replace(at, e.value.size(), " ");
  }
  return text;
}

// The text between the tags of html from..to.
std::string TextBetweenTags(const std::string& html, std::size_t from, std::size_t to) {
  std::string text;
  bool inTag = false;
  for (std::size_t i = from; i < to; ++i) {
    if (html[i] == '<')
      inTag = true;
    else if (html[i] == '>')
      inTag = false;
    else if (!inTag)
      text += html[i];
  }
  return Collapsed(text);
}

// The text inside the HTML heading elements (h1-h6) of html, tags removed, one per entry.
std::vector<std::string> HtmlHeadings(const std::string& html) {
  std::vector<std::string> headings;
  std::size_t from = 0;
  for (;;) {
    std::size_t open = html.find("<h", from);
    if (open == std::string::npos)
      break;
    from = open + 2;
    if (open + 2 >= html.size() || html[open + 2] < '1' || html[open + 2] > '6')
      continue;
    const std::string close = "</h" + std::string(1, html[open + 2]);
    const std::size_t end = html.find(close, open);
    if (end == std::string::npos)
      break;
    headings.push_back(TextBetweenTags(html, open, end));
    from = end;
  }
  return headings;
}

// The text of each element name (sup, b, ...) of html in document order, tags removed, runs
// of blanks as one; elements of the same name inside one another are not told apart.
std::vector<std::string> HtmlElementTexts(const std::string& html, const std::string& name) {
  std::vector<std::string> texts;
  const std::string open = "<" + name;
  const std::string close = "</" + name + ">";
  for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
    const std::size_t after = at + open.size();
    if (after >= html.size() || (html[after] != '>' && html[after] != ' '))
      continue;
    const std::size_t end = html.find(close, after);
    if (end == std::string::npos)
      break;
    texts.push_back(TextBetweenTags(html, at, end));
  }
  return texts;
}

// The document title LibreOffice read: the text of the HTML title element, its entities of
// markup characters decoded.
std::string HtmlTitle(const std::string& html) {
  const std::size_t open = html.find("<title>");
  const std::size_t end = html.find("</title>");
  if (open == std::string::npos || end == std::string::npos || end < open)
    return {};
  std::string title = Collapsed(html.substr(open + 7, end - open - 7));
  for (const auto& [entity, character] : {std::pair<std::string, std::string>{"&quot;", "\""},
                                          {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
    for (std::size_t at = title.find(entity); at != std::string::npos;
         at = title.find(entity, at + 1))
      title.replace(at, entity.size(), character);
  }
  return title;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& text) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return t.find(text) != std::string::npos; });
}

// A table of LibreOffice's HTML: its rows and the text of each cell, tags removed, runs of
// blanks as one.
struct HtmlTable {
  std::size_t rows = 0;
  std::vector<std::string> cells;
};

// Whether html holds the opening tag name (as "<td" followed by a blank or '>') at at.
bool OpensTag(const std::string& html, std::size_t at, const std::string& name) {
  const std::size_t after = at + 1 + name.size();
  return html.compare(at, name.size() + 1, "<" + name) == 0 && after < html.size() &&
         (html[after] == ' ' || html[after] == '>');
}

// The tables of html in document order; tables inside tables are not looked for.
std::vector<HtmlTable> HtmlTables(const std::string& html) {
  std::vector<HtmlTable> tables;
  for (std::size_t open = html.find("<table"); open != std::string::npos;
       open = html.find("<table", open + 1)) {
    const std::size_t end = html.find("</table>", open);
    if (end == std::string::npos)
      break;
    HtmlTable table;
    for (std::size_t at = html.find('<', open); at < end; at = html.find('<', at + 1)) {
      if (OpensTag(html, at, "tr")) {
        ++table.rows;
      } else if (OpensTag(html, at, "td") || OpensTag(html, at, "th")) {
        const std::size_t close = html.find("</t", at);
        table.cells.push_back(TextBetweenTags(html, at, std::min(close, end)));
      }
    }
    tables.push_back(std::move(table));
    open = end;
  }
  return tables;
}

// "R rows, C cells": some table has exactly R rows and C cells.
bool AnyTableOfShape(const std::vector<HtmlTable>& tables, const std::string& shape) {
  std::size_t rows = 0;
  std::size_t cells = 0;
  if (std::sscanf(shape.c_str(), "%zu rows, %zu cells", &rows, &cells) != 2)
    return false;
  return std::any_of(tables.begin(), tables.end(), [&](const HtmlTable& t) {
    return t.rows == rows && t.cells.size() == cells;
  });
}

// Some cell of some table holds exactly text.
bool AnyCellHolds(const std::vector<HtmlTable>& tables, const std::string& text) {
  return std::any_of(tables.begin(), tables.end(), [&](const HtmlTable& t) {
    return std::find(t.cells.begin(), t.cells.end(), Collapsed(text)) != t.cells.end();
  });
}

std::string TableShapes(const std::vector<HtmlTable>& tables) {
  std::string text;
  for (const HtmlTable& t : tables) {
    text += std::to_string(t.rows) + " rows, " + std::to_string(t.cells.size()) + " cells:";
    for (const std::string& cell : t.cells)
      text += " [" + cell + "]";
    text += "\n";
  }
  return text;
}

// Some heading holds text (a heading may carry its section number before it).
bool AnyHolds(const std::vector<std::string>& headings, const std::string& text) {
  return std::any_of(headings.begin(), headings.end(),
                     [&](const std::string& h) { return h.find(text) != std::string::npos; });
}

// The tables of html in order, each as the cells of its rows: "3,1,3" for a table of three
// rows whose second row is one cell. A cell is a td or th element; nested tables are not
// looked into.
std::vector<std::string> HtmlTableShapes(const std::string& html) {
  auto opens = [&](std::size_t at, const char* name) {
    const std::size_t n = std::strlen(name);
    return html.compare(at, n, name) == 0 && at + n < html.size() &&
           (html[at + n] == '>' || html[at + n] == ' ' || html[at + n] == '\n');
  };
  std::vector<std::string> shapes;
  for (std::size_t at = html.find("<table"); at != std::string::npos;
       at = html.find("<table", at + 1)) {
    const std::size_t end = html.find("</table>", at);
    if (end == std::string::npos)
      break;
    std::string shape;
    int cells = -1;  // -1 while no row is open
    for (std::size_t i = at; i < end; ++i) {
      if (html[i] != '<')
        continue;
      if (opens(i, "<tr")) {
        if (cells >= 0)
          shape += std::to_string(cells) + ",";
        cells = 0;
      } else if (opens(i, "<td") || opens(i, "<th")) {
        ++cells;
      }
    }
    if (cells >= 0)
      shape += std::to_string(cells);
    shapes.push_back(shape);
    at = end;
  }
  return shapes;
}

// Where text holds its first byte above 127; npos when it holds none.
std::size_t FirstHighByte(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80)
      return i;
  }
  return std::string::npos;
}

// Some line of LibreOffice's text (one paragraph per line) starts with start, so the
// paragraph starts with it and with no blank before it.
bool AnyParagraphStartsWith(const std::string& text, const std::string& start) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind(start, 0) == 0)
      return true;
  }
  return false;
}

std::vector<fs::path> Fixtures() {
  std::vector<fs::path> list;
  for (const auto& entry : fs::directory_iterator(kFixtures)) {
    if (entry.path().extension() == ".txt")
      list.push_back(entry.path());
  }
  std::sort(list.begin(), list.end());
  return list;
}

}  // namespace

// Each fixture converts without an error into balanced RTF holding what its ".expect" file
// names, and LibreOffice reads it back with the input's words in order, its characters, its
// headings as headings, its links as links and its tables with their rows and cells; with the
// raised, lowered and bold text, the paragraph breaks, the bookmarks, the fields and the
// document title that the fixture asks for.
TEST(EndToEnd, FixturesConvertAndOpenInARealReader) {
  TempFolder dir("e2e");
  const std::vector<fs::path> fixtures = Fixtures();
  ASSERT_FALSE(fixtures.empty());
  std::vector<std::string> rtfs;
  for (const fs::path& fixture : fixtures) {
    SCOPED_TRACE(fixture.filename().string());
    const std::string rtf = dir.File(fixture.stem().string() + ".rtf");
    std::vector<std::string> args = {fixture.string(), "/OUTPUT=" + rtf};
    for (const Expectation& e : ReadExpectations(fs::path(fixture).replace_extension(".expect"))) {
      if (e.kind == "qualifier")
        args.push_back(e.value);
    }
    const RunResult run = RunKvlcons(args);
    EXPECT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.messages.find("ERROR"), std::string::npos) << run.messages;
    EXPECT_EQ(run.messages.find("UNSUPPORTED CASE"), std::string::npos) << run.messages;
    const std::string text = ReadBytes(rtf);
    EXPECT_EQ(BraceFault(text), "");
    EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg1252\\uc1", 0), 0u);
    // RTF is 7-bit: characters beyond ASCII arrive as escapes.
    EXPECT_EQ(FirstHighByte(text), std::string::npos) << "a raw byte above 127";
    for (const Expectation& e : ReadExpectations(fs::path(fixture).replace_extension(".expect"))) {
      if (e.kind == "rtf") {
        EXPECT_NE(text.find(e.value), std::string::npos) << "RTF lacks: " << e.value;
      } else if (e.kind == "not rtf") {
        EXPECT_EQ(text.find(e.value), std::string::npos) << "RTF holds: " << e.value;
      }
    }
    rtfs.push_back(rtf);
  }

  REQUIRE_SOFFICE(soffice);
  ConvertWithSoffice(soffice, rtfs, "txt:Text (encoded):UTF8", dir.path.string());
  ConvertWithSoffice(soffice, rtfs, "html", dir.path.string());
  // The fixtures that look into LibreOffice's own document (flat ODT): fields and their
  // switches as it took them.
  std::vector<std::string> flat;
  for (std::size_t i = 0; i < fixtures.size(); ++i) {
    const auto list = ReadExpectations(fs::path(fixtures[i]).replace_extension(".expect"));
    const auto asksFodt = [](const Expectation& e) { return e.kind == "fodt"; };
    if (std::any_of(list.begin(), list.end(), asksFodt))
      flat.push_back(rtfs[i]);
  }
  if (!flat.empty())
    ConvertWithSoffice(soffice, flat, "fodt", dir.path.string());
  for (std::size_t i = 0; i < fixtures.size(); ++i) {
    SCOPED_TRACE(fixtures[i].filename().string());
    const std::string txtName = SofficeOutput(rtfs[i], dir.path.string(), ".txt");
    const std::string htmlName = SofficeOutput(rtfs[i], dir.path.string(), ".html");
    ASSERT_TRUE(fs::exists(txtName)) << "LibreOffice could not open " << rtfs[i];
    ASSERT_TRUE(fs::exists(htmlName)) << "LibreOffice could not open " << rtfs[i];
    const std::string paragraphs = ReadBytes(txtName);
    const std::string extracted = Collapsed(paragraphs);
    const std::string html = ReadBytes(htmlName);

    const std::vector<std::string> inputWords = Words(WithoutDropped(
        InputText(fixtures[i]),
        ReadExpectations(fs::path(fixtures[i]).replace_extension(".expect"))));
    const OrderResult order = WordsInOrder(inputWords, Words(extracted));
    EXPECT_EQ(order.found, inputWords.size())
        << "words missing or out of order: " << Joined(order.missing) << "\nextracted: "
        << extracted;

    std::size_t textAt = 0;
    const std::vector<std::string> tableShapes = HtmlTableShapes(html);
    const std::vector<std::string> headings = HtmlHeadings(html);
    const std::vector<HtmlTable> tables = HtmlTables(html);
    for (const Expectation& e : ReadExpectations(fs::path(fixtures[i]).replace_extension(".expect"))) {
      if (e.kind == "text") {
        const std::size_t at = extracted.find(Collapsed(e.value), textAt);
        EXPECT_NE(at, std::string::npos) << "text missing or out of order: " << e.value
                                         << "\nextracted: " << extracted;
        if (at != std::string::npos)
          textAt = at + e.value.size();
      } else if (e.kind == "not text") {
        EXPECT_EQ(extracted.find(e.value), std::string::npos) << "text holds: " << e.value;
      } else if (e.kind == "paragraph") {
        EXPECT_TRUE(AnyParagraphStartsWith(paragraphs, e.value))
            << "no paragraph starts with: " << e.value << "\nparagraphs:\n" << paragraphs;
      } else if (e.kind == "heading") {
        EXPECT_TRUE(AnyHolds(headings, e.value))
            << "not a heading: " << e.value << "\nheadings: " << Joined(headings);
      } else if (e.kind == "not heading") {
        EXPECT_FALSE(AnyHolds(headings, e.value)) << "taken as a heading: " << e.value;
      } else if (e.kind == "table") {
        EXPECT_TRUE(AnyTableOfShape(tables, e.value))
            << "no table of " << e.value << "\ntables:\n" << TableShapes(tables);
      } else if (e.kind == "cell") {
        EXPECT_TRUE(AnyCellHolds(tables, e.value))
            << "no table cell holds " << e.value << "\ntables:\n" << TableShapes(tables);
      } else if (e.kind == "no table") {
        EXPECT_TRUE(tables.empty()) << "tables:\n" << TableShapes(tables);
      } else if (e.kind == "row cells") {
        // Some table has rows of these many cells, in order.
        EXPECT_NE(std::find(tableShapes.begin(), tableShapes.end(), e.value), tableShapes.end())
            << "no table with rows of " << e.value << " cells\ntables:\n" << TableShapes(tables);
      } else if (e.kind == "link") {
        EXPECT_NE(html.find("href=\"" + e.value + "\""), std::string::npos)
            << "no link to " << e.value;
      } else if (e.kind == "bookmark") {
        EXPECT_NE(html.find("<a name=\"" + e.value + "\""), std::string::npos)
            << "no bookmark " << e.value;
      } else if (e.kind == "sup" || e.kind == "sub") {
        EXPECT_TRUE(AnyContains(HtmlElementTexts(html, e.kind), e.value))
            << "not " << e.kind << ": " << e.value;
      } else if (e.kind == "bold") {
        EXPECT_TRUE(AnyContains(HtmlElementTexts(html, "b"), Collapsed(e.value)))
            << "not bold: " << e.value;
      } else if (e.kind == "not bold") {
        EXPECT_FALSE(AnyContains(HtmlElementTexts(html, "b"), Collapsed(e.value)))
            << "bold: " << e.value;
      } else if (e.kind == "html") {
        EXPECT_NE(html.find(e.value), std::string::npos) << "HTML lacks: " << e.value;
      } else if (e.kind == "fodt") {
        const std::string fodtName = SofficeOutput(rtfs[i], dir.path.string(), ".fodt");
        ASSERT_TRUE(fs::exists(fodtName)) << "LibreOffice could not open " << rtfs[i];
        EXPECT_NE(ReadBytes(fodtName).find(e.value), std::string::npos)
            << "LibreOffice's document lacks: " << e.value;
      } else if (e.kind == "title") {
        EXPECT_NE(HtmlTitle(html).find(e.value), std::string::npos)
            << "title lacks: " << e.value << "\ntitle: " << HtmlTitle(html);
      }
    }
  }
}

// Every document of the corpus converts in one run without an error and opens in LibreOffice
// with every word of the input, in order where the tables read their cells in theirs.
TEST(EndToEnd, CorpusConvertsAndOpensInARealReader) {
  if (!fs::is_directory(kCorpus))
    GTEST_SKIP() << "the shared corpus is not beside the checkout: " << kCorpus;
  TempFolder dir("e2e_corpus");
  std::vector<fs::path> inputs;
  for (const char* folder : {"rfc", "misc"}) {
    for (const auto& entry : fs::directory_iterator(kCorpus / folder)) {
      if (entry.path().extension() == ".txt")
        inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty());

  const RunResult run = RunKvlconsInto(inputs, dir.path);
  EXPECT_EQ(run.status, 0) << run.messages;
  EXPECT_EQ(run.messages.find("UNSUPPORTED CASE"), std::string::npos) << run.messages;
  EXPECT_EQ(run.messages.find("PROGRAM ERROR"), std::string::npos) << run.messages;

  std::vector<std::string> rtfs;
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    const std::string rtf = dir.File(input.stem().string() + ".rtf");
    ASSERT_TRUE(fs::exists(rtf));
    EXPECT_EQ(BraceFault(ReadBytes(rtf)), "");
    rtfs.push_back(rtf);
  }

  REQUIRE_SOFFICE(soffice);
  ConvertWithSoffice(soffice, rtfs, "txt:Text (encoded):UTF8", dir.path.string());
  // A table aligned by blanks (column, symbol and name of the graphic characters) arrives as
  // a table, a cell per column.
  const std::string chart = dir.File("rfc20.rtf");
  ConvertWithSoffice(soffice, {chart}, "html", dir.path.string());
  const std::string chartHtml = SofficeOutput(chart, dir.path.string(), ".html");
  ASSERT_TRUE(fs::exists(chartHtml)) << "LibreOffice could not open " << chart;
  const std::vector<HtmlTable> chartTables = HtmlTables(ReadBytes(chartHtml));
  for (const char* cell : {"2/1", "Exclamation Point", "Quotation Marks (Diaeresis [2])", "~"})
    EXPECT_TRUE(AnyCellHolds(chartTables, cell)) << cell << "\n" << TableShapes(chartTables);

  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(inputs[i].filename().string());
    const std::string txtName = SofficeOutput(rtfs[i], dir.path.string(), ".txt");
    ASSERT_TRUE(fs::exists(txtName)) << "LibreOffice could not open " << rtfs[i];
    const std::vector<std::string> inputWords = Words(InputText(inputs[i]));
    const std::string shown = ReadBytes(txtName);
    const std::vector<std::string> outputWords = Words(shown);
    EXPECT_EQ(CharacterFault(DecodedAsItIs(ReadBytes(inputs[i].string())), DecodedAsItIs(shown)),
              "")
        << "characters beyond ASCII differ (code points in decimal)";
    EXPECT_EQ(Joined(LostWords(inputWords, outputWords)), "") << "words lost";
    EXPECT_EQ(Joined(LostWords(BitDiagramRulers(InputText(inputs[i])), BitDiagramRulers(shown))),
              "")
        << "lines of bit diagrams lost";
    const ReadingOrder order = WordsInReadingOrder(inputWords, outputWords);
    EXPECT_GE(order.anchorsInOrder * 100, order.anchors * 99)
        << order.anchorsInOrder << " of " << order.anchors << " anchors in order";
    EXPECT_GE(order.found * 100, inputWords.size() * 99)
        << order.found << " of " << inputWords.size() << " words found in order";
    EXPECT_LE(order.widestGap, 400u) << "words between two anchors";
  }
}

// Tables far beyond any page convert in one run into balanced RTF that keeps every line of
// them, and the analysis reports where it gave up on a region's columns.
TEST(EndToEnd, HugeTablesConvertBalanced) {
  auto table = [](const std::vector<std::string>& rows) {
    std::string text = "Regions of pre-formatted text follow.\n\n$_$_BEGIN_TABLE\n";
    for (const std::string& row : rows)
      text += row + "\n";
    return text + "$_$_END_TABLE\n\nThe text after the table.\n";
  };
  // Forty columns of nine characters, a ruler under the header.
  std::vector<std::string> wide(2);
  for (int c = 0; c < 40; ++c)
    wide[0] += "head" + std::to_string(10 + c) + "   ";
  wide[1] = std::string(wide[0].size(), '-');
  for (int r = 0; r < 6; ++r) {
    wide.emplace_back();
    for (int c = 0; c < 40; ++c)
      wide.back() += "v" + std::to_string(10 + r) + "x" + std::to_string(10 + c) + "   ";
  }
  // Two lines of 2,000 words after runs of one to three blanks, and a line of 100,000 bytes
  // that crosses every column they make.
  std::string words;
  for (int k = 0; k < 2000; ++k)
    words += std::string(1, static_cast<char>('a' + k % 26)) + std::string(1 + k % 3, ' ');
  const std::string longest(100000, 'x');
  // One cell of 100,000 bytes in a table of three columns.
  const std::string bigCell(100000, 'y');
  // A row of 3,000 words spanning far past the table's three columns.
  std::string spanning = "spanning";
  for (int k = 1; k < 3000; ++k)
    spanning += " spanning";

  struct Case {
    const char* name;
    std::string input;
    const char* kept;     // a text of the region the RTF holds
    const char* message;  // what the conversion reports about the region; "" for nothing
  };
  const Case cases[] = {
      {"wide", table(wide), "v15x49", ""},
      {"columns", table({words, words, longest}), longest.c_str(),
       "WARNING: Column merging stopped after 64 rounds with "},
      {"cell",
       table({"name      size      kind", "alpha     10        file",
              "beta      " + bigCell + "  dir", "gamma     30        file"}),
       bigCell.c_str(), ""},
      {"span", table({"one    two    three", "1      2      3", spanning, "4      5      6"}),
       "spanning spanning spanning", ""},
  };
  TempFolder dir("e2e_huge");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string input = dir.File(std::string(c.name) + ".txt");
    const std::string rtf = dir.File(std::string(c.name) + ".rtf");
    WriteBytes(input, c.input);
    const RunResult run = RunKvlcons({input, "/OUTPUT=" + rtf});
    EXPECT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.messages.find("PROGRAM ERROR"), std::string::npos) << run.messages;
    EXPECT_EQ(run.messages.find("UNSUPPORTED CASE"), std::string::npos) << run.messages;
    if (*c.message != '\0') {
      EXPECT_NE(run.messages.find(c.message), std::string::npos) << run.messages;
    }
    const std::string text = ReadBytes(rtf);
    EXPECT_EQ(BraceFault(text), "");
    EXPECT_NE(text.find(c.kept), std::string::npos);
    EXPECT_NE(text.find("The text after the table."), std::string::npos);
  }
}
