#include "convert/ConvertDriver.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/HeadingLinks.h"
#include "analysis/DirectivePreamble.h"
#include "engine/OutputMode.h"
#include "policy/ValueConversions.h"
#include "engine/AuxFileNames.h"
#include "engine/Context.h"
#include "convert/LineWindow.h"
#include "convert/ListFile.h"
#include "engine/StatisticsReport.h"
#include "platform/FileSystem.h"
#include "policy/FileControl.h"
#include "rtf/HelpFiles.h"
#include "rtf/RTFFile.h"
#include "tables/PreForm.h"
#include "rtf/RtfHelpers.h"
#include "text/PathUtils.h"
#include "text/StringList.h"
#include "text/StatementTypes.h"

static std::string_view View(const TextString& text) {
  return {text.GetText(), static_cast<std::size_t>(text.GetLength())};
}

bool IsSameFile(const TextString& first, const TextString& second) {
  if (first.IsEmpty() || second.IsEmpty())
    return false;
  // Different spellings of one file (relative forms, links, "./") denote the same file.
  return first.Equals(second) || IsSameExistingFile(first.GetText(), second.GetText());
}

// ---- Small reporting helpers ----

static void ReportWithName(FileControl& fc, const char* text, const TextString& name, int level) {
  TextString message(text);
  message.Append(name);
  fc.ReportMessage(message.GetText(), level);
}

static void ProgressWithName(FileControl& fc, const char* text, const TextString& name) {
  TextString message(text);
  message.Append(name);
  fc.ReportProgress(message.GetText());
}

static void ReportSameAsInput(FileControl& fc, const TextString& inputName) {
  ReportWithName(fc, "ERROR: Output file has same name as input file - ", inputName, 10);
}

static void SetPasses(Context& ctx, int analysis, int contents, int output) {
  ctx.AnalysisPass = analysis;
  ctx.ContentsPass = contents;
  ctx.OutputPass = output;
}

// A bare name lies in "Output directory"; a name that carries its folder is not resolved
// again (a relative folder would be doubled).
static void ResolveInOutputDirectory(const FileControl& fc, const TextString& name,
                                     TextString& resolved) {
  TextString folder, baseName, extension;
  SplitPath(name, folder, baseName, extension);
  if (!folder.IsEmpty()) {
    resolved = name;
    return;
  }
  ResolveRelativePath(fc.GetText(PolicyId::OutputDirectory), name, resolved);
}

// Opens a diagnostics file (list or statistics) under "Output directory". A name that would
// replace the input is refused. false when the file is not open.
static bool OpenDiagnosticsFile(FileControl& fc, const TextString& name,
                                const TextString& inputName, TextFile& file) {
  TextString resolved;
  ResolveInOutputDirectory(fc, name, resolved);
  ProgressWithName(fc, "Generating diagnostics file ", resolved);
  if (IsSameFile(resolved, inputName)) {
    ReportSameAsInput(fc, inputName);
    return false;
  }
  if (!file.OpenForWrite(resolved.GetText(), 0, 0)) {
    ReportWithName(fc, "ERROR: Can't open diagnostics file ", resolved, 10);
    return false;
  }
  return true;
}

// Opens the input of a pass; false after reporting when it cannot be read.
static bool OpenPassInput(FileControl& fc, const TextString& inputName,
                          const StatementSource* source, RTFFile& reader) {
  reader.SetSource(source);
  if (reader.OpenForRead(inputName.GetText(), 0))
    return true;
  ReportWithName(fc, "ERROR: Can't find file ", inputName, 10);
  return false;
}

// The list file of a pass becomes the Context's current one while the pass writes it.
static void OpenPassListFile(FileControl& fc, Context& ctx, const TextString& listName,
                             const TextString& inputName, TextFile& listFile) {
  ctx.ListFile = nullptr;
  if (listName.IsEmpty())
    return;
  if (OpenDiagnosticsFile(fc, listName, inputName, listFile))
    ctx.ListFile = &listFile;
}

