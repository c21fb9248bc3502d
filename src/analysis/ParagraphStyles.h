#pragma once

class FileControl;

// The paragraph kinds of the RTF writer and the style of each, which the writer, the tag
// handlers and the table code share.

// Paragraph kinds of the writer.
enum ParagraphKind : int {
  kParagraphNone = 0,
  kParagraphBody = 1,
  kParagraphHeadingText = 2,
  kParagraphBullet = 3,
  kParagraphQuotes = 4,
  kParagraphDefinition = 5,
  kParagraphHangingList = 6,
  kParagraphPreformatted = 7,
  kParagraphTable = 8,
  kParagraphShortLine = 9,
  kParagraphCentred = 10,
  kParagraphCustom = 11,
};

// The style index (0-24) of a paragraph kind; -1 for kParagraphNone. While the current pass
// works on a heading line of level 1-6 the index of Heading 1-6 instead.
int GetParagraphStyleCode(FileControl& fc, int kind);
