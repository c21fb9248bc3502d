#include "rtf/RTFFile.h"

#include <cassert>
#include <cstring>

#include "analysis/PreHTML.h"
#include "engine/Context.h"
#include "policy/FileControl.h"
#include "rtf/RtfCharacters.h"
#include "rtf/RtfHelpers.h"
#include "text/PathUtils.h"

// An RTF control word is never split from its backslash, so the backslash breaks before;
// plus, minus, double quote and semicolon do not break at all.
static constexpr const char* kBlanks = "\n\t ";
static constexpr const char* kBreakBefore = "\\([{<!=";
static constexpr const char* kBreakAfter = ")]}>,";

RTFFile::RTFFile(Context& ctx) : ctx_(ctx) {
  SetWidth(kWrapWidth);
  SetBreakCharacters(kBlanks, kBreakBefore, kBreakAfter);
  ResetDocumentState();
}

RTFFile::~RTFFile() = default;

void RTFFile::ResetDocumentState() {
  lineContexts_ = LineContexts();
  lineContexts_.lastReal = LineContext::Blank();
  lineContexts_.lastNonBlank = LineContext::Blank();
  lineContexts_.previous = LineContext::Blank();
  styleCode_ = 1;
  styleLevel_ = 0;
  browseNumber_ = kFirstBrowseNumber;
  ResetStatementState();
  braceLevel_ = 0;
  writeFailed_ = 0;
  pending_.SetEmpty();
}

// ---- Naming and opening ----

// The parts of the command line's output-name pattern that name something.
static void PatternParts(const TextString& pattern, TextString& folder, TextString& baseName,
                         TextString& extension) {
  SplitPath(pattern, folder, baseName, extension);
  if (folder.ContainsNoCase("[*]"))
    folder.SetEmpty();
  if (baseName.Compare("*", 1, 0))
    baseName.SetEmpty();
  if (extension.ContainsNoCase(".*"))
    extension.SetEmpty();
}

// name less its extension and less the deeper of inputFolder and outputFolder that holds it
// (less its whole folder when neither does): sub-folders below the input folder are kept, and
// an output name given whole is not put in its folder twice. Only a leading folder counts: the
// same text deeper in the path is a different folder.
static void NameBelowFolders(const TextString& name, const TextString& inputFolder,
                             const TextString& outputFolder, TextString& out) {
  TextString folder, baseName, extension;
  SplitPath(name, folder, baseName, extension);
  // A name that neither folder holds keeps no folder.
  int cut = folder.GetLength();
  int deepest = 0;
  for (const TextString* holder : {&inputFolder, &outputFolder}) {
    const int length = holder->GetLength();
    if (length > deepest && folder.StartsWith(holder->GetText(), 1)) {
      deepest = length;
      cut = length;
    }
  }
  out.AssignSubstring(folder.GetText(), cut, -1);
  out.Append(baseName);
}

int RTFFile::MakeFileName(const TextString& baseName, FileControl& fc, TextString& out) {
  out.SetEmpty();
  TextString patternFolder, patternBase, patternExtension;
  PatternParts(ctx_.Commands.outputSpec, patternFolder, patternBase, patternExtension);
  // The folder of the name stands in for an unset "Output directory"; the policy set is left
  // as it is, since one set may name the outputs of many inputs.
  TextString outputFolder(fc.GetText(PolicyId::OutputDirectory));
  if (outputFolder.IsEmpty())
    ExtractFolder(baseName, outputFolder);
  TextString relative;
  NameBelowFolders(baseName, fc.GetText(PolicyId::InputDirectory), outputFolder, relative);
  if (relative.IsEmpty() && patternBase.IsEmpty())
    return 0;
  out.Assign(patternFolder.IsEmpty() ? outputFolder : patternFolder);
  out.Append(patternBase.IsEmpty() ? relative : patternBase);
  out.Append(patternExtension.IsEmpty() ? TextString(".rtf") : patternExtension);
  return 1;
}

