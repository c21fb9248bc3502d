#include "engine/CommandLine.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/Context.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"

namespace {

// What a qualifier means to this program and how the usage text lists it.
struct QualifierUsage {
  bool enabled;
  std::string_view description;  // printed after "   " and the full form
};

// Indexed by Qualifier.
constexpr QualifierUsage kQualifierUsage[] = {
    {true, "               Input file is a comma-delimited table"},               // COMMA
    {false, "              Concatenate the results into one file"},              // CONCAT
    {true, "             Write output direct to console"},                       // CONSOLE
    {false, "            Generate contents list (if possible)"},                 // CONTENTS
    {false, "=filename     The name of a context file to be loaded"},            // CTX_IN
    {false, "[=filespec]  Filespec for output .ctx file(s)"},                    // CTX_OUT
    {false, "                  The file is a composition unit"},                 // CU
    {false, "               Generate .lis and .stats file"},                     // DEBUG
    {false, "               Selectively remove HTML markup"},                    // DETAG
    {false, "       Delete source file after conversion"},                       // DELETE_SOURCE
    {true, "                 Generate DOS compatible 8.3 names"},                // DOS
    {false, "              Generate HTML output in FRAMES"},                     // FRAMES
    {true, ""},  // HELP: composed by AppendHelpDescription
    {false, "                Source file is HTML (as opposed to text)"},         // HTML
    {false, "[=filename]    Generate a directory index of all files converted"},  // INDEX
    {false, "[=filename]    Output all URLs and email addresses to file"},       // LINKS
    {true, "[=filename]     Generate .lis and .lis1 diagnostic files"},          // LIST
    {true, "[=filename]      Generate a .log file"},                             // LOG
    {true, "[=filespec]   Filespec for output file(s)"},                         // OUTPUT
    {false, "           May overwrite input files with the output"},             // OVERWRITE
    {false, "                 Generate RTF (instead of HTML)"},                  // RTF
    {false, "=\"name\"      Rule set to be used (requires special code)"},       // RULESET
    {true, "[=filename]   Output policies used to a sample .pol file"},          // CREATE_POLICY
    {true, "              Suppress all output messages (except these :-)"},     // SILENT
    {true, "              Treat file as structure-free \"simple\" file"},        // SIMPLE
    {true, "          Search sub-folders for files as well"},                    // SUBFOLDERS
    {true, ""},  // "?": listed through HELP
    {true, "              Input file is tab-delimited table"},                   // TABBED
    {true, "               Input file is plain text table"},                     // TABLE
    {true, "                Generate debug tags in output"},                     // TAGS
    {false, "[=filespec]  Filespec for output .toc file(s)"},                    // TOC_OUT
    {true, "                Output directory tree should match input tree"},     // TREE
};
static_assert(std::size(kQualifierUsage) == kQualifierCount, "Keep in sync with Qualifier");

// The order of the usage list (CU and "?" are never listed on their own).
constexpr Qualifier kUsageOrder[] = {
    Qualifier::Comma,      Qualifier::Concat,  Qualifier::Console,  Qualifier::Contents,
    Qualifier::CtxIn,      Qualifier::CtxOut,  Qualifier::Debug,    Qualifier::Detag,
    Qualifier::DeleteSource, Qualifier::Dos,   Qualifier::Frames,   Qualifier::Help,
    Qualifier::Html,       Qualifier::Index,   Qualifier::Log,      Qualifier::List,
    Qualifier::Links,      Qualifier::Output,  Qualifier::Overwrite, Qualifier::CreatePolicy,
    Qualifier::Rtf,        Qualifier::Ruleset, Qualifier::Silent,   Qualifier::Simple,
    Qualifier::Subfolders, Qualifier::Tags,    Qualifier::Table,    Qualifier::Tabbed,
    Qualifier::TocOut,     Qualifier::Tree,
};

// The order in which qualifiers take effect, so that messages come out in a fixed order
// whatever the order of the words. The disabled entries have their places but never match.
constexpr Qualifier kCheckOrder[] = {
    Qualifier::Question, Qualifier::Help,     Qualifier::Html,       Qualifier::Log,
    Qualifier::Output,   Qualifier::Concat,   Qualifier::Console,    Qualifier::Contents,
    Qualifier::CtxIn,    Qualifier::CtxOut,   Qualifier::Cu,         Qualifier::Debug,
    Qualifier::Detag,    Qualifier::DeleteSource, Qualifier::Dos,    Qualifier::Frames,
    Qualifier::Index,    Qualifier::Links,    Qualifier::List,       Qualifier::Overwrite,
    Qualifier::Rtf,      Qualifier::Ruleset,  Qualifier::CreatePolicy, Qualifier::Simple,
    Qualifier::Subfolders, Qualifier::Silent, Qualifier::Comma,      Qualifier::Tabbed,
    Qualifier::Table,    Qualifier::Tags,     Qualifier::TocOut,     Qualifier::Tree,
};
static_assert(std::size(kCheckOrder) == kQualifierCount, "Every qualifier has its check");

constexpr const char* kDefaultLogFileName = "Carvaleen.RTF.log";
constexpr const char* kLogExtension = ".log";
constexpr const char* kPolicyExtension = ".pol";

enum class WordKind { File, Qualifier, Illegal, Unrecognised };

struct CommandWord {
  TextString text;
  WordKind kind = WordKind::File;
  Qualifier qualifier = Qualifier::Comma;  // for Qualifier and Illegal words
};

}  // namespace

static bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

static std::size_t IndexOf(Qualifier q) { return static_cast<std::size_t>(q); }

static char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// A prefix test with ASCII case folded.
static bool StartsWithNoCase(const TextString& text, const TextString& prefix) {
  if (prefix.GetLength() > text.GetLength()) return false;
  for (int i = 0; i < prefix.GetLength(); ++i)
    if (ToUpperAscii(text.CharAt(i)) != ToUpperAscii(prefix.CharAt(i))) return false;
  return true;
}

// "?", HELP, HTML and LOG are looked for whatever their enabled flag says.
static bool IsChecked(const Context& ctx, Qualifier q) {
  if (q == Qualifier::Question || q == Qualifier::Help || q == Qualifier::Html ||
      q == Qualifier::Log)
    return true;
  return ctx.Qualifiers.Get(q).enabled != 0;
}

// The checked entry whose search form begins typedName. Search forms are never prefixes of
// one another, so at most one entry owns a name.
static bool FindSearchFormOwner(const Context& ctx, const TextString& typedName, Qualifier& out) {
  for (int i = 0; i < kQualifierCount; ++i) {
    const auto q = static_cast<Qualifier>(i);
    if (!IsChecked(ctx, q)) continue;
    if (!StartsWithNoCase(typedName, ctx.Qualifiers.Get(q).searchForm)) continue;
    out = q;
    return true;
  }
  return false;
}

int FindQualifier(const Context& ctx, const TextString& typedName, Qualifier& out) {
  Qualifier owner = Qualifier::Comma;
  if (!FindSearchFormOwner(ctx, typedName, owner)) return 0;
  if (!StartsWithNoCase(ctx.Qualifiers.Get(owner).fullForm, typedName)) return 0;
  out = owner;
  return 1;
}

void SetProgramQualifiers(Context& ctx) {
  for (int i = 0; i < kQualifierCount; ++i) {
    const auto q = static_cast<Qualifier>(i);
    ctx.Qualifiers.Get(q).enabled = kQualifierUsage[IndexOf(q)].enabled ? 1 : 0;
  }
}

void SplitCommandWords(const TextString& text, std::vector<TextString>& words) {
  words.clear();
  const char* p = text.GetText();
  const int length = text.GetLength();
  int i = 0;
  while (i < length) {
    while (i < length && IsBlankChar(p[i])) ++i;
    if (i >= length) break;
    const int start = i;
    while (i < length && !IsBlankChar(p[i])) {
      const char close = p[i] == '"' ? '"' : (p[i] == '<' ? '>' : '\0');
      ++i;
      if (close == '\0') continue;
      while (i < length && p[i] != close) ++i;
      if (i < length) ++i;
    }
    words.emplace_back();
    words.back().AssignBytes(p + start, i - start);
  }
}

