#pragma once

#include "rtf/OutFile.h"
#include "text/TextString.h"

class Context;
class FileControl;

// The RTF output file of one conversion (also used as input reader and list file). Until the
// RTF writer exists it writes no RTF: EndDocument and the statement output report failure.
class RTFFile : public OutFile {
 public:
  explicit RTFFile(Context& ctx);
  RTFFile(const RTFFile&) = delete;  // owns an open file
  RTFFile& operator=(const RTFFile&) = delete;
  ~RTFFile() override;

  // The output name for the input name: its folder and base name with ".rtf". Non-zero
  // when made (an empty input name makes nothing).
  [[nodiscard]] int MakeFileName(const TextString& inputName, FileControl& fc, TextString& out);
  int WriteLine(FileControl& fc, TextFile* file, const char* text, int flag) override;
  // Closes the file (no output is buffered yet).
  void Close();
  // Ends no document yet: 0.
  [[nodiscard]] int EndDocument(FileControl& fc);
  Context& GetContext() const { return ctx_; }
  // Twips of one indent level of a paragraph.
  int GetIndentStep() const { return indentStep_; }

 private:
  Context& ctx_;
  int indentStep_ = 360;
};
