#include "text/StatementFile.h"

#include <cstring>

static constexpr char kFormFeed = '\f';

// Every byte c of text becomes a blank.
static void BlankByte(TextString& text, char c) {
  char* const begin = text.GetBuffer();
  if (!begin) return;
  char* const end = begin + text.GetLength();
  for (char* p = begin; (p = static_cast<char*>(std::memchr(p, c, static_cast<std::size_t>(end - p))));) {
    *p++ = ' ';
  }
}

StatementFile::StatementFile()
    : blanks_("\n\t "), breakAfter_(")]}>,;"), breakBefore_("([{<!=+-\"") {}

StatementFile::~StatementFile() = default;

void StatementFile::SetBreakCharacters(const char* blanks, const char* breakBefore,
                                       const char* breakAfter) {
  blanks_.Assign(blanks);
  breakBefore_.Assign(breakBefore);
  breakAfter_.Assign(breakAfter);
}

bool StatementFile::WriteStatement(Statement& s) {
  if (IsReading()) return false;
  return WriteWrappedStatement(this, s, 0, 0);
}

bool StatementFile::HasPendingPiece() const {
  return pendingPosition_ < pendingPieces_.GetCount();
}

bool StatementFile::TakePendingPiece(Statement& out, const StatementReadRules& rules,
                                     InputRuleState& state) {
  out.Append(pendingPieces_.GetItem(pendingPosition_++)->text);
  if (!HasPendingPiece()) {
    pendingPieces_.Clear();
    pendingPosition_ = 0;
  }
  return out.CountCharacterPairs(rules.input, state);
}

// Splits the line just read (in workText_) when it would take the statement out to the
// split position: the part after the last split character before it waits as a pending piece.
void StatementFile::SplitLine(const Statement& out) {
  const int lineLength = workText_.GetLength();
  const int soFar = out.GetLength();
  if (splitPosition_ <= 0 || splitPosition_ >= lineLength + soFar) return;
  int position = splitPosition_ - soFar;
  if (position < 0) position = lineLength / 2;
  if (position <= 0) return;
  if (position >= lineLength) position = lineLength - 1;
  for (int p = position; p >= 1; --p) {
    if (static_cast<unsigned char>(workText_.CharAt(p)) != splitCharacter_) continue;
    pendingPieces_.Append(workText_.GetText() + p + 1);
    workText_.Truncate(p + 1);
    split_ = 1;
    return;
  }
}

// The next part of the remainder: up to its next form feed, or a lone form feed when it
// starts with one. The remainder is consumed from an offset rather than copied again for
// every part, so a line of many form feeds costs time in proportion to its length.
void StatementFile::TakeRemainderPart(Statement& out) {
  const char* text = remainder_.GetText();
  const int length = remainder_.GetLength();
  const int at = remainderAt_;
  int end = at + 1;
  if (text[at] != kFormFeed) {
    const void* formFeed = std::memchr(text + at, kFormFeed, static_cast<std::size_t>(length - at));
    end = formFeed ? static_cast<int>(static_cast<const char*>(formFeed) - text) : length;
  }
  out.AssignBytes(text + at, end - at);
  remainderAt_ = end;
  if (end < length) return;
  remainder_.SetEmpty();
  remainderAt_ = 0;
  remainderPending_ = 0;
}

bool StatementFile::ReadRawStatement(Statement& out, const StatementReadRules& rules,
                                     InputRuleState& state) {
  const int lengthOnEntry = out.GetLength();
  bool complete = false;
  if (remainderPending_) {
    TakeRemainderPart(out);
    complete = !split_;
  } else if (HasPendingPiece()) {
    complete = TakePendingPiece(out, rules, state);
  }

  while (!complete) {
    int overLong = 0;
    if (!ReadNextLine(&overLong)) {
      if (!endSeen_) {
        endSeen_ = 1;
        if (rules.preserveStructureWithPre)
          pendingPieces_.Append(DirectiveText(rules.directivePrefix, "END_PRE"));
      }
      if (HasPendingPiece()) {
        complete = TakePendingPiece(out, rules, state);
        continue;
      }
      // Text held back for a line that never came (a soft break or a piece on the last
      // line) is still delivered rather than lost.
      if (out.GetLength() > lengthOnEntry) complete = true;
      break;
    }
    if (skipCount_ > 0) {
      --skipCount_;
      continue;
    }
    split_ = 0;
    const StringListEntry* line = recentLines_.GetItem(recentLines_.GetCount() - 1);
    if (splitPosition_ > 0) {
      workText_.Assign(line->text);
      SplitLine(out);
      out.Append(workText_);
    } else {
      out.Append(line->text);
    }
    const bool lineGoesOn = overLong && !split_;
    if (lineGoesOn && out.GetLength() - lengthOnEntry < kMaxStatementLength) {
      // The input rules judge a whole line: run on every piece they would drop, count and
      // join its pieces again and again (and the work would grow with the square of the line).
      continue;
    }
    if (lineGoesOn) {
      // A line longer than any statement may be: this part is delivered and the line goes
      // on in the next statement, so memory stays bounded and no text is lost. Only its
      // bytes are counted; the rules that judge a line (drops, soft breaks) see its last part.
      if (!cutting_) notices_ |= kNoticeLineCut;
      cutting_ = true;
      out.CountInputPairs(rules.input, state);
      complete = true;
      continue;
    }
    cutting_ = false;
    complete = out.CountCharacterPairs(rules.input, state);
  }

  const void* formFeedAt = std::memchr(out.GetText(), kFormFeed, static_cast<std::size_t>(out.GetLength()));
  if (formFeedAt) {
    const int formFeed = static_cast<int>(static_cast<const char*>(formFeedAt) - out.GetText());
    const int keep = formFeed == 0 ? 1 : formFeed;
    if (keep < out.GetLength()) {
      remainder_.AssignBytes(out.GetText() + keep, out.GetLength() - keep);
      remainderAt_ = 0;
      remainderPending_ = 1;
      out.Truncate(keep);
    }
  }

  if (!IsUtf16LE() && !IsUtf8()) {
    BlankByte(out, '\r');
    if (rules.plainTextOutput) BlankByte(out, '\xA0');
  }
  return complete;
}

