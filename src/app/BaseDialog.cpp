#include "app/BaseDialog.h"

#include "app/EngineRun.h"
#include "app/MainDialogSheets.h"
#include "app/ShellServices.h"
#include "app/StatusDialog.h"
#include "engine/Context.h"
#include "engine/InputSpecs.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "platform/FileSystem.h"
#include "policy/FileControl.h"
#include "rtf/RTFFile.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"
#include "text/StatementFile.h"
#include "text/StringList.h"
#include "text/TextFile.h"

static constexpr const char* kFallbackLogName = "kelvane.log";

BaseDialog::BaseDialog(DesktopPlatform& platform, StatusDialog& status)
    : platform_(platform), status_(status) {
  for (auto& set : sets_)
    set = std::make_unique<FileControl>();
}

// The sets go before the Context they may point to.
BaseDialog::~BaseDialog() {
  sheets_.reset();
  for (int i = 6; i >= 0; --i)
    sets_[i].reset();
  if (context_ != nullptr)
    context_->GetLogErrorHandler().SetMessageCallback({});
  context_.reset();
}

int BaseDialog::GetOutputFormat() const { return ::GetOutputFormat(); }

void BaseDialog::CreateContext() {
  context_ = std::make_unique<Context>(GetProductId(), ::GetOutputFormat());
}

// ---- Program settings ----

void BaseDialog::LoadSettings() {
  SettingsLoadHooks hooks;
  hooks.findBrowserCommand = [this] {
    std::string command;
    (void)GetBrowserCommand(command);
    return command;
  };
  hooks.contextReplicatesTree = context_ != nullptr && context_->Commands.treeMatchesInput != 0;
  LoadProgramSettings(settings_, platform_.Settings(), hooks);
}

void BaseDialog::SaveSettings() { SaveProgramSettings(settings_, platform_.Settings()); }

// ---- The conversion run ----

void BaseDialog::HookStatusLog(FileControl& set) {
  ApplyToPolicies(set);
  Context* ctx = set.pGetContext();
  if (ctx == nullptr)
    return;
  ctx->GetLogErrorHandler().SetMessageCallback(LogToStatusWindow);
  ctx->GetLogErrorHandler().SetDiagnosticCallback(LogToStatusWindow);
}

int BaseDialog::ReadPolicyFileInto(FileControl& set, bool& problem) {
  problem = false;
  StatementFile file;
  // A folder or a device is no policy file (a device could be read for ever).
  if (GetFileKind(policyFileName_.c_str()) != FileKind::Regular ||
      !file.OpenForRead(policyFileName_.c_str(), 0))
    return 0;
  const int savedLocation = context_->CodeLocation;
  if (context_->CodeLocation == kLocationNone)
    context_->CodeLocation = kLocationAnalysis;
  set.ResetPolicies(0);
  set.GetPolicyList().ResetToDefaults();
  TextString failure;
  if (!set.ReadPolicyFile(file, &failure, 1)) {
    problem = true;
    if (!failure.IsEmpty())
      set.ReportMessage(failure.GetText(), 10);
  }
  file.CloseAll();
  context_->CodeLocation = savedLocation;
  context_->Styles.ReadStylesFile(set);
  return 1;
}

void SplitInputText(const std::string& input, std::string& folder, std::string& spec) {
  const std::size_t quote = input.find('"');
  const std::size_t cut =
      quote != std::string::npos ? quote : input.find_last_of("/\\") + 1;  // npos + 1 = 0
  folder = input.substr(0, cut);
  spec = input.substr(cut);
}

