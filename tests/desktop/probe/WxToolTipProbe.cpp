// Runs the tooltip registration of the main dialog on the real window backend and prints,
// after each step, how many tools the window holds and what three controls carry. The test
// WxToolTips runs it under a virtual display.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/DialogTemplates.h"
#include "lang/InterfaceTexts.h"
#include "lang/ToolTips.h"
#include "platform/DesktopPlatform.h"
#include "platform/SettingsStore.h"
#include "wx/WxDesktop.h"

static void Report(const DialogWindow& window, const char* step) {
  std::printf("%s: tools %d; 1015 [%s]; 1078 [%s]; 1349 [%s]\n", step, window.ToolCount(),
              window.GetToolText(1015).c_str(), window.GetToolText(1078).c_str(),
              window.GetText(1349).c_str());
}

int main(int argc, char** argv) {
  MemorySettingsStore settings;
  return RunWithWxDesktop(
      argc, argv, settings, [](DesktopPlatform& platform, const std::vector<std::string>&) {
        SelectInterfaceLanguage(kLanguageEnglish);
        std::unique_ptr<DialogWindow> window =
            platform.CreateDialog(*FindDialogTemplate(102), nullptr);
        window->SetText(1349, "template");
        SetDialogToolTips(kToolTipAdd, window.get(), 102, true);
        Report(*window, "mode 1 without tooltip control");
        window->CreateToolTipControl();
        SetDialogToolTips(kToolTipSetTexts, window.get(), 102, false);
        Report(*window, "mode 2 while off");
        SetDialogToolTips(kToolTipAdd, window.get(), 102, true);
        Report(*window, "mode 1");
        SetDialogToolTips(kToolTipSetTexts, window.get(), 102, true);
        Report(*window, "mode 2");
        SetToolTipEntry(5001, "changed");
        SetDialogToolTips(kToolTipSetTexts, window.get(), 102, false);
        Report(*window, "mode 2 after a change");
        SetDialogToolTips(kToolTipRemove, window.get(), 102, true);
        Report(*window, "mode 3");
        SetDialogToolTips(kToolTipRemove, window.get(), 102, true);
        Report(*window, "mode 3 again");
        SetDialogToolTips(kToolTipSetTexts, window.get(), 102, true);
        Report(*window, "mode 2 on");
        return 0;
      });
}
