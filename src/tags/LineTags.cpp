// The in-line tags a line executes itself, and the fallback that hands a tag of a line to
// the interpreter.

#include "tags/LineTags.h"

#include <algorithm>

#include "analysis/PreHTML.h"
#include "analysis/TagServices.h"
#include "engine/Context.h"
#include "engine/DefineList.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "tags/TagInterpreter.h"
#include "text/FontSpec.h"
#include "text/ProductIdentity.h"

// ---- Executing a tag ----

static bool IsNamed(const TextString& name, const char* wanted) {
  return name.Compare(wanted, 0, 0);
}

static bool IsNamedAny(const TextString& name, std::initializer_list<const char*> wanted) {
  return std::any_of(wanted.begin(), wanted.end(),
                     [&name](const char* w) { return IsNamed(name, w); });
}

// The argument text with its field separators as blanks, trimmed.
static void FieldsAsWords(const TextString& arguments, TextString& out) {
  out.Assign(arguments);
  if (!out.IsEmpty())
    (void)out.ReplaceChar(0, out.CharAt(0), ' ', 0);
  out.Trim();
}

// The link text of GOTO and POPUP: a one-word value is its own text with every occurrence of
// its first character a blank; else field 2, defaulting to field 1.
static void JumpLinkText(const TextString& value, TextString& out) {
  if (!value.ContainsChar(' ')) {
    (void)ReadTagText(value, 1, out, "");
    if (!out.IsEmpty())
      (void)out.ReplaceChar(0, out.CharAt(0), ' ', 0);
    out.Trim();
    return;
  }
  TextString first;
  (void)ReadTagText(value, 1, first, "");
  (void)ReadTagText(value, 2, out, first.GetText());
}

// The FOLIO tag: its arguments define the page number and the folio's format and template.
// The definitions are made once, in the analysis pass; every pass counts them, so that the
// passes agree on how many there are.
static void DefineFolio(FileControl& fc, Context& ctx, const TextString& value) {
  static constexpr const char* kNames[] = {"PAGE_NUMBER", "FOLIO_FORMAT_CODE", "FOLIO_TEMPLATE"};
  TextString field;
  if (!ReadTagText(value, 1, field) || !ReadTagText(value, 2, field))
    return;
  const int stage = ctx.LineStage;
  if (ctx.AnalysisPass != 0)
    ctx.LineStage = kLineStageConversion;
  for (int i = 0; i < 3; ++i) {
    if (!ReadTagText(value, i + 2, field))
      continue;
    if (ctx.AnalysisPass != 0)
      (void)ctx.Defines.Add(fc, kDefineVariable, TextString(kNames[i]), TextPosition(), 0, 1,
                            &field, 0);
    ++ctx.FolioDefinitions;
  }
  ctx.LineStage = stage;
}

// The analysis pass records the tags whose place in the document later passes look up.
static void RecordPositionedTag(PreHTML& line, FileControl& fc, Context& ctx,
                                const TextString& name, const TextString& value) {
  int alignment = 0;
  if (IsNamed(name, "QUAD") && !GetTagAlignment(fc, value, 1, alignment)) {
    ReportTagParseError(fc, &line, name, value, 1);
    return;
  }
  (void)ctx.Tags.Add(fc, name, value, alignment, TextPosition(-1, -1), 0);
}

// The analysis pass lists the fonts that FONT tags ask for, for the font table.
static void ListTaggedFont(PreHTML& line, FileControl& fc, Context& ctx, const TextString& name,
                           const TextString& value) {
  FontSpec font;
  if (ParseFontArguments(fc, ctx, &line, name, value, font) == 0)
    return;
  TextString key;
  MakeFontKey(font, key);
  if (!ctx.FontKeys.Find(key, nullptr))
    (void)ctx.FontKeys.Append(key.GetText());
}