int BaseDialog::RunConversion() {
  SaveSettings();
  ApplyToContext();
  platform_.SetWaitCursor(true);
  if ((!commandLineRun_ || settings_.dropViewStatusWindow) && status_.Exists()) {
    status_.ClearStatus();
    if (settings_.displayStatusDialog) {
      status_.Show();
      status_.BringToTop();
    }
  }
  std::string folder;
  SplitInputText(GetInputFile(), folder, inputSpec_);
  SetInputDir(folder);

  Context& ctx = *context_;
  auto runSet = std::make_unique<FileControl>();
  runSet->AttachContext(&ctx);
  PolicyFilePolicies().AttachContext(&ctx);
  ctx.GetLogErrorHandler().SetMessageCallback(LogToStatusWindow);
  ctx.GetLogErrorHandler().SetDiagnosticCallback(LogToStatusWindow);
  for (FileControl* set : {&AnalysisPassPolicies(), &ContentsPassPolicies(), &SheetChanges(),
                           &PolicyFilePolicies(), &OutputPassPolicies(), &UserPolicies()})
    set->AttachContext(&ctx);

  if (settings_.alwaysReloadPolicy && !policyFileName_.empty()) {
    ctx.ClearDefinitionLists();
    for (FileControl* set : {runSet.get(), &PolicyFilePolicies()}) {
      bool problem = false;
      if (!ReadPolicyFileInto(*set, problem))
        LogToStatusWindow(("ERROR: Can't find master policy file " + policyFileName_).c_str());
    }
  }
  if (policyFileLoaded_)
    runSet->CopyPolicies(PolicyFilePolicies());
  if (sheetChangesPending_)
    runSet->MergePolicies(SheetChanges(), 1);
  runSet->Bool(PolicyId::UseHTMExtension).value = IsDefaultOutputType() ? 1 : 0;

  TextString policyFolder, policyBase, policyExtension;
  SplitPath(TextString(policyFileName_.c_str()), policyFolder, policyBase, policyExtension);
  const int savedLocation = ctx.CodeLocation;
  if (ctx.CodeLocation == kLocationNone)
    ctx.CodeLocation = kLocationOutput;
  TextString failure;
  if (!runSet->LoadConfigFiles(policyFolder, failure))
    runSet->ReportMessage(failure.GetText(), 10);
  ctx.CodeLocation = savedLocation;

  ctx.ResetRunState();
  ctx.Commands.searchSubfolders = GetIncludeSubfolders();
  int failed = 0;
  noFilesFound_ = !ConvertFileList(*runSet, TextString(policyFileName_.c_str()), failed);
  OutputPassPolicies().ReportProgress(GetMessageText(kMsgConversionComplete));

  if (!failed) {
    if (settings_.autoDismissStatusDialog)
      status_.Hide();
    const int view = commandLineRun_ ? settings_.dropViewResults : settings_.autoDdeUpdates;
    if (GetConversionType() != kConversionToClipboard && view && !lastOutputFile_.empty())
      OpenRtfFileInViewer(GetOutputDir() + lastOutputFile_, settings_.viewRtfCommand);
  }
  platform_.SetWaitCursor(false);
  return failed ? 0 : 1;
}

// A "SESSION: " line of the run: kept for the log, and shown in the status window instead of
// on a console the desktop program does not have.
static void SessionLine(Context& ctx, const std::string& text) {
  const int display = ctx.Commands.displayMessages;
  ctx.Commands.displayMessages = 0;
  ctx.SessionMessage(text.c_str());
  ctx.Commands.displayMessages = display;
  LogToStatusWindow(("SESSION: " + text).c_str());
}

// The log of a run: the requested name, else the fallback name in the output folder, else
// none. 1 when a log is open.
static int OpenLogWithFallback(Context& ctx, TextFile& log, const std::string& outputDir) {
  LogErrorHandler& handler = ctx.GetLogErrorHandler();
  TextString folder, baseName, extension;
  SplitPath(ctx.Commands.logFileName, folder, baseName, extension);
  std::string name = folder.IsEmpty() ? outputDir : std::string(folder.GetText());
  name += baseName.GetText();
  name += extension.GetText();
  if (!OpenRunLog(handler, log, name.c_str())) {
    SessionLine(ctx, MessageWithPlaceholder(kMsgLogFileFailed, "ffffff", name));
    name = outputDir + kFallbackLogName;
    SessionLine(ctx, MessageWithPlaceholder(kMsgLogFileInstead, "ffffff", name));
    if (!OpenRunLog(handler, log, name.c_str())) {
      SessionLine(ctx, MessageWithPlaceholder(kMsgLogFileFailed, "ffffff", name));
      return 0;
    }
  }
  // What the session said before the log existed goes in first.
  if (!ctx.PendingSessionText.IsEmpty() &&
      handler.WriteLogLine(ctx.PendingSessionText.GetText()) != 0)
    ctx.PendingSessionText.SetEmpty();
  return 1;
}

