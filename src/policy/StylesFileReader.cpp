// StyleSheet::ReadStylesFile: the styles file, lines of "define font: name, face, style, size"
// and "define style: style name, face, style, size", with "!" starting a comment.

#include "policy/StyleSheet.h"

#include "policy/PolicyContext.h"
#include "policy/CorePolicy.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"
#include "text/TextFile.h"

namespace {

// One line of the file being read, for the messages about it.
struct StylesFileLine {
  FileControl& fc;
  const TextString& fileName;
  int number;
};

void ReportLine(const StylesFileLine& line, const TextString& problem) {
  TextString message("ERROR: Styles file ");
  message.Append(line.fileName);
  message.Append(" line ");
  message.AppendNumber('1', line.number, 0);
  message.Append(" - ");
  message.Append(problem);
  line.fc.ReportMessage(message.GetText(), 10);
}

// A name reaches the RTF font table or style sheet as it is: a brace, backslash or
// semicolon in it would end or break the group around it.
bool HoldsRtfDelimiter(const TextString& name) { return !name.ContainsNoneOf("{}\\;"); }

bool RefuseRtfDelimiter(const StylesFileLine& line, const TextString& name) {
  if (!HoldsRtfDelimiter(name)) return false;
  TextString problem("the name \"");
  problem.Append(name);
  problem.Append("\" holds one of { } \\ ; and is ignored");
  ReportLine(line, problem);
  return true;
}

// Reads "name, specification" into font (second name set to the name). False, reported,
// when the line cannot give a usable font.
bool ReadFontDefinition(const StylesFileLine& line, const TextString& value, FontSpec& font,
                        TextString& name) {
  int comma = -1;
  value.FindChar(0, ',', &comma, 1);
  TextString specification;
  if (comma < 0) {
    name = value;
  } else {
    name.AssignSubstring(value.GetText(), 0, comma);
    specification.AssignSubstring(value.GetText(), comma + 1, -1);
  }
  name.Trim();
  specification.Trim();
  specification.ReplaceChar(0, '\t', ' ', 0);
  specification.CollapseBlanks();

  // An open quote would run on over the commas and make the rest of the line the face.
  if (value.CountChar('"') % 2 != 0) {
    ReportLine(line, "a double quote is not closed");
    return false;
  }
  if (name.IsEmpty()) {
    ReportLine(line, "a name is missing before the font specification");
    return false;
  }
  TextString face;
  int bold = 0;
  int italic = 0;
  int size = 0;
  if (!ParseFontSpec(face, bold, italic, size, specification)) {
    TextString problem("invalid font specification \"");
    problem.Append(specification);
    problem.Append("\" (face, style, size)");
    ReportLine(line, problem);
    return false;
  }
  if (size < kMinPointSize || size > kMaxPointSize) {
    TextString problem("font size ");
    problem.AppendNumber('1', size, 0);
    problem.Append(" is outside ");
    problem.AppendNumber('1', kMinPointSize, 0);
    problem.Append(" to ");
    problem.AppendNumber('1', kMaxPointSize, 0);
    ReportLine(line, problem);
    return false;
  }
  if (RefuseRtfDelimiter(line, name) || RefuseRtfDelimiter(line, face)) return false;

  font.SetFace(face);
  font.SetBold(bold);
  font.SetItalic(italic);
  font.SetPointSize(size);
  font.SetSecondName(name);
  return true;
}

// Opens the styles file, resolved against folder; out receives the name tried.
bool OpenStylesFile(const TextString& folder, const TextString& name, TextFile& file,
                    TextString& out) {
  ResolveRelativePath(folder, name, out);
  return file.OpenForRead(out.GetText(), 0);
}

// The next line of the file, the pieces of an over-long line joined again.
bool ReadWholeLine(TextFile& file, TextString& line) {
  int overLong = 0;
  if (!file.ReadLine(line, &overLong)) return false;
  TextString piece;
  while (overLong && file.ReadLine(piece, &overLong)) line.Append(piece);
  return true;
}

}  // namespace

void StyleSheet::ReadStylesFile(FileControl& fc) {
  const TextString& name = fc.GetText(PolicyId::StyleFile);
  if (name.IsEmpty() || stylesFileRead_) return;

  TextFile file;
  TextString path;
  bool opened = OpenStylesFile(fc.GetText(PolicyId::InputDirectory), name, file, path);
  const PolicyContext* ctx = fc.pGetPolicyContext();
  // The second place to look is the folder of the policy file read last.
  if (!opened && ctx != nullptr && !ctx->Commands.policyFolder.IsEmpty())
    opened = OpenStylesFile(ctx->Commands.policyFolder, name, file, path);
  if (!opened) {
    TextString message("** Failed to open styles file ");
    message.Append(path);
    message.Append(" ***");
    fc.ReportMessage(message.GetText(), 10);
    return;
  }

  TextString text;
  TextString key;
  TextString value;
  TextString fontName;
  int lineNumber = 0;
  while (ReadWholeLine(file, text)) {
    ++lineNumber;
    const StylesFileLine line{fc, path, lineNumber};
    int at = -1;
    if (text.FindChar(0, '!', &at, 1)) text.Truncate(at);
    if (text.FindChar(0, ':', &at, 1)) {
      key.AssignSubstring(text.GetText(), 0, at);
      value.AssignSubstring(text.GetText(), at + 1, -1);
    } else {
      key = text;
      value.SetEmpty();
    }
    key.Trim();
    value.Trim();
    if (key.IsEmpty()) continue;

    const bool isFont = key.Compare("define font", 0, 0);
    if (!isFont && !key.Compare("define style", 0, 0)) continue;
    FontSpec font;
    if (!ReadFontDefinition(line, value, font, fontName)) continue;
    if (!isFont) {
      SetStyleFont(fc, fontName, font);
      continue;
    }
    if (FindFont(fontName) != nullptr) continue;  // the first definition of a name stays
    if (!AddFont(font)) {
      TextString problem("more than ");
      problem.AppendNumber('1', kMaxUserFonts, 0);
      problem.Append(" fonts are defined; \"");
      problem.Append(fontName);
      problem.Append("\" is ignored");
      ReportLine(line, problem);
    }
  }
  file.CloseAll();
  stylesFileRead_ = 1;
}
