#include "engine/AuxFileNames.h"

#include <cstring>

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/ProductIdentity.h"

// The input name whose output is called "out".
static constexpr const char* kDefaultInputName = "in.asc";
static constexpr const char* kDefaultOutputBase = "out";

// The folder of the input pattern, its quotation marks dropped.
static void PatternFolder(const TextString& inputPattern, TextString& folder) {
  TextString pattern(inputPattern);
  if (pattern.ContainsChar('"'))
    (void)pattern.ReplaceAll("\"", "", 0, 1);
  TextString baseName, extension;
  SplitPath(pattern, folder, baseName, extension);
}

static bool IsBelow(const TextString& fileFolder, const TextString& folder) {
  return folder.IsEmpty() || fileFolder.StartsWith(folder.GetText(), 1);
}

// The folder of the input pattern and the part of fileFolder below it. A list of quoted
// names ("folder/"name1" "name2") has its folder before the first quote. A file that does not
// lie below the pattern's folder keeps its own folder and no sub-folder.
static void SplitBelowPattern(const TextString& fileFolder, const TextString& inputPattern,
                              TextString& folder, TextString& subFolder) {
  subFolder.SetEmpty();
  PatternFolder(inputPattern, folder);
  if (!IsBelow(fileFolder, folder)) {
    const char* text = inputPattern.GetText();
    const char* quote = std::strchr(text, '"');
    if (quote != nullptr)
      (void)folder.AssignSubstring(text, 0, static_cast<int>(quote - text));
    if (quote == nullptr || !IsBelow(fileFolder, folder)) {
      folder = fileFolder;
      return;
    }
  }
  (void)subFolder.AssignSubstring(fileFolder, folder.GetLength(),
                                  fileFolder.GetLength() - folder.GetLength());
}

// A pattern part counts when it is given and names something definite.
static bool IsDefinitePart(const TextString& part) {
  return !part.IsEmpty() && !part.ContainsChar('*');
}

static void MakeDiagnosticsName(const TextString& folder, const TextString& baseName,
                                const char* extension, TextString& name) {
  name = folder;
  name.Append(baseName);
  name.Append(extension);
}

void DeriveAuxFileNames(const TextString& inputName, const TextString& inputPattern,
                        const TextString& outputPattern, const FileControl& fc,
                        const Context& ctx, AuxFileNames& names) {
  names = AuxFileNames();
  const CommandSettings& commands = ctx.Commands;
  TextString inputBase, inputExtension;
  SplitPath(inputName, names.inputFolder, inputBase, inputExtension);

  // The folder a file was found in, below the folder its pattern names, is kept under the
  // output folder, so that a tree of inputs gives the same tree of outputs.
  TextString subFolder;
  TextString folder(names.inputFolder);
  if (commands.treeMatchesInput)
    SplitBelowPattern(names.inputFolder, inputPattern, folder, subFolder);
  if (!commands.outputFolder.IsEmpty())
    folder = commands.outputFolder;
  if (commands.useAlternativeOutputFolder)
    folder = commands.alternativeOutputFolder;
  names.outputFolder = folder;
  names.outputFolder.Append(subFolder);

  if (inputName.Compare(kDefaultInputName, 0, 0))
    names.outputBaseName = kDefaultOutputBase;
  else if (commands.outputBaseName.IsEmpty() || commands.outputBaseName.Compare("*", 1, 0))
    names.outputBaseName = inputBase;
  else
    names.outputBaseName = commands.outputBaseName;

  const int diagnostics = fc.GetInt(PolicyId::GenerateDiagnosticsFiles);
  const int shortNames = commands.dosNames;
  if (commands.listAndStatisticsFiles || commands.listFiles || diagnostics) {
    MakeDiagnosticsName(names.outputFolder, inputBase, shortNames ? ".ls1" : ".lis1",
                        names.analysisListName);
    MakeDiagnosticsName(names.outputFolder, inputBase, ".lis", names.outputListName);
  }
  if (commands.listAndStatisticsFiles || diagnostics)
    MakeDiagnosticsName(names.outputFolder, inputBase, shortNames ? ".sts" : ".stats",
                        names.statisticsName);

  TextString specFolder, specBase, specExtension;
  SplitPath(commands.outputSpec, specFolder, specBase, specExtension);
  if (!specExtension.IsEmpty() && !specExtension.Compare(".*", 1, 0))
    names.outputExtension = specExtension;

  TextString patternFolder, patternBase, patternExtension;
  SplitPath(outputPattern, patternFolder, patternBase, patternExtension);
  if (IsDefinitePart(patternFolder)) {
    names.outputFolder = patternFolder;
    names.outputFolder.Append(subFolder);
  }
  if (IsDefinitePart(patternBase))
    names.outputBaseName = patternBase;
  if (IsDefinitePart(patternExtension))
    names.outputExtension = patternExtension;

  if (names.outputExtension.IsEmpty())
    GetDefaultOutputExtension(names.outputExtension);
}

// Makes the folder of name unless it is the output folder, made already.
static void CreateFolderOf(const TextString& name, const TextString& outputFolder) {
  if (name.IsEmpty())
    return;
  TextString folder;
  ExtractFolder(name, folder);
  if (!folder.IsEmpty() && !folder.EqualsText(outputFolder, 1, 0))
    (void)CreateFolderPath(folder);
}

void MakeAuxFileNames(const TextString& inputName, const TextString& inputPattern,
                      const TextString& outputPattern, const FileControl& fc, const Context& ctx,
                      AuxFileNames& names) {
  DeriveAuxFileNames(inputName, inputPattern, outputPattern, fc, ctx, names);
  if (!names.outputFolder.IsEmpty())
    (void)CreateFolderPath(names.outputFolder);
  CreateFolderOf(names.analysisListName, names.outputFolder);
  CreateFolderOf(names.outputListName, names.outputFolder);
  CreateFolderOf(names.statisticsName, names.outputFolder);
}
