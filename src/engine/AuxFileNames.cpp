#include "engine/AuxFileNames.h"

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
  if (commands.treeMatchesInput) {
    PatternFolder(inputPattern, folder);
    subFolder = names.inputFolder;
    (void)subFolder.ReplaceFrom(0, folder.GetText(), "", 1, 1, nullptr, nullptr, 0);
  }
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
