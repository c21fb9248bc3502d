#include "analysis/HeadingDetection.h"

#include <cstdlib>

#include "analysis/LineAnalysis.h"
#include "analysis/PreHTML.h"
#include "analysis/TextViews.h"
#include "engine/Context.h"
#include "engine/Tracker.h"
#include "policy/FileControl.h"
#include "policy/PolicyCalculation.h"
#include "text/NameIndex.h"
#include "text/StatementTypes.h"
#include "text/TextString.h"

// The lines the chapters-too-close check looks past: blank, ignored and dropped lines. A
// line joined into the heading above it is dropped too, but its text lives on in the
// heading: it is the heading's own text, as the analysis pass, which joins nothing, sees it.
// Passing over it would withdraw every chapter whose title runs on to a second line.
static bool IsSpacingLine(const PreHTML& line) {
  const int type = line.GetLineType();
  if (type == kTypeNull) return Trimmed(View(line.GetRawCopy())).empty();
  return type == kTypeBlank || type == kTypeIgnored || type == kTypeHeaderNull;
}

// The line within its block (positions hold block and line), -1 when unset.
static int LineNumberOf(const PreHTML& line) { return line.GetStartPosition().GetColumn(); }

// Lines from earlier to later when both lie in one block; -1 otherwise.
static int LinesBetween(const TextPosition& earlier, const TextPosition& later) {
  if (!earlier.IsSet() || !later.IsSet() || earlier.GetLine() != later.GetLine()) return -1;
  return later.GetColumn() - earlier.GetColumn();
}

// Takes the contents list of the pass to its end: it does not start again in the file.
static void EndContentsList(FileControl::HeadingState& state, PreHTML& line) {
  state.inContentsList = 0;
  state.contentsListEnded = 1;
  line.SetFlag(kFlagContentsList, false);
}

int CheckSectionProgression(Context& ctx, FileControl& fc, PreHTML& line,
                            const SectionNumberFields& numbers, int contentsLike, int depth,
                            int report) {
  const int result = SectionProgression(ctx, fc, numbers, contentsLike, depth);
  if (report != 0 && ctx.OutputPass != 0) {
    TextString message;
    if (ComposeProgressionMessage(ctx, result, numbers, depth, message) != 0)
      line.ReportLineMessage(ctx, message.GetText(), 7);
  }
  if (result == kHeadingRepeatedNumber || result == kHeadingMissingNumber)
    return kHeadingNoObjection;
  return result;
}

// ---- Chapters too close ----

// The heading-number state as it was before the last chapter: each level's last number and
// contents mark go back to the ones before them, at the chapter's level; deeper levels lose
// theirs.
static void WithdrawLastChapter(Context& ctx, int depth) {
  for (int i = 0; i < kSectionLevels; ++i) {
    HeadingLevelStats& level = SectionLevelState(ctx, i);
    if (i <= depth) {
      level.lastNumber = level.previousNumber;
      level.contentsMark = level.previousContentsMark;
      continue;
    }
    level.lastNumber = -1;
    level.contentsMark = -1;
  }
}

int CheckChaptersTooClose(Context& ctx, FileControl& fc, PreHTML& line, int depth,
                          int contentsLike, int report, PreHTML* previous) {
  PreHTML* found = previous;
  int passed = 0;
  while (found != nullptr && IsSpacingLine(*found)) {
    // The ring holds only line objects, but the links are statement links.
    PreHTML* earlier = dynamic_cast<PreHTML*>(found->GetPrevious());
    if (earlier == nullptr) break;
    found = earlier;
    ++passed;
  }

  int result = kHeadingNoObjection;
  const bool chapterOrBullet =
      found != nullptr &&
      (found->GetLineType() == kTypeHeading1 || found->GetLineType() == kTypeNumberedBullet);
  if (contentsLike == 0 && chapterOrBullet && depth == 0 && passed <= 2 &&
      found->GetIndent() == line.GetIndent()) {
    result = kHeadingConsecutiveChapters;
    if (found->GetLineType() == kTypeHeading1) {
      WithdrawLastChapter(ctx, depth);
      found->SetLineType(fc.GetInt(PolicyId::ExpectNumberedBullets) != 0 ? kTypeNumberedBullet
                                                                         : kTypeUntyped);
      found->ReportLineMessage(
          ctx, "INFO: Ignoring \"heading\" (\"chapters\" too close (consecutive)) : ", 3);
    }
  } else if (ctx.AnalysisPass != 0 && depth == 0 &&
             fc.GetInt(PolicyId::MinChapterSize) > 0) {
    FileControl::HeadingState& state = fc.GetHeadingState();
    const int after = LinesBetween(state.lastLevel1Heading, line.GetStartPosition());
    if (LineNumberOf(line) > 15 && after >= 0 && after < fc.GetInt(PolicyId::MinChapterSize)) {
      result = kHeadingChaptersTooClose;
      state.lastLevel1Heading = line.GetStartPosition();
    }
  }

  if (report == 0) return result;
  if (result == kHeadingConsecutiveChapters)
    line.ReportLineMessage(
        ctx, "INFO: Ignoring \"heading\" (\"chapters\" too close (consectutive): ", 3);
  if (result == kHeadingChaptersTooClose)
    line.ReportLineMessage(ctx, "INFO: Ignoring \"heading\" (chapters too close) ", 10);
  return result;
}

