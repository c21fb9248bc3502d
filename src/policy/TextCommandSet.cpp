#include "policy/TextCommandSet.h"

#include <string_view>
#include <utility>

#include "platform/FileSystem.h"
#include "policy/FileControl.h"
#include "policy/PolicyContext.h"
#include "policy/PolicySection.h"
#include "policy/StatementReading.h"
#include "text/StatementFile.h"

// ---- Keywords ----

namespace {

struct Keyword {
  std::string_view word;
  int code;
};

}  // namespace

static constexpr Keyword kActions[] = {
    {"ignore_line", kActionIgnoreLine},     {"treat_line", kActionTreatLine},
    {"meta_tag_line", kActionMetaTagLine},  {"remove_text", kActionRemoveText},
    {"replace_text", kActionReplaceText},   {"replace_line", kActionReplaceLine},
};

static constexpr Keyword kMatchTypes[] = {
    {"exact_string", kMatchExactString}, {"string", kMatchString},
    {"exact_phrase", kMatchExactPhrase}, {"phrase", kMatchPhrase},
    {"wildcard", kMatchWildcard},
};

static constexpr Keyword kScopes[] = {
    {"starting_with", kScopeStartingWith},
    {"containing", kScopeContaining},
};

static constexpr Keyword kReplaceModes[] = {
    {"by_string", kReplaceByString},
    {"by_character", kReplaceByCharacter},
};

static constexpr Keyword kLineTypes[] = {
    {"as_Heading_1", kTypeUnderlinedHeading1},  {"as_Heading_2", kTypeUnderlinedHeading2},
    {"as_Heading_3", kTypeUnderlinedHeading3},  {"as_Heading_4", kTypeUnderlinedHeading4},
    {"as_Heading_5", kTypeUnderlinedHeading5},  {"as_Heading_6", kTypeUnderlinedHeading6},
    {"as_bullet", kTypeBullet},                 {"as_number_bullet", kTypeNumberedBullet},
    {"as_alpha_bullet", kTypeLowerAlphaBullet}, {"as_roman_bullet", kTypeLowerRomanBullet},
    {"as_capalpha_bullet", kTypeUpperAlphaBullet},
    {"as_caproman_bullet", kTypeUpperRomanBullet},
    {"as_new_page", kTypeFormFeed},             {"as_top_of_page", kTypeTopOfPage},
    {"as_quoted", kTypeQuoted},
};

// The code of word among keywords (case ignored), or notFound.
template <std::size_t N>
static int FindKeyword(const Keyword (&keywords)[N], const TextString& word, int notFound) {
  for (const Keyword& keyword : keywords) {
    if (word.Compare(keyword.word.data(), 0, 0)) return keyword.code;
  }
  return notFound;
}

// ---- Parsing ----

// The escapes of a command line: "\\" a backslash, "\n" a line break, "\t" a tab. Any other
// backslash stays.
static void ConvertEscapes(TextString& text) {
  TextString out;
  (void)out.Reserve(text.GetLength());
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    const char next = text.CharAt(i + 1);
    if (c == '\\' && (next == '\\' || next == 'n' || next == 't')) {
      (void)out.AppendChar(next == 'n' ? '\n' : next == 't' ? '\t' : '\\');
      ++i;
      continue;
    }
    (void)out.AppendChar(c);
  }
  text = std::move(out);
}

// The pieces of a command after its action word: keywords outside double quotes (separated
// by blanks), texts inside them (a doubled double quote stands for one), each in order.
struct CommandPieces {
  std::vector<TextString> words;
  std::vector<TextString> texts;
  std::size_t nextWord = 0;
  std::size_t nextText = 0;

  // The next keyword or text, or null when all are taken.
  const TextString* Word() { return nextWord < words.size() ? &words[nextWord++] : nullptr; }
  const TextString* Text() { return nextText < texts.size() ? &texts[nextText++] : nullptr; }
  // The next keyword is word (case ignored): it is taken.
  bool TakeWordIf(const char* word) {
    if (nextWord >= words.size() || !words[nextWord].Compare(word, 0, 0)) return false;
    ++nextWord;
    return true;
  }
  bool AllTaken() const { return nextWord == words.size() && nextText == texts.size(); }
};

static bool IsBlank(char c) { return c == ' ' || c == '\t'; }

