#include "app/DialogOnItsOwn.h"

#include <cstdio>
#include <cstdlib>

#include "lang/InterfaceTexts.h"
#include "pages/EditorTemplates.h"
#include "pages/LinkDictEdit.h"
#include "platform/DesktopPlatform.h"
#include "policy/FileControl.h"
#include "text/PathUtils.h"

static bool Interactive() {
  const char* value = std::getenv("KELVANE_NONINTERACTIVE");
  return value == nullptr || value[0] == '\0';
}

// The folder stands in for the input folder and the editor resolves the bare name against
// it, as it does for the page.
int ShowLinkDictEditOnItsOwn(DesktopPlatform& platform, const std::string& dictionary) {
  TextString folder;
  TextString name;
  if (!dictionary.empty()) {
    TextString baseName;
    TextString extension;
    SplitPath(TextString(dictionary.c_str()), folder, baseName, extension);
    name.Assign(baseName);
    name.Append(extension);
  }
  FileControl policies;
  LinkDictEdit editor(platform);
  editor.Init(folder.GetText(), &policies, name);
  editor.Create(nullptr);
  DialogWindow& window = *editor.GetWindow();
  // The first definition selected shows the fields filled.
  if (window.GetItemCount(kLinkEditList) > 1) {
    window.SetSelection(kLinkEditList, 1);
    (void)editor.OnDialogEvent(kLinkEditList, DialogEvent::SelectionChange);
  }
  if (Interactive()) {
    (void)window.RunModal();
    return 0;
  }
  window.Show(true);
  return 0;
}

int ShowDialogOnItsOwn(DesktopPlatform& platform, int dialogId,
                       const std::vector<std::string>& args) {
  SelectInterfaceLanguage(kLanguageEnglish);
  if (dialogId == kDialogLinkDictEdit)
    return ShowLinkDictEditOnItsOwn(platform, args.empty() ? std::string() : args.front());
  std::fprintf(stderr, "kelvane: no dialog %d to show on its own\n", dialogId);
  return 1;
}