static int ExecuteOnLine(PreHTML& line, FileControl& fc, Context& ctx, const TextString& command,
                         bool inFallback) {
  // The command may be a work text of the caller that the steps below reuse.
  const TextString tagText(command);
  TextString name;
  TextString value;
  TextString message;
  int level = -1;
  TextString replacement(" ");
  const bool analysis = ctx.AnalysisPass != 0;
  const bool contents = ctx.ContentsPass != 0;
  const bool output = !analysis && !contents;
  const int recognised = RecogniseTag(fc, ctx, tagText, name, value, message, level);
  if (recognised != 0) {
    if (analysis)
      ctx.InlineTagSeen = 1;
    if (IsNamed(name, "DEBUG")) {
      TextString progress("DEBUG: Tag ");
      progress.Append(name);
      progress.Append("= ");
      progress.Append(value);
      fc.ReportProgress(progress.GetText());
      for (int i = 1; i <= 4; ++i) {
        TextString argument;
        (void)ReadTagText(value, i, argument, "(****)");
        progress.Assign("DEBUG:    arg No.");
        progress.AppendNumber('1', i, 0);
        progress.Append("= ");
        progress.Append(argument);
        fc.ReportProgress(progress.GetText());
      }
    }
  } else if (output && !message.IsEmpty()) {
    TextString report("TAG ERROR: ");
    report.Append(message);
    line.ReportLineMessage(ctx, report.GetText(), level);
  }

  if (IsNamedAny(name, {"CAD", "ENTITY"})) {
    (void)line.ReplaceAll(tagText.GetText(), "?", 1, 1);
    (void)line.GetTidy().ReplaceAll(tagText.GetText(), "?", 1, 1);
    (void)line.GetPlain().ReplaceAll(tagText.GetText(), "?", 1, 1);
  } else if (IsNamedAny(name, {"SUPER", "SUB"})) {
    TextString field;
    (void)ReadTagText(value, 1, field, "");
    replacement.Append(field);
  } else if (IsNamedAny(name, {"HEADING", "END_HEADING"}) && contents) {
    if (IsNamed(name, "HEADING"))
      line.SetFlag(kFlagHeadingTag, true);
    // The interpreter's heading handlers act on the line; a tag they leave is not taken
    // round again.
    if (!inFallback) {
      TextString fallbackMessage;
      int fallbackLevel = -1;
      (void)HandleTagFallback(line, kTagModeLine, tagText, fc, ctx, fallbackMessage,
                              fallbackLevel);
      if (fallbackLevel >= 0 && !fallbackMessage.IsEmpty())
        line.ReportLineMessage(ctx, fallbackMessage.GetText(), fallbackLevel);
    }
  } else if (IsNamedAny(name, {"COLOUR", "COLOR"}) && analysis) {
    ctx.ColourOrFontSeen = 1;
  } else if (IsNamedAny(name, {"TEXT", "VERSION", "CT", "OT"})) {
    if (output) {
      replacement.Assign(tagText);
    } else if (analysis) {
      ctx.TextTagSeen = 1;
      if (IsNamed(name, "TEXT"))
        FieldsAsWords(value, replacement);
      else if (IsNamed(name, "VERSION"))
        replacement.Assign("qvarnel n.n");
      else
        replacement.Assign(IsNamed(name, "OT") ? "++" : "--");
    }
  } else if (IsNamed(name, "FONT") && analysis) {
    ctx.ColourOrFontSeen = 1;
    ListTaggedFont(line, fc, ctx, name, value);
  } else if (IsNamedAny(name, {"GOTO", "POPUP"}) && output) {
    JumpLinkText(value, replacement);
  } else if (IsNamed(name, "HYPERLINK") && output) {
    TextString second;
    (void)ReadTagText(value, 2, second, "[HYPERLINK]");
    (void)ReadTagText(value, 3, replacement, second.GetText());
  }
  if (IsNamed(name, "FOLIO"))
    DefineFolio(fc, ctx, value);
  if (IsNamedAny(name, {"QUAD", "PAGE_MARKER", "FOLIO"}) && analysis)
    RecordPositionedTag(line, fc, ctx, name, value);

  (void)line.GetPlain().ReplaceAll(tagText.GetText(), replacement.GetText(), 1, 1);
  (void)line.GetTidy().ReplaceAll(tagText.GetText(), replacement.GetText(), 1, 1);
  (void)line.ReplaceAll(tagText.GetText(), replacement.GetText(), 1, 1);
  line.SetLineLength(line.GetTidy().GetLength());
  return recognised;
}

int ExecuteLineTag(PreHTML& line, FileControl& fc, Context& ctx, const TextString& command) {
  return ExecuteOnLine(line, fc, ctx, command, false);
}

// ---- The tag fallback ----

// Appends text to a message of several lines: after the first, each starts on a new line
// indented by indent blanks.
static void AppendMessageLine(TextString& message, const TextString& text, int indent) {
  if (!message.IsEmpty()) {
    message.AppendChar('\n');
    for (int i = 0; i < indent; ++i)
      message.AppendChar(' ');
  }
  message.Append(text);
}

int HandleTagFallback(PreHTML& line, int mode, const TextString& tag, FileControl& fc,
                      Context& ctx, TextString& message, int& level) {
  const TextString tagText(tag);
  TextString keyword;
  TextString arguments;
  TextString error;
  int errorLevel = -1;
  if (RecogniseTag(fc, ctx, tagText, keyword, arguments, error, errorLevel) == 0) {
    TextString text("TAG ERROR: ");
    text.Append(error);
    AppendMessageLine(message, text, 11);
    level = std::max(level, 10);
    return 0;
  }
  int replace = 0;
  TextString output(" ");
  const int handled = ExecuteTag(mode, &line, tagText, keyword, arguments, nullptr, fc, ctx,
                                 replace, output);
  if (handled == kTagNotHandled) {
    (void)ExecuteOnLine(line, fc, ctx, tagText, true);
    const bool delimiterTag = IsNamedAny(keyword, {"CT", "OT"});
    if (!delimiterTag && ctx.AnalysisPass == 0 && ctx.ContentsPass == 0) {
      TextString text("WARNING: Unimplemented tag \"");
      text.Append(keyword);
      text.Append("\" - ");
      text.Append(tagText);
      AppendMessageLine(message, text, 10);
      level = std::max(level, 4);
    }
  } else if (line.GetLineType() == kTypeBlank) {
    line.SetLineType(kTypeUntyped);
  }
  if (replace == 0)
    return handled;
  // A link that ends the line keeps a blank after its field.
  if (IsNamedAny(keyword, {"goto", "popup"}) && line.EndsWith(tagText.GetText(), 1))
    output.AppendChar(' ');
  (void)line.ReplaceAll(tagText.GetText(), output.GetText(), 1, 1);
  return handled;
}
