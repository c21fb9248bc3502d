#include "structure/StructureEvaluation.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>

namespace {

// A line of the input with its tabs expanded, its CR and form feed removed.
struct InputLine {
  std::string text;
  int indent = 0;          // blanks before the first character; the length when blank
  bool blank = true;
  bool pageBreak = false;  // a form feed stood on the line
  bool furniture = false;  // running header or footer
  bool contents = false;   // inside the contents list
};

// The page width of the documents measured (RFCs set 72 columns), for centred lines.
constexpr int kPageWidth = 72;
// The first line of a long contents entry is looked for this many output lines ahead of the
// last entry found.
constexpr std::size_t kContentsWindow = 80;
// The characters besides letters and digits that a centred title holds.
constexpr std::string_view kTitlePunctuation = " -,.:;'\"/()[]&?!_*#";
// The deepest heading level a document holds (Heading 1-6): a deeper section is at its level
// there.
constexpr int kDeepestHeadingLevel = 6;
// The most words of a sub-heading set in from the margin.
constexpr long kSubheadingWords = 6;
// How many texts of each kind a score keeps for the report.
constexpr std::size_t kKeptTexts = 8;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsAlnum(char c) { return IsDigit(c) || IsUpper(c) || IsLower(c); }

std::string_view Trimmed(std::string_view text) {
  const std::size_t from = text.find_first_not_of(' ');
  if (from == std::string_view::npos)
    return {};
  const std::size_t to = text.find_last_not_of(' ');
  return text.substr(from, to - from + 1);
}

// Whether text holds a gap of three blanks or more: table rows, diagrams and running
// headers set their columns apart so, titles never.
bool HasWideGap(std::string_view text) { return text.find("   ") != std::string_view::npos; }

std::vector<InputLine> SplitLines(std::string_view text) {
  std::vector<InputLine> lines;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string_view::npos)
      end = text.size();
    InputLine line;
    for (std::size_t i = from; i < end; ++i) {
      const char c = text[i];
      if (c == '\r')
        continue;
      if (c == '\f') {
        line.pageBreak = true;
        continue;
      }
      if (c == '\t') {
        line.text.append(8 - line.text.size() % 8, ' ');
        continue;
      }
      line.text += c;
    }
    while (!line.text.empty() && line.text.back() == ' ')
      line.text.pop_back();
    line.blank = line.text.empty();
    line.indent = static_cast<int>(line.blank ? 0 : line.text.find_first_not_of(' '));
    lines.push_back(std::move(line));
    from = end + 1;
  }
  return lines;
}

// A footer ("Fielding, et al.   Standards Track   [Page 12]", "August 13, 1982   - i -   RFC
// #822") or a header line ("RFC 2616   HTTP/1.1   June 1999").
bool LooksLikeRunningLine(std::string_view text) {
  const std::string_view trimmed = Trimmed(text);
  if (trimmed.size() >= 8 && trimmed.back() == ']' &&
      trimmed.find("[Page ") != std::string_view::npos)
    return true;
  if (!HasWideGap(trimmed))
    return false;
  if (trimmed.rfind("RFC ", 0) == 0 && trimmed.size() > 4 && IsDigit(trimmed[4]))
    return true;
  const std::size_t dash = trimmed.find(" - ");
  return dash != std::string_view::npos && trimmed.find(" -", dash + 3) != std::string_view::npos;
}

// Marks running headers and footers: lines that look so, and the lines that begin a page up
// to the first blank line (RFC 791 heads its pages with a date line and a title line).
void MarkFurniture(std::vector<InputLine>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (LooksLikeRunningLine(lines[i].text))
      lines[i].furniture = true;
    if (!lines[i].pageBreak)
      continue;
    std::size_t at = i;
    if (lines[at].blank)
      ++at;
    for (int n = 0; n < 3 && at < lines.size() && !lines[at].blank; ++n, ++at)
      lines[at].furniture = true;
  }
}

bool IsRoman(std::string_view word) {
  return !word.empty() && word.size() <= 6 &&
         std::all_of(word.begin(), word.end(), [](char c) {
           return c == 'i' || c == 'v' || c == 'x' || c == 'l' || c == 'c';
         });
}

