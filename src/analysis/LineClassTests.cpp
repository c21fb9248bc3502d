#include "analysis/LineClassTests.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "analysis/BulletWords.h"
#include "analysis/EmphasisMarks.h"
#include "analysis/PreHTML.h"
#include "analysis/TextViews.h"
#include "policy/AnalysisStatistics.h"
#include "engine/Context.h"
#include "policy/TextClassification.h"
#include "engine/Tracker.h"
#include "policy/ErrorHandler.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "policy/PolicyTable.h"
#include "text/CharacterUtils.h"
#include "text/Statement.h"
#include "text/StatementTypes.h"
#include "text/TextString.h"

// ---- Text views ----

// The first blank-separated word of a text that starts with no blank.
static std::string_view FirstWord(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end]))
    ++end;
  return text.substr(0, end);
}

// The last blank-separated word of a text that ends with no blank.
static std::string_view LastWord(std::string_view text) {
  std::size_t start = text.size();
  while (start > 0 && !IsBlank(text[start - 1]))
    --start;
  return text.substr(start);
}

static bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

static bool Contains(std::string_view text, char c) {
  return text.find(c) != std::string_view::npos;
}

// part occurs wholly within the first span bytes of text.
static bool ContainsWithin(std::string_view text, std::string_view part, std::size_t span) {
  return Contains(text.substr(0, std::min(span, text.size())), part);
}

static bool IsAnyOfNoCase(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [word](std::string_view w) { return EqualsNoCase(word, w); });
}

// ---- Run state through the policy set ----

static bool InAnalysisPass(const FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr && ctx->AnalysisPass != 0;
}

// The last "Indent position(s)" entry; -1 when there is none.
static int LastIndentPosition(const FileControl& fc) {
  const FileControl::IndentPositions& indent = fc.GetIndentPositions();
  int last = -1;
  for (int i = 0; i < indent.count && i < FileControl::kMaxPositions; ++i) {
    if (indent.positions[i] >= 0)
      last = indent.positions[i];
  }
  return last;
}

// The indent from which a line counts as deeply indented for the pre-formatted score.
static int DeepIndent(const FileControl& fc) {
  const int last = LastIndentPosition(fc);
  return last < 0 ? 6 : last + 4;
}

// A line whose type is not decided yet: untyped, or still unset.
static bool IsUntyped(int type) { return type == kTypeUntyped || type == kTagNone; }

// ---- Type codes ----

bool IsTaggedType(LogErrorHandler* handler, int type) {
  if (type == kTypeContentsList || IsDirectiveTagType(type))
    return true;
  if (type < kFirstTagType)
    return false;
  if (handler != nullptr)
    handler->Report("UNSUPPORTED CASE: Probably tagged type in IsTaggedType", 10);
  return true;
}

// ---- Embedded headings ----

int GetEmbeddedHeadingText(FileControl& fc, PreHTML& line, Statement& out) {
  const std::string_view text = View(line);
  if (InAnalysisPass(fc) && !text.empty() && (text[0] == '"' || text[0] == '\''))
    return 0;
  std::size_t end = 0;
  bool capital = false;
  while (end < text.size() && !IsAsciiLower(text[end]) && text[end] != '<') {
    // 'A' and 'Z' open too many ordinary sentences and list labels to count.
    capital = capital || (text[end] >= 'B' && text[end] <= 'Y');
    ++end;
  }
  const bool beforeTag = end < text.size() && text[end] == '<';
  if (!capital && !beforeTag)
    return 0;
  // The heading ends before the word that the lower-case letter (or tag) belongs to.
  std::size_t cut = end;
  while (cut > 0 && text[cut - 1] != ' ' && text[cut - 1] != '.')
    --cut;
  if (cut == 0)
    return 0;
  const std::size_t length = cut - 1;
  if (length <= 9)
    return 0;
  out.AssignBytes(text.data(), static_cast<int>(length));
  return 1;
}

// ---- Definitions ----

// Whether a definition may follow a line of previousType.
static bool MayFollowAsDefinition(const FileControl& fc, int previousType) {
  const FileControl::DefinitionChars& chars = fc.GetDefinitionChars();
  const bool strong = chars.dashStrong != 0 || chars.colonStrong != 0;
  if (previousType == kTypeBlank || previousType == kTypeDefinition || IsHeadingType(previousType))
    return true;
  if (previousType == kTypeUntyped)
    return strong && fc.GetInt(PolicyId::ExpectBlankLinesBetweenParas) == 0;
  return strong;
}

// The earliest separator within the first 40 bytes: its column and which it is ('-', ':',
// '='), or column -1.
struct DefinitionSeparator {
  int column = -1;
  char kind = 0;
};

