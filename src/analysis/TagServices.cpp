#include "analysis/TagServices.h"

#include "engine/LinkText.h"
#include "analysis/PreHTML.h"
#include "policy/ValueConversions.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/FontSpec.h"

bool ParseTagArguments(FileControl& fc, TextString& text, const char* keyword) {
  TextString work(text);
  if (keyword != nullptr && keyword[0] != '\0') {
    int at = -1;
    // Keywords match ignoring case, so they are removed ignoring case: "$_$_define_variable"
    // must not leave its name among the arguments.
    if (work.Find(0, keyword, &at, 0, 0) && at >= 0)
      (void)work.ReplaceSpan(at, static_cast<int>(TextString(keyword).GetLength()), "");
  }
  work.CollapseBlanks();
  const TextString& delimiter = fc.GetText(PolicyId::DirectiveDelimiter);
  if (!delimiter.IsEmpty() && work.StartsWith(delimiter.GetText(), 1))
    work.KeepFrom(delimiter.GetLength());
  TextString normalised;
  if (NormaliseArgumentList(work, ",", 1, normalised) == 0) {
    TextString message("PROGRAM ERROR: Can't parse tag ");
    message.Append(keyword);
    message.AppendChar('=');
    message.Append(text);
    fc.ReportMessage(message.GetText(), 10);
    return false;
  }
  text = std::move(normalised);
  return true;
}

int CountTagFields(const TextString& arguments) {
  if (arguments.IsEmpty())
    return 0;
  return arguments.CountChar(arguments.CharAt(0));
}

// ---- Fields ----

bool ReadTagText(const TextString& arguments, int field, TextString& out,
                 const char* defaultText) {
  if (GetArgumentField(arguments, field, out))
    return true;
  if (defaultText == nullptr)
    return false;
  out.Assign(defaultText);
  return true;
}

int GetTagText(FileControl& /*fc*/, const TextString& arguments, int field, TextString& out) {
  return ReadTagText(arguments, field, out) ? 1 : 0;
}

int GetTagTextOrDefault(FileControl& /*fc*/, const TextString& arguments, int field,
                        TextString& out, const char* defaultText) {
  (void)ReadTagText(arguments, field, out, defaultText != nullptr ? defaultText : "");
  return 1;
}

// The value part of a field: trimmed, and after its first "=" when it holds one.
static bool ReadValueField(const TextString& arguments, int field, TextString& value) {
  if (!GetArgumentField(arguments, field, value))
    return false;
  value.Trim();
  int equals = -1;
  if (value.FindChar(0, '=', &equals, 1) && equals >= 0) {
    value.KeepFrom(equals + 1);
    value.Trim();
  }
  return !value.IsEmpty();
}

bool ReadTagNumber(const TextString& arguments, int field, int& out, const int* defaultValue) {
  TextString value;
  int number = -1;
  if (ReadValueField(arguments, field, value) && value.ParseNumber('1', &number)) {
    out = number;
    return true;
  }
  out = defaultValue != nullptr ? *defaultValue : -1;
  return defaultValue != nullptr;
}

bool GetTagNumber(FileControl& /*fc*/, const TextString& arguments, int field, int& out) {
  return ReadTagNumber(arguments, field, out);
}

bool GetTagNumberOrDefault(FileControl& /*fc*/, const TextString& arguments, int field,
                           int& out, int defaultValue) {
  return ReadTagNumber(arguments, field, out, &defaultValue);
}

bool ReadTagReal(const TextString& arguments, int field, double& out,
                 const double* defaultValue) {
  TextString value;
  double number = -1;
  if (ReadValueField(arguments, field, value) && value.ParseDouble(&number)) {
    out = number;
    return true;
  }
  out = defaultValue != nullptr ? *defaultValue : -1;
  return defaultValue != nullptr;
}

bool ReadTagRealOrDefault(FileControl& /*fc*/, const TextString& arguments, int field,
                          double& out, double defaultValue) {
  return ReadTagReal(arguments, field, out, &defaultValue);
}

// ---- Alignment ----

static int VerticalAlignmentLetter(const TextString& value) {
  switch (value.CharAt(0)) {
    case 'T':
    case 't':
      return kTagAlignTop;
    case 'B':
    case 'b':
      return kTagAlignBottom;
    case 'C':
    case 'c':
      return kTagAlignMiddle;
  }
  return 0;
}