// A reader that met a UTF-8 or UTF-16 byte-order mark delivered UTF-8: the writer must know.
static void NoteInputEncoding(Context& ctx, const TextFile& reader) {
  if (reader.IsUtf8() || reader.IsUtf16())
    ctx.Utf8Input = 1;
}

static void ClosePassListFile(Context& ctx, TextFile& listFile) {
  WriteListLegend(ctx.ListFile);
  listFile.CloseAll();
  ctx.ListFile = nullptr;
}

// ---- Passes ----

int RunAnalysisPass(FileControl& fc, Context& ctx, const TextString& inputName,
                    const TextString& listName, const TextString& statisticsName,
                    const StatementSource* source) {
  SetPasses(ctx, 1, 0, 0);
  ctx.ResetPassState();
  ctx.Statistics.Reset();
  RTFFile reader(ctx);
  RTFFile listFile(ctx);
  TextFile statisticsFile;
  if (!OpenPassInput(fc, inputName, source, reader))
    return 0;
  reader.SetSkipCount(fc.GetInt(PolicyId::LinesToIgnoreAtStartOfFile));
  OpenPassListFile(fc, ctx, listName, inputName, listFile);

  // The main text is the block that holds everything outside a definition.
  ctx.CodeLocation = kLocationContents;
  (void)ctx.Defines.Add(fc, kDefineBlock, TextString("MAIN"), TextPosition(0, 0), 0, 1, nullptr,
                        0);
  ctx.CodeLocation = kLocationAnalysis;
  WriteDefaultDirectives(fc, reader);
  const int status = RunLineWindow(1, reader, fc, ctx, ctx.ListFile, nullptr);

  const bool utf16 = reader.IsUtf16();
  NoteInputEncoding(ctx, reader);
  reader.CloseAll();
  if (utf16) {
    TextString folder, baseName, extension;
    SplitPath(inputName, folder, baseName, extension);
    TextString message("WARNING: File ");
    message.Append(baseName);
    message.Append(extension);
    message.Append(" is UNICODE.  Not all conversion options may work");
    fc.ReportMessage(message.GetText(), 10);
  }
  ClosePassListFile(ctx, listFile);
  if (!statisticsName.IsEmpty() &&
      OpenDiagnosticsFile(fc, statisticsName, inputName, statisticsFile)) {
    WriteStatistics(ctx.Statistics, statisticsFile);
    statisticsFile.CloseAll();
  }
  return status;
}

int RunContentsPass(FileControl& fc, Context& ctx, const TextString& inputName,
                    const StatementSource* source) {
  SetPasses(ctx, 0, 1, 0);
  // The contents pass builds no tables.
  fc.Bool(PolicyId::AttemptTABLEGeneration).value = 0;
  ctx.ResetPassState();
  ctx.Statistics.Reset();
  if (fc.GetInt(PolicyId::GenerateExternalContentsFile))
    (void)fc.MakeContentsFileName(inputName);

  const int savedLocation = ctx.CodeLocation;
  if (ctx.CodeLocation == kLocationNone)
    ctx.CodeLocation = kLocationOutput;
  // Split files are named after the output; a pass run on its own names them after the input.
  if (ctx.OutputBaseName.IsEmpty()) {
    TextString folder, extension;
    SplitPath(inputName, folder, ctx.OutputBaseName, extension);
  }
  if (ctx.OutputExtension.IsEmpty())
    ctx.OutputExtension = fc.GetWorkingExtension();
  TextString splitName, splitExtension;
  MakeSplitFileName(nullptr, 0, fc, ctx, splitName, splitExtension);
  if (!splitName.IsEmpty()) {
    splitName.Append(splitExtension);
    (void)ctx.SplitFiles.Add(ctx, splitName);
  }
  ctx.CodeLocation = savedLocation;

  RTFFile reader(ctx);
  if (!OpenPassInput(fc, inputName, source, reader))
    return 0;
  WriteDefaultDirectives(fc, reader);
  const int status = RunLineWindow(0, reader, fc, ctx, nullptr, nullptr);
  NoteInputEncoding(ctx, reader);
  reader.CloseAll();
  return status;
}