static DefinitionSeparator FindDefinitionSeparator(const FileControl& fc, std::string_view text) {
  constexpr std::size_t kSearchSpan = 40;
  const FileControl::DefinitionChars& chars = fc.GetDefinitionChars();
  const std::string_view head = text.substr(0, std::min(kSearchSpan, text.size()));
  DefinitionSeparator found;
  auto consider = [&](std::string_view separator, char kind) {
    const std::size_t at = head.find(separator);
    if (at == std::string_view::npos)
      return;
    if (found.column < 0 || static_cast<int>(at) < found.column)
      found = {static_cast<int>(at), kind};
  };
  if (chars.dashAccepted)
    consider(" - ", '-');
  if (chars.colonAccepted)
    consider(": ", ':');
  consider("= ", '=');
  return found;
}

int TestDefinitionLine(FileControl& fc, PreHTML& line, int previousType) {
  if (line.GetLineType() != kTypeUntyped || fc.GetInt(PolicyId::SearchForDefinitions) == 0)
    return kNotClassified;
  if (!MayFollowAsDefinition(fc, previousType))
    return kNotClassified;
  const std::string_view text = View(line.GetPlain());
  const DefinitionSeparator separator = FindDefinitionSeparator(fc, text);
  if (separator.column < 0)
    return kNotClassified;

  bool candidate = separator.kind == '=';
  if (separator.kind != '=' && !text.empty() && IsAsciiLetterOrDigit(text[0])) {
    const FileControl::DefinitionChars& chars = fc.GetDefinitionChars();
    const bool dash = separator.kind == '-';
    const bool strong = dash ? chars.dashStrong != 0 : chars.colonStrong != 0;
    const int column = separator.column;
    const int width = fc.GetInt(PolicyId::PageWidth);
    candidate = (4 * column < width && column <= 40) || (strong && 2 * column < width && column <= 50);
    Context* ctx = fc.pGetContext();
    if (ctx != nullptr && ctx->AnalysisPass) {
      CalculationStatistics named(ctx->Statistics);
      ++(dash ? named.dashInText : named.colonInText);
      if (candidate)
        ++(dash ? named.dashInDefinitions : named.colonInDefinitions);
    }
  }
  if (!candidate)
    return kNotClassified;
  line.SetFlag(kFlagDefinitionCandidate, true);
  if (line.HasFlag(kFlagUserRegion) && fc.GetInt(PolicyId::AllowDefinitionsInsidePRE) == 0)
    return kNotClassified;
  return kTypeDefinition;
}

// ---- Underlines ----

static bool IsUnderlineChar(char c) {
  return std::string_view("*+-/=_~.").find(c) != std::string_view::npos;
}
// Underline characters that may follow a blank inside an underline.
static bool IsSpacedUnderlineChar(char c) {
  return std::string_view("*-/=_~").find(c) != std::string_view::npos;
}

// The heading level hint of an underline character for the heading-candidate test.
static int UnderlineLevelHint(char c) {
  switch (c) {
    case '*': return 0;
    case '-':
    case '_':
    case '~': return 2;
    case '.': return 3;
    default: return 1;
  }
}

// The headings whose underline is only decoration: the line above keeps its kind.
static bool IsDecoratedHeadingType(int type) {
  return IsLevelHeadingType(type) || type == kTypeCapitalisedHeading ||
         type == kTypeEmbeddedHeading || IsKeyPhraseHeadingType(type) ||
         IsContentsHeadingType(type);
}

// A one-word line: its first word, longer than 2 bytes, spans the line.
static bool IsOneWordLine(const LineContext& current, int firstWordLength) {
  if (firstWordLength <= 2)
    return false;
  return firstWordLength == current.length || firstWordLength == current.length - current.indent ||
         firstWordLength == current.lastNonBlankColumn ||
         firstWordLength == current.lastNonBlankColumn - current.indent;
}

// Whether the underline ends near where the line above ends.
static bool EndsCloseTo(const LineContext& current, const LineContext& previous) {
  const int nearest = std::min({std::min(std::abs(current.length - previous.length), 80),
                                std::abs(current.length - previous.lastNonBlankColumn),
                                std::abs(current.length - previous.tidyLength),
                                std::abs(current.lastNonBlankColumn - previous.lastNonBlankColumn),
                                std::abs(current.lastNonBlankColumn - previous.length)});
  const int tidyGap = std::abs(current.lastNonBlankColumn - previous.tidyLength);
  return previous.lastNonBlankColumn >= 3 && std::min(nearest, tidyGap) <= 4;
}

static void Retype(FileControl& fc, LineContext& record, int type) {
  if (record.line == nullptr)
    return;
  record.line->SetLineType(type);
  FillLineContext(fc, record, record.line);
}

// An overline (a rule line above the heading) becomes part of the heading.
static void AbsorbOverline(FileControl& fc, LineContext& beforePrevious) {
  if (beforePrevious.line != nullptr && beforePrevious.type == kTypeLine)
    Retype(fc, beforePrevious, kTypeHeaderNull);
}

// The pre-formatted score of the next line as the heading test weighs it: a line inside a user
// region does not count against a heading outside one.
static int NextLineScore(FileControl& fc, const LineContext& current, const LineContext& next) {
  if (next.line == nullptr || (next.inUserRegion && !current.inUserRegion))
    return 0;
  return next.line->PreformattedScore(fc, nullptr, 0);
}

