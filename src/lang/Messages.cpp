#include "lang/Messages.h"

#include "lang/InterfaceTexts.h"
#include "platform/DesktopPlatform.h"

void ShowMessageText(DesktopPlatform& platform, int textIndex, int captionIndex) {
  ShowMessageText(platform, GetMessageText(textIndex), captionIndex);
}

void ShowMessageText(DesktopPlatform& platform, const std::string& text, int captionIndex) {
  platform.ShowMessageBox(text, GetMessageText(captionIndex), MessageIcon::Warning,
                          MessageButtons::Ok);
}
