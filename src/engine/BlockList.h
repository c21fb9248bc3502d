#pragma once

#include <memory>
#include <vector>

#include "text/FontSpec.h"
#include "text/TextString.h"

class FileControl;
class Statement;

// Block codes of open markup blocks.
inline constexpr int kBlockNone = 0;
inline constexpr int kBlockBody = 1;
inline constexpr int kBlockOrderedList = 2;
inline constexpr int kBlockUnorderedList = 3;
inline constexpr int kBlockDefinitionList = 4;
inline constexpr int kBlockListItem = 5;
inline constexpr int kBlockTable = 6;
inline constexpr int kBlockParagraph = 7;
inline constexpr int kBlockIndent = 8;
inline constexpr int kBlockHeading = 9;

// One open block of output markup.
struct BlockRecord {
  int code = kBlockNone;
  // The font of the block; its was-set flag tells whether the block carries one.
  FontSpec font;
  FontSpec secondFont;
  // When the block closes, its font passes to the enclosing block.
  int handOutward = 0;
  // The markup that opened the block (shown in mismatch messages).
  TextString tagText;
  TextString extraText;
};

// Where the end tag of a closed block is written: a line of the output document
// (rtf/OutFile implements it).
class BlockTagWriter {
 public:
  // Writes text as one line of the document; 1 when written.
  virtual int WriteBlockTag(FileControl& control, const char* text) = 0;

 protected:
  ~BlockTagWriter() = default;
};

// The stack of open output blocks, innermost last. The output side opens blocks (Push);
// end tags close the innermost one, reporting a mismatch but closing it all the same, so the
// stack never grows from mismatches.
class BlockList {
 public:
  BlockList() = default;
  BlockList(const BlockList&) = delete;
  BlockList& operator=(const BlockList&) = delete;
  ~BlockList();

  // Appends a block with that code and opening markup and returns it to be filled.
  BlockRecord& Push(int code, const TextString& tagText);
  // Closes the innermost block: writes endTag (after "</DIV>" when it closes the body of a
  // right-to-left encoding) as one line of file, sets the Context's end-tag-written flag and
  // removes the block. A mismatching end tag is reported ("PROGRAM ERROR: Requested end tag "
  // ... " doesn't match block tag :" ..., level 10) and the block closed anyway. An empty
  // list does nothing; a null file reports "PROGRAM ERROR: File pointer null in
  // BlockList::Add" and closes nothing. Result 1 when a block was closed and written.
  int Add(FileControl& control, Statement* line, BlockTagWriter* file, const TextString& endTag);
  // The same closing, after its own mismatch check and handing a hand-outward font to the
  // enclosing block. A null file reports "PROGRAM ERROR: File pointer null in
  // BlockList::Decrement".
  int Decrement(FileControl& control, Statement* line, BlockTagWriter* file,
                const TextString& endTag);
  // Frees every block; count 0.
  void Clear();

  int GetCount() const { return static_cast<int>(blocks_.size()); }
  // The block at i (0 outermost), or null outside 0 .. count - 1.
  BlockRecord* GetItem(int i) const;
  // The innermost block, or null when none is open.
  BlockRecord* pGetInnermost() const;

  // The "<" + indent open tag and "</" + indent close tag texts of the last classification.
  const TextString& GetIndentOpenText() const { return indentOpenText_; }
  const TextString& GetIndentCloseText() const { return indentCloseText_; }

 private:
  friend int ClassifyBlockTag(const FileControl& control, BlockList& blocks,
                              const TextString* openingText, const TextString* closingText);
  // Applies the dummy-list rewrite to endTag, classifies it and reports a mismatch with the
  // innermost block (which must exist). Returns endTag's block code.
  int CheckEndTag(FileControl& control, TextString& endTag);

  std::vector<std::unique_ptr<BlockRecord>> blocks_;
  TextString indentOpenText_;
  TextString indentCloseText_;
};

// The block code of a tag text: an opening text (null when none) is tested first ("<H" gives
// 9, then the order 5, 8, 7, 6, 4, 3, 2, 1), then a closing text (order 9, 5, 8, 7, 6, 4, 3,
// 2, 1). Tests are substring searches ignoring case; 0 when nothing matches. The indent forms
// come from control's indent markup and stay in the list's work texts.
int ClassifyBlockTag(const FileControl& control, BlockList& blocks, const TextString* openingText,
                     const TextString* closingText);