// Reads an alignment field through letterValue; reports a letter it does not know with
// label ("alignment" or "vertical alignment").
static bool ReadAlignment(FileControl& fc, const TextString& arguments, int field, int& out,
                          const int* defaultValue, int (*letterValue)(const TextString&),
                          const char* label) {
  TextString value;
  if (!ReadValueField(arguments, field, value)) {
    out = defaultValue != nullptr ? *defaultValue : 0;
    return defaultValue != nullptr;
  }
  const int code = letterValue(value);
  if (code != 0) {
    out = code;
    return true;
  }
  TextString message("TAG ERROR: Bad ");
  message.Append(label);
  message.Append(" code '");
  message.Append(value);
  message.Append("' ");
  if (defaultValue != nullptr)
    message.Append("using default value instead");
  fc.ReportMessage(message.GetText(), 10);
  out = defaultValue != nullptr ? *defaultValue : 0;
  return defaultValue != nullptr;
}

bool GetTagAlignment(FileControl& fc, const TextString& arguments, int field, int& out) {
  return ReadAlignment(fc, arguments, field, out, nullptr, ParseAlignmentLetter, "alignment");
}

bool GetTagAlignmentOrDefault(FileControl& fc, const TextString& arguments, int field, int& out,
                              int defaultValue) {
  return ReadAlignment(fc, arguments, field, out, &defaultValue, ParseAlignmentLetter,
                       "alignment");
}

bool GetTagVerticalAlignment(FileControl& fc, const TextString& arguments, int field, int& out) {
  return ReadAlignment(fc, arguments, field, out, nullptr, VerticalAlignmentLetter,
                       "vertical alignment");
}

bool GetTagVerticalAlignmentOrDefault(FileControl& fc, const TextString& arguments, int field,
                                      int& out, int defaultValue) {
  return ReadAlignment(fc, arguments, field, out, &defaultValue, VerticalAlignmentLetter,
                       "vertical alignment");
}

// ---- Messages ----

void ReportTagMessage(FileControl& fc, PreHTML* line, const char* text, int level) {
  Context* ctx = fc.pGetContext();
  if (line != nullptr && ctx != nullptr) {
    line->ReportLineMessage(*ctx, text, level);
    return;
  }
  fc.ReportMessage(text, level);
}

void ReportTagParseError(FileControl& fc, PreHTML* line, const TextString& keyword,
                         const TextString& arguments, int field) {
  TextString message("TAG ERROR: Failed to parse ");
  if (field > 0) {
    message.Append("Arg#");
    message.AppendNumber('1', field, 0);
    message.Append(" in ");
  }
  message.AppendChar('"');
  message.Append(keyword);
  message.AppendChar(' ');
  message.Append(arguments);
  message.AppendChar('"');
  ReportTagMessage(fc, line, message.GetText(), 10);
}

// ---- Composite arguments ----

int ParseFontArguments(FileControl& fc, Context& /*ctx*/, PreHTML* line,
                       const TextString& keyword, const TextString& arguments, FontSpec& font) {
  int kind = -1;
  if (!ReadTagNumber(arguments, 1, kind)) {
    ReportTagParseError(fc, line, keyword, arguments, 1);
    return 0;
  }
  TextString name;
  if (!ReadTagText(arguments, 2, name)) {
    ReportTagParseError(fc, line, keyword, arguments, 2);
    return 0;
  }
  int size = 10;
  int sansSerif = 0;
  int style = 0;
  (void)ReadTagNumber(arguments, 4, sansSerif, &sansSerif);
  (void)ReadTagNumber(arguments, 5, style, &style);
  // A size no reader can show would overflow the half-point sizes written for it.
  if (!ReadTagNumber(arguments, 3, size, &size) || size < 1 || size > kMaxTagFontSize) {
    ReportTagParseError(fc, line, keyword, arguments, 3);
    return 0;
  }
  font.SetPointSize(size);
  font.SetLineHeight(size + 2);
  switch (kind) {
    case 0:
      (void)font.SetFace(name);
      break;
    case 1:
      font.SetSecondName(name);
      break;
    default:
      fc.ReportMessage("UNSUPPORTED CASE: Tagged font type", 10);
      return 0;
  }
  if (sansSerif == 1)
    font.SetSansSerif(1);
  if (style == 2 || style == 3)
    font.SetBold(1);
  if (style == 1 || style == 3)
    font.SetItalic(1);
  // The tag colour of a tagged font: nothing sets one, so the font keeps no colour.
  font.SetColour(TextString());
  return 1;
}

