#include "analysis/BulletWords.h"

#include <cassert>
#include <optional>
#include <string_view>

#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/RuleSets.h"
#include "text/CharacterUtils.h"
#include "text/StatementTypes.h"

static bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
static bool IsRomanLetter(char c) {
  return c == 'i' || c == 'v' || c == 'x' || c == 'I' || c == 'V' || c == 'X';
}
static bool IsOpeningMark(char c) { return c == '(' || c == '[' || c == '{'; }
static bool IsClosingMark(char c) {
  return c == ')' || c == '.' || c == '/' || c == ']' || c == '}';
}

// out is text without its in-line tags: each span from the start delimiter through the next
// end delimiter (case ignored) is removed, with every later copy of the same tag text; an end
// delimiter met before a start delimiter is passed over.
static void RemoveInlineTags(const FileControl& fc, const TextString& text, TextString& out) {
  out = text;
  const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc.GetText(PolicyId::EndTagDelimiter);
  if (opener.IsEmpty() || closer.IsEmpty() || !out.ContainsChar(opener.CharAt(0)))
    return;
  TextString tag;
  int from = 0;
  for (;;) {
    int open = -1;
    int close = -1;
    if (!out.Find(from, opener.GetText(), &open, 0, 0) ||
        !out.Find(from, closer.GetText(), &close, 0, 0))
      return;
    if (close < open) {
      from = close + 1;
      continue;
    }
    tag.AssignSubstring(out.GetText(), open, close + closer.GetLength() - open);
    (void)out.ReplaceFrom(from, tag.GetText(), "", 0, 0, nullptr, nullptr, 0);
  }
}

// The first word of text, leading blanks skipped.
static std::string_view FirstWord(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlankOrTab(text[start]))
    ++start;
  std::size_t end = start;
  while (end < text.size() && !IsBlankOrTab(text[end]))
    ++end;
  return text.substr(start, end - start);
}

static std::string_view View(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

// True when text may hold an in-line tag for RemoveInlineTags to take out.
static bool MayHoldInlineTags(const FileControl& fc, const TextString& text) {
  const TextString& opener = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& closer = fc.GetText(PolicyId::EndTagDelimiter);
  return !opener.IsEmpty() && !closer.IsEmpty() && text.ContainsChar(opener.CharAt(0));
}

// The bullet word of line before its SUP and SUB tags are removed. The word is cut out of
// a rewritten copy of the line that word itself holds, so word must not be line.
static void ExtractBulletWord(const FileControl& fc, const TextString& line, TextString& word) {
  assert(&word != &line && "the bullet word is built apart from its line");
  // The line's own bytes serve unless in-line tags have to be taken out first.
  std::optional<TextString> untagged;
  const TextString* source = &line;
  if (MayHoldInlineTags(fc, line)) {
    untagged.emplace();
    RemoveInlineTags(fc, line, *untagged);
    source = &*untagged;
  }
  const std::string_view text = View(*source);
  const std::string_view first = FirstWord(text);
  const std::size_t wordStart = static_cast<std::size_t>(first.data() - text.data());
  // The word ends after a closing superscript or subscript tag, else after each closing mark,
  // so that "1)Text" and "<SUP>1</SUP>Text" give their bullet alone.
  // Without a tag or an entity the bullet is the word up to its first closing mark: one walk
  // over the word finds that mark or the '<' or '&' that asks for the split below.
  std::size_t close = std::string_view::npos;
  bool tagOrEntity = false;
  for (std::size_t i = 0; i < first.size() && !tagOrEntity; ++i) {
    const char c = first[i];
    tagOrEntity = c == '<' || c == '&';
    if (close == std::string_view::npos && (c == ')' || c == ']' || c == '}'))
      close = i;
  }
  if (!tagOrEntity) {
    const std::string_view bullet =
        close == std::string_view::npos ? first : first.substr(0, close + 1);
    word.AssignBytes(bullet.data(), static_cast<int>(bullet.size()));
    return;
  }
  std::size_t tagEnd = first.find("</SUP>");
  if (tagEnd == std::string_view::npos)
    tagEnd = first.find("</SUB>");
  TextString& split = word;
  split.AssignBytes(text.data(), static_cast<int>(wordStart));
  if (tagEnd != std::string_view::npos) {
    tagEnd += 6;
    split.AppendBytes(first.data(), static_cast<int>(tagEnd));
    split.AppendChar(' ');
    split.AppendBytes(first.data() + tagEnd, static_cast<int>(first.size() - tagEnd));
  } else {
    std::size_t from = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
      const char c = first[i];
      if (c != ')' && c != ']' && c != '}')
        continue;
      split.AppendBytes(first.data() + from, static_cast<int>(i + 1 - from));
      split.AppendChar(' ');
      from = i + 1;
    }
    split.AppendBytes(first.data() + from, static_cast<int>(first.size() - from));
  }
  // The rest of the line is left out: it starts with a blank (or is empty), and neither the
  // blanks put in above nor a "&nbsp;" taken out can carry the first word past that blank.
  if (split.ContainsChar('&'))
    (void)split.ReplaceAll("&nbsp;", " ", 0, 1);
  // FirstWord passes over the leading blanks and tabs, and the trailing ones never reach
  // the first word: the text needs no trimming.
  const std::string_view bullet = FirstWord(View(split));
  word.AssignBytes(bullet.data(), static_cast<int>(bullet.size()));
}

