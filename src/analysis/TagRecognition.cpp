#include "analysis/TagRecognition.h"

#include <iterator>
#include <span>
#include <string_view>

#include "analysis/TagServices.h"
#include "policy/FileControl.h"

// ---- Recognition ----

// The known tags, in the order the interpreter has always listed them.
static constexpr std::string_view kKnownTagNames[] = {
    "BEGIN_USER_TABLE",
    "BOOKMARK_URL",
    "BR",
    "CHANGE_INDENT",
    "COLOR",
    "COLOUR",
    "DEFINE_VARIABLE",
    "EMBED_BLOCK",
    "ENTITY",
    "END_HEADING",
    "FILENAME",
    "FO",
    "FONT",
    "FRACTION",
    "GOTO",
    "HEADING",
    "HEADING_KEYPHRASES",
    "HTML",
    "HTML_COMMENT",
    "HYPERLINK",
    "INSERT_BLOCK",
    "INSERT_FRAGMENT",
    "IGNORE_THIS",
    "IMAGE",
    "LINERULE",
    "LINKPOINT",
    "NB",
    "META_TAG",
    "NEW_PAGE",
    "PAGE",
    "NEW_ROW",
    "NEW_CELL",
    "COLUMN_DETAILS",
    "PAGE_MARKER",
    "POPUP",
    "RESTORE_CONTEXT",
    "RULESET",
    "SAVE_CONTEXT",
    "SHORTCUT_ICON",
    "SPACES",
    "SOURCE_FILE",
    "STUB_INDENT",
    "STYLE",
    "SUPER",
    "SUB",
    "TABLE_LAYOUT",
    "TEXT",
    "TABLE_COLUMN_ALIGNMENTS",
    "TABLE_COLUMN_FORMATS",
    "TABLE_COLUMN_HEADERS",
    "TABLE_COLUMN_WIDTHS",
    "TABLE_SHOW_COLUMNS",
    "TIMESTAMP",
    "VARIABLE",
    "VERSION",
};
static_assert(std::size(kKnownTagNames) == 55, "the known-tag list has 55 names");

// Keywords accepted besides the known tags.
static constexpr std::string_view kExtraTagKeywords[] = {
    "CONTENTS_LIST", "NAVIGATION_BAR", "TOC", "OT", "CT", "DEBUG",
};

std::span<const std::string_view> KnownTagNames() { return kKnownTagNames; }

static bool EqualsNoCase(std::string_view a, const TextString& b) {
  if (static_cast<int>(a.size()) != b.GetLength())
    return false;
  return CompareChars(a.data(), b.GetText(), b.GetLength(), 1) == 0;
}

bool IsKnownTag(const TextString& keyword) {
  for (const std::string_view name : kKnownTagNames) {
    if (EqualsNoCase(name, keyword))
      return true;
  }
  for (const std::string_view name : kExtraTagKeywords) {
    if (EqualsNoCase(name, keyword))
      return true;
  }
  return false;
}

// The keyword ends at the first blank, "," or "=" after the first character.
static int KeywordEnd(const TextString& text) {
  for (int i = 1; i < text.GetLength(); ++i) {
    const char c = text.CharAt(i);
    if (c == ' ' || c == '\t' || c == ',' || c == '=')
      return i;
  }
  return text.GetLength();
}


int RecogniseTag(FileControl& fc, Context& /*ctx*/, const TextString& tagText,
                 TextString& keyword, TextString& arguments, TextString& message, int& level) {
  keyword.SetEmpty();
  arguments.SetEmpty();
  message.SetEmpty();
  level = -1;
  TextString copy(tagText);
  copy.CollapseBlanks();

  const TextString& start = fc.GetText(PolicyId::StartTagDelimiter);
  const TextString& end = fc.GetText(PolicyId::EndTagDelimiter);
  const TextString& directive = fc.GetText(PolicyId::DirectiveDelimiter);
  int at = -1;
  if (!start.IsEmpty() && copy.Find(0, start.GetText(), &at, 1, 0)) {
    if (copy.Find(1, start.GetText(), &at, 1, 0)) {
      message.Assign("Incomplete tag, or nested tag - \"");
      message.Append(tagText);
      message.AppendChar('"');
      level = 10;
      return 0;
    }
    if (copy.GetLength() > start.GetLength() + end.GetLength()) {
      copy.KeepFrom(start.GetLength());
      if (!end.IsEmpty() && copy.EndsWith(end.GetText(), 1))
        copy.Truncate(copy.GetLength() - end.GetLength());
    }
  } else if (!directive.IsEmpty() && copy.StartsWith(directive.GetText(), 1)) {
    copy.KeepFrom(directive.GetLength());
  }
  copy.Trim();
  keyword.AssignSubstring(copy.GetText(), 0, KeywordEnd(copy));

  const bool found = IsKnownTag(keyword);
  if (keyword.Compare("HTML", 0, 0) || keyword.Compare("HTML_COMMENT", 0, 0)) {
    arguments.AssignSubstring(copy.GetText(), keyword.GetLength() + 1, -1);
  } else {
    arguments = copy;
    // A list that cannot be split has been reported; the handlers then see no fields.
    if (!ParseTagArguments(fc, arguments, keyword.GetText()))
      arguments.SetEmpty();
  }
  if (!found) {
    message.Assign("Unrecognised tag \"");
    message.Append(keyword);
    message.Append("\" : ");
    message.Append(tagText);
    level = 10;
    return 0;
  }
  return 1;
}
