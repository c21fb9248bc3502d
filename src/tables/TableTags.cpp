#include "tables/TableTags.h"

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tags/TagInterpreter.h"

bool RecogniseTableTag(FileControl& fc, const TextString& text, TextString& arguments) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return false;
  TextString name;
  TextString message;
  int level = -1;
  return RecogniseTag(fc, *ctx, text, name, arguments, message, level) != 0;
}

bool ReadTableTagArguments(FileControl& fc, const char* keyword, const TextString& text,
                           TextString& arguments) {
  TextString tag(text);
  if (!tag.ContainsNoCase(keyword)) {
    (void)tag.Insert(0, " ");
    (void)tag.Insert(0, keyword);
  }
  return RecogniseTableTag(fc, tag, arguments);
}

bool IsBeginTableTag(const TextString& tagName) {
  for (const char* name : {"BEGIN_DELIMITED_TABLE", "BEGIN_COMMA_DELIMITED_TABLE", "BEGIN_USER_TABLE"}) {
    if (tagName.Compare(name, 1, 0)) return true;
  }
  return false;
}

void ReportTableTagRefused(FileControl& fc, const TextString& tagName, const TextString& tagText) {
  TextString message("TAG ERROR: Setting table config from tag ");
  message.Append(tagName);
  message.Append("\n\t");
  message.Append(tagText);
  fc.ReportMessage(message.GetText(), 10);
}
