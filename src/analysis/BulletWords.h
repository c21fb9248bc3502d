#pragma once

#include "text/TextString.h"

class Context;
class FileControl;

// Takes the first word of a line that may start a list item (the bullet word) and classifies
// it. Returns the line type (text/StatementTypes.h): kTypeBullet for a bullet character,
// kTypeNumberedBullet for a number of one or two digits, kTypeLowerAlphaBullet or
// kTypeUpperAlphaBullet for a single letter, kTypeLowerRomanBullet or kTypeUpperRomanBullet for
// a roman numeral (i, v, x only), or kTypeUntyped (0) when the word is no bullet.
//
// allowNumbered, allowRoman and allowAlphabetic count only where the current pass's tracker
// permits the same kind too; with none left the result is 0 and bulletWord is empty. The
// in-line tags (between "Start tag delimiter" and "End tag delimiter") are ignored; the word
// ends at a blank and just after the first "</SUP>" (or "</SUB>"), else after every ")", "]"
// and "}"; "&nbsp;" counts as a blank. The word is kept in ctx.BulletWord and given in
// bulletWord without "<SUP>", "</SUP>", "<SUB>" and "</SUB>".
//
// A classified word has optional leading "(", "[" or "{", then ASCII letters or digits only,
// then a non-empty closing run of ")", ".", "/", "]" and "}". "(*)" (any case) and an entity
// ("&...;" ending at its first ";") are bullet characters, except "&lt;", "&gt;", "&amp;" and
// entities of accented letters, dashes, sections, copyright and cubes; an entity other than
// "&#149;" is reported ("INFO: Treating entity ... as unordered bullet", level 10). Under rule
// set 1 or 2 any one-character word is a bullet character, and on the output pass a word that
// stays unclassified is reported (level 7).
//
// On the output pass, with "List markup code" 0, a bullet word that follows leading markup is
// moved to the front of line ("INFO: Re-ordering tags on bullet line", level 1): the word, a
// blank and the rest of the line, runs of blanks collapsed.
[[nodiscard]] int TidyBulletLine(FileControl& fc, Context& ctx, TextString& line,
                                 int allowNumbered, int allowRoman, int allowAlphabetic,
                                 TextString& bulletWord);