// The typed name of a qualifier word: up to its "=".
static void TypedNameOf(const TextString& word, TextString& name) {
  int equals = -1;
  if (word.FindChar(0, '=', &equals, 1))
    name.AssignSubstring(word.GetText(), 0, equals);
  else
    name.Assign(word);
}

// Letters, digits, "_" and "?" after the qualifier character: a mistyped or repeated
// qualifier rather than a path.
static bool IsSpelledLikeQualifier(const TextString& typedName) {
  if (typedName.GetLength() < 2) return false;
  for (int i = 1; i < typedName.GetLength(); ++i) {
    const char c = typedName.CharAt(i);
    const bool nameChar = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '_' || c == '?';
    if (!nameChar) return false;
  }
  return true;
}

static bool PathExists(const TextString& word) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(word.GetText()), error);
}

static void ClassifyWord(const Context& ctx, CommandWord& word) {
  word.kind = WordKind::File;
  if (word.text.CharAt(0) != ctx.Qualifiers.GetQualifierChar()) return;
  if (PathExists(word.text)) return;
  TextString name;
  TypedNameOf(word.text, name);
  if (FindQualifier(ctx, name, word.qualifier)) {
    word.kind = WordKind::Qualifier;
    return;
  }
  if (!IsSpelledLikeQualifier(name)) return;
  word.kind = FindSearchFormOwner(ctx, name, word.qualifier) ? WordKind::Illegal
                                                              : WordKind::Unrecognised;
}

// "/LOG =x" is one qualifier with its value, as the same text typed without the blank.
static void JoinDetachedValues(std::vector<CommandWord>& words) {
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (words[i].kind != WordKind::Qualifier) continue;
    if (words[i].text.ContainsChar('=')) continue;
    if (words[i + 1].text.CharAt(0) != '=') continue;
    words[i].text.Append(words[i + 1].text);
    words.erase(words.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  }
}

// What reading a qualifier's value found; the last two are mistakes of the command line.
enum class ValueRead { None, Taken, Missing, Unclosed };

static ValueRead ReadQualifierValue(Context& ctx, const TextString& word, Qualifier q,
                                    TextString& value) {
  value.SetEmpty();
  int equals = -1;
  if (!word.FindChar(0, '=', &equals, 1)) return ValueRead::None;
  const TextString& fullForm = ctx.Qualifiers.Get(q).fullForm;
  const int start = equals + 1;
  const char first = word.CharAt(start);
  if (start >= word.GetLength() || IsBlankChar(first)) {
    TextString message("Missing value after \"=\" for qualifier ");
    message.Append(fullForm);
    ctx.SessionMessage(message.GetText());
    return ValueRead::Missing;
  }
  if (first != '<' && first != '"') {
    value.AssignSubstring(word.GetText(), start, -1);
    value.Trim();
    return ValueRead::Taken;
  }
  const char close = first == '<' ? '>' : '"';
  int end = -1;
  const bool closed = word.FindChar(start + 1, close, &end, 1);
  if (!closed) {
    TextString message("Missing end-quote in qualifier value ");
    message.Append(fullForm);
    ctx.SessionMessage(message.GetText());
    end = word.GetLength();
  }
  value.AssignSubstring(word.GetText(), start + 1, end - start - 1);
  value.Trim();
  return closed ? ValueRead::Taken : ValueRead::Unclosed;
}

int GetQualifierValue(Context& ctx, const TextString& word, Qualifier q, TextString& value) {
  return ReadQualifierValue(ctx, word, q, value) == ValueRead::None ? 0 : 1;
}

static bool HasExtension(const TextString& extension, const char* wanted) {
  return extension.Compare(wanted, 0, 0);
}

