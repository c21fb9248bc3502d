#pragma once

class PolicyContext;
class JReplaceParser;
class TextString;

// Small deciders the analysis asks about one piece of text, and two extractors built on the
// pattern scanner. Text is bytes; letters and digits are ASCII.

// Cell-type codes of ClassifyCellValue.
enum CellValueCode : int {
  kCellText = 1,            // not a value
  kCellNumber = 2,
  kCellCurrency = 3,        // currency amount
  kCellDate = 4,            // two slashes
  kCellTime = 5,            // colons
  kCellRatio = 6,           // one slash: ratio or fraction
  kCellCurrencyRatio = 7,   // a currency sign inside and one slash
  kCellDottedNumber = 8,    // three dots, 7 to 17 characters
};

// What kind of value a table cell holds (a CellValueCode). Kinds 1 and 2 are strict: blanks,
// currency signs, brackets and signs are allowed around the number, and 95% of the characters
// must be good instead of 60%. An empty (or null) text gives defaultCode.
int ClassifyCellValue(int kind, int defaultCode, const char* text);

// The character classes of a text, counted in one walk.
struct CharacterClassCounts {
  int total = 0;          // characters
  int span = 0;           // from the first non-blank to the last non-blank
  int blanks = 0;
  int innerBlanks = 0;    // blanks between non-blanks
  int ruleChars = 0;      // * - = _ ~
  int symbols = 0;        // neither blank, digit nor letter (bytes 128 and up included)
  int letters = 0;
  int digits = 0;
  int changes = 0;        // blank after letter, letter after blank, letter after other letter
  int markupChars = 0;    // & . / : < > ?
  int doubledLetters = 0; // a letter equal to the character before it
};

CharacterClassCounts CountCharacterClasses(const char* text);

// True when the text is mostly symbols rather than words.
bool IsMostlySymbols(const char* text);

// True when the line is a horizontal rule of "-", "=" or "_": runs of one character separated
// by single blanks, at most one blank at each end, and a rule character after the first byte.
bool IsRuleLine(const char* line);

// The text between the first match of startPattern and the next match of endPattern (wildcard
// patterns of the scanner) into out. False, out emptied, when there is none. parser's patterns
// are replaced.
bool FindBetween(JReplaceParser& parser, const char* text, const char* startPattern,
                 const char* endPattern, TextString& out);
// The same with a replacing parser of the run.
bool FindBetween(PolicyContext& context, const char* text, const char* startPattern,
                 const char* endPattern, TextString& out);

// The value of the attribute name inside the markup tag (found without regard to case) into
// value. Quoted values lose their quotes; an unquoted value is its first word. An attribute
// that stands without a value is found with the rest of the tag as its value. With remove set,
// a found attribute with a value is removed from tag together with its value.
bool GetTagAttribute(PolicyContext& context, const char* name, TextString& tag, TextString& value,
                     bool remove);
