// Whole conversions as a user runs them: kvlcons turns documents into RTF, and a real RTF
// reader (LibreOffice, headless) opens each result. The checks are those a user makes: the
// file opens, the words come through in order with the right characters, and headings,
// links and tables arrive as such.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/Soffice.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const fs::path kFixtures = fs::path(KELVANE_FIXTURES_DIR) / "e2e";
const fs::path kCorpus = fs::path(KELVANE_CORPUS_DIR);

struct RunResult {
  int status = -1;
  std::string messages;  // standard error
};

// Runs the kvlcons program with args; its standard output is discarded.
RunResult RunKvlcons(const std::vector<std::string>& args) {
  const std::string errors = TempPath("e2e", "stderr.txt");
  std::string command = ShellQuoted(KELVANE_KVLCONS);
  for (const std::string& arg : args)
    command += " " + ShellQuoted(arg);
  command += " >/dev/null 2>" + ShellQuoted(errors);
  const int raw = std::system(command.c_str());
  RunResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.messages = ReadBytes(errors);
  fs::remove(errors);
  return result;
}

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
// a word not found counts as missing and the search goes on from where it was. Runs rather
// than single words keep a common word from pulling the search ahead past text that a table
// cell gathered out of line order, and one dropped word does not make every later word
// missing.
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

// One expectation of a fixture's ".expect" file: "kind: value".
struct Expectation {
  std::string kind;
  std::string value;
};

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
    list.push_back({line.substr(0, colon), line.substr(colon + 2)});
  }
  return list;
}

// The input text less the first occurrence of each "dropped" text: what the conversion leaves
// out by design (directive lines, which it acts on; the names of mail header lines, whose
// values it shows).
std::string WithoutDropped(std::string text, const std::vector<Expectation>& expectations) {
  for (const Expectation& e : expectations) {
    if (e.kind != "dropped")
      continue;
    const std::size_t at = text.find(e.value);
    EXPECT_NE(at, std::string::npos) << "the input lacks the dropped text " << e.value;
    if (at != std::string::npos)
      text.erase(at, e.value.size());
  }
  return text;
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
    std::string text;
    bool inTag = false;
    for (std::size_t i = open; i < end; ++i) {
      if (html[i] == '<')
        inTag = true;
      else if (html[i] == '>')
        inTag = false;
      else if (!inTag)
        text += html[i];
    }
    headings.push_back(Collapsed(text));
    from = end;
  }
  return headings;
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
    int cells = -1;  // no row open yet
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
// headings as headings, its links as links and its tables with their rows and cells.
TEST(EndToEnd, FixturesConvertAndOpenInARealReader) {
  TempFolder dir("e2e");
  const std::vector<fs::path> fixtures = Fixtures();
  ASSERT_FALSE(fixtures.empty());
  std::vector<std::string> rtfs;
  for (const fs::path& fixture : fixtures) {
    SCOPED_TRACE(fixture.filename().string());
    const std::string rtf = dir.File(fixture.stem().string() + ".rtf");
    const RunResult run = RunKvlcons({fixture.string(), "/OUTPUT=" + rtf});
    EXPECT_EQ(run.status, 0) << run.messages;
    EXPECT_EQ(run.messages.find("ERROR"), std::string::npos) << run.messages;
    EXPECT_EQ(run.messages.find("UNSUPPORTED CASE"), std::string::npos) << run.messages;
    const std::string text = ReadBytes(rtf);
    EXPECT_EQ(BraceFault(text), "");
    EXPECT_EQ(text.rfind("{\\rtf1\\ansi\\ansicpg1252\\uc1", 0), 0u);
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
  for (std::size_t i = 0; i < fixtures.size(); ++i) {
    SCOPED_TRACE(fixtures[i].filename().string());
    const std::string txtName = SofficeOutput(rtfs[i], dir.path.string(), ".txt");
    const std::string htmlName = SofficeOutput(rtfs[i], dir.path.string(), ".html");
    ASSERT_TRUE(fs::exists(txtName)) << "LibreOffice could not open " << rtfs[i];
    ASSERT_TRUE(fs::exists(htmlName)) << "LibreOffice could not open " << rtfs[i];
    const std::string extracted = Collapsed(ReadBytes(txtName));
    const std::string html = ReadBytes(htmlName);

    const std::vector<std::string> inputWords = Words(WithoutDropped(
        InputText(fixtures[i]),
        ReadExpectations(fs::path(fixtures[i]).replace_extension(".expect"))));
    const OrderResult order = WordsInOrder(inputWords, Words(extracted));
    EXPECT_EQ(order.found, inputWords.size())
        << "words missing or out of order: " << Joined(order.missing) << "\nextracted: "
        << extracted;

    std::size_t textAt = 0;
    std::size_t tableAt = 0;
    const std::vector<std::string> tables = HtmlTableShapes(html);
    const std::vector<std::string> headings = HtmlHeadings(html);
    for (const Expectation& e : ReadExpectations(fs::path(fixtures[i]).replace_extension(".expect"))) {
      if (e.kind == "text") {
        const std::size_t at = extracted.find(Collapsed(e.value), textAt);
        EXPECT_NE(at, std::string::npos) << "text missing or out of order: " << e.value
                                         << "\nextracted: " << extracted;
        if (at != std::string::npos)
          textAt = at + e.value.size();
      } else if (e.kind == "heading") {
        EXPECT_TRUE(AnyHolds(headings, e.value))
            << "not a heading: " << e.value << "\nheadings: " << Joined(headings);
      } else if (e.kind == "not heading") {
        EXPECT_FALSE(AnyHolds(headings, e.value)) << "taken as a heading: " << e.value;
      } else if (e.kind == "table") {
        // The next table of the document has rows of these many cells.
        ASSERT_LT(tableAt, tables.size()) << "no table for rows of " << e.value;
        EXPECT_EQ(tables[tableAt], e.value) << "cells per row of table " << tableAt + 1;
        ++tableAt;
      } else if (e.kind == "link") {
        EXPECT_NE(html.find("href=\"" + e.value + "\""), std::string::npos)
            << "no link to " << e.value;
      }
    }
  }
}

// Every document of the corpus converts in one run without an error and opens in LibreOffice
// with its words in order.
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

  std::vector<std::string> args;
  for (const fs::path& input : inputs)
    args.push_back(input.string());
  args.push_back("/OUTPUT=" + (dir.path / "*.rtf").string());
  const RunResult run = RunKvlcons(args);
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
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(inputs[i].filename().string());
    const std::string txtName = SofficeOutput(rtfs[i], dir.path.string(), ".txt");
    ASSERT_TRUE(fs::exists(txtName)) << "LibreOffice could not open " << rtfs[i];
    const std::vector<std::string> inputWords = Words(InputText(inputs[i]));
    const OrderResult order = WordsInOrder(inputWords, Words(ReadBytes(txtName)));
    // Running page headers and footers may be left out of the document; its own words stay.
    EXPECT_GE(order.found * 100, inputWords.size() * 95)
        << order.found << " of " << inputWords.size()
        << " words found in order; first missing: " << Joined(order.missing);
  }
}
