#pragma once

#include "engine/SectionNumbers.h"

class Context;
class FileControl;
class PreHTML;

// The checks that decide whether a numbered line is a heading, a contents-list entry or
// neither (PreHTML::TestHeadingCandidate runs them). Each returns a HeadingCheckResult and,
// where report is set, explains a refusal on the line; most messages appear only in the
// output pass, as the earlier passes raise the same ones.

// The progression of line's numbers over the last numbers (SectionProgression). With report
// set, in the output pass, the result's message is reported on line at level 7. A repeated
// number (14) and a missing number (15) are reported but come back as 0.
int CheckSectionProgression(Context& ctx, FileControl& fc, PreHTML& line,
                            const SectionNumberFields& numbers, int contentsLike, int depth,
                            int report);

// Whether line, a chapter (depth 0), follows another chapter too closely. Going back from
// previous over blank, null and discarded lines (at most the lines that have a previous
// line): 4 when line is not contents-like and the line reached is a chapter (101) or a
// numbered bullet (211) at the same indent, at most two lines back; a chapter reached is
// withdrawn (the heading-number state goes back one step, the line becomes a numbered bullet
// when numbered bullets are expected, else untyped) and told so. Otherwise, in the analysis
// pass, 5 when line lies past line 15 and fewer than "Min chapter size" lines after the last
// level-1 heading, which line then becomes. 0 otherwise.
int CheckChaptersTooClose(Context& ctx, FileControl& fc, PreHTML& line, int depth,
                          int contentsLike, int report, PreHTML* previous);

// The level check: whether a number may begin or end a contents list, comes too early or
// too late, or else what the progression check says (with report). Results 6, 7, 9 and 10
// move the contents list on (6 starts it; 7, 9 and 10 end it and take line out of it).
int CheckHeadingLevel(Context& ctx, FileControl& fc, PreHTML& line,
                      const SectionNumberFields& numbers, int depth, int contentsLike,
                      int tooSmall, const SectionComparison& comparison, int report);