// ---- Level check ----

// A line of the open contents list that ends in its page number is an entry of the list,
// however its number compares with numbered lines before the list ("(1)", "(2)"): it neither
// ends the list nor is refused for numbering back.
static bool IsOpenContentsListEntry(const FileControl::HeadingState& state, const PreHTML& line) {
  return state.inContentsList != 0 && state.contentsSearchClosed == 0 &&
         EndsInDotLeaderPageNumber(View(line));
}

// Rule 2 of the level check for a chapter after chapter last0 (set): the last of the three
// conditions that applies.
static int ChapterAfterChapter(FileControl& fc, int n0, int last0, int contentsLike) {
  const FileControl::HeadingState& state = fc.GetHeadingState();
  int result = kHeadingNoObjection;
  if (n0 == 1 && last0 > 1 && contentsLike != 0 && state.contentsSearchClosed == 0)
    result = kHeadingContentsEndsAtOne;
  if (n0 < last0 && contentsLike == 0 && state.headingAccepted != 0)
    result = kHeadingChapterTooSmall;
  if (n0 > last0 + 2) result = kHeadingChapterTooLarge;
  return result;
}

// The level check's own message for result; 0 when it has none.
static int ComposeLevelMessage(int result, const SectionNumberFields& numbers, int depth,
                               TextString& out, int& level) {
  out.Clear();
  switch (result) {
    case kHeadingContentsEndsAtOne:
      out.Append("INFO: End Contents at section 1");
      level = 3;
      return 1;
    case kHeadingContentsNotExpected:
      out.Append("INFO: End Contents (contents not expected)");
      level = 1;
      return 1;
    case kHeadingChapterTooSmall:
      out.Append("INFO: Ignoring \"heading\" (chapter number too small): ");
      out.AppendNumber('1', numbers[0], 0);
      level = 3;
      return 1;
    case kHeadingChapterTooLarge:
      out.Append("INFO: Ignoring \"heading\" (number too large): ");
      out.AppendNumber('1', numbers[0], 0);
      level = 1;
      return 1;
    case kHeadingFirstRejected:
      out.Append("INFO: Reject first header of ");
      for (int i = 0; i <= depth && i < kSectionLevels; ++i) {
        out.AppendNumber('1', numbers[static_cast<std::size_t>(i)], 0);
        out.AppendChar('.');
      }
      level = 3;
      return 1;
    default:
      return 0;
  }
}