// The file the output pass writes: the first split file in the output's folder, else the
// output name.
static void OutputTarget(const Context& ctx, const TextString& outputName, TextString& target) {
  const SplitFileRecord* first = ctx.SplitFiles.GetItem(0);
  if (first != nullptr && !first->fileName.IsEmpty()) {
    ExtractFolder(outputName, target);
    target.Append(first->fileName);
    return;
  }
  target = outputName;
}

// A contents list made for the document itself becomes a contents field at its start, unless
// the document places its contents where it wants them (the contents override).
static bool AsksForContentsField(const Context& ctx) {
  if (ctx.ContentsOverride)
    return false;
  switch (ctx.OutputContentsMode) {
    case ContentsMode::SingleFile:
    case ContentsMode::GeneratedSingleFile:
    case ContentsMode::GeneratedSeveralFiles:
      return true;
    case ContentsMode::None:
    case ContentsMode::UseExisting:
    case ContentsMode::External:
      return false;
  }
  return false;
}

int RunOutputPass(FileControl& fc, Context& ctx, const TextString& inputName,
                  const TextString& outputName, const TextString& listName, int /*passThrough*/,
                  RTFFile& writer, const StatementSource* source, StringList* sink,
                  int /*passThrough2*/) {
  SetPasses(ctx, 0, 0, 1);
  ctx.ResetPassState();
  ctx.Statistics.Reset();
  SetOutputModeFlags(fc);
  // Fonts, styles file and records, before anything can write a style.
  ctx.Styles.PrepareForOutput(fc);
  writer.SetSink(sink);
  writer.SetRegionMaker(MakePreFormRegion);

  TextString target;
  OutputTarget(ctx, outputName, target);
  TextString derived;
  const bool toFile = sink == nullptr && !ctx.Commands.consoleOutput;
  // Checked before anything is opened for writing: the input must survive.
  if ((writer.MakeFileName(inputName, fc, derived) != 0 && IsSameFile(derived, inputName)) ||
      (toFile && IsSameFile(target, inputName))) {
    ReportSameAsInput(fc, inputName);
    return 0;
  }

  RTFFile reader(ctx);
  if (!OpenPassInput(fc, inputName, source, reader))
    return 0;
  reader.SetSkipCount(fc.GetInt(PolicyId::LinesToIgnoreAtStartOfFile));
  // The writer collects the document and keeps its braces balanced.
  ctx.RtfPass = 1;
  writer.SetBraceTracking(1);
  if (!writer.Open(target.GetText(), fc, ctx.Commands.consoleOutput)) {
    ctx.RtfPass = 0;
    reader.CloseAll();
    fc.ReportMessage("ERROR: Can't open output file : check file isn't already open", 10);
    return 0;
  }
  RTFFile listFile(ctx);
  OpenPassListFile(fc, ctx, listName, inputName, listFile);
  if (AsksForContentsField(ctx))
    (void)WriteTocField(fc, writer, fc.GetInt(PolicyId::MaximumLevelToShowInContents), 1);

  WriteDefaultDirectives(fc, reader);
  int status = RunLineWindow(0, reader, fc, ctx, ctx.ListFile, &writer);
  if (!writer.EndDocument(fc))
    status = 0;
  reader.CloseAll();
  writer.Close();
  ctx.RtfPass = 0;
  ClosePassListFile(ctx, listFile);
  if (status == 0) {
    // A partial or empty file would claim a conversion that did not happen.
    if (toFile) {
      std::error_code error;
      std::filesystem::remove(std::filesystem::path(View(target)), error);
    }
    return 0;
  }
  // The help compiler finds its project and contents files beside the RTF file they name;
  // output that is no file has none.
  if (toFile && ctx.GetOutputType() == kOutputRtf &&
      fc.GetInt(PolicyId::MakeWindowsHelpSourceFile)) {
    (void)WriteHelpProjectFile(fc, target);
    (void)WriteHelpContentsFile(fc, target);
  }
  return status;
}

