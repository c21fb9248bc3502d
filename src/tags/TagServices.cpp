#include "tags/TagServices.h"

#include "analysis/LinkText.h"

bool ParseTagArguments(FileControl& /*fc*/, TextString& text, const char* keyword) {
  if (keyword != nullptr && keyword[0] != '\0') {
    int at = -1;
    if (text.Find(0, keyword, &at, 1, 0) && at >= 0) {
      TextString rest;
      rest.AssignBytes(text.GetText(), at);
      rest.Append(text.GetText() + at + static_cast<int>(TextString(keyword).GetLength()));
      text = std::move(rest);
    }
  }
  text.CollapseBlanks();
  // The first character only opens the list: a blank keeps the first field whole.
  TextString args(" ");
  args.Append(text);
  TextString normalised;
  if (NormaliseArgumentList(args, ",", 1, normalised) == 0)
    return false;
  text = std::move(normalised);
  return true;
}

int CountTagFields(const TextString& arguments) {
  if (arguments.IsEmpty())
    return 0;
  return arguments.CountChar(arguments.CharAt(0));
}

int GetTagText(FileControl& /*fc*/, const TextString& arguments, int field, TextString& out) {
  return GetArgumentField(arguments, field, out) ? 1 : 0;
}

int GetTagTextOrDefault(FileControl& /*fc*/, const TextString& arguments, int field,
                        TextString& out, const char* defaultText) {
  if (!GetArgumentField(arguments, field, out))
    out.Assign(defaultText);
  return 1;
}

bool ParsePageScope(FileControl& /*fc*/, const TextString& scope, TextPosition& /*position*/,
                    int& page, int& global, TextString& message, int& level) {
  TextString trimmed(scope);
  trimmed.Trim();
  if (trimmed.IsEmpty()) {
    page = 0;
    global = 1;
    return true;
  }
  message = "TAG ERROR: Unknown scope attribute ";
  message.Append(trimmed);
  level = 10;
  return false;
}