int RTFFile::OpenFile(const char* baseName, FileControl& fc, int /*ignored*/, RTFFile* previous,
                      int console) {
  fc_ = &fc;
  if (previous != nullptr)
    (void)previous->EndDocument(fc);
  if (IsOpen())
    CloseAll();
  documentOpen_ = 1;
  ResetDocumentState();

  const TextString name(baseName);
  TextPolicy& outputDirectory = fc.Text(PolicyId::OutputDirectory);
  if (outputDirectory.value.IsEmpty())
    ExtractFolder(name, outputDirectory.value);
  NameBelowFolders(name, fc.GetText(PolicyId::InputDirectory), outputDirectory.value,
                   outputName_);
  TextPolicy& dosRoot = fc.Text(PolicyId::DOSFilenameRoot);
  if (fc.GetInt(PolicyId::UseDOSFilenames) && dosRoot.value.IsEmpty())
    dosRoot.value = outputName_;

  TextString fileName;
  (void)MakeFileName(name, fc, fileName);
  if (GetSink() == nullptr) {
    TextString progress("Generating RTF file ");
    progress.Append(fileName);
    fc.ReportProgress(progress.GetText());
  }
  TextString folder, baseNamePart, extension;
  SplitPath(fileName, folder, baseNamePart, extension);
  ctx_.CurrentOutputFileName = baseNamePart;
  ctx_.CurrentOutputFileName.Append(extension);
  if (ctx_.FirstOutputFileName.IsEmpty())
    ctx_.FirstOutputFileName = fileName;

  if (!OpenForWrite(fileName.GetText(), console, 0)) {
    TextString message("ERROR: Can't open file \"");
    message.Append(fileName);
    message.AppendChar('"');
    fc.ReportMessage(message.GetText(), 10);
    documentOpen_ = 0;
    return 0;
  }
  WritePrologue(fc);
  return 1;
}

// ---- Writing ----

static bool HasHighByte(const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80)
      return true;
  }
  return false;
}

bool RTFFile::IsUtf8Input(FileControl& fc) const {
  return ctx_.Utf8Input != 0 || fc.GetText(PolicyId::CharacterEncoding).Compare("utf-8", 0, 0);
}

void RTFFile::PrepareCharacters(FileControl& fc) {
  const TextString& encoding = fc.GetText(PolicyId::CharacterEncoding);
  if (encoding.Compare("koi8-r", 0, 0))
    lineWork_.ConvertKoi8rToCp1251();
  // Box drawing before the hex escapes, which would hide its bytes.
  if (fc.GetInt(PolicyId::InputFileContainsDOSCharacters) &&
      !fc.GetInt(PolicyId::AttemptTABLEGeneration))
    MapBoxDrawing(lineWork_, characterWork_);
  EscapeHighBytes(fc, lineWork_);
}

void RTFFile::EscapeHighBytes(FileControl& fc, TextString& text) {
  // UTF-8 bytes escaped one by one would come out as one Windows-1252 character each.
  if (IsUtf8Input(fc)) {
    EscapeUtf8Characters(text, characterWork_);
    return;
  }
  // RTF is 7-bit: every other byte above 127 becomes a hex escape, whatever the encoding.
  text.EscapeHighCharacters();
}

bool RTFFile::WriteOneLine(const char* text) {
  if (::WriteLine(this, text))
    return true;
  writeFailed_ = 1;
  return false;
}

int RTFFile::WriteLine(FileControl& fc, TextFile* file, const char* text, int noWrap) {
  assert((file == nullptr || file == this) && "an RTFFile writes only to itself");
  (void)file;
  lineWork_.Assign(text);
  PrepareCharacters(fc);
  if (documentOpen_ && ctx_.RtfPass) {
    int result = 1;
    if (pending_.GetLength() > kFlushThreshold)
      result = FlushBuffer(fc, this, 0);
    pending_.Append(lineWork_);
    pending_.AppendChar('\n');
    return result;
  }
  if (documentOpen_)
    (void)FlushBuffer(fc, this, 0);
  if (braceTracking_)
    TrackBraces(fc, lineWork_.GetText());
  const int japanese = fc.GetInt(PolicyId::InputFileContainsJapaneseCharacters);
  if (WriteWrappedStatement(this, lineWork_, noWrap, japanese))
    return 1;
  writeFailed_ = 1;
  return 0;
}

int RTFFile::WriteRaw(FileControl& fc, TextFile* file, const char* text) {
  assert((file == nullptr || file == this) && "an RTFFile writes only to itself");
  (void)file;
  const char* raw = text != nullptr ? text : "";
  if (documentOpen_ && ctx_.RtfPass)
    return WriteLine(fc, this, raw, 0);
  if (HasHighByte(raw)) {
    rawWork_.Assign(raw);
    EscapeHighBytes(fc, rawWork_);
    raw = rawWork_.GetText();
  }
  if (documentOpen_)
    (void)FlushBuffer(fc, this, 0);
  if (braceTracking_)
    TrackBraces(fc, raw);
  return WriteOneLine(raw) ? 1 : 0;
}

