#include "app/EngineRun.h"

#include "engine/Context.h"
#include "convert/ConvertDriver.h"
#include "policy/FileControl.h"

int RunEngineOnFile(FileControl& base, FileControl& user, FileControl& analysis,
                    FileControl& contents, FileControl& output, Context& ctx,
                    const TextString& inputPath, const TextString& inputSpec,
                    const TextString& outputName, int outputKind, RTFFile& writer,
                    StringList* clipboardLines) {
  for (FileControl* set : {&analysis, &contents, &output}) {
    set->ResetPolicies(0);
    set->CopyHandlerSettings(base);
  }
  ctx.BuildTextCommands(&base);
  return ConvertInputFile(user, base, analysis, contents, output, ctx, inputPath, inputSpec,
                          outputName, outputKind, writer, nullptr, clipboardLines, 0);
}
