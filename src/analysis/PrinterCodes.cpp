#include "analysis/PrinterCodes.h"

#include <string>
#include <string_view>

#include "engine/Context.h"
#include "policy/FileControl.h"

static constexpr char kEscape = 27;
static constexpr char kFormFeed = 12;
// The group of a row that takes any digit 0-9 as its group character.
static constexpr char kAnyDigit = '#';

// A parameterised code: family, group, a value, and an upper-case terminator.
struct PclCommandRow {
  char family;
  char group;
  std::string_view terminators;
};

static constexpr PclCommandRow kPclCommands[] = {
    {'&', 'a', "CHLPRV"},
    {'&', 'd', "D"},
    {'&', 'f', "SXY"},
    {'&', 'k', "GHS"},
    {'&', 'l', "ACDHOPUVX"},
    {'&', 's', "C"},
    {'&', kAnyDigit, "EFLM"},
    {'*', 'b', "MWY"},
    {'*', 'c', "ABDEFGHKLPTVXY"},
    {'*', 'p', "XY"},
    {'*', 'r', "ABFST"},
    {'*', 't', "R"},
    {'*', kAnyDigit, "D"},
    {'(', 's', "BHPSTVW"},
    {'(', 'v', "NOT"},
    {'(', kAnyDigit, "DEFGIJKLNSTUX"},
    {')', 's', "O"},
};

// Three-character codes that end without a letter (symbol-set defaults, underline off).
static constexpr std::string_view kShortCodes[] = {"(3@", ")3@", "&d@"};
// The page eject: one form feed takes its place.
static constexpr std::string_view kPageEject = "&l0H";

static bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

static bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         CompareChars(a.data(), b.data(), static_cast<int>(a.size()), 1) == 0;
}

// Length of the code that starts at text[from] (the character after an escape).
static int CodeLength(std::string_view text, std::size_t from) {
  if (from + 3 <= text.size()) {
    for (const std::string_view shortCode : kShortCodes) {
      if (EqualsIgnoringCase(text.substr(from, 3), shortCode))
        return 3;
    }
  }
  std::size_t end = from;
  while (end < text.size()) {
    const char c = text[end];
    if (c == '\t' || c == ' ' || c == kEscape)
      break;
    ++end;
    if (IsUpperLetter(c))
      break;
  }
  return static_cast<int>(end - from);
}

static bool GroupMatches(char rowGroup, char group) {
  return rowGroup == kAnyDigit ? IsDigit(group) : rowGroup == group;
}

bool IsKnownPclCode(const char* code, int length) {
  if (code == nullptr || length <= 0)
    return false;
  const std::string_view text(code, static_cast<std::size_t>(length));
  if (length == 3) {
    for (const std::string_view shortCode : kShortCodes) {
      if (EqualsIgnoringCase(text, shortCode))
        return true;
    }
  }
  if (text == "E")
    return true;
  if (text.front() == '%' && text.back() == 'B')
    return true;
  if (length < 3)
    return false;
  const char terminator = text.back();
  if (!IsUpperLetter(terminator))
    return false;
  for (const PclCommandRow& row : kPclCommands) {
    if (row.family == text[0] && GroupMatches(row.group, text[1]) &&
        row.terminators.find(terminator) != std::string_view::npos)
      return true;
  }
  return false;
}

static void ReportUnknownCode(FileControl& fc, std::string_view code) {
  const Context* ctx = fc.pGetContext();
  if (ctx != nullptr && (ctx->AnalysisPass || ctx->ContentsPass))
    return;
  TextString message("Unknown PCL Code \"Esc ");
  TextString codeText;
  codeText.AssignBytes(code.data(), static_cast<int>(code.size()));
  message.Append(codeText);
  message.AppendChar('"');
  fc.ReportMessage(message.GetText(), 7);
}

void RemovePclCodes(FileControl& fc, const TextString& text, TextString& out, int remove,
                    int& recognised) {
  const std::string_view input(text.GetText(), static_cast<std::size_t>(text.GetLength()));
  std::size_t at = input.find(kEscape);
  // One pass: a removed sequence changes nothing before it, so this equals removing the first
  // sequence and scanning again from the start, without the repeated scans.
  std::string result;
  std::size_t copied = 0;
  while (at != std::string_view::npos) {
    const std::size_t codeStart = at + 1;
    const int length = CodeLength(input, codeStart);
    const std::string_view code = input.substr(codeStart, static_cast<std::size_t>(length));
    if (IsKnownPclCode(code.data(), length))
      ++recognised;
    else
      ReportUnknownCode(fc, code);
    if (remove) {
      result.append(input.substr(copied, at - copied));
      if (EqualsIgnoringCase(code, kPageEject))
        result.push_back(kFormFeed);
      copied = codeStart + code.size();
    }
    at = input.find(kEscape, codeStart);
  }
  if (!remove || copied == 0) {
    if (&out != &text)
      out = text;
    return;
  }
  result.append(input.substr(copied));
  out.AssignBytes(result.data(), static_cast<int>(result.size()));
}
