#include "analysis/LineServices.h"

#include <cstring>
#include <utility>

#include "text/StatementTypes.h"

int HeadingLevelFromType(int lineType) {
  // Each heading family occupies a block of six codes: the last digit is the level.
  constexpr int kFamilies[] = {kTypeHeading1, kTypeUnderlinedHeading1, kTypeKeyPhraseHeading1,
                               kTypeContentsHeading1};
  for (const int first : kFamilies) {
    if (lineType >= first && lineType <= first + 5)
      return lineType - first + 1;
  }
  if (lineType == kTypeCapitalisedHeading || lineType == kTypeEmbeddedHeading ||
      lineType == kTypeMailHeader)
    return 2;
  return 0;
}

int PointSizeToHtmlSize(int points) {
  struct Band {
    int upTo;
    int size;
  };
  constexpr Band kBands[] = {{8, 1}, {11, 2}, {13, 3}, {16, 4}, {22, 5}};
  for (const Band& band : kBands) {
    if (points <= band.upTo)
      return band.size;
  }
  return 6;
}

void EscapeRtfText(FileControl& /*fc*/, TextString& text) { EscapeRtfText(text); }

void EscapeRtfText(TextString& text) {
  const char* bytes = text.GetText();
  if (std::strstr(bytes, "\\\\") != nullptr || std::strstr(bytes, "\\'7b") != nullptr ||
      std::strstr(bytes, "\\'7d") != nullptr)
    return;
  if (!text.ContainsChar('\\') && !text.ContainsChar('{') && !text.ContainsChar('}'))
    return;
  TextString escaped;
  escaped.Reserve(text.GetLength() + text.GetLength() / 4 + 8);
  for (int i = 0; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == '\\') {
      escaped.Append("\\\\");
      continue;
    }
    if (c == '{') {
      escaped.Append("\\'7b");
      continue;
    }
    if (c == '}') {
      escaped.Append("\\'7d");
      continue;
    }
    escaped.AppendChar(c);
  }
  text = std::move(escaped);
}

// Separators tried in turn; the first absent from the arguments is used.
static constexpr char kSeparators[] = {'\xA1', '\xB1', '|', '=', '~',  '#', '?',
                                       '/',    '\\',   '+', '^', '&', '*'};

static bool IsFieldWebAddress(const TextString& field) {
  return std::strstr(field.GetText(), "://") != nullptr ||
         std::strstr(field.GetText(), "www.") != nullptr;
}

// Cuts "name=" off a field whose "=" stands before any double quote.
static void DropArgumentName(TextString& field) {
  for (int i = 0; i < field.GetLength(); ++i) {
    const char c = field.CharAt(i);
    if (c == '"')
      return;
    if (c != '=')
      continue;
    if (!IsFieldWebAddress(field))
      field.KeepFrom(i + 1);
    return;
  }
}

void UnquoteArgument(TextString& field) {
  if (field.CharAt(field.GetLength() - 1) == '"')
    field.Truncate(field.GetLength() - 1);
  if (field.CharAt(0) == '"')
    field.KeepFrom(1);
  if (field.ContainsChar('"'))
    field.ReplaceAll("\"\"", "\"", 0, 1);
}

// The first delimiter of the list that occurs outside double quotes; a comma when none does.
static char FindDelimiter(const TextString& args, const char* delimiters) {
  for (const char* d = delimiters != nullptr ? delimiters : ""; *d != '\0'; ++d) {
    bool quoted = false;
    for (int i = 1; i < args.GetLength(); ++i) {
      const char c = args.CharAt(i);
      if (c == '"') {
        quoted = !quoted;
        continue;
      }
      if (!quoted && c == *d)
        return *d;
    }
  }
  return ',';
}

int NormaliseArgumentList(const TextString& args, const char* delimiters, int dropNames,
                          TextString& out) {
  char separator = '\0';
  for (const char candidate : kSeparators) {
    if (!args.ContainsChar(candidate)) {
      separator = candidate;
      break;
    }
  }
  if (separator == '\0')
    return 0;

  // The first character only opens the list (callers put a blank there): it becomes the
  // separator in front of the first field, so scanning starts after it.
  const char delimiter = FindDelimiter(args, delimiters);
  TextString result;
  result.Reserve(args.GetLength() + 8);
  TextString field;
  auto finishField = [&]() {
    field.Trim();
    if (dropNames != 0)
      DropArgumentName(field);
    UnquoteArgument(field);
    result.AppendChar(separator);
    result.Append(field);
    field.SetEmpty();
  };
  bool quoted = false;
  for (int i = 1; i < args.GetLength(); ++i) {
    const char c = args.CharAt(i);
    if (c == '"')
      quoted = !quoted;
    if (!quoted && c == delimiter) {
      finishField();
      continue;
    }
    field.AppendChar(c);
  }
  if (!args.IsEmpty())
    finishField();
  out = std::move(result);
  return 1;
}

// ---- Minimal forms until the line analysis exists ----

int GetEmbeddedHeadingText(FileControl& /*fc*/, PreHTML& /*line*/, Statement& /*out*/) {
  return 0;
}

void WriteDefaultDirectives(FileControl& /*fc*/, StatementFile& /*reader*/) {}

void AddClosingEndPre(FileControl& /*fc*/, StatementFile& /*file*/) {}

int MakeSplitFileName(const char* /*baseName*/, int /*flag*/, FileControl& /*fc*/,
                      Context& /*ctx*/, TextString& name, TextString& second) {
  name.SetEmpty();
  second.SetEmpty();
  return 0;
}

void SetOutputModeFlags(FileControl& /*fc*/) {}

void GetTaggedFileDetails(Context& /*ctx*/, FileControl& /*fc*/, TaggedFileDetails& parts) {
  parts.folder.SetEmpty();
  parts.baseName.SetEmpty();
  parts.extension.SetEmpty();
}

void TidySectionNumber(Context& /*ctx*/, const ConversionOptions& /*options*/,
                       TextString& /*text*/) {}

int DetectTags(Context& /*ctx*/, const ConversionOptions& /*options*/, int /*flags*/,
               const TextString& in, TextString& out) {
  out = in;
  return 0;
}

void EncodeEntities(FileControl& /*fc*/, Context& /*ctx*/, TextString& /*text*/) {}