// Underlined text that is no heading still ends its paragraph: otherwise it and its underline
// (which is not written) run into the paragraph after them.
static void EndUnderlinedText(LineContext& previous) {
  if (previous.line != nullptr && IsUntyped(previous.line->GetLineType()))
    previous.line->SetFlag(kFlagParagraphEnd, true);
}

// Tries to make the effective previous line an underlined heading; true when it was given to
// the heading-candidate test (whatever that decided).
static bool TryUnderlinedHeading(FileControl& fc, AnalysisStatistics& statistics,
                                 LineContext& beforePrevious, LineContext& previous,
                                 const LineContext& current, const LineContext& next, char mark,
                                 bool close) {
  Context* ctx = fc.pGetContext();
  PreHTML* heading = previous.line;
  if (ctx == nullptr || heading == nullptr || !close)
    return false;
  if (!IsUntyped(previous.type) && previous.type != kTypeDefinition)
    return false;
  if (!ctx->GetPassTracker(ctx->CodeLocation).Allows(Permission::UnderlinedHeadings) ||
      fc.GetInt(PolicyId::ExpectUnderlinedHeadings) == 0)
    return false;
  if (heading->PreformattedScore(fc, nullptr, 0) >= 9 || NextLineScore(fc, current, next) >= 9)
    return false;
  // A row of a box ("| Type | Length |" above "+------+--------+") is no heading.
  if (!heading->ContainsNoneOf("|"))
    return false;

  const std::string_view word = FirstWord(LeftTrimmed(View(*heading)));
  TextString candidate;
  candidate.AssignBytes(word.data(), static_cast<int>(word.size()));
  const int type = heading->TestHeadingCandidate(fc, *ctx, candidate, 1, UnderlineLevelHint(mark), 1);
  Retype(fc, previous, type);
  if (ctx->AnalysisPass)
    ++CalculationStatistics(statistics).underlinedHeadings;
  AbsorbOverline(fc, beforePrevious);
  heading->SetFlag(kFlagUnderlined, true);
  if (ctx->AnalysisPass && fc.GetInt(PolicyId::UseFirstHeadingAsTitle) != 0 &&
      ctx->FirstHeadingText.IsEmpty()) {
    ctx->FirstHeadingText.Assign(*heading);
    ctx->FirstHeadingText.Trim();
  }
  return true;
}

int TestUnderlineLine(FileControl& fc, AnalysisStatistics& statistics, PreHTML& line,
                      LineContext& beforePrevious, LineContext& previous, LineContext& current,
                      LineContext& next, int firstWordLength) {
  const std::string_view text = Trimmed(View(line.GetTidy()));
  if (text.empty() || !IsUntyped(current.type))
    return kNotClassified;
  if (!Contains(text, "- ") && !IsOneWordLine(current, firstWordLength))
    return kNotClassified;

  std::size_t end = 0;
  bool dotted = false;
  bool repeated = true;
  for (; end < text.size(); ++end) {
    const char c = text[end];
    if (c == ' ' ? !(end + 1 < text.size() && IsSpacedUnderlineChar(text[end + 1]))
                 : !IsUnderlineChar(c))
      break;
    dotted = dotted || c == '.';
    repeated = repeated && (end == 0 || c == text[end - 1]);
  }
  const int scanned = static_cast<int>(end);
  const int indent = std::max(current.indent, 0);
  const bool wholeLine = scanned == current.length || scanned == current.lastNonBlankColumn ||
                         scanned + indent == current.length ||
                         scanned + indent == current.lastNonBlankColumn;
  if (!wholeLine)
    return kNotClassified;
  // A row of dots is a leader or an ellipsis unless it is long and of dots alone.
  if (dotted && (!repeated || firstWordLength < 5))
    return kNotClassified;

  if (repeated) {
    line.SetFlag(kFlagRuleLine, true);
  } else {
    line.SetFlag(kFlagPreformatted, true);
    line.SetRollOut(fc, true);
    line.SetPreformattedKind(10);
    // A line drawn with '+' corners or ticks ("+------+", "+-+-+-+") is the edge of a box or
    // the tick ruler of a bit diagram: it underlines nothing and is no horizontal rule (either
    // would drop its characters), so it stays a pre-formatted line of the drawing.
    if (text.substr(0, end).find('+') != std::string_view::npos)
      return kNotClassified;
  }

  const bool close = EndsCloseTo(current, previous);
  if (IsDecoratedHeadingType(previous.type) && previous.line != nullptr) {
    AbsorbOverline(fc, beforePrevious);
    previous.line->SetFlag(kFlagUnderlined, true);
    return kUnderlinesPrevious;
  }
  const bool lookForUnderlines = fc.GetInt(PolicyId::LookForUnderlinedText) != 0;
  if ((lookForUnderlines || fc.GetInt(PolicyId::ExpectUnderlinedHeadings) != 0) &&
      TryUnderlinedHeading(fc, statistics, beforePrevious, previous, current, next, text[0],
                           close)) {
    EndUnderlinedText(previous);
    return kUnderlinesPrevious;
  }
  if (!lookForUnderlines || !close || previous.line == nullptr)
    return kTypeLine;
  // An underline across the whole page separates rather than underlines.
  if (std::abs(current.length - fc.GetInt(PolicyId::PageWidth)) <= 2)
    return kTypeLine;
  previous.line->SetFlag(kFlagUnderlined, true);
  EndUnderlinedText(previous);
  return kUnderlinesPrevious;
}

