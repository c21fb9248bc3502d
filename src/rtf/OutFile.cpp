#include "rtf/OutFile.h"

#include "text/Statement.h"

OutFile::OutFile() = default;

OutFile::~OutFile() = default;

int OutFile::GetNextStatement(Statement& line, FileControl& fc, Context& ctx,
                              int applyTextCommands) {
  line.SetEmpty();
  return ReadStatement(line, fc, ctx, applyTextCommands) ? 1 : 0;
}

int OutFile::Open(const char* name, FileControl& /*fc*/, int /*flag*/) {
  return OpenForWrite(name, 0, 0) ? 1 : 0;
}

int OutFile::WriteOut(Statement& /*line*/, FileControl& /*fc*/, Context& /*ctx*/) { return 0; }

int OutFile::WriteLine(FileControl& /*fc*/, TextFile* file, const char* text, int /*flag*/) {
  return ::WriteLine(file, text) ? 1 : 0;
}