static void TakeLogValue(Context& ctx, const TextString& value) {
  CommandSettings& commands = ctx.Commands;
  commands.logRequested = 1;
  if (value.IsEmpty()) {
    commands.logFileName.Assign(kDefaultLogFileName);
    return;
  }
  TextString folder, baseName, extension;
  SplitPath(value, folder, baseName, extension);
  if (!HasExtension(extension, kPolicyExtension) && !HasExtension(extension, ".txt") &&
      !HasExtension(extension, ".dat")) {
    commands.logFileName.Assign(value);
    return;
  }
  TextString message("Can't use \"");
  message.Append(extension);
  message.Append("\" for a log file.  Changing to \"");
  message.Append(kLogExtension);
  message.Append("\"");
  ctx.SessionMessage(message.GetText());
  commands.logFileName.Assign(folder);
  commands.logFileName.Append(baseName);
  commands.logFileName.Append(kLogExtension);
}

// A policy-file name given as the output becomes a name with the program's own output
// extension, so that the output never overwrites the policies nor lands in a wrongly typed file.
static void TakeOutputValue(Context& ctx, const TextString& value) {
  if (value.IsEmpty()) return;
  CommandSettings& commands = ctx.Commands;
  SplitPath(value, commands.outputFolder, commands.outputBaseName, commands.outputExtension);
  if (!HasExtension(commands.outputExtension, kPolicyExtension)) {
    commands.outputSpec.Assign(value);
    return;
  }
  TextString outputExtension;
  GetDefaultOutputExtension(outputExtension);
  TextString message("Can't use \"");
  message.Append(commands.outputExtension);
  message.Append("\" for an output file.  Changing to \"");
  message.Append(outputExtension);
  message.Append("\"");
  ctx.SessionMessage(message.GetText());
  commands.outputExtension.Assign(outputExtension);
  commands.outputSpec.Assign(commands.outputFolder);
  commands.outputSpec.Append(commands.outputBaseName);
  commands.outputSpec.Append(outputExtension);
}

// The effect of one recognised qualifier. The disabled ones are never recognised, except
// HTML, so they take no effect here.
static void ApplyQualifier(Context& ctx, Qualifier q, const TextString& value) {
  CommandSettings& commands = ctx.Commands;
  switch (q) {
    case Qualifier::Question:
    case Qualifier::Help: commands.helpRequested = 1; return;
    case Qualifier::Html: commands.sourceIsHtml = 1; return;
    case Qualifier::Log: TakeLogValue(ctx, value); return;
    case Qualifier::Output: TakeOutputValue(ctx, value); return;
    case Qualifier::Console: commands.consoleOutput = 1; return;
    case Qualifier::Dos: commands.dosNames = 1; return;
    case Qualifier::List: commands.listFiles = 1; return;
    case Qualifier::CreatePolicy:
      commands.createPolicyFile = 1;
      commands.policyOutputFileName.Assign(value);
      return;
    case Qualifier::Simple: commands.simpleFile = 1; return;
    case Qualifier::Subfolders: commands.searchSubfolders = 1; return;
    case Qualifier::Silent: commands.displayMessages = 0; return;
    case Qualifier::Comma: commands.commaDelimited = 1; return;
    case Qualifier::Tabbed: commands.tabDelimited = 1; return;
    case Qualifier::Table: commands.plainTable = 1; return;
    case Qualifier::Tags: commands.debugTags = 1; return;
    case Qualifier::Tree: commands.treeMatchesInput = 1; return;
    case Qualifier::Concat:
    case Qualifier::Contents:
    case Qualifier::CtxIn:
    case Qualifier::CtxOut:
    case Qualifier::Cu:
    case Qualifier::Debug:
    case Qualifier::Detag:
    case Qualifier::DeleteSource:
    case Qualifier::Frames:
    case Qualifier::Index:
    case Qualifier::Links:
    case Qualifier::Overwrite:
    case Qualifier::Rtf:
    case Qualifier::Ruleset:
    case Qualifier::TocOut: return;
  }
}