static void SplitPieces(const TextString& rest, CommandPieces& pieces) {
  const int n = rest.GetLength();
  int i = 0;
  while (i < n) {
    const char c = rest.CharAt(i);
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    TextString piece;
    if (c != '"') {
      const int start = i;
      while (i < n && !IsBlank(rest.CharAt(i)) && rest.CharAt(i) != '"') ++i;
      (void)piece.AssignSubstring(rest.GetText(), start, i - start);
      pieces.words.push_back(std::move(piece));
      continue;
    }
    // A text runs to the first double quote that is not doubled, or to the end of the line.
    for (++i; i < n; ++i) {
      if (rest.CharAt(i) != '"') {
        (void)piece.AppendChar(rest.CharAt(i));
        continue;
      }
      if (rest.CharAt(i + 1) != '"') break;
      (void)piece.AppendChar('"');
      ++i;
    }
    ++i;
    pieces.texts.push_back(std::move(piece));
  }
}

static void Report(FileControl& fc, const char* before, const TextString& word,
                   const char* after) {
  TextString message(before);
  message.Append(word);
  message.Append(after);
  fc.ReportMessage(message.GetText(), 10);
}

// What a command's fields read as before the checks.
struct ParsedFields {
  const TextString* matchText = nullptr;
  const TextString* matchWord = nullptr;
  const TextString* scopeWord = nullptr;
  const TextString* modeWord = nullptr;
  const TextString* replacement = nullptr;
  const TextString* metaName = nullptr;
  const TextString* lineTypeWord = nullptr;
  bool applyToGiven = false;
  const TextString* applyToWord = nullptr;
  const TextString* strayWord = nullptr;  // where remove_match_text may stand
};

// Takes the fields of action from pieces in the action's layout.
static void TakeFields(int action, CommandPieces& pieces, ParsedFields& f, TextCommand& command) {
  switch (action) {
    case kActionIgnoreLine:
    case kActionTreatLine:
      f.scopeWord = pieces.Word();
      f.matchWord = pieces.Word();
      f.matchText = pieces.Text();
      if (action != kActionTreatLine) return;
      f.lineTypeWord = pieces.Word();
      if (pieces.TakeWordIf("apply_to")) {
        f.applyToGiven = true;
        f.applyToWord = pieces.Word();
      }
      return;
    case kActionMetaTagLine:
      f.metaName = pieces.Text();
      f.scopeWord = pieces.Word();
      f.matchWord = pieces.Word();
      f.matchText = pieces.Text();
      if (pieces.TakeWordIf("remove_match_text")) {
        command.removeMatch = 1;
        return;
      }
      f.strayWord = pieces.Word();
      return;
    case kActionRemoveText:
      f.matchWord = pieces.Word();
      f.matchText = pieces.Text();
      return;
    case kActionReplaceText:
    case kActionReplaceLine:
      if (action == kActionReplaceLine) f.scopeWord = pieces.Word();
      f.matchWord = pieces.Word();
      f.matchText = pieces.Text();
      f.modeWord = pieces.Word();
      f.replacement = pieces.Text();
      return;
  }
}

static const TextString kNoWord;

static const TextString& WordOrEmpty(const TextString* word) {
  return word != nullptr ? *word : kNoWord;
}