// ---- Blank alignment ----

void BlankAlignmentRatio(const char* a, const char* b, double& ratio, int& runs) {
  runs = 0;
  ratio = 0.0;
  if (a == nullptr || b == nullptr)
    return;
  // The texts are compared up to the end of the shorter; the library's search finds each
  // run of blanks in a, and only a run's own bytes are looked at in b.
  const std::size_t size = std::min(std::strlen(a), std::strlen(b));
  int aligned = 0;
  int count = 0;  // a local: runs may alias the texts' bytes
  std::size_t i = 0;
  while (i < size) {
    const void* hit = std::memchr(a + i, ' ', size - i);
    if (hit == nullptr)
      break;
    i = static_cast<std::size_t>(static_cast<const char*>(hit) - a);
    ++count;
    bool runAligned = false;
    for (; i < size && a[i] == ' '; ++i)
      runAligned = runAligned || b[i] == ' ';
    aligned += runAligned ? 1 : 0;
  }
  runs = count;
  if (count > 0)
    ratio = static_cast<double>(aligned) / count;
}

// ---- Program source ----

// An entity such as "&lt;" or "&amp;" closes the text: its ';' ends no statement.
static bool EndsWithEntity(std::string_view text) {
  const std::size_t n = text.size();
  return (n >= 4 && text[n - 4] == '&') || (n >= 5 && text[n - 5] == '&');
}

// A line ending in ';' (not that of an entity) that reads as a statement or declaration.
static bool IsStatementLine(std::string_view text, bool strict) {
  if (text.ends_with("++;") || text.ends_with(");") || Contains(text, '='))
    return true;
  for (const std::string_view start : {"int ", "char ", "static ", "extern ", "struct ", "this->",
                                       "void ", "long ", "delete ", "this.", "return"}) {
    if (StartsWithNoCase(text, start))
      return true;
  }
  if (!strict)
    return false;
  return StartsWithNoCase(text, "class ") || StartsWithNoCase(text, "switch ") ||
         StartsWithNoCase(text, "break");
}

// The words that open and close a control line in the common block languages.
static bool IsControlLine(std::string_view text, char last) {
  const std::string_view first = FirstWord(text);
  const std::string_view final = LastWord(text);
  if ((EqualsNoCase(first, "if") && EqualsNoCase(final, "then")) ||
      (EqualsNoCase(first, "case") && EqualsNoCase(final, "of")) ||
      (EqualsNoCase(first, "until") && EqualsNoCase(final, "or")))
    return true;
  if (final == "*/" && IsAnyOfNoCase(first, {"break", "else", "begin", "end", "case"}))
    return true;
  if (last == ')' && IsAnyOfNoCase(first, {"procedure", "function", "routine"}))
    return true;
  return IsAnyOfNoCase(text, {"else", "begin", "end", "break", "repeat"});
}

static bool IsPreprocessorLine(std::string_view text) {
  if (text.empty() || text[0] != '#')
    return false;
  if (text.ends_with('"') || text.ends_with('>') || text.ends_with("&gt;"))
    return true;
  for (const std::string_view word :
       {"ifdef ", "undef", "endif", "else", "ifndef ", "define ", "include "}) {
    if (Contains(text, word))
      return true;
  }
  return Contains(text, "while") && Contains(text, '(');
}

// A "//" comment within the first 80 bytes; one after ':' belongs to a web address.
static bool HasLineComment(std::string_view text) {
  constexpr std::size_t kSpan = 80;
  for (std::size_t at = text.find("//"); at != std::string_view::npos && at + 2 <= kSpan;
       at = text.find("//", at + 1)) {
    if (at == 0 || text[at - 1] != ':')
      return true;
  }
  return false;
}

static bool HasComparisonOrComment(std::string_view text) {
  if (Contains(text, "if ("))
    return true;
  if (Contains(text, '=') && ContainsWithin(text, "==", 80) && !Contains(text, "==="))
    return true;
  if (Contains(text, '/') && HasLineComment(text))
    return true;
  return Contains(text, '*') && (Contains(text, "/*") || Contains(text, "*/"));
}

// The weaker signs that only the strict test takes.
static bool HasWeakSourceSigns(std::string_view text, char last, bool entityEnd) {
  if (last == ')' || last == '}' || (last == ';' && !entityEnd))
    return true;
  if (Contains(text, "public ") || Contains(text, "private ") || Contains(text, "const "))
    return true;
  if (Contains(text, '&') && (Contains(text, "-&gt;") || Contains(text, "&amp;&amp;")))
    return true;
  if (Contains(text, '*') && Contains(text, " *"))
    return true;
  if (Contains(text, '=') &&
      (Contains(text, "!=") || Contains(text, ">=") || Contains(text, "<=")))
    return true;
  return Contains(text, "::");
}