// Takes the first occurrence of each qualifier in check order; a repeated one is left
// unrecognised. The usage text follows the help qualifiers, before any other effect. Returns
// the number of values that were missing or unclosed.
static int ApplyQualifiers(Context& ctx, std::vector<CommandWord>& words) {
  int badValues = 0;
  TextString value, name;
  for (const Qualifier q : kCheckOrder) {
    bool taken = false;
    for (CommandWord& word : words) {
      if (word.qualifier != q) continue;
      if (word.kind == WordKind::Illegal) {
        TypedNameOf(word.text, name);
        TextString message("Illegal Qualifier : ");
        message.Append(name);
        ctx.SessionMessage(message.GetText());
        continue;
      }
      if (word.kind != WordKind::Qualifier) continue;
      if (taken) {
        word.kind = WordKind::Unrecognised;
        continue;
      }
      taken = true;
      const ValueRead read = ReadQualifierValue(ctx, word.text, q, value);
      if (read == ValueRead::Missing || read == ValueRead::Unclosed) ++badValues;
      ApplyQualifier(ctx, q, value);
    }
    if (q == Qualifier::Html && ctx.Commands.helpRequested) PrintUsage(ctx);
  }
  return badValues;
}

// Returns the number of words reported.
static int ReportUnrecognised(Context& ctx, const std::vector<CommandWord>& words) {
  int count = 0;
  TextString collected;
  for (const CommandWord& word : words) {
    if (word.kind != WordKind::Unrecognised && word.kind != WordKind::Illegal) continue;
    collected.Append(word.text);
    collected.AppendChar(' ');
    ++count;
  }
  if (count == 0) return 0;
  TextString message("*** Unrecognised, ambiguous or repeated qualifiers : ");
  message.Append(collected);
  ctx.SessionMessage(message.GetText());
  return count;
}

static void ApplyCombinations(Context& ctx) {
  CommandSettings& commands = ctx.Commands;
  if (commands.consoleOutput) {
    commands.displayMessages = 0;
    commands.outputSpec.SetEmpty();
    commands.directoryIndexRequested = 0;
    commands.directoryIndexFileName.SetEmpty();
  }
  if (commands.treeMatchesInput && !commands.searchSubfolders) {
    ctx.SessionMessage("/tree has no effect unless /subfolders is set");
    commands.treeMatchesInput = 0;
  }
}

static bool IsEnclosed(const TextString& word, char open, char close) {
  return word.GetLength() >= 2 && word.CharAt(0) == open &&
         word.CharAt(word.GetLength() - 1) == close;
}

// A ".pol" name becomes the policy file (the last one wins); any other goes to the input
// list, a name in angle brackets keeping them.
static void TakeFileWord(Context& ctx, const TextString& word) {
  TextString name(word);
  if (IsEnclosed(word, '<', '>') || IsEnclosed(word, '"', '"'))
    name.AssignSubstring(word.GetText(), 1, word.GetLength() - 2);
  TextString folder, baseName, extension;
  SplitPath(name, folder, baseName, extension);
  CommandSettings& commands = ctx.Commands;
  if (HasExtension(extension, kPolicyExtension)) {
    commands.policyFileName.Assign(name);
    return;
  }
  if (!commands.inputList.IsEmpty()) commands.inputList.AppendChar(' ');
  commands.inputList.Append(word);
}

// Names in angle brackets first, then the other words, each in the order given.
static void TakeFileWords(Context& ctx, const std::vector<CommandWord>& words) {
  for (const bool bracketed : {true, false}) {
    for (const CommandWord& word : words) {
      if (word.kind != WordKind::File) continue;
      if ((word.text.CharAt(0) == '<') != bracketed) continue;
      TakeFileWord(ctx, word.text);
    }
  }
}

// The words come classified. Returns the number of rejected qualifier words.
static int ParseWords(Context& ctx, std::vector<CommandWord>& words) {
  JoinDetachedValues(words);
  const int badValues = ApplyQualifiers(ctx, words);
  const int unrecognised = ReportUnrecognised(ctx, words);
  ApplyCombinations(ctx);
  TakeFileWords(ctx, words);
  return badValues + unrecognised;
}

