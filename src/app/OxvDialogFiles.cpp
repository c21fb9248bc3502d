// The main dialog's file fields: the handlers of its input, output and option controls, the
// input-file chooser, dropped files, Convert and View.
#include "app/OxvDialog.h"

#include <algorithm>

#include "pages/ComboHelpers.h"
#include "app/Viewers.h"
#include "engine/Context.h"
#include "lang/InterfaceTexts.h"
#include "lang/Messages.h"
#include "platform/DesktopPlatform.h"
#include "platform/DialogWindow.h"
#include "policy/FileControl.h"

// The controls these handlers serve.
enum FileFieldControl : int {
  kFieldBrowseInput = 1001,
  kFieldOutputDir = 1012,
  kFieldConvert = 1015,
  kFieldSimpleConversion = 1016,
  kFieldOutputHtml = 1077,
  kFieldOutputHtm = 1078,
  kFieldOutputFile = 1080,
  kFieldInputFile = 1122,
  kFieldView = 1198,
  kFieldChooseOutputDir = 1291,
  kFieldReset = 1520,
  kFieldConversionType = 1590,
  kFieldIncludeSubfolders = 9007,
  kFieldMayOverwrite = 9100,
  kFieldInputType = 9104,
  kFieldDelimiter = 9108,
  kFieldReplicateTree = 9109,
  kFieldOutputToSource = 9110,
};

// The separator of this system's paths; lists of files write it before each name.
static constexpr char kSeparator = '/';

static bool EndsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

// A folder with the separator it lacks; an empty folder (the current one) stays empty.
static std::string WithSeparator(const std::string& folder) {
  return folder.empty() || EndsWithSeparator(folder) ? folder : folder + kSeparator;
}

// The folder of a path with its trailing separator, and the name after it.
static void SplitAtLastSeparator(const std::string& path, std::string& folder, std::string& name) {
  const std::size_t cut = path.find_last_of("\\/") + 1;  // npos + 1 = 0
  folder = path.substr(0, cut);
  name = path.substr(cut);
}

namespace {

// What several files become as the input: their folder with its separator followed by one
// entry per file (double quote, separator, name, double quote) separated by blanks. Files of
// several folders are each written as a quoted full path instead, so that each is looked for
// in its own folder; the folder is then empty.
struct InputList {
  std::string text;
  std::string folder;
  std::string firstFolder;
};

}  // namespace

static InputList MakeInputList(const std::vector<std::string>& paths) {
  InputList list;
  std::string name;
  SplitAtLastSeparator(paths.front(), list.firstFolder, name);
  const bool oneFolder = std::all_of(paths.begin(), paths.end(), [&](const std::string& path) {
    std::string folder, ignored;
    SplitAtLastSeparator(path, folder, ignored);
    return folder == list.firstFolder;
  });
  if (oneFolder)
    list.folder = list.firstFolder;
  list.text = list.folder;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::string folder;
    SplitAtLastSeparator(paths[i], folder, name);
    if (i > 0)
      list.text += ' ';
    const std::string entry = oneFolder ? std::string(1, kSeparator) + name : paths[i];
    list.text += "\"" + entry + "\"";
  }
  return list;
}

// ---- Shared steps ----

void OxvDialog::PushOutputDir() {
  PushComboValue(window_.get(), kFieldOutputDir, kRecentNames,
                 settings_.Recent(RecentList::OutDir).data(), outputDir_);
}

void OxvDialog::MarkInputChanged() {
  if (Context* ctx = GetContext())
    ctx->Commands.analysisPassEnabled = 1;
}

void OxvDialog::TakeNewInput(const std::string& inputText, const std::string& inputFolder,
                             const std::string& outputFolder) {
  inputFile_ = inputText;
  inputDir_ = inputFolder;
  outputFileFromPrevious_ = 0;
  outputDirFromPrevious_ = 0;
  if (!outputDirChosen_) {
    outputDir_ = outputFolder;
    PushOutputDir();
  }
  std::string folder, name;
  SplitFolderAndName(inputText, folder, name);
  // A single file's name is derived without its folder; a list gives "*.rtf".
  if (name.find('"') == std::string::npos)
    SplitAtLastSeparator(inputText, folder, name);
  else
    name = inputText;
  (void)MakeOutputName(name, outputFile_);
}

// ---- Control handlers ----