bool LooksLikeSourceCode(const TextString& source, bool strict) {
  const std::string_view text = Trimmed(View(source));
  if (text.empty())
    return false;
  const char last = text.back();
  const bool entityEnd = EndsWithEntity(text);
  if (last == ';' && !entityEnd && IsStatementLine(text, strict))
    return true;
  if (last == '{' || last == '}')
    return true;
  if (last == ':' && ContainsWithin(text, "case ", 50))
    return true;
  if (IsControlLine(text, last) || IsPreprocessorLine(text) || HasComparisonOrComment(text))
    return true;
  return strict && HasWeakSourceSigns(text, last, entityEnd);
}

// ---- Bullets ----

// The bullet character a line opens with under the list permission, or 0. text is the line
// without its leading blanks.
static char LeadingBulletChar(const FileControl& fc, std::string_view text,
                              std::string_view tidy, bool analysisPass) {
  // "- -" near the start makes a rule or a pair of dashes, whichever rule asks.
  if (text.starts_with("- "))
    return ContainsWithin(text, "- -", 40) ? 0 : '-';
  if (text.starts_with("o "))
    return 'o';
  if (tidy.starts_with("\xB7 "))
    return '\xB7';
  if (text.size() >= 2 && text[1] == ' ') {
    const std::string_view chars = View(fc.GetText(PolicyId::BulletPointCharacters));
    if (Contains(chars, text[0]))
      return text[0];
  }
  if (!analysisPass || text.empty() || (text.size() > 1 && !IsBlank(text[1])))
    return 0;
  const char c = text[0];
  if (!fc.IsBulletChar(c))
    return 0;
  // A character that recurs in the line is punctuation rather than a bullet, '-' aside.
  if (c != '-' && std::count(text.begin(), text.end(), c) > 1)
    return 0;
  return std::any_of(text.begin(), text.end(), [](char x) { return IsAsciiLetterOrDigit(x); })
             ? c
             : 0;
}

int PreHTML::DetectBullet(FileControl& fc, AnalysisStatistics& statistics) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr || fc.GetInt(PolicyId::LookForBullets) == 0 || !fc.AreBulletsActive())
    return 0;
  const bool analysisPass = ctx->AnalysisPass != 0;
  const int lastPosition = LastIndentPosition(fc);
  if (!analysisPass && lastPosition >= 0 && indent_ > lastPosition + 6)
    return 0;
  const Tracker& tracker = ctx->GetPassTracker(ctx->CodeLocation);
  const bool listsAllowed = tracker.Allows(Permission::Lists) != 0;

  if (listsAllowed) {
    const char bullet =
        LeadingBulletChar(fc, LeftTrimmed(View(*this)), Trimmed(View(tidy_)), analysisPass);
    if (bullet != 0) {
      if (analysisPass) {
        CalculationStatistics named(statistics);
        named.bulletChars.Add(static_cast<unsigned char>(bullet));
        if (bullet == '-')
          ++named.dashBullets;
        else if (bullet == 'o')
          ++named.oBullets;
      }
      return kTypeBullet;
    }
  }

  TextString word;
  const int type =
      TidyBulletLine(fc, *ctx, *this, fc.GetInt(PolicyId::ExpectNumberedBullets),
                     fc.GetInt(PolicyId::ExpectRomanNumeralBullets),
                     fc.GetInt(PolicyId::ExpectAlphabeticBullets), word);
  if (type == kTypeBullet && !listsAllowed)
    return 0;
  if (analysisPass) {
    CalculationStatistics named(statistics);
    if (type == kTypeNumberedBullet)
      ++named.numberBullets;
    else if (type == kTypeLowerAlphaBullet || type == kTypeUpperAlphaBullet)
      ++named.alphaBullets;
    else if (type == kTypeLowerRomanBullet || type == kTypeUpperRomanBullet)
      ++named.romanBullets;
  }
  return type;
}

PreHTML* MarkBulletBlankLines(FileControl& /*fc*/, PreHTML& bulletLine) {
  PreHTML* above = AsLine(bulletLine.GetPrevious());
  if (!IsMarkedBulletType(bulletLine.GetLineType()))
    return above;
  constexpr int kMaxBlankLines = 3;
  int blanks = 0;
  PreHTML* reached = above;
  while (reached != nullptr && reached->GetLineType() == kTypeBlank && blanks < kMaxBlankLines) {
    reached = AsLine(reached->GetPrevious());
    ++blanks;
  }
  if (reached == nullptr || !IsAnyBulletType(reached->GetLineType()))
    return above;
  PreHTML* blank = above;
  for (int i = 0; i < blanks && blank != nullptr; ++i) {
    blank->SetLineType(kTypeBulletBlank);
    blank = AsLine(blank->GetPrevious());
  }
  return above;
}

// ---- Pre-formatted score ----

// The previous line is the (roll-out) underline of a numbered or underlined heading.
static bool UnderlinesHeading(const PreHTML& line) {
  const PreHTML* above = AsLine(line.GetPrevious());
  if (above == nullptr || !above->HasFlag(kFlagUnderlined))
    return false;
  return IsLevelHeadingType(above->GetLineType()) || IsUnderlinedHeadingType(above->GetLineType());
}