bool IsPageNumber(std::string_view word) {
  if (IsRoman(word))
    return true;
  return !word.empty() && word.size() <= 4 && std::all_of(word.begin(), word.end(), IsDigit);
}

// The end of a contents entry: its page number and what sets it off from the title.
struct PageTail {
  bool found = false;
  bool strict = false;      // set off by a dot leader or two blanks or more
  std::size_t titleEnd = 0; // where the title ends in the line
  std::string_view page;
};

// Reads a line ending in a page number set off by a dot leader (dots, blanks allowed
// between them) or by blanks.
PageTail ReadPageTail(std::string_view text) {
  PageTail tail;
  const std::size_t space = text.find_last_of(" .");
  if (space == std::string_view::npos || space + 1 >= text.size())
    return tail;
  tail.page = text.substr(space + 1);
  if (!IsPageNumber(tail.page))
    return tail;
  std::size_t at = space + 1;
  int dots = 0;
  int blanks = 0;
  while (at > 0 && (text[at - 1] == '.' || text[at - 1] == ' ')) {
    --at;
    if (text[at] == '.')
      ++dots;
    else
      ++blanks;
  }
  if (at == 0 || (dots == 0 && blanks == 0))
    return tail;
  // A title's own closing dot ("1.1.  Scope." is no contents line) is one dot, no leader.
  if (dots == 1 && blanks == 0)
    return tail;
  tail.found = true;
  tail.strict = dots >= 2 || blanks >= 2;
  tail.titleEnd = at;
  return tail;
}

// A dot leader of four dots or more, blanks allowed between them, before a page number (an
// ellipsis in a range, "0...254", is no leader).
bool HasDotLeader(std::string_view text) {
  const PageTail tail = ReadPageTail(text);
  if (!tail.found)
    return false;
  const std::string_view gap =
      text.substr(tail.titleEnd, text.size() - tail.page.size() - tail.titleEnd);
  return std::count(gap.begin(), gap.end(), '.') >= 4;
}

bool IsContentsTitle(std::string_view text) {
  const std::string key = Key(text);
  return key == "table of contents" || key == "contents";
}

// The next line after at that is neither blank nor a running line; lines.size() if none.
std::size_t NextText(const std::vector<InputLine>& lines, std::size_t at) {
  for (++at; at < lines.size(); ++at) {
    if (!lines[at].blank && !lines[at].furniture)
      return at;
  }
  return lines.size();
}

void AddEntry(InputStructure& out, const std::vector<InputLine>& lines, std::size_t at,
              bool withPage) {
  const std::string_view text = lines[at].text;
  ContentsEntry entry;
  entry.line = static_cast<int>(at) + 1;
  entry.text = std::string(Trimmed(text));
  if (withPage) {
    const PageTail tail = ReadPageTail(text);
    entry.key = Key(text.substr(0, tail.titleEnd));
    entry.pageKey = Key(tail.page);
  } else {
    entry.key = Key(text);
  }
  if (!entry.key.empty())
    out.contents.push_back(std::move(entry));
}

// The contents list that follows a "Table of Contents" or "Contents" line runs over blank
// lines, running headers and footers (a long list spans pages) and entries: lines ending in a
// page number, and entries run over two or three lines, whose later lines are set in further
// and whose last line ends in a page number after a dot leader or a wide gap, or is the page
// number alone. It ends at the
// first other line, which is the body's first heading or paragraph. A line with a dot leader
// before a page number is an entry wherever it stands (a list under an "APPENDIX" title, a
// list without a title of its own).
void MarkContents(std::vector<InputLine>& lines, InputStructure& out) {
  for (std::size_t title = 0; title < lines.size(); ++title) {
    if (lines[title].contents || !IsContentsTitle(lines[title].text))
      continue;
    lines[title].contents = true;
    out.headingLikeKeys.push_back(Key(lines[title].text));
    std::size_t at = NextText(lines, title);
    while (at < lines.size()) {
      const InputLine& line = lines[at];
      std::size_t last = at;  // the last line of this entry
      if (ReadPageTail(line.text).found) {
        AddEntry(out, lines, at, true);
      } else {
        std::size_t next = NextText(lines, at);
        bool wrapped = false;
        for (int n = 0; n < 2 && next < lines.size(); ++n) {
          const std::string_view nextText = Trimmed(lines[next].text);
          const PageTail tail = ReadPageTail(lines[next].text);
          if (IsPageNumber(nextText) ||
              (lines[next].indent > line.indent && tail.found && tail.strict)) {
            wrapped = true;
            last = next;
            break;
          }
          if (lines[next].indent <= line.indent)
            break;
          next = NextText(lines, next);
        }
        if (!wrapped)
          break;
        AddEntry(out, lines, at, false);
      }
      for (std::size_t i = title; i <= last; ++i)
        lines[i].contents = true;
      title = last;
      at = NextText(lines, last);
    }
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].contents || lines[i].furniture || !HasDotLeader(lines[i].text))
      continue;
    lines[i].contents = true;
    AddEntry(out, lines, i, true);
  }
  std::sort(out.contents.begin(), out.contents.end(),
            [](const ContentsEntry& a, const ContentsEntry& b) { return a.line < b.line; });
}

