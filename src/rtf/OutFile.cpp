#include "rtf/OutFile.h"

#include "policy/StatementReading.h"
#include "text/Statement.h"

OutFile::OutFile() = default;

OutFile::~OutFile() = default;

bool OutFile::ReadStatement(Statement& line, FileControl& fc, Context& ctx,
                            int applyTextCommands) {
  return ::ReadStatement(*this, line, fc, ctx, applyTextCommands);
}

int OutFile::Open(const char* name, FileControl& fc, int console) {
  return OpenFile(name, fc, 0, nullptr, console);
}

int OutFile::WriteOut(Statement& line, FileControl& fc, Context& ctx) {
  return WriteOutStatement(line, fc, ctx);
}

int OutFile::WriteLine(FileControl& /*fc*/, TextFile* /*file*/, const char* text, int noWrap) {
  lineWork_.Assign(text);
  return WriteWrappedStatement(this, lineWork_, noWrap, 0) ? 1 : 0;
}

int OutFile::WriteRaw(FileControl& fc, TextFile* file, const char* text) {
  (void)FlushBuffer(fc, file, 0);
  return ::WriteLine(this, text) ? 1 : 0;
}

int OutFile::FlushBuffer(FileControl& /*fc*/, TextFile* /*file*/, int /*ignored*/) {
  if (pending_.IsEmpty())
    return 1;
  lineWork_.Assign(pending_);
  pending_.SetEmpty();
  return WriteWrappedStatement(this, lineWork_, 0, 0) ? 1 : 0;
}