// An untyped line right after a roll-out line, both deeply indented: the block goes on.
static bool FollowsRollOutLine(const PreHTML& line, int deepIndent) {
  const PreHTML* above = AsLine(line.GetPrevious());
  return above != nullptr && above->HasFlag(kFlagRollOut) && IsUntyped(line.GetLineType()) &&
         line.GetIndent() >= deepIndent && above->GetIndent() >= deepIndent;
}

// What the markup rendering shows of a table or diagram.
struct LayoutCounts {
  int marks = 0;    // bars, pluses before more text, doubled '-', '=' and '|'
  int runs2 = 0;    // blank runs of at least 2, 3, 4 and 5 blanks
  int runs3 = 0;
  int runs4 = 0;
  int runs5 = 0;
  int longest = 0;  // the longest blank run
};

static void CountRun(LayoutCounts& counts, int run) {
  counts.runs2 += run >= 2;
  counts.runs3 += run >= 3;
  counts.runs4 += run >= 4;
  counts.runs5 += run >= 5;
  counts.longest = std::max(counts.longest, run);
}

// What each byte is to the layout count: most bytes are neither a blank nor a table mark and
// cost one look-up.
enum LayoutByte : unsigned char { kLayoutPlain = 0, kLayoutBlank = 1, kLayoutMark = 2 };
struct LayoutByteTable {
  unsigned char kinds[256] = {};
  constexpr LayoutByteTable() {
    kinds[static_cast<unsigned char>(' ')] = kLayoutBlank;
    for (const unsigned char c : {'|', '+', '-', '='})
      kinds[c] = kLayoutMark;
  }
};
static constexpr LayoutByteTable kLayoutBytes;

static LayoutCounts CountLayout(std::string_view text) {
  // Counted in locals (the result's memory may alias the text's bytes); a blank run is
  // counted once, where it ends.
  LayoutCounts local;
  int marks = 0;
  const std::size_t size = text.size();
  const char* bytes = text.data();
  std::size_t i = 0;
  while (i < size) {
    const char c = bytes[i];
    const unsigned char kind = kLayoutBytes.kinds[static_cast<unsigned char>(c)];
    if (kind == kLayoutPlain) {
      ++i;
      continue;
    }
    if (kind == kLayoutBlank) {
      std::size_t end = i + 1;
      while (end < size && bytes[end] == ' ')
        ++end;
      CountRun(local, static_cast<int>(end - i));
      i = end;
      continue;
    }
    const bool hasNext = i + 1 < size;
    marks += c == '|';
    marks += c == '+' && hasNext;
    marks += c != '+' && hasNext && bytes[i + 1] == c;
    ++i;
  }
  local.marks = marks;
  return local;
}

static int LayoutScoreForParagraphs(const LayoutCounts& n, int indent, int width, bool justified) {
  const int base = 2 * indent > width ? 2 : (indent > 20 || 3 * indent > width) ? 1 : 0;
  int value = 7;
  if (justified) {
    if (n.runs5 < 3 && n.marks < 4)
      value = n.runs5 >= 5 ? 7 : (n.runs4 < 3 && n.runs5 < 2) ? base : 3;
  } else if (n.runs3 < 3 && n.marks < 4) {
    value = n.runs2 >= 5 ? 7 : (n.runs2 < 4 && n.runs3 < 2) ? base : 3;
  }
  return n.longest >= 6 ? 9 : value;
}

static int LayoutScoreForRegions(const LayoutCounts& n, int indent, int width, bool justified) {
  const int base = 2 * indent > width ? 4 : 3 * indent > width ? 3 : indent <= 20 ? 0 : 2;
  const bool fewWideGaps = justified ? n.runs5 < 2 : n.runs3 < 2;
  const bool spaced = justified ? n.runs4 >= 3 : n.runs2 >= 4;
  const int value = !fewWideGaps || spaced ? 7 : base;
  return n.longest >= 3 ? 7 : value;
}

// The layout counts of the line's markup, from measure when it holds them.
static LayoutCounts MeasuredLayout(const TextString& markup, PreformattedMeasure* measure) {
  if (measure != nullptr && measure->layoutTaken)
    return {measure->marks,   measure->runs2, measure->runs3,
            measure->runs4,   measure->runs5, measure->longest};
  const LayoutCounts counts = CountLayout(Trimmed(View(markup)));
  if (measure != nullptr) {
    measure->layoutTaken = true;
    measure->marks = counts.marks;
    measure->runs2 = counts.runs2;
    measure->runs3 = counts.runs3;
    measure->runs4 = counts.runs4;
    measure->runs5 = counts.runs5;
    measure->longest = counts.longest;
  }
  return counts;
}

