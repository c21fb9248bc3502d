#pragma once

#include "text/Statement.h"
#include "text/TextString.h"

class FileControl;
class PreHTML;

// The text commands of a policy set: user rules applied to input lines. Until the text
// command interpreter exists the set holds no commands: a command file is refused and
// applying the set changes nothing.
class TextCommandSet {
 public:
  TextCommandSet();
  TextCommandSet(const TextCommandSet&) = delete;  // copied explicitly with CopyCommandsFrom
  TextCommandSet& operator=(const TextCommandSet&) = delete;
  ~TextCommandSet();

  void Clear();
  int GetCount() const { return count_; }
  // Appends a copy of every command of other.
  void CopyCommandsFrom(FileControl& fc, const TextCommandSet& other);
  // Fills the set from the "Text command file" fileName: "(none)", "none" or an empty name
  // means no file (true). Any file is refused for now: false with a message in errorOut.
  [[nodiscard]] bool LoadFile(FileControl& fc, const TextString& fileName, TextString& errorOut);
  // Applies every active command in order to text into result; 1.
  int Apply(FileControl& fc, PreHTML* line, Statement& statement, const TextString& text,
            TextString& result);
  const TextString& GetFileName() const { return fileName_; }

 private:
  int count_ = 0;
  TextString fileName_;
  Statement work_;
};