int BaseDialog::ConvertFileList(FileControl& runSet, const TextString& policyFileName,
                                int& failed) {
  Context& ctx = *context_;
  RTFFile writer(ctx);
  StringList lines;
  TextFile log;
  const int logOpen = ctx.Commands.logRequested ? OpenLogWithFallback(ctx, log, GetOutputDir()) : 0;

  runSet.Text(PolicyId::InputDirectory).value = GetInputDir().c_str();
  runSet.Text(PolicyId::OutputDirectory).value = GetOutputDir().c_str();
  HookStatusLog(runSet);

  const std::string spec = GetInputDir() + inputSpec_;
  (void)ConvertFileSpecs(0, TextString(), TextString(spec.c_str()), policyFileName, ctx, 0);
  const int count = ctx.InputFiles.GetCount();
  if (count > 100 && !PolicyFilePolicies().IsSet(PolicyId::ErrorReportingLevel)) {
    PolicyFilePolicies().Int(PolicyId::ErrorReportingLevel).value = 1;
    PolicyFilePolicies().Int(PolicyId::ErrorReportingLevel).set = 1;
    PolicyFilePolicies().Bool(PolicyId::SuppressINFOMessages).value = 1;
    PolicyFilePolicies().Bool(PolicyId::SuppressINFOMessages).set = 1;
  }
  if (count == 0) {
    status_.Hide();
    const std::string text = ctx.FileLister.GetEmptyFileCount() > 0
                                 ? std::string(GetMessageText(kMsgFilesAllEmpty))
                                 : MessageWithPlaceholder(kMsgNoFilesFound, "xxxxxx", spec);
    ShowMessageText(platform_, text, kMsgCaptionFileSelection);
    LogToStatusWindow(("ERROR: " + text).c_str());
    if (logOpen)
      CloseRunLog(ctx.GetLogErrorHandler(), log);
    return 0;
  }

  ctx.FileCounter = 0;
  for (int i = 0; i < count && !failed; ++i) {
    ++ctx.FileCounter;
    const TextString inputName(ctx.InputFiles.GetItem(i)->text);
    if (inputName.IsEmpty())
      break;
    ctx.FirstFile = i == 0 ? 1 : 0;
    TextString folder, baseName, extension;
    SplitPath(inputName, folder, baseName, extension);
    PolicyFilePolicies().MergePolicies(runSet, 1);
    PolicyFilePolicies().Bool(PolicyId::MakeDirectory).value =
        runSet.Bool(PolicyId::MakeDirectory).value;
    PolicyFilePolicies().Text(PolicyId::DirectoryFilename).value =
        runSet.Text(PolicyId::DirectoryFilename).value;
    PolicyFilePolicies().AttachContext(&ctx);
    if (i > 0)
      convertedOnce_ = 0;
    TextString path(folder);
    path.Append(baseName);
    path.Append(extension);
    TextString fileName(baseName);
    fileName.Append(extension);
    if (ConvertOneFile(path, fileName, lines, writer))
      convertedOnce_ = 1;
    else
      failed = 1;
  }
  if (logOpen)
    CloseRunLog(ctx.GetLogErrorHandler(), log);
  return 1;
}

// True when a name stands for several files (a pattern or a quoted list).
static bool IsNamePattern(const TextString& name) {
  return name.ContainsChar('*') || name.ContainsChar('%') || name.Find(0, "\" \"", nullptr, 1, 0);
}

