#include "engine/OutputMode.h"

#include "engine/Context.h"
#include "policy/FileControl.h"

void SetOutputModeFlags(FileControl& fc) {
  Context* ctx = fc.pGetContext();
  if (ctx == nullptr)
    return;
  ctx->OutputContentsMode = ContentsMode::None;
  ctx->ContentsOverride = 0;
  const bool external = fc.GetInt(PolicyId::GenerateExternalContentsFile) != 0;
  if (fc.GetInt(PolicyId::ExpectContentsList) != 0 &&
      fc.GetInt(PolicyId::UseAnyExistingContentsList) != 0) {
    ctx->OutputContentsMode = ContentsMode::UseExisting;
  } else if (fc.GetInt(PolicyId::AddContentsList) != 0 || external) {
    const bool split = fc.GetInt(PolicyId::SplitLevel) > 0 || fc.GetInt(PolicyId::SplitAtPageMarkers) != 0;
    if (external)
      ctx->OutputContentsMode = ContentsMode::External;
    else if (!split)
      ctx->OutputContentsMode = ContentsMode::SingleFile;
    else if (ctx->SplitFiles.GetCount() < 2)
      ctx->OutputContentsMode = ContentsMode::GeneratedSingleFile;
    else
      ctx->OutputContentsMode = ContentsMode::GeneratedSeveralFiles;
  }
  if (ctx->ContentsRequested == 0)
    return;
  ctx->ContentsOverride = 1;
  if (ctx->OutputContentsMode == ContentsMode::GeneratedSingleFile ||
      ctx->OutputContentsMode == ContentsMode::GeneratedSeveralFiles)
    ctx->OutputContentsMode = ContentsMode::None;
}
