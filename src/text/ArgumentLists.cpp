#include "text/ArgumentLists.h"

#include <cstring>

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

bool GetArgumentField(const TextString& arguments, int field, TextString& out) {
  out.SetEmpty();
  if (field <= 0 || arguments.IsEmpty())
    return false;
  const char separator = arguments.CharAt(0);
  int seen = 0;
  int start = -1;
  for (int i = 0; i < arguments.GetLength(); ++i) {
    if (arguments.CharAt(i) != separator)
      continue;
    if (++seen == field) {
      start = i + 1;
      break;
    }
  }
  if (start < 0)
    return false;
  int end = start;
  while (end < arguments.GetLength() && arguments.CharAt(end) != separator)
    ++end;
  out.AssignBytes(arguments.GetText() + start, end - start);
  UnquoteArgument(out);
  return !out.IsEmpty();
}