int CheckHeadingLevel(Context& ctx, FileControl& fc, PreHTML& line,
                      const SectionNumberFields& numbers, int depth, int contentsLike,
                      int tooSmall, const SectionComparison& comparison, int report) {
  FileControl::HeadingState& state = fc.GetHeadingState();
  const bool searchOpen = state.contentsSearchClosed == 0;
  const int n0 = numbers[0];
  const int last0 = SectionLevelState(ctx, 0).lastNumber;

  int result = kHeadingNoObjection;
  const bool listEntry = IsOpenContentsListEntry(state, line);
  if (contentsLike != 0 && tooSmall != 0 && !listEntry &&
      (comparison.startsLow || (depth == 0 && n0 <= 2)))
    result = kHeadingContentsEndsNumberBack;
  if (result == kHeadingNoObjection && depth == 0) {
    if (last0 >= 0)
      result = ChapterAfterChapter(fc, n0, last0, contentsLike);
    else if (n0 > fc.GetInt(PolicyId::FirstSectionNumber))
      result = kHeadingFirstRejected;
    if (listEntry && result == kHeadingContentsEndsAtOne)
      result = kHeadingNoObjection;
  }
  // Once the contents list has ended, a line that is contents-like only because no heading
  // has followed the list so far continues the numbering: refusing it would refuse every later
  // heading too, as none could then be accepted.
  if (result == kHeadingNoObjection && contentsLike != 0 && ctx.AnalysisPass == 0 &&
      state.inContentsList == 0 && state.contentsListEnded == 0 && !comparison.startsLow)
    result = kHeadingFirstRejected;
  if (result == kHeadingNoObjection && comparison.noneSeen) {
    if (!comparison.startsLow) {
      result = kHeadingFirstRejected;
    } else if (comparison.notAboveLowest && searchOpen) {
      const bool expected = fc.GetInt(PolicyId::ExpectContentsList) != 0;
      result = expected && state.contentsListEnded == 0 ? kHeadingContentsBegins
                                                        : kHeadingContentsNotExpected;
    }
  }
  // The progression check reports its own results.
  if (result == kHeadingNoObjection) {
    const int progression = CheckSectionProgression(ctx, fc, line, numbers, contentsLike, depth,
                                                    listEntry ? 0 : report);
    return listEntry && progression == kHeadingChangeTooSmall ? kHeadingNoObjection : progression;
  }

  if (report != 0 && ctx.OutputPass != 0) {
    TextString message;
    int level = 0;
    if (ComposeLevelMessage(result, numbers, depth, message, level) != 0)
      line.ReportLineMessage(ctx, message.GetText(), level);
  }
  if (result == kHeadingContentsBegins) state.BeginContentsList(0);
  if (result == kHeadingContentsEndsNumberBack || result == kHeadingContentsEndsAtOne ||
      result == kHeadingContentsNotExpected)
    EndContentsList(state, line);
  return result;
}

// ---- The heading-candidate test ----

// The word at index (from 1) of text, words split at runs of blanks after the indent.
static void WordOfLine(const TextString& text, int index, TextString& out) {
  out.SetEmpty();
  const std::string_view view = View(text);
  std::size_t at = 0;
  for (int word = 1; at < view.size(); ++word) {
    while (at < view.size() && BlankBytesAt(view, at) > 0)
      at += BlankBytesAt(view, at);
    const std::size_t start = at;
    while (at < view.size() && BlankBytesAt(view, at) == 0)
      ++at;
    if (word == index) {
      if (at > start)
        out.AssignBytes(view.data() + start, static_cast<int>(at - start));
      return;
    }
  }
}

// A line that should become an underlined heading: its indent must agree with the level's
// underlined headings so far, or lie near the centre of the page.
static bool UnderlinedIndentAcceptable(Context& ctx, FileControl& fc, const PreHTML& line,
                                       int levelHint) {
  if (ctx.AnalysisPass != 0 || fc.GetInt(PolicyId::CheckIndentationForConsistency) == 0)
    return true;
  const bool centred = line.HasFlag(kFlagCentred);
  const int indent = line.GetIndent();
  TextStats& indents =
      ctx.Statistics.underlinedHeadings[static_cast<std::size_t>(levelHint)].indents;
  const TextStatsEntry* usual = indents.GetByRank(1);
  if (usual != nullptr && usual->frequency > 2) return centred || indent == usual->value;
  const int offCentre =
      std::abs((fc.GetInt(PolicyId::PageWidth) - line.GetLineLength() - indent) / 2);
  const bool explicitlyExpected = fc.IsSet(PolicyId::ExpectUnderlinedHeadings) != 0 &&
                                  fc.GetInt(PolicyId::ExpectUnderlinedHeadings) != 0;
  if (explicitlyExpected) return centred || offCentre < 8 || indent <= 6;
  return centred || offCentre < 6 || indent <= 4;
}

// "<lead>\"<number>\" in <last> at <indent> instead of <expected>"
static void ReportWrongIndent(Context& ctx, PreHTML& line, const char* lead,
                              const SectionNumberFields& numbers, int depth, int expected) {
  TextString message(lead);
  AppendNumberInLast(ctx, message, numbers, depth);
  message.Append(" at ");
  message.AppendNumber('1', line.GetIndent(), 0);
  message.Append(" instead of ");
  message.AppendNumber('1', expected, 0);
  line.ReportLineMessage(ctx, message.GetText(), 2);
}