int ParseCommandLine(TextString& commandText, Context& ctx) {
  SetProgramQualifiers(ctx);
  const char first = commandText.CharAt(0);
  if (first == '!' || first == '#') {
    TextString message("INFO: Steering file: Ignoring comment line \"");
    message.Append(commandText);
    message.AppendChar('"');
    ctx.SessionMessage(message.GetText());
    return 0;
  }
  std::vector<TextString> texts;
  SplitCommandWords(commandText, texts);
  std::vector<CommandWord> words(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    words[i].text = std::move(texts[i]);
    ClassifyWord(ctx, words[i]);
  }
  (void)ParseWords(ctx, words);

  commandText.SetEmpty();
  for (const CommandWord& word : words) {
    if (word.kind != WordKind::File) continue;
    if (!commandText.IsEmpty()) commandText.AppendChar(' ');
    commandText.Append(word.text);
  }
  return 1;
}

// An argument holding blanks is one name: brackets keep it whole in the input list.
static bool NeedsBrackets(const TextString& argument) {
  if (IsEnclosed(argument, '<', '>') || IsEnclosed(argument, '"', '"')) return false;
  return argument.ContainsChar(' ') || argument.ContainsChar('\t');
}

int ParseCommandLine(Context& ctx, const std::vector<std::string>& args) {
  SetProgramQualifiers(ctx);
  std::vector<CommandWord> words;
  words.reserve(args.size());
  for (const std::string& argument : args) {
    if (argument.empty()) continue;
    CommandWord word;
    word.text.AssignBytes(argument.data(), static_cast<int>(argument.size()));
    ClassifyWord(ctx, word);
    if (word.kind == WordKind::File && NeedsBrackets(word.text)) {
      word.text.Insert(0, "<");
      word.text.AppendChar('>');
    }
    words.push_back(std::move(word));
  }
  return ParseWords(ctx, words);
}

void BuildUsageText(const Context& ctx, TextString& out) {
  const QualifierTable& table = ctx.Qualifiers;
  const char qualifierChar = table.GetQualifierChar();
  TextString name, shortVersion, fullVersion, program;
  GetProductNameAndVersion(name, shortVersion, fullVersion);
  GetConsoleProgramName(program);

  out.Assign("This is the console vesion of ");
  out.Append(name);
  out.AppendChar(' ');
  out.Append(shortVersion);
  out.Append("\nUsage : ");
  out.Append(program);
  out.Append(" filespec1 filespec2 [policy_file.pol] [");
  out.AppendChar(qualifierChar);
  out.Append("qualifiers]\n\nRecognised qualifiers include\n");
  for (const Qualifier q : kUsageOrder) {
    const QualifierEntry& entry = table.Get(q);
    if (!entry.enabled) continue;
    out.Append("   ");
    out.Append(entry.fullForm);
    if (q == Qualifier::Help) {
      out.Append("                Display this useful list of commands (\"");
      out.Append(table.Get(Qualifier::Question).fullForm);
      out.Append("\" also works)");
    } else {
      out.Append(kQualifierUsage[IndexOf(q)].description.data());
    }
    out.AppendChar('\n');
  }
  out.Append("\nQualifiers are case insensitive and may be reduced to shortest unique\n");
  out.Append("name (e.g \"");
  out.AppendChar(qualifierChar);
  out.Append("lo\" for \"");
  out.AppendChar(qualifierChar);
  out.Append("log\")\n");
}

void PrintUsage(const Context& ctx) {
  TextString usage;
  BuildUsageText(ctx, usage);
  std::fwrite(usage.GetText(), 1, static_cast<std::size_t>(usage.GetLength()), stdout);
  std::fflush(stdout);
}

void Context::SessionMessage(const char* text) {
  if (text == nullptr) return;
  // Standard output may carry the converted document (/CONSOLE); messages never mix with it.
  if (Commands.displayMessages) {
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
  }
  if (!PendingSessionText.IsEmpty()) PendingSessionText.AppendChar('\n');
  PendingSessionText.Append("SESSION: ");
  PendingSessionText.Append(text);
  // Lines that come before the log is open wait and go into it together.
  if (LogHandler.WriteLogLine(PendingSessionText.GetText()) != 0) PendingSessionText.SetEmpty();
}
