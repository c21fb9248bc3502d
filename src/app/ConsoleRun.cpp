#include "app/ConsoleRun.h"

#include <cstdio>
#include <memory>

#include "app/ShellServices.h"
#include "engine/CommandLine.h"
#include "engine/Context.h"
#include "convert/ConvertDriver.h"
#include "engine/InputSpecs.h"
#include "platform/FileSystem.h"
#include "rtf/RTFFile.h"
#include "text/ProductIdentity.h"
#include "text/StatementFile.h"
#include "text/TextFile.h"

int ConvertOneFile(RunPolicySets& sets, Context& ctx, const TextString& inputName,
                   const TextString& inputSpec, RTFFile& writer) {
  for (FileControl* set : {&sets.analysis, &sets.contents, &sets.output}) {
    set->ResetPolicies(0);
    set->CopyHandlerSettings(sets.user);
  }
  ctx.BuildTextCommands(&sets.user);
  ctx.Commands.contentsPassEnabled = 1;
  ctx.Commands.outputPassEnabled = 1;
  return ConvertInputFile(sets.user, sets.policyFile, sets.analysis, sets.contents, sets.output,
                          ctx, inputName, inputSpec, ctx.Commands.outputSpec, 0,
                          writer, nullptr, nullptr, 0);
}

static void ReportRunError(RunPolicySets& sets, const char* text, const TextString& name) {
  TextString message(text);
  message.Append(name);
  sets.user.ReportMessage(message.GetText(), 10);
}

// Loads name into the policy-file set unless it is loaded already; false after reporting when
// it cannot be read.
static bool LoadPolicyFile(RunPolicySets& sets, Context& ctx, const TextString& name) {
  if (name.IsEmpty() || name.EqualsText(sets.loadedPolicyFile, 1, 0))
    return true;
  sets.policyFile.ResetPolicies(0);
  sets.loadedPolicyFile.SetEmpty();
  // A folder holds no lines and a device or pipe never ends (/dev/zero would be read for
  // ever): only an ordinary file is taken as a policy file.
  if (GetFileKind(name.GetText()) == FileKind::Other) {
    ReportRunError(sets, "ERROR: Policy file is not a regular file: ", name);
    return false;
  }
  StatementFile file;
  if (!file.OpenForRead(name.GetText(), 0)) {
    ReportRunError(sets, "ERROR: Can't open policy file ", name);
    return false;
  }
  // The reader reports each fault as it meets it; the run goes on with what it read.
  (void)sets.policyFile.ReadPolicyFile(file, nullptr, 1);
  file.CloseAll();
  sets.loadedPolicyFile = name;
  ctx.Commands.policyFileInUse = 1;
  ctx.Commands.policyFileName = name;
  return true;
}

// The text of entry i; empty when the list is shorter.
static TextString ItemText(const StringList& list, int i) {
  const StringListEntry* entry = list.GetItem(i);
  return entry != nullptr ? entry->text : TextString();
}

void ConvertFileList(RunPolicySets& sets, Context& ctx, RunTally& tally) {
  std::vector<TextString> entries;
  SplitCommandWords(ctx.Commands.inputList, entries);
  const TextString runPolicyFile(ctx.Commands.policyFileName);
  for (const TextString& entry : entries) {
    const int before = ctx.InputFiles.GetCount();
    (void)ConvertFileSpecs(0, TextString(), entry, runPolicyFile, ctx, 1);
    if (ctx.InputFiles.GetCount() != before)
      continue;
    // The lister leaves empty files out (warning at a level the default filter hides):
    // "not found" would send the user looking for a file that is there.
    const bool onlyEmpty = ctx.FileLister.GetEmptyFileCount() > 0;
    ReportRunError(sets, onlyEmpty ? "ERROR: File is empty " : "ERROR: Can't find or open ",
                   entry);
    // The run goes on with the other entries, but it did not do all it was asked.
    ++tally.filesFailed;
  }

  RTFFile writer(ctx);
  for (int i = 0; i < ctx.InputFiles.GetCount(); ++i) {
    const TextString inputName(ItemText(ctx.InputFiles, i));
    const TextString inputSpec(ItemText(ctx.InputSpecs, i));
    ++tally.filesFound;
    if (!LoadPolicyFile(sets, ctx, ItemText(ctx.InputPolicyFiles, i))) {
      ++tally.filesFailed;
      continue;
    }
    if (ConvertOneFile(sets, ctx, inputName, inputSpec, writer))
      ++tally.filesConverted;
    else
      ++tally.filesFailed;
  }
}

static void ErrorLine(const char* text) {
  std::fputs(text, stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

int RunConversion(const std::vector<std::string>& args) {
  auto ctx = std::make_unique<Context>(GetProductId(), GetOutputFormat());
  ctx->ResetRunState();
  const int rejected = ParseCommandLine(*ctx, args);
  if (ctx->Commands.helpRequested)
    return 0;
  // Any qualifier the parser could not take means the command line was wrong.
  if (rejected > 0) {
    ErrorLine("ERROR: Unrecognised or invalid qualifiers: nothing converted");
    return 1;
  }
  if (ctx->Commands.inputList.IsEmpty()) {
    ErrorLine("ERROR: No input file given");
    PrintUsage(*ctx);
    return 1;
  }

  auto sets = std::make_unique<RunPolicySets>();
  sets->user.AttachContext(ctx.get());
  // The policy file's set reads through the run's Context: the configuration files it names
  // (definitions, text commands) are loaded only with one.
  sets->policyFile.AttachContext(ctx.get());
  sets->user.ApplyCommandSettings(*ctx);
  LogErrorHandler& handler = ctx->GetLogErrorHandler();
  TextFile log;
  int logFailed = 0;
  if (ctx->Commands.logRequested) {
    if (OpenRunLog(handler, log, ctx->Commands.logFileName.GetText())) {
      // What the command line said before the log was open goes in first.
      if (!ctx->PendingSessionText.IsEmpty() &&
          handler.WriteLogLine(ctx->PendingSessionText.GetText()) != 0)
        ctx->PendingSessionText.SetEmpty();
    } else {
      ReportRunError(*sets, "ERROR: Can't open log file ", ctx->Commands.logFileName);
      logFailed = 1;
    }
  }

  RunTally tally;
  if (LoadPolicyFile(*sets, *ctx, ctx->Commands.policyFileName))
    ConvertFileList(*sets, *ctx, tally);
  else
    tally.filesFailed = 1;
  if (tally.filesFound == 0 && tally.filesFailed == 0)
    sets->user.ReportMessage("ERROR: No files found to convert", 10);
  if (ctx->Commands.logRequested && !logFailed)
    CloseRunLog(handler, log);
  const bool failed = logFailed || tally.filesFailed > 0 || tally.filesFound == 0;
  return failed ? 1 : 0;
}