// A line of nearly full width whose next line holds text set no further in than the line's
// title: the first line of a numbered paragraph, not a title wrapped onto a second line.
static bool RunsOnAsParagraph(const PreHTML& line, int wordIndex) {
  constexpr int kFullLine = 60;
  const auto* next = dynamic_cast<const PreHTML*>(line.GetNext());
  if (next == nullptr || line.GetLineLength() < kFullLine || next->GetLineLength() == 0)
    return false;
  const std::string_view text(line.GetText(), static_cast<std::size_t>(line.GetLength()));
  std::size_t at = static_cast<std::size_t>(line.GetIndent());
  for (int word = 1; word <= wordIndex && at < text.size(); ++word) {
    while (at < text.size() && text[at] != ' ')
      ++at;
    while (at < text.size() && text[at] == ' ')
      ++at;
  }
  return next->GetIndent() <= static_cast<int>(at);
}

// Every field of the number down to depth is a number: a hardware address row
// ("0D-1E-15-BA-DD-06") begins with a digit and ends in one, but letters in its other fields
// make it no section number.
static bool AllFieldsNumeric(const SectionNumberFields& numbers, int depth) {
  for (int i = 0; i <= depth; ++i)
    if (numbers[static_cast<std::size_t>(i)] == -1) return false;
  return true;
}

