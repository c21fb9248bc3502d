#include "engine/InputSpecs.h"

#include <cstdio>

#include "engine/CommandLine.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "policy/StatementReading.h"
#include "text/Statement.h"
#include "text/StatementFile.h"
#include "text/StringList.h"

static bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }
static bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

static bool CanOpenForReading(const char* name) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// The name after the last folder separator.
static bool IsDotEntry(const TextString& path) {
  int start = 0;
  for (int i = 0; i < path.GetLength(); ++i)
    if (path.CharAt(i) == '/' || path.CharAt(i) == '\\') start = i + 1;
  const char* name = path.GetText() + start;
  return TextString(name).Compare(".", 1, 0) || TextString(name).Compare("..", 1, 0);
}

// Each empty file the lister left out, as a warning of level 7.
static void ReportEmptyFiles(Context& ctx) {
  constexpr int kEmptyFileLevel = 7;
  const StringList& empty = ctx.FileLister.GetEmptyFiles();
  TextString message;
  for (int i = 0; i < empty.GetCount(); ++i) {
    message.Assign("WARNING: File is empty ");
    message.Append(empty.GetItem(i)->text);
    ctx.GetLogErrorHandler().Report(message.GetText(), kEmptyFileLevel);
  }
}

void ExpandFileSpec(Context& ctx, const TextString& specification,
                    const TextString& policyFileName, const TextString& steeringLine) {
  int folderCount = 0;
  TextString first;
  ctx.FileLister.ListMatchingFiles(specification, ctx.Commands.searchSubfolders, 0, folderCount,
                                   first);
  ReportEmptyFiles(ctx);
  // The lister delivers names in directory order; the run converts them sorted.
  StringList matches;
  matches.CopyFrom(ctx.FileLister.GetFiles());
  if (matches.GetCount() == 0) return;
  matches.Sort(true, false, false);

  if (!CanOpenForReading(matches.GetItem(0)->text.GetText())) {
    TextString message("ERROR: Can't find or open ");
    message.Append(specification);
    ctx.SessionMessage(message.GetText());
    return;
  }
  for (int i = 0; i < matches.GetCount(); ++i) {
    const TextString& name = matches.GetItem(i)->text;
    if (IsDotEntry(name)) continue;
    ctx.InputFiles.Append(name.GetText());
    ctx.InputSpecs.Append(specification.GetText());
    ctx.InputPolicyFiles.Append(policyFileName.GetText());
    ctx.InputSteeringLines.Append(steeringLine.GetText());
  }
}

// Every "<name>" first, then every blank-separated word of what is left. An unclosed "<"
// stays in a word of its own.
static void ExpandNameList(Context& ctx, const TextString& list, const TextString& policyFileName,
                           const TextString& steeringLine) {
  TextString rest(list);
  TextString name;
  int open = -1;
  int from = 0;
  while (rest.FindChar(from, '<', &open, 1)) {
    int close = -1;
    if (!rest.FindChar(open + 1, '>', &close, 1)) break;
    name.AssignSubstring(rest.GetText(), open + 1, close - open - 1);
    if (!name.IsEmpty()) ExpandFileSpec(ctx, name, policyFileName, steeringLine);
    rest.ReplaceSpan(open, close - open + 1, " ");
    from = open + 1;
  }
  std::vector<TextString> words;
  SplitCommandWords(rest, words);
  for (const TextString& word : words) ExpandFileSpec(ctx, word, policyFileName, steeringLine);
}

