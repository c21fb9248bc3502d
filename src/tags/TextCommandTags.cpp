#include "tags/TextCommandTags.h"

#include "engine/Context.h"
#include "policy/FileControl.h"
#include "tags/InlineOutputTags.h"

bool TextCommandTags::TakesMetaTags(FileControl& fc) {
  const Context* ctx = fc.pGetContext();
  return ctx != nullptr && ctx->AnalysisPass != 0;
}

void TextCommandTags::AddMetaTag(FileControl& fc, const TextString& name,
                                 const TextString& text) {
  if (Context* ctx = fc.pGetContext())
    (void)ctx->MetaTags.Add(*ctx, name, text);
}

void TextCommandTags::ExpandTags(FileControl& fc, TextString& text) {
  if (Context* ctx = fc.pGetContext())
    ExpandInlineTags(fc, *ctx, line_, text, 0);
}