int PreHTML::TestHeadingCandidate(FileControl& fc, Context& ctx, TextString& word, int wordIndex,
                                  int levelHint, int breakBefore) {
  Tracker& tracker = *ctx.pGetTracker();
  FileControl::HeadingState& state = fc.GetHeadingState();
  const bool analysis = ctx.AnalysisPass != 0;
  const bool output = ctx.OutputPass != 0;
  const bool inContentsSection = tracker.inContents != 0;
  const bool searchOpen = state.contentsSearchClosed == 0;

  int contentsLike = inContentsSection || (state.inContentsList != 0 && searchOpen) ||
                     state.lastHeadingType == kTypeUntyped ||
                     IsContentsHeadingType(state.lastHeadingType);
  if (!analysis && !searchOpen) contentsLike = 0;
  char separator = '.';
  TrimSectionWord(ctx, fc, word, separator, 0);

  if (levelHint >= 0) {
    if (levelHint >= kSectionLevels) return 0;  // no such heading type
    if (!UnderlinedIndentAcceptable(ctx, fc, *this, levelHint)) {
      if (output) ReportLineMessage(ctx, "INFO: rejecting underlined heading (wrong indent)", 2);
      return 0;
    }
    if (tracker.Allows(Permission::UnderlinedHeadings) == 0) return 0;
    return kTypeUnderlinedHeading1 + levelHint;
  }

  // Numbered headings.
  if (tracker.Allows(Permission::NumberedHeadings) == 0) return 0;
  SectionNumberFields numbers;
  numbers.fill(-1);
  int depth = 0;
  int valid = 0;
  ParseSectionNumber(ctx, fc, word, separator, depth, valid, numbers);
  if (valid == 0 || !AllFieldsNumeric(numbers, depth)) return 0;
  for (int i = 0; i < kSectionLevels; ++i)
    SetSectionNumber(i, numbers[static_cast<std::size_t>(i)]);
  SetSectionDepth(depth);
  SetSectionSeparator(separator);
  const int recognised = fc.GetRecognisedHeadings().count;
  if (!analysis && recognised > 0 && depth >= recognised) return 0;

  const SectionComparison comparison = CompareSectionNumber(ctx, fc, numbers, depth);
  int result = kHeadingNoObjection;
  int tooSmall = 0;
  if (!inContentsSection) {
    result = CheckSectionProgression(ctx, fc, *this, numbers, contentsLike, depth, 0);
    tooSmall = result == kHeadingChangeTooSmall ? 1 : 0;
    if (tooSmall != 0 && IsOpenContentsListEntry(state, *this))
      result = kHeadingNoObjection;
  }
  for (int i = 0; i <= depth; ++i)
    if (numbers[static_cast<std::size_t>(i)] > kHighestSectionNumber) return 0;
  if (!inContentsSection && result != kHeadingChapterTooLarge && result != kHeadingChangeTooLarge)
    result = CheckChaptersTooClose(ctx, fc, *this, depth, contentsLike, 1,
                                   dynamic_cast<PreHTML*>(GetPrevious()));
  if (result == kHeadingNoObjection && !inContentsSection)
    result = CheckHeadingLevel(ctx, fc, *this, numbers, depth, contentsLike, tooSmall, comparison,
                               1);
  if (!IsAcceptingCheckResult(result)) {
    SetFlag(kFlagAmbiguous, true);
    return 0;
  }

  // Statistics of the numbers that passed.
  if (!inContentsSection) {
    for (int i = 0; i <= depth; ++i) {
      const int n = numbers[static_cast<std::size_t>(i)];
      HeadingLevelStats& level = SectionLevelState(ctx, i);
      if (n < 0) continue;
      if (level.lowestNumber < 0 || n < level.lowestNumber) level.lowestNumber = n;
      if (level.highestNumber < 0 || n > level.highestNumber) level.highestNumber = n;
    }
    const Statement* before = GetPrevious();
    if (depth == 0 && numbers[0] >= 2 && numbers[0] <= 5 && before != nullptr &&
        before->GetLineType() == kTypeBlank) {
      CalculationStatistics named(ctx.Statistics);
      ++named.levelZeroSections[static_cast<std::size_t>(numbers[0] - 2)];
    }
  }

  // Classification.
  const bool contentsLine = inContentsSection || (state.inContentsList != 0 && searchOpen);
  const bool checkIndent = fc.GetInt(PolicyId::CheckIndentationForConsistency) != 0;
  const FileControl::RecognisedHeadings& details = fc.GetRecognisedHeadings();
  int type = 0;
  if (analysis) {
    type = (contentsLine ? kTypeContentsHeading1 : kTypeHeading1) + depth;
  } else if (contentsLine) {
    // A level whose column was not learnt (too few entries) has no indent to keep to.
    const int expected = details.contents[depth].indent;
    if (checkIndent && expected >= 0 && std::abs(GetIndent() - expected) >= 2) {
      if (output)
        ReportWrongIndent(ctx, *this,
                          "INFO: Ignoring \"contents line\" at \"wrong\" indentation : ", numbers,
                          depth, expected);
      return 0;
    }
    type = kTypeContentsHeading1 + depth;
  } else {
    const int expected = details.headings[depth].indent;
    const int difference = checkIndent ? GetIndent() - expected : 0;
    const bool fits = depth > 0 ? difference >= -2 && difference <= 1
                                : difference == -1 || difference == 0;
    if (!fits) {
      if (output)
        ReportWrongIndent(ctx, *this, "INFO: Ignoring \"heading\" at \"wrong\" indentation : ",
                          numbers, depth, expected);
      return 0;
    }
    type = kTypeHeading1 + depth;
  }

  // A chapter inside running text is no heading. The analysis pass still moves the state on,
  // as the later passes will see the same line as text after a chapter of that number.
  const bool embedded = type == kTypeHeading1 && breakBefore == 0;
  // Nor is a numbered paragraph whose full first line runs on into a line set no further in
  // than its title ("1. MUST   This word ... the" over "   definition is ..."): every pass
  // moves the state on to its number, as the chapters after it follow on from it.
  const bool runOn = type == kTypeHeading1 && !embedded && RunsOnAsParagraph(*this, wordIndex);
  if (embedded && !analysis) {
    if (output) ReportLineMessage(ctx, "INFO: Ignoring \"heading\" embedded in text", 4);
    return 0;
  }
  if (IsContentsHeadingType(type)) {
    state.NoteContentsLine(GetStartPosition());
  } else {
    if (state.inContentsList != 0) EndContentsList(state, *this);
    state.headingAccepted = 1;
  }

  // The state moves on to this number.
  if (!analysis) {
    for (int i = 0; i <= depth; ++i) {
      HeadingLevelStats& level = SectionLevelState(ctx, i);
      level.previousContentsMark = level.contentsMark;
      level.contentsMark = IsContentsHeadingType(type) ? 1 : 0;
    }
  }
  if (!inContentsSection) {
    for (int i = 0; i < kSectionLevels; ++i) {
      HeadingLevelStats& level = SectionLevelState(ctx, i);
      if (i > depth) {
        level.previousNumber = -1;
        level.lastNumber = -1;
        continue;
      }
      level.previousNumber = level.lastNumber;
      level.lastNumber = numbers[static_cast<std::size_t>(i)];
    }
  }
  if (embedded || runOn) return 0;
  if (!analysis) return type;

  // What the analysis pass counts for the policy calculation.
  if (type == kTypeHeading1) state.lastLevel1Heading = GetStartPosition();
  WordOfLine(*this, wordIndex, word);
  TrimSectionWord(ctx, fc, word, separator, 1);
  if (wordIndex == 2 || wordIndex == 3) {
    HeadingLevelStats& level = IsContentsHeadingType(type)
                                   ? ctx.Statistics.contents[static_cast<std::size_t>(depth)]
                                   : SectionLevelState(ctx, depth);
    TextString firstWord;
    WordOfLine(*this, 1, firstWord);
    (void)level.secondWords.Add(HashName(firstWord.GetText()), firstWord.GetText());
    ++level.secondWordCount;
  }
  return type;
}