// ---- The per-file driver ----

static void SetTextPolicy(FileControl& fc, PolicyId id, const TextString& value) {
  fc.Text(id).value = value;
}

static void MergeLayers(FileControl& target, const FileControl& userSet,
                        const FileControl& policyFileSet, int marks) {
  // The user's settings, then the policy file's; directives in the document change the
  // policies while the passes read them.
  target.MergePolicies(userSet, 1);
  target.MergePolicies(policyFileSet, marks);
}

static void AnnounceFile(FileControl& userSet, const Context& ctx, const TextString& folder,
                         const TextString& baseName, const TextString& extension) {
  userSet.ReportProgress(std::string(50, '%').c_str());
  TextString line("Processing : \"");
  line.Append(folder);
  line.Append(baseName);
  line.Append(extension);
  line.AppendChar('"');
  if (ctx.Commands.policyFileInUse) {
    TextString policyFolder, policyBase, policyExtension;
    SplitPath(ctx.Commands.policyFileName, policyFolder, policyBase, policyExtension);
    if (!policyBase.IsEmpty() && !policyExtension.IsEmpty()) {
      line.Append(" using policy file \"");
      line.Append(policyBase);
      line.Append(policyExtension);
      line.AppendChar('"');
    }
  }
  userSet.ReportProgress(line.GetText());
}

static void PreparePassSet(FileControl& fc, Context& ctx, const AuxFileNames& names) {
  fc.AttachContext(&ctx);
  fc.ApplyCommandSettings(ctx);
  SetTextPolicy(fc, PolicyId::InputDirectory, names.inputFolder);
  SetTextPolicy(fc, PolicyId::OutputDirectory, names.outputFolder);
}

// Writes the policies in force when asked. A file that cannot be opened is reported and
// nothing is announced as generated.
static void WriteRequestedPolicyFile(FileControl& outputSet, Context& ctx,
                                     const TextString& inputName) {
  if (!ctx.Commands.createPolicyFile && !outputSet.GetInt(PolicyId::OutputPolicyFile))
    return;
  TextString name;
  ResolveInOutputDirectory(outputSet, outputSet.MakePolicyFileName(inputName), name);
  if (IsSameFile(name, inputName)) {
    ReportSameAsInput(outputSet, inputName);
    return;
  }
  TextFile file;
  if (!file.OpenForWrite(name.GetText(), 0, 0)) {
    ReportWithName(outputSet, "ERROR: Can't open policy file ", name, 10);
    return;
  }
  ProgressWithName(outputSet, "Generating policy file ", name);
  outputSet.WritePolicyFile(file, 1);
  file.CloseAll();
}

static int CountLevelHeadings(const HeadingList& headings) {
  int count = 0;
  for (int i = 0; i < headings.GetCount(); ++i) {
    const HeadingEntry* entry = headings.GetEntry(i);
    if (entry != nullptr && IsLevelHeadingType(entry->kind))
      ++count;
  }
  return count;
}

static void CheckNumberedHeadings(FileControl& userSet, FileControl& outputSet, Context& ctx) {
  if (!outputSet.GetInt(PolicyId::ExpectNumberedHeadings))
    return;
  if (CountLevelHeadings(ctx.Headings) > 0)
    return;
  outputSet.ReportMessage("WARNING: Failed to find any numbered headings to match contents list",
                          8);
  if (userSet.IsSet(PolicyId::ExpectNumberedHeadings))
    return;
  outputSet.ReportProgress("INFO: Disabling search for numbered headings");
  BoolPolicy& expect = outputSet.Bool(PolicyId::ExpectNumberedHeadings);
  expect.value = 0;
  expect.set = 1;
}