// Runs the checks on the fields taken and fills command; false when one failed (each failure
// is reported).
static bool CheckFields(FileControl& fc, int action, const ParsedFields& f, TextCommand& command) {
  bool ok = true;
  if (f.matchText != nullptr) command.matchText = *f.matchText;
  command.matchType = FindKeyword(kMatchTypes, WordOrEmpty(f.matchWord), kMatchInvalid);
  if (command.matchType == kMatchString || command.matchType == kMatchExactPhrase)
    (void)command.matchText.Trim(0, " ");
  if (command.matchText.ContainsChar('\n')) {
    fc.ReportMessage("POLICY: \n not allowed in match expression", 10);
    ok = false;
  }
  if (command.matchType == kMatchInvalid) {
    Report(fc, "POLICY: Unknown text data type \"", WordOrEmpty(f.matchWord), "\"");
    ok = false;
  }
  if (command.matchText.IsEmpty()) {
    fc.ReportMessage("POLICY: No Match expression supplied", 10);
    ok = false;
  }
  const bool replaces = action == kActionReplaceText || action == kActionReplaceLine;
  if (replaces) {
    command.replaceMode = FindKeyword(kReplaceModes, WordOrEmpty(f.modeWord), kReplaceNone);
    if (command.replaceMode == kReplaceNone) {
      Report(fc, "POLICY: Unknown text data type \"", WordOrEmpty(f.modeWord), "\"");
      ok = false;
    }
    if (f.replacement == nullptr) {
      fc.ReportMessage("POLICY: No replacement text supplied", 10);
      ok = false;
    } else {
      command.replacement = *f.replacement;
    }
  }
  if (action == kActionMetaTagLine) {
    if (f.metaName != nullptr) command.metaName = *f.metaName;
    if (command.metaName.IsEmpty()) {
      fc.ReportMessage("POLICY: No META tag name supplied", 10);
      ok = false;
    }
  }
  // The scope word of a replace_line is read and not checked: its match may stand anywhere.
  if (action == kActionIgnoreLine || action == kActionTreatLine || action == kActionMetaTagLine) {
    command.scope = FindKeyword(kScopes, WordOrEmpty(f.scopeWord), kScopeNone);
    if (command.scope == kScopeNone) {
      Report(fc, "POLICY: Text command error.  Unexpected keyword \"", WordOrEmpty(f.scopeWord),
             "\"");
      ok = false;
    }
  }
  if (action == kActionTreatLine) {
    command.lineType = FindKeyword(kLineTypes, WordOrEmpty(f.lineTypeWord), kTagNone);
    if (command.lineType == kTagNone) {
      Report(fc, "POLICY: text command - unknown line type \"", WordOrEmpty(f.lineTypeWord),
             "\"");
      ok = false;
    }
    if (f.applyToGiven && !(f.applyToWord != nullptr &&
                            f.applyToWord->ParseNumber('1', &command.applyOffset))) {
      command.applyOffset = 0;
      Report(fc, "POLICY: text command - invalid apply_to \"", WordOrEmpty(f.applyToWord), "\"");
      ok = false;
    }
  }
  if (f.strayWord != nullptr) {
    Report(fc, "POLICY: Text command error.  Unexpected keyword \"", *f.strayWord, "\"");
    ok = false;
  }
  return ok;
}

// The forms that stand for other actions: an empty replacement removes the text, or (for a
// whole line) ignores the line; a by_character replacement written as a quoted character is
// that character.
static void NormaliseCommand(TextCommand& command) {
  if (command.action == kActionReplaceText && command.replacement.IsEmpty())
    command.action = kActionRemoveText;
  if (command.action == kActionReplaceLine && command.replacement.IsEmpty())
    command.action = kActionIgnoreLine;
  const TextString& r = command.replacement;
  if (command.replaceMode == kReplaceByCharacter && r.GetLength() == 3 &&
      (r.CharAt(0) == '"' || r.CharAt(0) == '\''))
    (void)command.replacement.KeepSubstring(1, 1);
}

bool IsTextCommandLine(const TextString& line) {
  if (!line.ContainsNoCase("text command")) return false;
  int colon = -1;
  TextString key;
  if (line.FindChar(0, ':', &colon, 1)) (void)key.AssignSubstring(line.GetText(), 0, colon);
  (void)key.Trim();
  return key.Compare("Text command", 0, 0);
}

TextCommand ParseTextCommand(FileControl& fc, const TextString& line) {
  TextCommand command;
  command.source = line;
  int colon = -1;
  TextString key;
  if (line.FindChar(0, ':', &colon, 1)) (void)key.AssignSubstring(line.GetText(), 0, colon);
  if (colon < 0 || !key.ContainsNoCase("Text command")) {
    fc.ReportMessage("POLICY: This is not a text command", 10);
    return command;
  }
  TextString rest;
  (void)rest.AssignSubstring(line.GetText(), colon + 1, line.GetLength() - colon - 1);
  (void)rest.Trim();
  int wordEnd = 0;
  while (wordEnd < rest.GetLength() && !IsBlank(rest.CharAt(wordEnd))) ++wordEnd;
  TextString action;
  (void)action.AssignSubstring(rest.GetText(), 0, wordEnd);
  (void)rest.KeepFrom(wordEnd);
  (void)rest.Trim();
  command.action = FindKeyword(kActions, action, kActionNone);
  if (command.action == kActionNone) {
    Report(fc, "POLICY: Unknown text command \"", action, "\"");
    return command;
  }

  TextString fieldsText(rest);
  ConvertEscapes(fieldsText);
  CommandPieces pieces;
  SplitPieces(fieldsText, pieces);
  ParsedFields fields;
  TakeFields(command.action, pieces, fields, command);
  const bool ok = CheckFields(fc, command.action, fields, command);
  if (!ok || !pieces.AllTaken())
    Report(fc, "POLICY: text command not processed \"", rest, "\"");
  if (!ok) return command;
  NormaliseCommand(command);
  command.valid = 1;
  return command;
}