// A section label at the start of text: its depth and where the title after it begins.
struct SectionLabel {
  int level = 0;  // 0: no label
  std::size_t titleAt = 0;
};

std::size_t SkipDigits(std::string_view text, std::size_t at, std::size_t most) {
  std::size_t n = 0;
  while (at + n < text.size() && IsDigit(text[at + n]) && n < most)
    ++n;
  return n == 0 || (at + n < text.size() && IsDigit(text[at + n])) ? std::string_view::npos
                                                                    : at + n;
}

// Reads "3", "3.", "3.1", "3.1.2.", "1.0" (trailing zero parts add no depth), "Appendix A.",
// "APPENDIX B:", "A.", "A.1", "A.1." followed by at least one blank and a title.
SectionLabel ReadSectionLabel(std::string_view text) {
  SectionLabel label;
  std::size_t at = 0;
  int parts = 0;
  int zeroTail = 0;
  bool appendix = false;
  for (const std::string_view word : {"Appendix ", "APPENDIX "}) {
    if (text.rfind(word, 0) == 0) {
      appendix = true;
      at = text.find_first_not_of(' ', word.size());
      if (at == std::string_view::npos)
        return label;
    }
  }
  bool letter = false;
  if (at < text.size() && IsUpper(text[at]) && at + 1 < text.size() &&
      (text[at + 1] == '.' || (appendix && (text[at + 1] == ':' || text[at + 1] == ' ')))) {
    letter = true;
    parts = 1;
    ++at;
  } else {
    const std::size_t end = SkipDigits(text, at, 2);
    if (end == std::string_view::npos)
      return label;
    parts = 1;
    at = end;
  }
  while (at + 1 < text.size() && text[at] == '.' && IsDigit(text[at + 1])) {
    const std::size_t end = SkipDigits(text, at + 1, 3);
    if (end == std::string_view::npos)
      return label;
    const std::string_view part = text.substr(at + 1, end - at - 1);
    zeroTail = part.find_first_not_of('0') == std::string_view::npos ? zeroTail + 1 : 0;
    ++parts;
    at = end;
  }
  if (at < text.size() && (text[at] == '.' || (letter && text[at] == ':')))
    ++at;
  if (at >= text.size() || text[at] != ' ')
    return label;
  at = text.find_first_not_of(' ', at);
  if (at == std::string_view::npos)
    return label;
  if (appendix && text.compare(at, 2, "- ") == 0)
    at = text.find_first_not_of(' ', at + 2);
  if (at == std::string_view::npos)
    return label;
  label.level = std::max(1, parts - (letter ? 0 : zeroTail));
  label.titleAt = at;
  return label;
}

// A title of three words or more, a wide gap, and the section's first sentence on the same
// line ("6.4.1. The contents of inverse queries and responses          Inverse"). A table row
// ("1.  CLOSED      LISTEN") has a short first column.
bool IsRunInHeading(std::string_view title) {
  const std::size_t gap = title.find("   ");
  if (gap == std::string_view::npos)
    return false;
  const std::string_view head = title.substr(0, gap);
  const std::size_t after = title.find_first_not_of(' ', gap);
  return std::count(head.begin(), head.end(), ' ') >= 2 && after != std::string_view::npos &&
         IsUpper(title[after]);
}