// Puts a bullet word that follows leading markup at the front of the line.
static void MoveBulletWordToFront(FileControl& fc, TextString& line, const TextString& word) {
  if (word.IsEmpty())
    return;
  // Mostly the word already stands first: the line is not copied to find that out.
  const std::string_view text = View(line);
  std::size_t begin = 0;
  while (begin < text.size() && IsBlankOrTab(text[begin]))
    ++begin;
  if (text.substr(begin).starts_with(View(word)))
    return;
  TextString trimmed(line);
  trimmed.Trim();
  int at = -1;
  if (!trimmed.Find(0, word.GetText(), &at, 1, 0) || at <= 0)
    return;
  fc.ReportMessage("INFO: Re-ordering tags on bullet line", 1);
  int inLine = -1;
  if (!line.Find(0, word.GetText(), &inLine, 1, 0))
    return;
  TextString reordered(word);
  reordered.AppendChar(' ');
  TextString rest(line);
  (void)rest.ReplaceSpan(inLine, word.GetLength(), "");
  reordered.Append(rest);
  reordered.CollapseBlanks();
  line = reordered;
}

// The kind of a word: optional opening marks, letters or digits, a closing run.
static int ClassifyBulletWord(std::string_view word, int allowNumbered, int allowRoman,
                              int allowAlphabetic) {
  std::size_t start = 0;
  while (start < word.size() && IsOpeningMark(word[start]))
    ++start;
  std::size_t end = word.size();
  while (end > start && IsClosingMark(word[end - 1]))
    --end;
  if (end == word.size() || end == start)
    return kTypeUntyped;
  const std::string_view body = word.substr(start, end - start);
  bool allDigits = true;
  bool allRoman = true;
  bool allUpper = true;
  for (const char c : body) {
    if (!IsAsciiLetterOrDigit(c))
      return kTypeUntyped;
    allDigits = allDigits && IsAsciiDigit(c);
    allRoman = allRoman && IsRomanLetter(c);
    allUpper = allUpper && IsAsciiUpper(c);
  }
  if (allDigits && body.size() <= 2 && allowNumbered)
    return kTypeNumberedBullet;
  if (!allDigits && allRoman && allowRoman)
    return allUpper ? kTypeUpperRomanBullet : kTypeLowerRomanBullet;
  if (body.size() == 1 && !allDigits && allowAlphabetic)
    return allUpper ? kTypeUpperAlphaBullet : kTypeLowerAlphaBullet;
  return kTypeUntyped;
}

// Entities that stand for letters, punctuation or signs rather than a bullet.
static constexpr const char* kNonBulletEntityParts[] = {
    "&sup3;", "&copy;", "dash;", "sect;", "acute;", "grave;", "uml;", "tilde;",
};

// An entity ("&" up to its first ";", which ends the word) that may serve as a bullet.
static bool IsEntityBullet(const TextString& word) {
  int semicolon = -1;
  if (word.CharAt(0) != '&' || !word.FindChar(0, ';', &semicolon, 1) ||
      semicolon != word.GetLength() - 1)
    return false;
  if (word.Compare("&lt;", 1, 0) || word.Compare("&gt;", 1, 0) || word.Compare("&amp;", 1, 0))
    return false;
  for (const char* part : kNonBulletEntityParts) {
    if (word.ContainsNoCase(part))
      return false;
  }
  return true;
}

static void ReportQuoted(FileControl& fc, const char* before, const TextString& word,
                         const char* after, int level) {
  TextString message(before);
  message.AppendChar('"');
  message.Append(word);
  message.AppendChar('"');
  message.Append(after);
  fc.ReportMessage(message.GetText(), level);
}

int TidyBulletLine(FileControl& fc, Context& ctx, TextString& line, int allowNumbered,
                   int allowRoman, int allowAlphabetic, TextString& bulletWord) {
  bulletWord.SetEmpty();
  const Tracker& tracker = ctx.GetPassTracker(ctx.CodeLocation);
  allowNumbered = allowNumbered && tracker.Allows(Permission::NumberedLists);
  allowRoman = allowRoman && tracker.Allows(Permission::RomanLists);
  allowAlphabetic = allowAlphabetic && tracker.Allows(Permission::AlphabeticLists);
  if (!allowNumbered && !allowRoman && !allowAlphabetic)
    return kTypeUntyped;

  ExtractBulletWord(fc, line, bulletWord);
  if (ctx.OutputPass && fc.GetInt(PolicyId::ListMarkupCode) == 0)
    MoveBulletWordToFront(fc, line, bulletWord);
  if (bulletWord.ContainsChar('<')) {
    for (const char* tag : {"<SUP>", "</SUP>", "<SUB>", "</SUB>"})
      (void)bulletWord.ReplaceAll(tag, "", 0, 1);
  }
  ctx.BulletWord = bulletWord;

  int type = ClassifyBulletWord(View(bulletWord), allowNumbered, allowRoman, allowAlphabetic);
  const bool ruleSet = IsForcingRuleSet(fc.GetRuleSet());
  if (type == kTypeUntyped && ruleSet && bulletWord.GetLength() == 1)
    type = kTypeBullet;
  if (type == kTypeUntyped && bulletWord.Compare("(*)", 0, 0))
    type = kTypeBullet;
  if (type == kTypeUntyped && IsEntityBullet(bulletWord)) {
    type = kTypeBullet;
    if (!bulletWord.Compare("&#149;", 1, 0))
      ReportQuoted(fc, "INFO: Treating entity ", bulletWord, " as unordered bullet", 10);
  }
  if (type == kTypeUntyped && ruleSet && ctx.OutputPass)
    ReportQuoted(fc, "WARNING: Unable to determine bullet type from : ", bulletWord, "", 7);
  return type;
}
