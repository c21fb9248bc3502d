#include "analysis/MailSender.h"

#include "engine/LinkText.h"
#include "analysis/PreHTML.h"
#include "analysis/UrlWords.h"
#include "engine/Context.h"
#include "policy/TextClassification.h"
#include "policy/FileControl.h"
#include "text/TextString.h"

// Removes the first occurrence of part (exact case) from text.
static void RemoveFirstOccurrence(TextString& text, const TextString& part) {
  int at = -1;
  if (part.IsEmpty() || !text.Find(0, part.GetText(), &at, 1, 0) || at < 0) return;
  text.ReplaceSpan(at, part.GetLength(), "");
}

// The first word of copy that the e-mail word test takes: it is removed from copy and its
// address part goes to address.
static void TakeAddress(FileControl& fc, TextString& copy, TextString& address) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr) return;
  PreHTML& word = WordObjectOf(*ctx);
  TextString field;
  TextString rewritten;
  Statement target;
  int pos = 0;
  while (copy.GetNextField(&pos, ' ', field)) {
    if (field.IsEmpty()) continue;
    word.Assign(field);
    int converted = 0;
    if (word.TidyEmailWord(fc, converted, rewritten, target) != kUrlEmail) continue;
    if (DetectUrls(kDetectEmailAddress, field, address, 0) == 0) address.SetEmpty();
    RemoveFirstOccurrence(copy, field);
    copy.CollapseBlanks();
    return;
  }
}

// The last date word and the last time word of copy, removed from it, as "time date".
static void TakeDateAndTime(FileControl& fc, TextString& copy, TextString& dateTime) {
  TextString date;
  TextString time;
  TextString field;
  int pos = 0;
  while (copy.GetNextField(&pos, ' ', field)) {
    if (field.IsEmpty()) continue;
    const int kind = ClassifyCellValue(fc.GetRuleSet(), kCellText, field.GetText());
    if (kind == kCellDate) date.Assign(field);
    if (kind == kCellTime) time.Assign(field);
  }
  if (date.IsEmpty() && time.IsEmpty()) return;
  RemoveFirstOccurrence(copy, date);
  RemoveFirstOccurrence(copy, time);
  dateTime.Assign(time);
  dateTime.AppendChar(' ');
  dateTime.Append(date);
  dateTime.Trim();
  copy.CollapseBlanks();
}

// The text between open and the next close after it (to the end when there is none); false
// when copy has no open.
static bool TakeEnclosed(const TextString& copy, char open, char close, TextString& out) {
  int start = -1;
  if (!copy.FindChar(0, open, &start, 1)) return false;
  int end = -1;
  if (!copy.FindChar(start + 1, close, &end, 1)) end = copy.GetLength();
  out.AssignBytes(copy.GetText() + start + 1, end - start - 1);
  return true;
}

// A name made from the address's part before the "@": one "." or one "_" separates two names.
static void NameFromAddress(const TextString& address, TextString& name) {
  int at = -1;
  if (!address.FindChar(0, '@', &at, 1)) at = address.GetLength();
  TextString local;
  local.AssignBytes(address.GetText(), at);
  for (const char separator : {'.', '_'}) {
    if (local.CountChar(separator) != 1) continue;
    local.ReplaceChar(0, separator, ' ', 1);
    name.Assign(local);
    return;
  }
  name.Assign(address);
}

void SplitMailSender(FileControl& fc, const TextString& line, TextString& name,
                     TextString& address, TextString& dateTime) {
  name.SetEmpty();
  address.SetEmpty();
  dateTime.SetEmpty();
  TextString copy(line);
  // Angle brackets stand apart from the words before and after them.
  copy.ReplaceAll("<", " <", 0, 1);
  copy.ReplaceAll(">", "> ", 0, 1);
  copy.ReplaceAll("&lt;", " <", 0, 1);
  copy.ReplaceAll("&gt;", "> ", 0, 1);

  TakeAddress(fc, copy, address);
  TakeDateAndTime(fc, copy, dateTime);

  if (copy.CountChar('"') < 2 || !TakeEnclosed(copy, '"', '"', name)) {
    if (!TakeEnclosed(copy, '(', ')', name)) name.Assign(copy);
  }
  name.Trim();
  if (name.IsEmpty()) NameFromAddress(address, name);
  if (name.CountChar(',') == 1) {
    int comma = -1;
    name.FindChar(0, ',', &comma, 1);
    TextString reordered(name.GetText() + comma + 1);
    reordered.AppendChar(' ');
    TextString surname;
    surname.AssignBytes(name.GetText(), comma);
    reordered.Append(surname);
    reordered.CollapseBlanks();
    reordered.Trim();
    name.Assign(reordered);
  }
}