int BaseDialog::ConvertOneFile(const TextString& inputPath, const TextString& fileName,
                               StringList& lines, RTFFile& writer) {
  TakeFromControls();
  Context& ctx = *context_;
  const int outputKind = GetOutputFormat();
  for (FileControl* set : {&AnalysisPassPolicies(), &ContentsPassPolicies(), &OutputPassPolicies()})
    set->ResetPolicies(0);
  for (FileControl* set : {&PolicyFilePolicies(), &AnalysisPassPolicies(), &OutputPassPolicies()})
    HookStatusLog(*set);
  ctx.Commands.contentsPassEnabled = 1;
  ctx.Commands.outputPassEnabled = 1;

  if (!MayOverwrite()) {
    // No output name means the input's name with the output extension, which is what the
    // engine then writes: that file is checked too.
    std::string outputText = GetOutputFile();
    if (outputText.empty())
      outputText = derivedOutputName_.empty() ? std::string("*") : derivedOutputName_;
    TextString folder, baseName, extension;
    SplitPath(TextString(outputText.c_str()), folder, baseName, extension);
    if (IsNamePattern(baseName)) {
      TextString inputFolder, inputExtension;
      SplitPath(fileName, inputFolder, baseName, inputExtension);
    }
    if (extension.IsEmpty())
      GetDefaultOutputExtension(extension);
    // Output beside its source: a file of a list from several folders is checked in its own.
    if (folder.IsEmpty())
      folder = GetOutputDir().c_str();
    if (folder.IsEmpty())
      ExtractFolder(inputPath, folder);
    TextString path(folder);
    path.Append(baseName);
    path.Append(extension);
    if (!baseName.IsEmpty() && GetFileKind(path.GetText()) == FileKind::Regular) {
      ShowMessageText(platform_, kMsgOutputFileExists, kMsgCaptionOutputFile);
      TextString line("ERROR: File already exists - ");
      line.Append(path);
      PolicyFilePolicies().ReportMessage(line.GetText(), 10);
      PolicyFilePolicies().ReportMessage(
          "======: Enable 'May overwrite existing files' or change output file name", 10);
      return 0;
    }
  }

  const int type = GetConversionType();
  StringList* collector = nullptr;
  if (type == kConversionToClipboard) {
    lines.Clear();
    collector = &lines;
  }
  BoolPolicy& concatenate = SheetChanges().Bool(PolicyId::ConcatenateResultsIntoOneFile);
  concatenate.value = type == kConversionConcatenated ? 1 : 0;
  concatenate.set = 1;

  TextString policyFolder, policyBase, policyExtension;
  SplitPath(TextString(policyFileName_.c_str()), policyFolder, policyBase, policyExtension);
  TextString failure;
  if (!SheetChanges().LoadConfigFiles(policyFolder, failure))
    SheetChanges().ReportMessage(failure.GetText(), 10);
  UserPolicies().MergePolicies(SheetChanges(), 1);
  HookStatusLog(UserPolicies());

  if (!RunEngineOnFile(PolicyFilePolicies(), UserPolicies(), AnalysisPassPolicies(),
                       ContentsPassPolicies(), OutputPassPolicies(), ctx, inputPath,
                       TextString(GetInputFile().c_str()),
                       TextString(derivedOutputName_.c_str()), outputKind, writer, collector))
    return 0;

  TextString outFolder, outBase, outExtension;
  SplitPath(ctx.FirstOutputFileName, outFolder, outBase, outExtension);
  lastOutputFile_ = std::string(outBase.GetText()) + outExtension.GetText();
  LoadFromPolicies(OutputPassPolicies(), UserPolicies());

  if (type == kConversionToClipboard) {
    TextString text;
    lines.Join(text, "\n");
    // The clipboard is the only output of this conversion: losing it is a failure.
    if (!platform_.SetClipboardText(std::string(text.GetText(), text.GetLength()))) {
      TextString line("ERROR: Can't put the output of ");
      line.Append(fileName);
      line.Append(" on the clipboard");
      PolicyFilePolicies().ReportMessage(line.GetText(), 10);
      return 0;
    }
  }
  return 1;
}

int BaseDialog::MakeOutputName(const std::string& inputName, std::string& outputName) {
  const std::string full = GetInputDir() + inputName;
  int result = 1;
  if (full.empty() || full.front() == '"' || full.front() == ' ' ||
      full.find_first_of("\"*") != std::string::npos) {
    outputName = "*";
    result = 0;
  } else {
    const std::size_t dot = full.find_last_of('.');
    const std::size_t separator = full.find_last_of("/\\");
    const bool dotInName = dot != std::string::npos && dot > 0 &&
                           (separator == std::string::npos || dot > separator);
    outputName = dotInName ? full.substr(0, dot) : full;
  }
  outputName += ".rtf";
  const std::size_t separator = outputName.find_last_of("/\\");
  if (separator != std::string::npos)
    outputName.erase(0, separator + 1);
  derivedOutputName_ = outputName;
  return result;
}

// ---- Policy files and the option sheets ----