static int FailConversion(FileControl& outputSet, const char* message) {
  outputSet.ReportMessage(message, 10);
  return 0;
}

int ConvertInputFile(FileControl& userSet, FileControl& policyFileSet, FileControl& analysisSet,
                     FileControl& contentsSet, FileControl& outputSet, Context& ctx,
                     const TextString& inputName, const TextString& inputSpec,
                     const TextString& outputPattern,
                     int passThrough, RTFFile& writer, const StatementSource* source,
                     StringList* sink, int passThrough2) {
  auto working = std::make_unique<FileControl>();
  working->AttachContext(&ctx);
  working->ApplyCommandSettings(ctx);
  SetTextPolicy(*working, PolicyId::InputDirectory, TextString());
  SetTextPolicy(*working, PolicyId::OutputDirectory, TextString());
  MergeLayers(*working, userSet, policyFileSet, 0);

  AuxFileNames names;
  MakeAuxFileNames(inputName, inputSpec, outputPattern, *working, ctx, names);
  TextString inputFolder, inputBase, inputExtension;
  SplitPath(inputName, inputFolder, inputBase, inputExtension);
  TextString announcedFolder(inputFolder);
  // The file is announced relative to the output folder.
  (void)announcedFolder.ReplaceFrom(0, names.outputFolder.GetText(), "", 1, 1, nullptr, nullptr,
                                    0);
  AnnounceFile(userSet, ctx, announcedFolder, inputBase, inputExtension);

  for (FileControl* set : {&analysisSet, &contentsSet, &outputSet})
    PreparePassSet(*set, ctx, names);
  ctx.ResetForFile(inputName);
  ctx.ResetStyleSheet();

  TextString inputShort(inputBase);
  inputShort.Append(inputExtension);
  TextString outputShort(names.outputBaseName);
  outputShort.Append(names.outputExtension);
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::InputFileName)] = inputShort;
  ctx.DocumentInfo[static_cast<std::size_t>(DocInfo::OutputFileName)] = outputShort;
  TextString target(names.outputFolder);
  target.Append(outputShort);
  ctx.OutputBaseName = names.outputBaseName;
  ctx.OutputExtension = names.outputExtension;
  ctx.CurrentOutputFileName = outputShort;

  MergeLayers(analysisSet, userSet, policyFileSet, 0);
  if (ctx.Commands.analysisPassEnabled) {
    analysisSet.ReportProgress("---- Making First Pass ----");
    if (!RunAnalysisPass(analysisSet, ctx, inputName, names.analysisListName,
                         names.statisticsName, source))
      return FailConversion(outputSet, "ERROR: Failed to complete analysis pass");
  }

  outputSet.ResetFileState(0);
  // Both sets take the same decisions from the same statistics; the user hears them once,
  // from the set that holds the user's own settings at this point.
  analysisSet.CalculatePolicies(1);
  outputSet.CalculatePolicies(0);
  MergeLayers(outputSet, userSet, policyFileSet, 1);
  WriteRequestedPolicyFile(outputSet, ctx, inputName);

  if (ctx.Commands.contentsPassEnabled && outputSet.GenerateContents) {
    contentsSet.ResetFileState(0);
    contentsSet.CalculatePolicies(0);
    MergeLayers(contentsSet, userSet, policyFileSet, 1);
    outputSet.ReportProgress("---- Making Second Pass ----");
    if (!RunContentsPass(contentsSet, ctx, inputName, source))
      return FailConversion(outputSet, "ERROR: Failed to complete contents pass");
    CheckNumberedHeadings(userSet, outputSet, ctx);
  }

  if (ctx.Commands.outputPassEnabled) {
    outputSet.ReportProgress("---- Starting Output pass ----");
    if (!RunOutputPass(outputSet, ctx, inputName, target, names.outputListName, passThrough,
                       writer, source, sink, passThrough2))
      return FailConversion(outputSet, "ERROR: Failed to complete output pass");
  }
  return 1;
}
