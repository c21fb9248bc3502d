#include "wx/WxFileDrop.h"

#include <cstdlib>
#include <memory>

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/dnd.h>

#include "wx/WxMenuPicture.h"

namespace {

class FileDropTarget : public wxFileDropTarget {
 public:
  FileDropTarget(wxDialog* window, DroppedFilesHandler handler)
      : window_(window), handler_(std::move(handler)) {}

  bool OnDropFiles(wxCoord /*x*/, wxCoord /*y*/, const wxArrayString& names) override {
    std::vector<std::string> paths;
    for (const wxString& name : names) {
      const wxScopedCharBuffer utf8 = name.utf8_str();
      paths.emplace_back(utf8.data(), utf8.length());
    }
    // The drop is finished first; the handler runs from the event loop.
    DroppedFilesHandler handler = handler_;
    window_->CallAfter([handler, paths] { handler(paths); });
    return !paths.empty();
  }

 private:
  wxDialog* window_;
  DroppedFilesHandler handler_;
};

// The remaining steps of KELVANE_TEST_ACTIONS, one per line.
void RunTestSteps(wxDialog* window, std::shared_ptr<std::vector<wxString>> steps,
                  std::size_t next) {
  if (next >= steps->size())
    return;
  const wxArrayString parts = wxSplit((*steps)[next], '\t', '\0');
  const wxString verb = parts.empty() ? wxString() : parts[0];
  if (verb == "drop") {
    wxArrayString names;
    for (std::size_t i = 1; i < parts.size(); ++i)
      names.Add(parts[i]);
    if (auto* target = dynamic_cast<FileDropTarget*>(window->GetDropTarget()))
      (void)target->OnDropFiles(0, 0, names);
  } else if (verb == "click" && parts.size() > 1) {
    long id = 0;
    if (parts[1].ToLong(&id)) {
      if (auto* button = dynamic_cast<wxButton*>(window->FindWindow(static_cast<int>(id)))) {
        wxCommandEvent click(wxEVT_BUTTON, button->GetId());
        click.SetEventObject(button);
        button->GetEventHandler()->ProcessEvent(click);
      }
    }
  } else if (verb == "menu" && parts.size() > 2) {
    long position = -1;
    (void)parts[1].ToLong(&position);
    // The next step waits for the picture and the menu to close.
    PictureOpenMenu(window, static_cast<int>(position), parts[2],
                    [window, steps, next] { RunTestSteps(window, steps, next + 1); });
    return;
  } else if (verb == "close") {
    window->Close();
    return;
  }
  // Queued behind what this step queued (a drop's conversion), so it runs after it.
  window->CallAfter([window, steps, next] { RunTestSteps(window, steps, next + 1); });
}

}  // namespace

void SetFileDropHandler(wxDialog* window, DroppedFilesHandler handler) {
  if (!handler) {
    window->SetDropTarget(nullptr);
    return;
  }
  window->SetDropTarget(new FileDropTarget(window, std::move(handler)));
}

void StartTestActions(wxDialog* window) {
  const char* text = std::getenv("KELVANE_TEST_ACTIONS");
  if (text == nullptr || text[0] == '\0')
    return;
  auto steps = std::make_shared<std::vector<wxString>>();
  for (const wxString& line : wxSplit(wxString::FromUTF8(text), '\n', '\0')) {
    if (!line.empty())
      steps->push_back(line);
  }
  unsetenv("KELVANE_TEST_ACTIONS");
  window->CallAfter([window, steps] { RunTestSteps(window, steps, 0); });
}
