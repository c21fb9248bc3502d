#pragma once

#include "policy/TextCommandSet.h"

class FileControl;
class PreHTML;
class TextString;

// The text commands' host in a conversion (policy/TextCommandSet.h): in the analysis pass a
// meta_tag_line command records its META tag in the Context's list, and a by_string
// replacement has its in-line tags expanded (ExpandInlineTags, messages on the line given,
// if any). A policy set without a Context records and expands nothing.
class TextCommandTags final : public TextCommandHost {
 public:
  explicit TextCommandTags(PreHTML* line = nullptr) : line_(line) {}

  bool TakesMetaTags(FileControl& fc) override;
  void AddMetaTag(FileControl& fc, const TextString& name, const TextString& text) override;
  void ExpandTags(FileControl& fc, TextString& text) override;

 private:
  PreHTML* line_;  // not owned; may be null
};
