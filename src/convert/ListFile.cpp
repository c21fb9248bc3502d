#include "convert/ListFile.h"

#include <memory>

#include "analysis/PreHTML.h"
#include "policy/FileControl.h"
#include "text/StatementTypes.h"
#include "text/TextFile.h"
#include "text/TextString.h"

// Letters of the special-format codes 1 to 10 of a user-specified pre-formatted region.
static constexpr char kSpecialFormatLetters[] = {'T', 'C', 'D', 'P', '>', 'U', '/', ',', 'u', 'v'};
static constexpr int kSpecialFormatCount = static_cast<int>(sizeof(kSpecialFormatLetters));

// A pre-formatted count above this marks the line as pre-formatted.
static constexpr int kPreformattedThreshold = 5;

static void UpdateFlags(const PreHTML& line, ListFileFlags& flags) {
  switch (line.GetTaggedType()) {
    case kTagDefineBlock:
      flags.insideDefineBlock = 1;
      return;
    case kTagDefineHtmlFragment:
    case kTagDefineTextFragment:
      flags.insideFragmentDefinition = 1;
      return;
    case kTagEndBlock:
      flags.insideDefineBlock = 0;
      flags.insideFragmentDefinition = 0;
      return;
  }
}

static char FlagColumn(const PreHTML& line, const ListFileFlags& flags, FileControl& fc) {
  const int type = line.GetLineType();
  char c = ' ';
  // Each rule overrides the ones before it.
  if (line.HasFlag(kFlagRollOut)) c = '|';
  if (line.GetPreformattedKind() > kPreformattedThreshold) c = '+';
  if (line.HasFlag(kFlagMailHeader)) c = 'm';
  if (line.HasFlag(kFlagSampleCode)) c = 'C';
  if (flags.insideDefineBlock != 0 || type == kTagEndBlock) c = 'B';
  if (flags.insideFragmentDefinition != 0 || type == kTagEndBlock) c = 'F';
  if (type == kTagResetBlock || type == kTagResetHtmlFragment || type == kTagResetTextFragment) c = 'R';
  if (line.HasFlag(kFlagUserHtml)) c = 'H';
  if (line.HasFlag(kFlagUserRegion)) {
    const int code = line.GetSpecialFormat();
    if (code >= 1 && code <= kSpecialFormatCount) {
      c = kSpecialFormatLetters[code - 1];
    } else if (code != 0) {
      c = '?';
      fc.ReportMessage("UNSUPPORTED CASE: Unsupported Format code in WriteListFile", 10);
    }
  }
  if (line.HasFlag(kFlagUserIgnore)) c = 'I';
  return c;
}

static char ContentsColumn(const PreHTML& line) {
  char c = ' ';
  if (line.HasFlag(kFlagChangeBar)) c = 'b';
  if (line.HasFlag(kFlagUrl)) c = 'u';
  if (line.HasFlag(kFlagContentsList)) c = 'l';
  return c;
}

static char StateColumn(const PreHTML& line) {
  if (line.HasFlag(kFlagAmbiguous)) return 'a';
  switch (line.GetLineType()) {
    case kTypeIgnored:
      return 'i';
    case kTypeNull:
      return 'n';
    case kTypeHeaderNull:
      return 'l';
    case kTypeEndOfFile:
      return '*';
  }
  return ' ';
}

// A positive number right-aligned in width columns, or width blanks for 0 and below. A wider
// number takes the room it needs: overwriting the following separator would change the number
// a reader sees (line 123456 would read as 12345).
static void AppendField(TextString& out, int number, int width) {
  if (number <= 0) {
    for (int i = 0; i < width; ++i) out.AppendChar(' ');
    return;
  }
  int digits = 1;
  for (int n = number; n >= 10; n /= 10) ++digits;
  for (int i = digits; i < width; ++i) out.AppendChar(' ');
  out.AppendNumber('1', number, 0);
}

void BuildListPrefix(const PreHTML& line, const ListFileFlags& flags, FileControl& fc,
                     TextString& out) {
  out.SetEmpty();
  out.AppendChar(line.HasFlag(kFlagCentred) ? 'c' : ' ');
  out.AppendChar(FlagColumn(line, flags, fc));
  out.AppendChar(ContentsColumn(line));
  // The start position holds the block number first and the line within the block second.
  const TextPosition& start = line.GetStartPosition();
  const int block = start.GetLine();
  AppendField(out, block, 2);
  out.AppendChar(block > 0 ? '/' : ' ');
  AppendField(out, start.GetColumn(), 5);
  out.AppendChar(':');
  AppendField(out, line.GetLineType(), 5);
  out.AppendChar(' ');
  out.AppendChar(StateColumn(line));
  out.AppendChar('|');
}

void WriteListLegend(TextFile* listFile) {
  if (listFile == nullptr || !listFile->IsOpen()) return;
  TextString text;
  for (const std::string_view row : ListLegendLines()) {
    text.AssignBytes(row.data(), static_cast<int>(row.size()));
    listFile->WriteText(text.GetText());
  }
}

int WriteListFile(TextFile* listFile, PreHTML& line, FileControl& fc, ListFileFlags& flags) {
  UpdateFlags(line, flags);
  if (listFile == nullptr || !listFile->IsOpen()) return 1;

  if (line.pGetNote() != nullptr) {
    const std::unique_ptr<TextString> note = line.TakeNote();
    if (!listFile->WriteText("") || !listFile->WriteText(note->GetText()) ||
        !listFile->WriteText(""))
      return 0;
  }

  TextString text;
  BuildListPrefix(line, flags, fc, text);
  const TextString& input = line.GetRawCopy();
  const int keep = input.GetLength() < kListTextLimit ? input.GetLength() : kListTextLimit;
  text.Reserve(text.GetLength() + keep);
  for (int i = 0; i < keep; ++i) text.AppendChar(input.CharAt(i));
  return listFile->WriteText(text.GetText()) ? 1 : 0;
}