const char* StatementFile::DirectiveText(const char* prefix, const char* keyword) {
  lineText_.Assign(prefix);
  lineText_.Append(keyword);
  return lineText_.GetText();
}

void StatementFile::ReplacePreTag(Statement& out, const char* directivePrefix) {
  if (out.ContainsNoCase("<pre>")) {
    out.Assign(DirectiveText(directivePrefix, "END_HTML"));
    pendingPieces_.InsertAt(pendingPosition_, DirectiveText(directivePrefix, "BEGIN_TABLE"));
    return;
  }
  if (out.ContainsNoCase("</pre>")) {
    out.Assign(DirectiveText(directivePrefix, "END_TABLE"));
    pendingPieces_.InsertAt(pendingPosition_, DirectiveText(directivePrefix, "BEGIN_HTML"));
  }
}

void StatementFile::QueueLineFeedFields(Statement& out) {
  int lineFeed = -1;
  if (!out.FindChar(0, '\n', &lineFeed, 1)) return;
  for (int pos = lineFeed + 1; out.GetNextField(&pos, '\n', lineText_);) {
    pendingPieces_.Append(lineText_.GetText());
  }
  out.Truncate(lineFeed);
}

bool StatementFile::ReadStatementWith(Statement& out, const StatementReadRules& rules,
                                      InputRuleState& state) {
  if (!ReadRawStatement(out, rules, state)) return false;
  out.DropTrailingCR();
  if (rules.htmlInput) ReplacePreTag(out, rules.directivePrefix);
  out.SetRawCopy(out);
  if (rules.expandTabs) out.ExpandTabs(rules.tabSize);
  return true;
}

bool StatementFile::ReadPreparedStatement(Statement& out, const StatementReadRules& rules,
                                          InputRuleState& state, FileControl& fc) {
  if (!ReadRawStatement(out, rules, state)) return false;
  out.StripTrailingCR(fc);
  if (rules.htmlInput) ReplacePreTag(out, rules.directivePrefix);
  return true;
}

void StatementFile::FinishStatement(Statement& out, const StatementReadRules& rules,
                                    FileControl& fc, PolicyContext& ctx) {
  out.SetRawCopy(out);
  if (rules.expandTabs) out.ExpandTabs(rules.tabSize);
  out.AfterRead(*this, fc, ctx);
}

bool WriteWrappedStatement(StatementFile* file, Statement& s, int noWrap, int utf8) {
  if (!file || !file->IsOpen()) return false;
  if (s.IsEmpty() || noWrap) return WriteLine(file, s.GetText());

  int indent = 0;
  while (s.CharAt(indent) == ' ') ++indent;
  TextString& segment = file->segmentText_;
  TextString& line = file->lineText_;
  const char* blanks = file->GetBlanks().GetText();
  const char* breakAfter = file->GetBreakAfter().GetText();
  const char* breakBefore = file->GetBreakBefore().GetText();
  int start = 0;
  while (start < s.GetLength()) {
    int next = -1;
    if (!s.GetWrappedSegment(file->GetWidth(), start, blanks, breakAfter, breakBefore, segment,
                             &next, utf8)) {
      break;
    }
    const char* text = segment.GetText();
    if (start > 0 && indent > 0) {
      line.SetEmpty();
      for (int i = 0; i < indent; ++i) line.AppendChar(' ');
      line.Append(segment);
      text = line.GetText();
    }
    if (!WriteLine(file, text)) return false;
    start = next;
  }
  return true;
}