// BlankAlignmentRatio of the tidy renderings of a line and previous, from measure when it
// was taken against previous.
static void MeasuredAlignment(const TextString& tidy, const PreHTML& previous,
                              PreformattedMeasure* measure, double& ratio, int& runs) {
  if (measure != nullptr && measure->alignedWith == &previous) {
    ratio = measure->alignmentRatio;
    runs = measure->alignmentRuns;
    return;
  }
  BlankAlignmentRatio(tidy.GetText(), previous.GetTidy().GetText(), ratio, runs);
  if (measure != nullptr) {
    measure->alignedWith = &previous;
    measure->alignmentRatio = ratio;
    measure->alignmentRuns = runs;
  }
}

// IsMostlySymbols of the text of previous, from measure when it was taken of previous.
static bool MeasuredSymbols(const PreHTML& previous, PreformattedMeasure* measure) {
  if (measure != nullptr && measure->symbolsOf == &previous)
    return measure->mostlySymbols;
  const bool symbols = IsMostlySymbols(previous.GetText());
  if (measure != nullptr) {
    measure->symbolsOf = &previous;
    measure->mostlySymbols = symbols;
  }
  return symbols;
}

int PreHTML::PreformattedScore(FileControl& fc, const PreHTML* previous, int mode,
                               PreformattedMeasure* measure) const {
  const int indent = std::max(indent_, 0);
  const int length = std::max(lineLength_, 0);
  if (indent + length > fc.GetInt(PolicyId::MaxLengthOfCandidateTableLines) ||
      HasFlag(kFlagUserHtml) ||
      (taggedType_ >= kTagAlarmDefinition && taggedType_ <= kTagGraphDefinition))
    return 0;
  const int deep = DeepIndent(fc);
  const int type = GetLineType();

  int score = 0;
  bool aligned = false;  // a strong sign already: the alignment is not weighed
  if (previous != nullptr) {
    if (type == kTypeBlank && previous->GetLineType() == kTypeBlank)
      return 0;
    if (previous->HasFlag(kFlagRollOut)) {
      score = UnderlinesHeading(*previous) ? 0 : std::max(previous->GetPreformattedKind() - 2, 0);
      const int firstPosition = fc.GetIndentPositions().positions[0];
      if (IsUntyped(type) && previous->GetIndent() >= deep && previous->GetIndent() == indent_ &&
          firstPosition < indent_) {
        score = std::max(score, 7);
      } else if (!IsUntyped(type) && indent_ >= deep && score <= 3) {
        score = 3;
      }
      aligned = score > 6;
    } else {
      const PreHTML* above = AsLine(previous->GetPrevious());
      if (FollowsRollOutLine(*previous, deep) || (above != nullptr && FollowsRollOutLine(*above, deep)))
        score = 3;
    }
    if (!aligned) {
      double ratio = 0.0;
      int runs = 0;
      MeasuredAlignment(tidy_, *previous, measure, ratio, runs);
      if (ratio > 0.8 && runs > 4)
        score += 3;
    }
  }

  const LayoutCounts counts = MeasuredLayout(markup_, measure);
  const int width = fc.GetInt(PolicyId::PageWidth);
  const bool justified = fc.GetInt(PolicyId::TextJustification) == 4;
  const int layout = mode == 0 ? LayoutScoreForParagraphs(counts, indent, width, justified)
                               : LayoutScoreForRegions(counts, indent, width, justified);
  score = std::max(score, layout);

  // A line of symbols under another is a piece of a diagram.
  if (fc.GetInt(PolicyId::LookForDiagrams) != 0 && score < 5 && previous != nullptr &&
      MeasuredSymbols(*previous, measure)) {
    if (IsMostlySymbols(tidy_.GetText()))
      return 7;
    if (Trimmed(View(tidy_)).size() == 1)
      return 5;
  }
  return score;
}

// ---- Roll-out mark ----

// Puts the mark back where its markup stands (from column on, else anywhere in the line).
static void RestoreMark(PreHTML& line, int columnIndex, int markIndex, int markupIndex) {
  const TextString* mark = line.pGetOwnedText(markIndex);
  const TextString* markup = line.pGetOwnedText(markupIndex);
  if (mark == nullptr || markup == nullptr || markup->IsEmpty())
    return;
  const int column = std::max(line.GetOutputMark(columnIndex), 0);
  int at = -1;
  if (!line.Find(column, markup->GetText(), &at, 1, 0) &&
      !line.Find(0, markup->GetText(), &at, 1, 0))
    return;
  (void)line.ReplaceSpan(at, markup->GetLength(), mark->GetText());
}

// Withdraws the emphasis phrase that closes on line: its closing markup here and its opening
// markup on the nearest line above that holds a phrase start.
static void WithdrawEmphasis(PreHTML& line) {
  RestoreMark(line, kEmphasisEndColumn, kEmphasisEndText, kEmphasisClosingText);
  line.SetOutputMark(kEmphasisEndMark, 0);
  line.SetOutputMark(kEmphasisEndColumn, -1);
  // The lines above are those of the window; the count guards against a link cycle.
  constexpr int kWindowLines = 40;
  PreHTML* above = AsLine(line.GetPrevious());
  for (int i = 0; above != nullptr && i < kWindowLines; ++i, above = AsLine(above->GetPrevious())) {
    if (above->GetOutputMark(kEmphasisStartMark) == 0)
      continue;
    RestoreMark(*above, kEmphasisStartColumn, kEmphasisStartText, kEmphasisOpeningText);
    above->SetOutputMark(kEmphasisStartMark, 0);
    above->SetOutputMark(kEmphasisStartColumn, -1);
    return;
  }
}