int RTFFile::FlushBuffer(FileControl& fc, TextFile* file, int /*ignored*/) {
  assert((file == nullptr || file == this) && "an RTFFile writes only to itself");
  (void)file;
  if (pending_.IsEmpty())
    return 1;
  if (ctx_.RtfPass)
    (void)TidyRtfText(fc, pending_);
  // The lines are cut in place: each newline becomes the end of its line.
  char* const begin = pending_.GetBuffer();
  char* const end = begin + pending_.GetLength();
  bool written = true;
  for (char* line = begin; line < end;) {
    char* lineEnd = static_cast<char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
    if (lineEnd == nullptr)
      lineEnd = end;
    *lineEnd = '\0';
    if (braceTracking_)
      TrackBraces(fc, line);
    if (written)
      written = ::WriteLineUnflushed(this, line);
    line = lineEnd + 1;
  }
  pending_.SetEmpty();
  // The batch reaches the disk at once; a failed write shows at the latest here.
  written = ::FlushLines(this) && written;
  if (!written)
    writeFailed_ = 1;
  return written ? 1 : 0;
}

int RTFFile::EndDocument(FileControl& fc) {
  // A region still open when the document ends is written before the document closes.
  if (fc.CollectingRegion || regionOpen_) {
    const int location = ctx_.CodeLocation;
    EndRegion(fc, regionCode_, true);
    ctx_.CodeLocation = location;
  }
  // Pre-formatted and table paragraphs leave no group open for the closing below: a body
  // paragraph takes their place.
  if (styleCode_ == kParagraphPreformatted || styleCode_ == kParagraphTable)
    ChangeStyle(fc, styleCode_, kParagraphBody, 0);
  (void)WriteRaw(fc, this, "\\par}");
  (void)WriteRaw(fc, this, "}}");
  (void)FlushBuffer(fc, this, 0);
  if (braceLevel_ > 0) {
    const int missing = braceLevel_;
    TextString message("PROGRAM ERROR: ");
    message.AppendNumber('1', missing, 0);
    message.Append(" missing close braces.  Adding extra, but file may not be correct");
    fc.ReportMessage(message.GetText(), 10);
    if (fc.GetInt(PolicyId::ShowTagsInOutput))
      (void)WriteRaw(fc, this, "(Added extra close braces here)");
    for (int i = 0; i < missing; ++i)
      (void)WriteRaw(fc, this, "}");
    (void)FlushBuffer(fc, this, 0);
  }
  return writeFailed_ ? 0 : 1;
}

void RTFFile::CloseAll() {
  if (fc_ != nullptr && documentOpen_)
    (void)FlushBuffer(*fc_, this, 0);
  documentOpen_ = 0;
  OutFile::CloseAll();
}

// ---- Brace balance ----

void RTFFile::TrackBraces(FileControl& fc, const char* text) {
  bool reachedZero = false;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\\') {
      if (p[1] == '\0')
        break;
      ++p;
      continue;
    }
    if (*p == '{') {
      ++braceLevel_;
      continue;
    }
    if (*p != '}')
      continue;
    --braceLevel_;
    if (braceLevel_ == 0)
      reachedZero = true;
    if (braceLevel_ >= 0)
      continue;
    TextString message("ERROR: Too many close braces.  Level = ");
    message.AppendNumber('1', braceLevel_, 0);
    fc.ReportMessage(message.GetText(), 10);
    const int extra = 1 - braceLevel_;
    TextString repair;
    for (int i = 0; i < extra; ++i)
      repair.AppendChar('{');
    TextString warning("WARNING: Inserting extra braces \"");
    warning.Append(repair);
    warning.Append("\".  Results may not be as expected");
    fc.ReportMessage(warning.GetText(), 10);
    if (fc.GetInt(PolicyId::ShowTagsInOutput))
      repair.Append("(extra braces added here) ");
    (void)WriteOneLine(repair.GetText());
    braceLevel_ += extra;
  }
  if (braceLevel_ > 0 && reachedZero)
    fc.ReportMessage("PROGRAM ERROR: Brace level reached zero.  Document will terminate prematurely",
                     10);
}

int RTFFile::WriteContentsField(FileControl& fc, int level, int write) {
  return WriteTocField(fc, *this, level, write);
}