bool OxvDialog::OnFileFieldEvent(int controlId, DialogEvent event) {
  const bool click = event == DialogEvent::Click;
  const bool chosen = event == DialogEvent::SelectionChange || event == DialogEvent::SelectionEnd;
  const bool closed = event == DialogEvent::CloseUp || event == DialogEvent::SelectionChange;
  Context* ctx = GetContext();
  switch (controlId) {
    case kFieldInputType:
      if (!chosen)
        return false;
      TakeFromControls();
      RefreshDependentControls();
      return true;
    case kFieldConversionType: {
      if (!chosen)
        return false;
      const int before = conversionType_;
      TakeFromControls();
      if (conversionType_ != before) {
        BoolPolicy& help = PolicyFilePolicies().Bool(PolicyId::MakeWindowsHelpSourceFile);
        help.value = conversionType_ == kConversionWithHelpSource ? 1 : 0;
        help.set = 1;
      }
      RefreshDependentControls();
      return true;
    }
    case kFieldDelimiter:
      if (event != DialogEvent::EditChange)
        return false;
      delimiterTyped_ = 1;
      TakeFromControls();
      return true;
    case kFieldIncludeSubfolders:
      if (!click)
        return false;
      TakeFromControls();
      if (ctx != nullptr)
        ctx->Commands.searchSubfolders = includeSubfolders_;
      return true;
    case kFieldReplicateTree:
      if (!click)
        return false;
      TakeFromControls();
      settings_.outputToTree = replicateTree_;
      if (ctx != nullptr)
        ctx->Commands.treeMatchesInput = replicateTree_;
      return true;
    case kFieldOutputToSource:
      if (!click)
        return false;
      TakeFromControls();
      settings_.outputToSource = outputToSource_;
      RefreshDependentControls();
      return true;
    case kFieldMayOverwrite:
      if (!click)
        return false;
      TakeFromControls();
      return true;
    case kFieldSimpleConversion: {
      if (!click)
        return false;
      TakeFromControls();
      simpleConversionTouched_ = 1;
      sheetChangesPending_ = 1;
      BoolPolicy& simple = SheetChanges().Bool(PolicyId::KeepItSimple);
      simple.value = simpleConversion_;
      simple.set = 1;
      return true;
    }
    case kFieldOutputHtml:
    case kFieldOutputHtm: {
      if (!click)
        return false;
      TakeFromControls();
      outputType_ = controlId == kFieldOutputHtml ? 0 : 1;
      std::string folder, name;
      SplitFolderAndName(inputFile_, folder, name);
      (void)MakeOutputName(name, outputFile_);
      outputTypeTouched_ = 1;
      PutToControls();
      return true;
    }
    case kFieldReset:
      if (!click)
        return false;
      ResetPolicies();
      TakeFromPolicies(PolicyFilePolicies());
      simpleConversionTouched_ = 0;
      PutToControls();
      return true;
    case kFieldOutputFile:
      if (event != DialogEvent::EditChange)
        return false;
      TakeFromControls();
      derivedOutputName_ = outputFile_;
      return true;
    case kFieldOutputDir: {
      const int selection = window_->GetSelection(kFieldOutputDir);
      if (closed && selection >= 0) {
        TakeFromControls();
        outputDir_ = window_->GetItemText(kFieldOutputDir, selection);
      } else if (event == DialogEvent::KillFocus) {
        const std::string before = outputDir_;
        TakeFromControls();
        if (outputDir_ == before)
          return true;
      } else {
        return false;
      }
      // A single character (a drive or the root) is left as it is.
      if (outputDir_.size() > 1)
        outputDir_ = WithSeparator(outputDir_);
      outputDirTyped_ = 1;
      outputDirFromPrevious_ = 0;
      PutToControls();
      return true;
    }
    case kFieldChooseOutputDir: {
      if (!click)
        return false;
      std::string folder;
      if (!BrowseForFolder(GetMessageText(kMsgOutputFolderTitle), folder))
        return true;
      outputDir_ = WithSeparator(folder);
      outputDirChosen_ = 1;
      outputDirFromPrevious_ = 0;
      PutToControls();
      PushOutputDir();
      return true;
    }
    case kFieldInputFile: {
      const int selection = window_->GetSelection(kFieldInputFile);
      if (closed && selection >= 0) {
        TakeFromControls();
        inputFile_ = window_->GetItemText(kFieldInputFile, selection);
        std::string folder, name;
        SplitFolderAndName(inputFile_, folder, name);
        (void)MakeOutputName(name, outputFile_);
        inputDir_ = folder;
        if (!outputFileFixed_)
          outputFileFromPrevious_ = 0;
        if (!outputDirChosen_) {
          outputDirFromPrevious_ = 0;
          outputDir_ = folder;
        }
        if (!inputDir_.empty())
          settings_.currentDir = inputDir_;
      } else if (event == DialogEvent::KillFocus) {
        const std::string before = inputFile_;
        TakeFromControls();
        PushInputFile(inputFile_);
        std::string folder, name;
        SplitFolderAndName(inputFile_, folder, name);
        inputDir_ = folder;
        if (inputFile_ != before) {
          outputFileFromPrevious_ = 0;
          outputDirFromPrevious_ = 0;
          if (!outputDirChosen_) {
            outputDir_ = folder;
            PushOutputDir();
          }
          if (!outputFileFixed_)
            (void)MakeOutputName(name, outputFile_);
        }
      } else {
        return false;
      }
      PutToControls();
      RefreshTitle();
      MarkInputChanged();
      return true;
    }
    case kFieldBrowseInput:
      if (click)
        (void)ChooseInputFiles();
      return click;
    case kFieldConvert:
      if (click)
        (void)Convert();
      return click;
    case kFieldView:
      if (click)
        ViewResults();
      return click;
    default:
      return false;
  }
}