bool BlankBefore(const std::vector<InputLine>& lines, std::size_t at) {
  return at == 0 || lines[at - 1].blank || lines[at - 1].furniture;
}

bool BlankAfter(const std::vector<InputLine>& lines, std::size_t at) {
  return at + 1 >= lines.size() || lines[at + 1].blank || lines[at + 1].furniture;
}

// Words of letters, digits and the punctuation of titles: no formula, arrow or diagram row.
bool HasTitleCharacters(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return IsAlnum(c) || kTitlePunctuation.find(c) != std::string_view::npos;
  });
}

// A line of one sign repeated ("-----", "=====") under a title.
bool IsUnderline(const InputLine& line) {
  const std::string_view rule = Trimmed(line.text);
  return rule.size() >= 3 && std::string_view("-=~").find(rule[0]) != std::string_view::npos &&
         rule.find_first_not_of(rule[0]) == std::string_view::npos;
}

// A title centred on the page, beginning with a letter.
bool IsCentredTitle(const InputLine& line) {
  const int right = kPageWidth - static_cast<int>(line.text.size());
  if (line.indent < 8 || right < 0 || std::abs(line.indent - right) > 8)
    return false;
  const std::string_view title = Trimmed(line.text);
  return (IsUpper(title[0]) || IsLower(title[0])) && HasTitleCharacters(title);
}

// A short title set in from the margin, alone between blank lines, over text set in further:
// the sub-heading of a section whose text is indented under it ("    LISTEN STATE" over
// "      If active and ..."). A line ending as a sentence or an introduction (".", ":", ",")
// is no title, and text set no further in than the line is no section under it.
bool IsIndentedSubheading(const std::vector<InputLine>& lines, std::size_t at) {
  const InputLine& line = lines[at];
  if (line.indent == 0 || !BlankBefore(lines, at) || !BlankAfter(lines, at))
    return false;
  const std::string_view title = Trimmed(line.text);
  if (!IsUpper(title[0]) || !HasTitleCharacters(title) || HasWideGap(title) ||
      std::string_view(".:,").find(title.back()) != std::string_view::npos ||
      std::count(title.begin(), title.end(), ' ') >= kSubheadingWords)
    return false;
  const std::size_t next = NextText(lines, at);
  return next < lines.size() && lines[next].indent > line.indent;
}

}  // namespace