// The text before the first double quote, when glued to it, is a folder for every quoted
// name ("/data/in/\"a b.txt\" \"c.txt\""); otherwise it holds names of its own. Text between
// the quoted names is a name list, so no name given is dropped.
static void ExpandQuotedList(Context& ctx, const TextString& list,
                             const TextString& policyFileName, const TextString& steeringLine) {
  std::vector<TextString> pieces(1);
  for (int i = 0; i < list.GetLength(); ++i) {
    const char c = list.CharAt(i);
    if (c == '"') {
      pieces.emplace_back();
      continue;
    }
    pieces.back().AppendChar(c);
  }
  const TextString& lead = pieces[0];
  const bool leadIsFolder = !lead.IsEmpty() && !IsBlankChar(lead.CharAt(lead.GetLength() - 1));
  TextString folder;
  if (leadIsFolder)
    folder.Assign(lead);
  else
    ExpandNameList(ctx, lead, policyFileName, steeringLine);

  TextString item;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    if (i % 2 == 0) {
      ExpandNameList(ctx, pieces[i], policyFileName, steeringLine);
      continue;
    }
    if (pieces[i].IsEmpty()) continue;
    item.Assign(folder);
    // An entry written with a leading separator ("/d/" "\"/a.txt\"") joins the folder once.
    const bool bothSeparate = !folder.IsEmpty() &&
                              IsPathSeparator(folder.CharAt(folder.GetLength() - 1)) &&
                              IsPathSeparator(pieces[i].CharAt(0));
    if (bothSeparate)
      item.Append(pieces[i].GetText() + 1);
    else
      item.Append(pieces[i]);
    ExpandFileSpec(ctx, item, policyFileName, steeringLine);
  }
}

static void ExpandInputList(Context& ctx, const TextString& list, const TextString& policyFileName,
                            const TextString& steeringLine) {
  if (list.ContainsChar('"'))
    ExpandQuotedList(ctx, list, policyFileName, steeringLine);
  else
    ExpandNameList(ctx, list, policyFileName, steeringLine);
}

// The session lines of a steering-file line belong to the run: they join the caller's
// pending text and reach its log.
static void CarrySessionText(Context& from, Context& to) {
  if (from.PendingSessionText.IsEmpty()) return;
  if (!to.PendingSessionText.IsEmpty()) to.PendingSessionText.AppendChar('\n');
  to.PendingSessionText.Append(from.PendingSessionText);
  from.PendingSessionText.SetEmpty();
  if (to.GetLogErrorHandler().WriteLogLine(to.PendingSessionText.GetText()) != 0)
    to.PendingSessionText.SetEmpty();
}

// Each line is a command of its own: its qualifiers act on a short-lived Context reset after
// every line; its files and policy file reach the caller's lists.
static int ReadSteeringFile(Context& ctx, const TextString& fileName) {
  StatementFile file;
  if (!file.OpenForRead(fileName.GetText(), 0)) {
    TextString message("ERROR: Can't open \"");
    message.Append(fileName);
    message.AppendChar('"');
    ctx.SessionMessage(message.GetText());
    return 0;
  }
  Context lineContext(ctx.GetProductId(), ctx.GetOutputType());
  FileControl control;
  control.AttachContext(&lineContext);
  control.Bool(PolicyId::DisplayMessages).value = ctx.Commands.displayMessages;

  Statement statement;
  TextString line, commandText;
  while (ReadStatement(file, statement, control, lineContext, nullptr)) {
    line.Assign(statement);
    commandText.Assign(line);
    // A run told to be silent stays silent while its steering file is read.
    lineContext.Commands.displayMessages = ctx.Commands.displayMessages;
    if (ParseCommandLine(commandText, lineContext) == 1)
      ExpandInputList(ctx, lineContext.Commands.inputList, lineContext.Commands.policyFileName,
                      line);
    CarrySessionText(lineContext, ctx);
    lineContext.ResetCommandState();
    statement.SetEmpty();
  }
  file.CloseAll();
  return 1;
}

int ConvertFileSpecs(int steering, const TextString& steeringFileName,
                     const TextString& specification, const TextString& policyFileName,
                     Context& ctx, int listFlag) {
  if (steering) return ReadSteeringFile(ctx, steeringFileName);
  const TextString noSteeringLine;
  if (specification.ContainsChar('"')) {
    ExpandQuotedList(ctx, specification, policyFileName, noSteeringLine);
    return 1;
  }
  if (listFlag) {
    ExpandNameList(ctx, specification, policyFileName, noSteeringLine);
    return 1;
  }
  ExpandFileSpec(ctx, specification, policyFileName, noSteeringLine);
  return 1;
}