// ---- The set ----

TextCommandSet::TextCommandSet() = default;

TextCommandSet::~TextCommandSet() { Clear(); }

void TextCommandSet::Clear() { commands_.clear(); }

const TextCommand* TextCommandSet::GetCommand(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return commands_[static_cast<std::size_t>(index)].get();
}

void TextCommandSet::Add(const TextCommand& command) {
  commands_.push_back(std::make_unique<TextCommand>(command));
}

int TextCommandSet::CopyCommandsFrom(FileControl& /*fc*/, const TextCommandSet& other) {
  // A set copied into itself gains each command once.
  const std::size_t count = other.commands_.size();
  commands_.reserve(commands_.size() + count);
  for (std::size_t i = 0; i < count; ++i) Add(*other.commands_[i]);
  return 1;
}

int TextCommandSet::AddCommandLine(FileControl& fc, const TextString& line) {
  TextCommand command = ParseTextCommand(fc, line);
  if (command.valid == 0) {
    Report(fc, "ERROR: Invalid text command - ", line, "");
    return 0;
  }
  commands_.push_back(std::make_unique<TextCommand>(std::move(command)));
  return 1;
}

// ---- The text command file ----

static bool IsNoFileName(const TextString& name) {
  return name.IsEmpty() || name.Compare("(none)", 0, 0) || name.Compare("none", 0, 0);
}

bool TextCommandSet::LoadFile(FileControl& fc, const TextString& fileName, TextString& errorOut) {
  fileName_ = fileName;
  if (IsNoFileName(fileName)) return true;
  StatementFile file;
  // A folder or a device is no command file; a device might never end.
  if (GetFileKind(fileName.GetText()) != FileKind::Regular ||
      !file.OpenForRead(fileName.GetText(), 0)) {
    errorOut.Assign("** Failed to open text Command file ");
    errorOut.Append(fileName);
    errorOut.Append(" ***");
    fc.ReportMessage(errorOut.GetText(), 10);
    return false;
  }

  PolicyContext* ctx = fc.pGetPolicyContext();
  const int savedLocation = ctx != nullptr ? ctx->CodeLocation : kLocationNone;
  // Registries take additions only in the analysis pass.
  if (ctx != nullptr) ctx->CodeLocation = kLocationAnalysis;
  // The statements are read with the input rules of a fresh policy set, so that the rules
  // of the set being filled do not change the file's lines.
  FileControl reading;
  if (ctx != nullptr) reading.AttachContext(ctx);
  const StatementReadRules rules = ReadRulesOf(reading);
  InputRuleState state;

  Statement statement;
  TextString line;
  for (;;) {
    statement.SetEmpty();
    const bool read = ctx != nullptr ? ReadStatement(file, statement, reading, *ctx, nullptr)
                                     : file.ReadStatementWith(statement, rules, state);
    if (!read) break;
    TextString trimmed(statement);
    (void)trimmed.Trim();
    if (trimmed.IsEmpty() || statement.CharAt(0) == '!' || IsPolicySectionHeader(trimmed))
      continue;
    line.Assign("Text command : ");
    line.Append(statement);
    (void)AddCommandLine(fc, line);
  }
  file.CloseAll();
  if (ctx != nullptr) ctx->CodeLocation = savedLocation;
  return true;
}

// ---- Applying ----

static bool IsCaseSensitive(int matchType) {
  return matchType == kMatchExactString || matchType == kMatchExactPhrase ||
         matchType == kMatchWildcard;
}

static bool IsPhrase(int matchType) {
  return matchType == kMatchExactPhrase || matchType == kMatchPhrase;
}

// A 7-bit letter; bytes above 127 never end a phrase.
static bool IsPlainLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The first occurrence of the command's match text in text at or after from; for the phrase
// types only an occurrence that no letter touches. before is the character that stands
// before text[from] in the text being built ('\0' for none).
static bool FindMatch(const TextCommand& command, const TextString& text, int from, char before,
                      int& at) {
  const int length = command.matchText.GetLength();
  const int caseSensitive = IsCaseSensitive(command.matchType) ? 1 : 0;
  while (text.Find(from, command.matchText.GetText(), &at, caseSensitive, 0)) {
    if (!IsPhrase(command.matchType)) return true;
    const char previous = at > from ? text.CharAt(at - 1) : before;
    const char next = text.CharAt(at + length);
    if (!IsPlainLetter(previous) && !IsPlainLetter(next)) return true;
    before = text.CharAt(at);
    from = at + 1;
  }
  at = -1;
  return false;
}

