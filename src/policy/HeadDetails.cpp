#include "policy/HeadDetails.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

static constexpr std::string_view kAtIndent = "at indent";
static constexpr std::string_view kNumberedParagraph = "Numbered Paragraph";
static constexpr std::string_view kStyleLetters = "AINai";

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

static std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

static void AssignView(TextString& out, std::string_view text) {
  out.AssignBytes(text.data(), static_cast<int>(text.size()));
}

static int CountWords(std::string_view text, int limit) {
  int words = 0;
  bool inWord = false;
  for (char c : text) {
    if (IsBlank(c)) {
      inWord = false;
      continue;
    }
    if (!inWord)
      ++words;
    inWord = true;
  }
  return std::min(words, limit);
}

// Leading decimal integer with an optional '-'; 0 when no digit follows, clamped to int.
static int ReadInteger(std::string_view text) {
  bool negative = false;
  size_t i = 0;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT_MAX)
      return negative ? INT_MIN : INT_MAX;
  }
  return static_cast<int>(negative ? -value : value);
}

static int StyleFromLetter(char c) {
  switch (c) {
    case 'a':
      return HeadDetails::kLowerAlpha;
    case 'i':
      return HeadDetails::kLowerRoman;
    case 'A':
      return HeadDetails::kUpperAlpha;
    case 'I':
      return HeadDetails::kUpperRoman;
    default:
      return HeadDetails::kDecimal;
  }
}

void HeadDetails::Reset() {
  // The texts keep their buffers; everything else takes its reset value.
  defined = 0;
  style = kDecimal;
  indent = -1;
  prefixWords.SetEmpty();
  wordCount = 1;
  numberedParagraph = 0;
  prefixGiven = 0;
  before.SetEmpty();
  after.SetEmpty();
  trailingX = 0;
  separator = '.';
  furtherValue1 = -1;
  furtherValue2 = -1;
  for (int i = 0; i < 2; ++i) {
    numberingWords[i].SetEmpty();
    numberingWordEnabled[i] = 0;
  }
  noJoin = 0;
}

void HeadDetails::MergeFrom(const HeadDetails& other) {
  if (&other == this)
    return;
  const int keptIndent = indent;
  const int keptFurther1 = furtherValue1;
  const int keptFurther2 = furtherValue2;
  *this = other;
  if (other.indent == -1)
    indent = keptIndent;
  if (other.furtherValue1 == -1)
    furtherValue1 = keptFurther1;
  if (other.furtherValue2 == -1)
    furtherValue2 = keptFurther2;
}

int HeadDetails::Format(int levelCount, TextString& out) const {
  out.Clear();
  if (numberedParagraph != 0) {
    out.Assign("\"\" Numbered Paragraph");
    return 1;
  }
  if (wordCount > 1 || prefixGiven != 0) {
    out.AppendChar('"');
    out.Append(prefixWords);
    out.Append("\" ");
  } else {
    out.Append("\"\" ");
  }
  out.Append(before);
  switch (style) {
    case kLowerAlpha:
      out.AppendChar('a');
      break;
    case kLowerRoman:
      out.AppendChar('i');
      break;
    case kUpperAlpha:
      out.AppendChar('A');
      break;
    case kUpperRoman:
      out.AppendChar('I');
      break;
    default:
      // Decimal: one N per level shown; at least one so the form stays readable.
      out.AppendChar('N');
      for (int i = 0; i < levelCount; ++i) {
        out.AppendChar(separator);
        out.AppendChar('N');
      }
      break;
  }
  out.Append(after);
  if (trailingX != 0)
    out.AppendChar('x');
  out.Append(" at indent ");
  out.Append(std::to_string(indent).c_str());
  return 1;
}

int HeadDetails::Parse(int /*levelCount*/, const TextString& text) {
  Reset();
  const std::string_view whole =
      TrimBlanks(std::string_view(text.GetText(), static_cast<size_t>(text.GetLength())));

  // Without "at indent" the whole text is the numbering and the indent stays unset.
  const size_t atIndent = whole.find(kAtIndent);
  std::string numbering(whole.substr(0, atIndent));
  const bool hasIndent = atIndent != std::string_view::npos;
  const std::string_view indentPart =
      hasIndent ? TrimBlanks(whole.substr(atIndent + kAtIndent.size())) : std::string_view();

  // The prefix is what the first two double quotes enclose.
  std::string prefix;
  const size_t open = numbering.find('"');
  const size_t close = open == std::string::npos ? open : numbering.find('"', open + 1);
  if (close != std::string::npos)
    prefix = numbering.substr(open + 1, close - open - 1);
  if (!prefix.empty())
    numbering.erase(numbering.find(prefix), prefix.size());
  std::erase(numbering, '"');
  std::string_view rest = TrimBlanks(numbering);

  if (!prefix.empty()) {
    AssignView(prefixWords, prefix);
    wordCount = CountWords(prefix, kMaxPrefixWords);
    prefixGiven = 1;
  }

  if (rest.find(kNumberedParagraph) != std::string_view::npos) {
    numberedParagraph = 1;
  } else {
    if (!rest.empty() && rest.back() == 'x') {
      trailingX = 1;
      rest.remove_suffix(1);
    }
    const size_t first = rest.find_first_of(kStyleLetters);
    if (first == std::string_view::npos)
      return 0;
    AssignView(before, rest.substr(0, first));
    rest.remove_prefix(first);
    const size_t last = rest.find_last_of(kStyleLetters);
    AssignView(after, rest.substr(last + 1));
    // What remains starts with a style letter: the search above found one.
    style = StyleFromLetter(rest.front());
  }

  if (hasIndent)
    indent = ReadInteger(indentPart);
  defined = 1;
  return 1;
}
