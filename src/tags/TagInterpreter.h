#pragma once

#include "analysis/TagRecognition.h"
#include "text/TextString.h"

class Context;
class FileControl;
class PreHTML;

// The in-line tag interpreter: RecogniseTag (analysis/TagRecognition.h) splits a tag into its
// keyword and normalised arguments (analysis/TagServices.h); ExecuteTag runs the keyword's
// handler, which gives the text that takes the tag's place in the output or leaves the tag to
// the caller's fallback.

// Call modes: every caller passes one; a few handlers act differently by it.
enum TagCallMode : int {
  kTagModeLine = 0,         // a tag in a line of text: LINERULE writes its rule
  kTagModeLeaveInPlace = 1, // LINERULE and IMAGE are acknowledged and left where they stand
  kTagModeKeepText = 5,     // CT and OT give their delimiter, TEXT its words, VERSION the
                            // version, also in the output pass
  kTagModeTitle = 6,        // the document title: VERSION gives the version
  kTagModeHeadingText = 8,  // the text of a heading: SUPER and SUB give their bare text
};

// The document a tag is executed for, as the tag handlers use it; the RTF writer implements it
// (rtf/RTFFile).
class TagOutput {
 public:
  // The kind of the paragraph being written (a ParagraphKind).
  virtual int GetStyleCode() const = 0;
  // Writes the contents field of levels 1 to level straight into the document when write is
  // 1 (WriteTocField); 1 when written.
  virtual int WriteContentsField(FileControl& fc, int level, int write) = 0;

 protected:
  ~TagOutput() = default;
};

// Handler results: a handler dealt with the tag, or left it to the caller's fallback.
inline constexpr int kTagNotHandled = 0;
inline constexpr int kTagHandled = 1;

// The common arguments of every handler. A message "on the line" goes to line when there is
// one (ReportTagMessage). replace is the out flag that asks the caller to put output in the
// tag's place; the caller sets it and output before the call (usually 0 and one blank).
struct TagCall {
  int mode;
  PreHTML* line;                // the line the tag stands in; may be null
  const TextString& tagText;    // the whole tag as found
  const TextString& keyword;    // as written in the tag
  const TextString& arguments;  // normalised (or the raw rest for HTML and HTML_COMMENT)
  TagOutput* outputFile;        // null when the tag is executed outside the statement output
  FileControl& fc;
  Context& ctx;
  int& replace;
  TextString& output;
};

// Runs the handler of keyword (case ignored) with the common arguments and returns its result
// (kTagNotHandled when no handler takes the keyword). replace and output are the handler's
// out values; see TagCall.
int ExecuteTag(int mode, PreHTML* line, const TextString& tagText, const TextString& keyword,
               const TextString& arguments, TagOutput* outputFile, FileControl& fc, Context& ctx,
               int& replace, TextString& output);