// The command's match in text trimmed of blanks: anywhere, or at its start for
// starting_with (when honourScope).
static bool MatchesLine(const TextCommand& command, const TextString& text, TextString& trimmed,
                        bool honourScope) {
  trimmed.Assign(text);
  (void)trimmed.Trim();
  int at = -1;
  if (!FindMatch(command, trimmed, 0, '\0', at)) return false;
  return !honourScope || command.scope != kScopeStartingWith || at == 0;
}

// The line that a treat_line gives its type to: target itself, or the line offset places
// back along the previous-line links; null when a link on the way is missing.
static Statement* LineToType(Statement* target, int offset) {
  for (int back = offset; back < 0 && target != nullptr; ++back) target = target->GetPrevious();
  return target;
}

// Every occurrence of the match in text replaced: by the replacement (byCharacter 0) or by
// the replacement character repeated over the occurrence's length. out receives the result.
static void ReplaceOccurrences(const TextCommand& command, const TextString& text,
                               const TextString& replacement, bool byCharacter, TextString& out) {
  out.SetEmpty();
  const int length = command.matchText.GetLength();
  const char fill = replacement.CharAt(0);
  int from = 0;
  int at = -1;
  while (FindMatch(command, text, from, out.IsEmpty() ? '\0' : out.CharAt(out.GetLength() - 1),
                   at)) {
    (void)out.AppendBytes(text.GetText() + from, at - from);
    if (!byCharacter) {
      (void)out.Append(replacement);
    } else {
      for (int i = 0; i < length; ++i) (void)out.AppendChar(fill);
    }
    from = at + length;
  }
  (void)out.AppendBytes(text.GetText() + from, text.GetLength() - from);
}

int TextCommandSet::Apply(FileControl& fc, TextCommandHost* host, Statement& target,
                          const TextString& text, TextString& result) {
  running_.Assign(text);
  for (const auto& entry : commands_) {
    const TextCommand& command = *entry;
    if (command.valid == 0) continue;
    switch (command.action) {
      case kActionIgnoreLine:
        if (MatchesLine(command, running_, work_, true)) target.SetLineType(kTypeIgnored);
        break;
      case kActionTreatLine:
        if (!MatchesLine(command, running_, work_, true)) break;
        if (Statement* typed = LineToType(&target, command.applyOffset))
          typed->SetLineType(command.lineType);
        break;
      case kActionMetaTagLine: {
        if (host == nullptr || !host->TakesMetaTags(fc)) break;
        if (!MatchesLine(command, running_, work_, true)) break;
        work_.Assign(running_);
        if (command.removeMatch != 0) {
          int at = -1;
          if (FindMatch(command, work_, 0, '\0', at))
            (void)work_.ReplaceSpan(at, command.matchText.GetLength(), "");
          (void)work_.Trim();
        }
        host->AddMetaTag(fc, command.metaName, work_);
        break;
      }
      case kActionRemoveText:
        ReplaceOccurrences(command, running_, TextString(), false, work_);
        std::swap(running_, work_);
        break;
      case kActionReplaceText:
      case kActionReplaceLine: {
        const bool byCharacter = command.replaceMode == kReplaceByCharacter;
        const bool wholeLine = command.action == kActionReplaceLine;
        if (wholeLine && !MatchesLine(command, running_, work_, false)) break;
        if (!wholeLine) {
          int at = -1;
          if (!FindMatch(command, running_, 0, '\0', at)) break;
        }
        expanded_.Assign(command.replacement);
        if (!byCharacter && host != nullptr) host->ExpandTags(fc, expanded_);
        if (!wholeLine) {
          ReplaceOccurrences(command, running_, expanded_, byCharacter, work_);
          std::swap(running_, work_);
        } else if (!byCharacter) {
          running_.Assign(expanded_);
        } else {
          // Every character of the line becomes the replacement character.
          char* bytes = running_.GetBuffer();
          for (int i = 0; i < running_.GetLength(); ++i) bytes[i] = expanded_.CharAt(0);
        }
        break;
      }
    }
  }
  result.Assign(running_);
  return 1;
}