// ---- The input-file chooser and dropped files ----

bool OxvDialog::ChooseInputFiles() {
  FileChooserRequest request;
  request.folder = WithSeparator(inputDir_.empty() ? settings_.currentDir : inputDir_);
  request.proposedName = request.folder + "*.txt";
  request.filter = GetMessageText(kMsgFilterInputFiles);
  request.multiple = true;
  request.mustExist = true;
  std::vector<std::string> paths;
  if (!platform_.ChooseFiles(request, paths) || paths.empty())
    return false;
  std::string folder, name;
  TakeFileDialogResult(paths, folder, name, nullptr);
  if (paths.size() == 1) {
    TakeNewInput(paths.front(), folder, folder);
  } else {
    // One folder gives the folder and its entries; files of several folders keep each its own.
    const InputList list = MakeInputList(paths);
    TakeNewInput(list.text, folder, folder.empty() ? list.firstFolder : folder);
  }
  PushInputFile(inputFile_);
  if (!policyFileLoaded_ && !sheetChangesPending_) {
    convertedOnce_ = 0;
    ResetPolicies();
  }
  PutToControls();
  RefreshTitle();
  MarkInputChanged();
  return true;
}

void OxvDialog::OnFilesDropped(const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  if (paths.size() == 1) {
    std::string folder, name;
    SplitAtLastSeparator(paths.front(), folder, name);
    TakeNewInput(paths.front(), folder, folder);
  } else {
    const InputList list = MakeInputList(paths);
    TakeNewInput(list.text, list.folder, list.firstFolder);
  }
  PutToControls();
  RefreshTitle();
  MarkInputChanged();
  (void)Convert();
}

// ---- Convert and View ----

int OxvDialog::Convert() {
  TakeFromControls();
  if (inputFile_.empty())
    (void)ChooseInputFiles();
  if (inputFile_.empty())
    return 0;
  if (inputType_ == 4 && !delimiter_.empty() && (delimiter_[0] == '\t' || delimiter_[0] == ' ')) {
    ShowMessageText(platform_, kMsgNeedDelimiter, kMsgCaptionNoDelimiter);
    if (window_ != nullptr)
      window_->SetFocus(kFieldDelimiter);
    return 0;
  }
  if (inputType_ >= 0 && inputType_ <= 3)
    (void)SheetChanges().SetTableDelimiter(TextString(), 1);
  else if (inputType_ == 4 && delimiterTyped_)
    (void)SheetChanges().SetTableDelimiter(TextString(delimiter_.c_str()), 1);
  // An empty folder is the current one and stays so.
  inputDir_ = WithSeparator(inputDir_);
  if (!inputDir_.empty())
    settings_.currentDir = inputDir_;
  outputDir_ = WithSeparator(outputDir_);
  PushOutputDir();
  PutToControls();
  return RunConversion();
}

void OxvDialog::ViewResults() {
  TakeFromControls();
  if (GetLastOutputFile().empty()) {
    if (inputFile_.empty())
      ShowMessageText(platform_, kMsgChooseFileFirst, kMsgCaptionInputFile);
    else
      ShowMessageText(platform_, kMsgConvertFirst, kMsgCaptionNoConversionYet);
    (void)Convert();
    if (GetLastOutputFile().empty())
      return;
  }
  std::string viewer = settings_.viewRtfCommand;
  if (viewer.empty())
    viewer = GetRtfViewerCommand();
  if (viewer.empty()) {
    ShowMessageText(platform_, kMsgLocateBrowser, kMsgCaptionBrowserNotFound);
    return;
  }
  const std::string path = "\"" + GetOutputDir() + GetLastOutputFile() + "\"";
  int error = 0;
  if (!platform_.StartProcess(viewer, path, error))
    ShowLaunchFailure(platform_, viewer, path, error);
}