int ParseColourArguments(FileControl& /*fc*/, Context& ctx, PreHTML* /*line*/,
                         const TextString& /*keyword*/, const TextString& /*arguments*/,
                         TextString& colourOut) {
  // The colour name and its three components all have defaults, so nothing can fail; the
  // colour is not used in RTF output.
  if (ctx.OutputPass != 0)
    colourOut.SetEmpty();
  return 1;
}

void MakeFontKey(const FontSpec& font, TextString& key) {
  key.Assign(font.GetFace());
  key.AppendChar('-');
  key.Append(font.GetSecondName());
  key.Append(font.IsSansSerif() != 0 ? "-1" : "-0");
  key.AppendChar('-');
  const int style = (font.IsItalic() != 0 ? 1 : 0) + (font.IsBold() != 0 ? 2 : 0);
  key.AppendNumber('1', style, 0);
}

// ---- Page scope ----

// The two groups of scope words: each may be given once.
enum class ScopeWordKind { Page, Folio };

struct ScopeWord {
  const char* word;
  ScopeWordKind kind;
  int value;  // page choice, or global for the folio words
};

static constexpr ScopeWord kScopeWords[] = {
    {"ALL_PAGES", ScopeWordKind::Page, 0},
    {"ODD_PAGES_ONLY", ScopeWordKind::Page, 1},
    {"EVEN_PAGES_ONLY", ScopeWordKind::Page, 2},
    {"GLOBAL", ScopeWordKind::Folio, 1},
    {"FROM_NEXT_FOLIO", ScopeWordKind::Folio, 0},
    {"FROM_LAST_FOLIO", ScopeWordKind::Folio, 0},
};

static const ScopeWord* FindScopeWord(const TextString& word) {
  for (const ScopeWord& row : kScopeWords) {
    if (word.Compare(row.word, 1, 0))
      return &row;
  }
  return nullptr;
}

static void AppendScopeFailure(const char* what, const TextString& word, TextString& message,
                               int& level) {
  message.Append("TAG ERROR: ");
  message.Append(what);
  message.Append(" \"");
  message.Append(word);
  message.AppendChar('"');
  level = 10;
}

// Where the last folio definition before the current position stands; (0, 1) when none.
static TextPosition LastFolioPosition(Context& ctx, const TextPosition& current) {
  if (ctx.FolioName.IsEmpty())
    ctx.FolioName.Assign("FOLIO");
  int index = -1;
  if (!ctx.Defines.FindAtOrBefore(kDefineBlock, ctx.FolioName, current, 0, &index, 1))
    return TextPosition(0, 1);
  const DefineEntry* entry = ctx.Defines.GetEntry(index);
  return entry != nullptr ? entry->scope.GetPosition() : TextPosition(0, 1);
}

bool ParsePageScope(FileControl& fc, const TextString& scope, TextPosition& position, int& page,
                    int& global, TextString& message, int& level) {
  global = 1;
  page = 0;
  Context* ctx = fc.pGetContext();
  if (ctx != nullptr) {
    position = ctx->pGetTracker()->currentPosition;
    position.SetColumn(position.GetColumn() + 1);
  }
  TextString text(scope);
  text.CollapseBlanks();
  text.Trim();
  if (text.IsEmpty())
    return true;
  const char separator = text.ContainsChar(',') || !text.ContainsChar(' ') ? ',' : ' ';
  bool failed = false;
  bool pageSeen = false;
  bool folioSeen = false;
  TextString word;
  int at = 0;
  while (at < text.GetLength()) {
    text.GetNextField(&at, separator, word);
    word.Trim();
    word.ToUpper();
    const ScopeWord* row = failed ? nullptr : FindScopeWord(word);
    if (row == nullptr) {
      AppendScopeFailure("Unknown scope attribute", word, message, level);
      failed = true;
      continue;
    }
    if (row->kind == ScopeWordKind::Page) {
      if (pageSeen) {
        AppendScopeFailure("Page scope conflict", word, message, level);
        failed = true;
        continue;
      }
      pageSeen = true;
      page = row->value;
      continue;
    }
    if (folioSeen) {
      AppendScopeFailure("Folio scope conflict", word, message, level);
      failed = true;
      continue;
    }
    folioSeen = true;
    global = row->value;
    if (word.Compare("FROM_LAST_FOLIO", 1, 0) && ctx != nullptr)
      position = LastFolioPosition(*ctx, position);
  }
  return !failed;
}
