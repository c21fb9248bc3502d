#include "text/JReplaceParser.h"

#include <cstring>

JReplaceParser::JReplaceParser() : JParser(2) {}

JPattern* JReplaceParser::AddPatternShort(int type, const char* pattern, const char* text,
                                          int caseSensitive) {
  if (type < kJReplace || type > kJDrop)
    return nullptr;
  return AddCompiled(type, pattern, text, caseSensitive, nullptr, nullptr);
}

JPattern* JReplaceParser::AddPattern(int type, const char* pattern, const char* text,
                                     int caseSensitive, JCallback callback, void* userData) {
  if (type != kJCallbackLong)
    return nullptr;
  return AddCompiled(type, pattern, text, caseSensitive, callback, userData);
}

int JReplaceParser::Scan(const char* text, const JScanOptions* options, int length) {
  if (patterns_.empty())
    return 0;
  output_.Clear();
  copiedUpTo_ = 0;
  JScanOptions own;
  own.startAtFirstWildcard = 1;
  if (options != nullptr) {
    own.restartAfterReplacement = options->restartAfterReplacement;
    own.stopAfterFirst = options->stopAfterFirst;
    own.startAtFirstWildcard = options->startAtFirstWildcard;
  }
  own.oneMatchPerPosition = 1;
  own.resetAfterReplacement = 1;
  return JParser::Scan(text, &own, length);
}

int JReplaceParser::ConsumeSpan(const JMatchState& state, bool throughEnd, const char* text) {
  // A span that reaches back into text already written out (after a restart, say) cannot be
  // replaced any more; taking it would duplicate output and could restart for ever.
  if (!state.matched || state.start < copiedUpTo_ || state.start > state.end ||
      state.end >= work_.GetLength())
    return kJNothingDone;
  const int upTo = throughEnd ? state.end + 1 : state.start;
  output_.Append(work_.GetText() + copiedUpTo_, upTo - copiedUpTo_);
  if (text != nullptr)
    output_.Append(text, -1);
  copiedUpTo_ = state.end + 1;
  position_ = state.end;
  return kJTextChanged;
}

int JReplaceParser::ReplaceMatch(JPattern& pattern, JMatchState& state) {
  return ConsumeSpan(state, false, pattern.type == kJDrop ? nullptr : pattern.GetText());
}

int JReplaceParser::OnMatch(JPattern& pattern, JMatchState& state) {
  return ConsumeSpan(state, pattern.type == kJInsertAfter, pattern.GetText());
}

int JReplaceParser::ReplaceAt(int position, int count, const char* text) {
  return ReplaceInPlace(position, count, text);
}

int JReplaceParser::ReplaceInPlace(int position, int count, const char* text) {
  if (position < copiedUpTo_ || position > work_.GetLength())
    return -1;
  output_.Append(work_.GetText() + copiedUpTo_, position - copiedUpTo_);
  output_.Append(text, -1);
  if (!work_.Replace(position, count, text))
    return -1;
  const int after = position + (text ? static_cast<int>(std::strlen(text)) : 0);
  copiedUpTo_ = after;
  // The scanner advances by one after the handler, so the scan resumes at the first
  // character after the replacement; a match that starts there is still found.
  position_ = after - 1;
  return after;
}

int JReplaceParser::ReplaceSpan(int position, int count, const char* text) {
  if (position < copiedUpTo_ || count < 0 || position > work_.GetLength() - count)
    return -1;
  output_.Append(work_.GetText() + copiedUpTo_, position - copiedUpTo_);
  if (text != nullptr)
    output_.Append(text, -1);
  copiedUpTo_ = position + count;
  // The scanner advances by one after the handler.
  position_ = copiedUpTo_ - 1;
  return copiedUpTo_;
}

int JReplaceParser::RemoveLiteral(const char* literal) {
  if (literal == nullptr || literal[0] == '\0')
    return 0;
  const int literalLength = static_cast<int>(std::strlen(literal));
  const char* text = work_.GetText();
  const int length = work_.GetLength();
  ParseBuffer kept;
  kept.Reserve(length);
  kept.Append(text, copiedUpTo_);
  int held = 0;
  int removed = 0;
  for (int i = copiedUpTo_; i < length; ++i) {
    const char c = text[i];
    if (c != literal[held] && held > 0) {
      // The held characters are the literal's beginning; only the first character is tried
      // again, as in the scanner.
      kept.Append(literal, held);
      held = 0;
    }
    if (c != literal[held]) {
      kept.Append(&c, 1);
      continue;
    }
    if (++held == literalLength) {
      ++removed;
      held = 0;
    }
  }
  kept.Append(literal, held);
  work_.Swap(kept);
  return removed;
}

void JReplaceParser::EndScan() {
  output_.Append(work_.GetText() + copiedUpTo_, work_.GetLength() - copiedUpTo_);
  result_.Swap(output_);
  output_.Clear();
  work_.Clear();
  copiedUpTo_ = 0;
}