int BaseDialog::LoadPolicyFile(int quiet) {
  SheetChanges().ResetPolicies(0);
  sheetChangesPending_ = 0;
  if (policyFileName_.empty()) {
    PolicyFilePolicies().ResetPolicies(0);
    policyFileLoaded_ = 0;
    return 0;
  }
  if (GetFileKind(policyFileName_.c_str()) != FileKind::Regular) {
    ShowMessageText(platform_, MessageWithPlaceholder(kMsgPolicyFileNotFound, "xxxxxx", policyFileName_),
                    kMsgCaptionPolicyFile);
    return 0;
  }
  platform_.SetWaitCursor(true);
  PolicyFilePolicies().AttachContext(context_.get());
  HookStatusLog(PolicyFilePolicies());
  // A command-line start keeps what its arguments reported (a qualifier refused) in view.
  if (!commandLineRun_)
    status_.ClearStatus();
  if (!quiet)
    PolicyFilePolicies().ReportProgress(("Loading policy file " + policyFileName_).c_str());
  context_->ClearDefinitionLists();
  bool problem = false;
  const int read = ReadPolicyFileInto(PolicyFilePolicies(), problem);
  if (problem) {
    status_.Show();
    status_.BringToTop();
  }
  platform_.SetWaitCursor(false);
  if (!read) {
    ShowMessageText(platform_, MessageWithPlaceholder(kMsgPolicyFileNotFound, "xxxxxx", policyFileName_),
                    kMsgCaptionPolicyFile);
    return 0;
  }
  policyFileLoaded_ = 1;
  PutToControls();
  TakeFromPolicies(PolicyFilePolicies());
  LoadFromPolicies(PolicyFilePolicies(), UserPolicies());
  PutToControls();
  return 1;
}

void BaseDialog::ReloadPolicyFile() {
  if (policyFileName_.empty())
    return;
  PolicyFilePolicies().AttachContext(context_.get());
  bool problem = false;
  if (!ReadPolicyFileInto(PolicyFilePolicies(), problem)) {
    LogToStatusWindow(("ERROR: Can't find policy file " + policyFileName_).c_str());
    return;
  }
  LoadFromPolicies(PolicyFilePolicies(), UserPolicies());
}

void BaseDialog::AnalyseInput(const std::string& inputName) {
  TakeFromControls();
  if (inputName.empty()) {
    ShowMessageText(platform_, kMsgChooseFileFirst, kMsgCaptionNoFileSelected);
    return;
  }
  Context& ctx = *context_;
  if (!ctx.Commands.analysisPassEnabled) {
    ShowMessageText(platform_, kMsgNoAnalysisNeeded, kMsgCaptionNoAnalysisNecessary);
    return;
  }
  ctx.Commands.contentsPassEnabled = 0;
  ctx.Commands.outputPassEnabled = 0;
  UserPolicies().MergePolicies(SheetChanges(), 1);
  RTFFile writer(ctx);
  const TextString name(inputName.c_str());
  if (RunEngineOnFile(PolicyFilePolicies(), UserPolicies(), AnalysisPassPolicies(),
                      ContentsPassPolicies(), OutputPassPolicies(), ctx, name, name, TextString(),
                      GetOutputFormat(), writer, nullptr)) {
    std::string derived;
    (void)MakeOutputName(ctx.FirstOutputFileName.GetText(), derived);
    lastOutputFile_ = derived;
    LoadFromPolicies(OutputPassPolicies(), UserPolicies());
  }
  ctx.Commands.analysisPassEnabled = 0;
}

int BaseDialog::NotePolicyChange(int category) {
  if (context_ == nullptr)
    return 0;
  if (category == 2) {
    context_->Commands.analysisPassEnabled = 1;
    return 0;
  }
  if (category == 4) {
    context_->Commands.contentsPassEnabled = 1;
    context_->Commands.outputPassEnabled = 1;
    return 1;
  }
  return 0;
}

void BaseDialog::OnPolicyChanged(const CorePolicy& policy) { (void)NotePolicyChange(policy.category); }

MainDialogSheets& BaseDialog::Sheets() {
  if (sheets_ == nullptr)
    sheets_ = std::make_unique<MainDialogSheets>(*this);
  return *sheets_;
}
