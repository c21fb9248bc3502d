#pragma once

#include "text/StatementFile.h"

class Context;
class FileControl;
class Statement;

// A statement file that the conversion reads its input through and writes its outputs
// through. Reading and opening are complete; writing a converted statement waits for the
// RTF writer (WriteOut says so by its result).
class OutFile : public StatementFile {
 public:
  OutFile();
  ~OutFile() override;

  // The next input statement into line (emptied first); 1 when one was delivered, 0 at the
  // end of the input. Directive lines are delivered like any other line until the
  // preprocessor exists.
  [[nodiscard]] int GetNextStatement(Statement& line, FileControl& fc, Context& ctx,
                                     int applyTextCommands);
  // Opens name for writing; 0 on failure.
  [[nodiscard]] virtual int Open(const char* name, FileControl& fc, int flag);
  // Writes one converted statement. Nothing is converted yet: writes nothing and returns 0.
  [[nodiscard]] virtual int WriteOut(Statement& line, FileControl& fc, Context& ctx);
  // One line of text into file (the program-wide WriteLine); 1 when written.
  virtual int WriteLine(FileControl& fc, TextFile* file, const char* text, int flag);
};
