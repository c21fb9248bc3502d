#include "rtf/RTFFile.h"

#include "text/PathUtils.h"

RTFFile::RTFFile(Context& ctx) : ctx_(ctx) {}

RTFFile::~RTFFile() = default;

int RTFFile::MakeFileName(const TextString& inputName, FileControl& /*fc*/, TextString& out) {
  TextString folder;
  TextString baseName;
  TextString extension;
  SplitPath(inputName, folder, baseName, extension);
  if (baseName.IsEmpty())
    return 0;
  out = folder;
  out.Append(baseName);
  out.Append(".rtf");
  return 1;
}

int RTFFile::WriteLine(FileControl& fc, TextFile* file, const char* text, int flag) {
  return OutFile::WriteLine(fc, file, text, flag);
}

void RTFFile::Close() { CloseAll(); }

int RTFFile::EndDocument(FileControl& /*fc*/) { return 0; }
