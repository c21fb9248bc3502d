#include "tags/TextCommandSet.h"

TextCommandSet::TextCommandSet() = default;

TextCommandSet::~TextCommandSet() { Clear(); }

void TextCommandSet::Clear() { count_ = 0; }

void TextCommandSet::CopyCommandsFrom(FileControl& /*fc*/, const TextCommandSet& other) {
  count_ += other.count_;
}

bool TextCommandSet::LoadFile(FileControl& /*fc*/, const TextString& fileName,
                              TextString& errorOut) {
  fileName_ = fileName;
  if (fileName.IsEmpty() || fileName.Compare("(none)", 0, 0) || fileName.Compare("none", 0, 0))
    return true;
  errorOut = "ERROR: Text command files are not supported yet - ";
  errorOut.Append(fileName);
  return false;
}

int TextCommandSet::Apply(FileControl& /*fc*/, PreHTML* /*line*/, Statement& /*statement*/,
                          const TextString& text, TextString& result) {
  result = text;
  return 1;
}