void PreHTML::SetRollOut(FileControl& fc, bool on) {
  SetFlag(kFlagRollOut, on);
  if (!on)
    return;
  if (GetOutputMark(kEmphasisEndMark) != 0) {
    static constexpr const char* kWithdrawn =
        "INFO: Ignoring potential emphasis phrase because it overlaps preformatted text";
    if (Context* ctx = fc.pGetContext())
      ReportLineMessage(*ctx, kWithdrawn, 7);
    else
      fc.ReportMessage(kWithdrawn, 7);
    WithdrawEmphasis(*this);
  }
  if (GetLineType() == kTypeBulletContinuation)
    SetLineType(kTypeUntyped);
}

// Pre-formatted kinds the roll-out review gives: a line of a mail-header block, and the
// untyped caption line above a rule that joins a roll-out block.
static constexpr int kRollOutBlockKind = 7;
static constexpr int kRollOutCaptionKind = 4;
// How far above a mail-header roll-out line the review looks for the rest of its header.
static constexpr int kMailHeaderReach = 4;

static void JoinRollOut(FileControl& fc, PreHTML& line, int kind) {
  line.SetRollOut(fc, true);
  line.SetPreformattedKind(kind);
}

void PreHTML::ReviewRollOutLine(FileControl& fc, Context& /*ctx*/) {
  // A rule drawn under a caption that follows a blank line belongs to the block below it.
  PreHTML* rule = AsLine(GetPrevious());
  PreHTML* caption = rule != nullptr ? AsLine(rule->GetPrevious()) : nullptr;
  PreHTML* blank = caption != nullptr ? AsLine(caption->GetPrevious()) : nullptr;
  if (blank != nullptr && !rule->HasFlag(kFlagRollOut) &&
      (rule->GetLineType() == kTypeLine || rule->GetLineType() == kTypeHeaderNull) &&
      caption->GetLineType() == kTypeUntyped && blank->GetLineType() == kTypeBlank) {
    JoinRollOut(fc, *rule, kRollOutBlockKind);
    JoinRollOut(fc, *caption, kRollOutCaptionKind);
  }

  // The lines between a mail-header roll-out line and the header line above it (folded
  // values, mostly) are part of the same header block.
  if (!HasFlag(kFlagMailHeader))
    return;
  PreHTML* header = AsLine(GetPrevious());
  int distance = 1;
  while (header != nullptr && distance <= kMailHeaderReach && !header->HasFlag(kFlagMailHeader)) {
    header = AsLine(header->GetPrevious());
    ++distance;
  }
  if (header == nullptr || distance > kMailHeaderReach)
    return;
  for (PreHTML* between = AsLine(GetPrevious()); between != header;
       between = AsLine(between->GetPrevious())) {
    between->SetFlag(kFlagMailHeader, true);
    JoinRollOut(fc, *between, kRollOutBlockKind);
  }
  header->SetRollOut(fc, true);
}

// ---- Review after classification ----

// The types whose pre-formatted mark the review weighs again.
static bool IsRescoredType(int type) {
  switch (type) {
    case kTagNone:
    case kTypeUntyped:
    case kTypeBlank:
    case kTypeFormFeed:
    case kTypeNewParagraph:
    case kTypeSeparator:
    case kTypeDefinition:
    case kTagNewPage:
      return true;
    default:
      return false;
  }
}

void ReviewPreformattedMark(FileControl& fc, PreHTML& line, PreHTML* effectivePrevious,
                            PreformattedMeasure* measure) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr || ctx->LineStage != kLineStageAnalysis)
    return;
  constexpr int kLongestRollOutLine = 110;
  if (line.GetLength() > kLongestRollOutLine || ctx->GetPassTracker(ctx->CodeLocation).inHtml) {
    line.SetRollOut(fc, false);
    line.SetPreformattedKind(0);
  }
  const int type = line.GetLineType();
  if (IsRescoredType(type)) {
    if (line.HasFlag(kFlagChangeBar) || fc.GetInt(PolicyId::LookForPreformattedText) == 0)
      return;
    const int score = line.PreformattedScore(fc, effectivePrevious, 0, measure);
    if (score <= 0 && !line.HasFlag(kFlagPreformatted))
      return;
    line.SetFlag(kFlagPreformatted, true);
    line.SetRollOut(fc, true);
    // A mark the analysis gave with its reason (7 mail header, 10 code) outweighs the score.
    line.SetPreformattedKind(std::max(score, line.GetPreformattedKind()));
    return;
  }
  line.SetRollOut(fc, false);
  if ((type == kTypeHangingContinuation || type == kTypeDefinitionContinuation) &&
      effectivePrevious != nullptr)
    effectivePrevious->SetRollOut(fc, false);
}