std::string Key(std::string_view text) {
  std::string key;
  bool gap = false;
  for (const char c : text) {
    if (!IsAlnum(c)) {
      gap = true;
      continue;
    }
    if (gap && !key.empty())
      key += ' ';
    gap = false;
    key += IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

InputStructure ReadInputStructure(std::string_view text) {
  InputStructure out;
  std::vector<InputLine> lines = SplitLines(text);
  MarkFurniture(lines);
  MarkContents(lines, out);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const InputLine& line = lines[i];
    if (line.blank || line.furniture || line.contents || !BlankBefore(lines, i))
      continue;
    std::string_view trimmed = Trimmed(line.text);
    const SectionLabel label = ReadSectionLabel(trimmed);
    if (line.indent == 0 && label.level > 0 && IsRunInHeading(trimmed.substr(label.titleAt)))
      trimmed = trimmed.substr(0, trimmed.find("   "));
    // The gap after a section number is a tab stop ("3.2    Administrator Guidelines"); a gap
    // inside the title sets table columns apart.
    if (trimmed.size() > 80 || HasWideGap(trimmed.substr(label.titleAt)))
      continue;
    const char first = label.level > 0 ? trimmed[label.titleAt] : trimmed[0];
    const bool alone = BlankAfter(lines, i);
    const bool titled = IsUpper(first) || IsDigit(first) || (alone && IsLower(first));
    // "J. Postel" over an address is no appendix: a bare letter label stands alone.
    const bool bareLetter = label.level == 1 && IsUpper(trimmed[0]) && trimmed[1] == '.';
    if (label.level > 0 && line.indent == 0 && titled && (alone || !bareLetter)) {
      ReferenceHeading heading;
      heading.line = static_cast<int>(i) + 1;
      heading.level = label.level;
      heading.text = std::string(trimmed);
      heading.key = Key(trimmed);
      out.headingLikeKeys.push_back(heading.key);
      out.headings.push_back(std::move(heading));
      continue;
    }
    const bool wordsAlone = alone && HasTitleCharacters(trimmed);
    // A numbered title alone on its line may open with a sign ("2.4.  *RULE:  REPETITION").
    const bool numberedAlone = label.level > 0 && wordsAlone && (titled || !IsAlnum(first));
    const bool titleAlone = line.indent == 0 && wordsAlone && IsUpper(first);
    const bool underlined = i + 1 < lines.size() && IsUnderline(lines[i + 1]) &&
                            IsAlnum(first) && HasTitleCharacters(trimmed);
    if (numberedAlone || titleAlone || underlined || IsCentredTitle(line) ||
        IsIndentedSubheading(lines, i))
      out.headingLikeKeys.push_back(Key(trimmed));
  }
  return out;
}

namespace {

// The value of attribute name in the tag text (between '<' and '>'); empty when absent.
std::string_view Attribute(std::string_view tag, std::string_view name) {
  std::size_t at = 0;
  while ((at = tag.find(name, at)) != std::string_view::npos) {
    const std::size_t quote = at + name.size();
    if (at > 0 && tag[at - 1] == ' ' && tag.compare(quote, 2, "=\"") == 0) {
      const std::size_t end = tag.find('"', quote + 2);
      if (end != std::string_view::npos)
        return tag.substr(quote + 2, end - quote - 2);
    }
    at = quote;
  }
  return {};
}

int HeadingStyleLevel(std::string_view style) {
  constexpr std::string_view kPrefix = "Heading_20_";
  if (style.size() != kPrefix.size() + 1 || style.rfind(kPrefix, 0) != 0)
    return 0;
  const char n = style.back();
  return n >= '1' && n <= '9' ? n - '0' : 0;
}

bool TagIs(std::string_view tag, std::string_view name) {
  return tag.rfind(name, 0) == 0 &&
         (tag.size() == name.size() || tag[name.size()] == ' ' || tag[name.size()] == '/');
}

// Appends the character of the entity at text[at] ('&') to out; returns where it ends.
std::size_t AppendEntity(std::string_view text, std::size_t at, std::string& out) {
  const std::size_t end = text.find(';', at);
  if (end == std::string_view::npos || end - at > 10) {
    out += '&';
    return at + 1;
  }
  const std::string_view name = text.substr(at + 1, end - at - 1);
  if (name == "amp")
    out += '&';
  else if (name == "lt")
    out += '<';
  else if (name == "gt")
    out += '>';
  else if (name == "quot")
    out += '"';
  else if (name == "apos")
    out += '\'';
  else if (!name.empty() && name[0] == '#') {
    const long code = name.size() > 1 && name[1] == 'x'
                          ? std::strtol(std::string(name.substr(2)).c_str(), nullptr, 16)
                          : std::strtol(std::string(name.substr(1)).c_str(), nullptr, 10);
    out += code > 0 && code < 0x80 ? static_cast<char>(code) : ' ';
  } else {
    out += ' ';
  }
  return end + 1;
}

void FinishParagraph(OutputParagraph& paragraph, const std::string& raw) {
  std::size_t from = 0;
  for (;;) {
    const std::size_t end = std::min(raw.find('\n', from), raw.size());
    const std::string part = Key(std::string_view(raw).substr(from, end - from));
    if (!part.empty()) {
      if (!paragraph.key.empty()) {
        paragraph.key += ' ';
        paragraph.lineStarts.push_back(paragraph.key.size());
      }
      paragraph.key += part;
    }
    if (end >= raw.size())
      break;
    from = end + 1;
  }
}

}  // namespace

std::vector<OutputParagraph> ReadOutputParagraphs(std::string_view fodt) {
  // Paragraph styles that are, or derive from, a "Heading N" style.
  std::unordered_map<std::string, int> styleLevels;
  for (std::size_t at = fodt.find("<style:style "); at != std::string_view::npos;
       at = fodt.find("<style:style ", at + 1)) {
    const std::string_view tag = fodt.substr(at + 1, fodt.find('>', at) - at - 1);
    if (Attribute(tag, "style:family") != "paragraph")
      continue;
    const std::string_view name = Attribute(tag, "style:name");
    const int level = std::max(HeadingStyleLevel(name),
                               HeadingStyleLevel(Attribute(tag, "style:parent-style-name")));
    if (level > 0)
      styleLevels.emplace(std::string(name), level);
  }

  std::vector<OutputParagraph> paragraphs;
  std::vector<std::pair<std::size_t, std::string>> open;  // paragraph index, raw text so far
  const std::size_t body = fodt.find("<office:body");
  std::size_t at = body == std::string_view::npos ? fodt.size() : body;
  while (at < fodt.size()) {
    const char c = fodt[at];
    if (c == '&') {
      if (open.empty()) {
        ++at;
        continue;
      }
      at = AppendEntity(fodt, at, open.back().second);
      continue;
    }
    if (c != '<') {
      if (!open.empty())
        open.back().second += c;
      ++at;
      continue;
    }
    const std::size_t end = fodt.find('>', at);
    if (end == std::string_view::npos)
      break;
    const std::string_view tag = fodt.substr(at + 1, end - at - 1);
    at = end + 1;
    const bool closes = !tag.empty() && tag.back() == '/';
    if (TagIs(tag, "text:p") || TagIs(tag, "text:h")) {
      OutputParagraph paragraph;
      const std::string_view style = Attribute(tag, "text:style-name");
      const auto level = styleLevels.find(std::string(style));
      paragraph.styleLevel = level == styleLevels.end() ? HeadingStyleLevel(style) : level->second;
      if (TagIs(tag, "text:h")) {
        const std::string_view outline = Attribute(tag, "text:outline-level");
        paragraph.outlineLevel = outline.empty() ? 1 : std::atoi(std::string(outline).c_str());
      }
      paragraphs.push_back(std::move(paragraph));
      if (!closes)
        open.emplace_back(paragraphs.size() - 1, std::string());
    } else if (tag == "/text:p" || tag == "/text:h") {
      if (!open.empty()) {
        FinishParagraph(paragraphs[open.back().first], open.back().second);
        open.pop_back();
      }
    } else if (!open.empty() && (TagIs(tag, "text:s") || TagIs(tag, "text:tab"))) {
      open.back().second += ' ';
    } else if (!open.empty() && TagIs(tag, "text:line-break")) {
      open.back().second += '\n';
    }
  }
  return paragraphs;
}

namespace {

// Whether key begins with prefix, word for word.
bool BeginsWith(std::string_view key, std::string_view prefix) {
  return !prefix.empty() && key.rfind(prefix, 0) == 0 &&
         (key.size() == prefix.size() || key[prefix.size()] == ' ');
}

// The first word of key after prefix (which it begins with); empty when nothing follows.
std::string_view WordAfter(std::string_view key, std::string_view prefix) {
  if (key.size() <= prefix.size() + 1)
    return {};
  const std::string_view rest = key.substr(prefix.size() + 1);
  return rest.substr(0, rest.find(' '));
}

bool IsNumberWord(std::string_view word) {
  return IsRoman(word) ||
         (!word.empty() && std::all_of(word.begin(), word.end(), IsDigit));
}

// A heading paragraph holds the reference heading: its text begins with the heading's and
// does not go on with a bare number, which a contents entry's page number would be.
bool HoldsHeading(std::string_view paragraph, std::string_view heading) {
  return BeginsWith(paragraph, heading) && !IsNumberWord(WordAfter(paragraph, heading));
}

// Whether key holds a heading of set as HoldsHeading reads it.
bool HoldsAnyHeading(std::string_view key, const std::unordered_set<std::string_view>& set) {
  for (std::size_t end = key.find(' '); ; end = key.find(' ', end + 1)) {
    const std::string_view prefix = key.substr(0, end);
    if (set.count(prefix) != 0 && HoldsHeading(key, prefix))
      return true;
    if (end == std::string_view::npos)
      return false;
  }
}

void Keep(std::vector<std::string>& texts, std::string text) {
  if (texts.size() < kKeptTexts)
    texts.push_back(std::move(text));
}

// Whether the output line begins with the entry: its text, then its page number in the same
// line or, when the page number stands in a cell or paragraph of its own, in the next line.
bool LineHoldsEntry(const std::vector<std::string_view>& lines, std::size_t at,
                    const ContentsEntry& entry) {
  if (!BeginsWith(lines[at], entry.key))
    return false;
  if (entry.pageKey.empty())
    return true;
  const std::string_view rest =
      lines[at].size() > entry.key.size() ? lines[at].substr(entry.key.size() + 1) : "";
  if (!rest.empty())
    return BeginsWith(rest, entry.pageKey);
  return at + 1 < lines.size() && BeginsWith(lines[at + 1], entry.pageKey);
}

}  // namespace

StructureScore ScoreStructure(const InputStructure& input,
                              const std::vector<OutputParagraph>& output) {
  StructureScore score;
  std::vector<const OutputParagraph*> headings;
  for (const OutputParagraph& p : output) {
    if (!p.IsHeading())
      continue;
    headings.push_back(&p);
    if (p.outlineLevel != 0)
      continue;
    ++score.withoutOutline;
    Keep(score.withoutOutlineTexts, p.key.substr(0, 100));
  }
  score.headingParagraphs = static_cast<int>(headings.size());

  // Reference headings in order: each is looked for after the last one found, so a heading
  // missing does not lose the place.
  score.references = static_cast<int>(input.headings.size());
  std::vector<bool> matched(headings.size(), false);
  std::size_t from = 0;
  for (const ReferenceHeading& heading : input.headings) {
    std::size_t at = from;
    while (at < headings.size() && !HoldsHeading(headings[at]->key, heading.key))
      ++at;
    if (at == headings.size()) {
      ++score.missing;
      Keep(score.missingTexts, std::to_string(heading.line) + ": " + heading.text);
      continue;
    }
    matched[at] = true;
    from = at + 1;
    if (headings[at]->Level() == std::min(heading.level, kDeepestHeadingLevel)) {
      ++score.foundAtLevel;
    } else {
      ++score.wrongLevel;
      Keep(score.wrongLevelTexts, heading.text + " (level " + std::to_string(heading.level) +
                                      ", found " + std::to_string(headings[at]->Level()) + ")");
    }
  }

  const std::unordered_set<std::string_view> headingLike(input.headingLikeKeys.begin(),
                                                         input.headingLikeKeys.end());
  score.headingKinds.assign(headings.size(), HeadingKind::Reference);
  for (std::size_t i = 0; i < headings.size(); ++i) {
    if (matched[i])
      continue;
    if (HoldsAnyHeading(headings[i]->key, headingLike)) {
      ++score.otherHeadings;
      score.headingKinds[i] = HeadingKind::Other;
      continue;
    }
    ++score.falseHeadings;
    score.headingKinds[i] = HeadingKind::False;
    Keep(score.falseTexts, headings[i]->key.substr(0, 100));
  }

  // The output's lines: each paragraph, and each part of one after a line break.
  std::vector<std::string_view> lines;
  for (const OutputParagraph& p : output) {
    const std::string_view key = p.key;
    std::size_t start = 0;
    for (const std::size_t next : p.lineStarts) {
      lines.push_back(key.substr(start, next - 1 - start));
      start = next;
    }
    lines.push_back(key.substr(start));
  }
  score.contentsEntries = static_cast<int>(input.contents.size());
  std::size_t line = 0;
  for (const ContentsEntry& entry : input.contents) {
    // An entry with its page number is looked for up to the end (an entry merged with the
    // ones before it must not hide the rest); the first line of a long entry, which the
    // body's heading repeats, only near the last entry found.
    const std::size_t end =
        entry.pageKey.empty() ? std::min(lines.size(), line + kContentsWindow) : lines.size();
    std::size_t at = line;
    while (at < end && !LineHoldsEntry(lines, at, entry))
      ++at;
    if (at == end) {
      Keep(score.mergedContentsTexts, std::to_string(entry.line) + ": " + entry.text);
      continue;
    }
    ++score.contentsOnOwnLine;
    line = at + 1;
  }
  return score;
}
