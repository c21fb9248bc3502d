#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/DialogWindow.h"
#include "policy/LinkDictionary.h"
#include "text/TextString.h"

class DesktopPlatform;
class FileControl;

// The link dictionary editor (dialog 231): loads a dictionary file into a dictionary of its
// own, lists its definitions after a fixed "add" item, adds, updates and removes
// definitions and writes the file back on Save. Each list item past the first stands for
// one dictionary entry; the editor keeps that tie, so selecting, updating and removing act
// on the entry the item shows.
class LinkDictEdit : public DialogEventHandler {
 public:
  explicit LinkDictEdit(DesktopPlatform& platform);
  ~LinkDictEdit() override;
  // One window and one dictionary: never copied.
  LinkDictEdit(const LinkDictEdit&) = delete;
  LinkDictEdit& operator=(const LinkDictEdit&) = delete;

  // Sets the editor up for a dictionary file. inputDir is the main dialog's input folder
  // (ending in a separator), against which a relative name is resolved; the dictionary
  // reports its messages through policies (null: the editor starts disabled); name is the
  // file as the page gives it (empty: the editor starts disabled). Empties the texts and the
  // dictionary and clears the modified flag.
  void Init(const std::string& inputDir, FileControl* policies, const TextString& name);
  // Makes the window (owned by parent, may be null), starts the dialog and runs it modally.
  // Returns 1 after Save, 2 after Cancel.
  int DoModal(DialogWindow* parent);
  // Makes the window and starts the dialog without running it: loads the file, fills the
  // list and sets the controls.
  void Create(DialogWindow* parent);
  DialogWindow* GetWindow() { return window_.get(); }

  bool OnDialogEvent(int controlId, DialogEvent event) override;

  int IsReady() const { return ready_; }
  int IsModified() const { return modified_; }
  const LinkDictionary& GetDictionary() const { return dictionary_; }
  // The file that was loaded: the name resolved against the input folder.
  const TextString& GetLoadedPath() const { return loadedPath_; }

 private:
  void StartDialog();
  void EnableEditing(bool enable);
  void FillList();
  // The add step's test: no text empty and none equal to its prompt.
  static bool AreValidTexts(const TextString& match, const TextString& replacement,
                            const TextString& url);
  // The entry of list item item (1 and up); -1 for the add item or no tie.
  int EntryOfItem(int item) const;
  int ItemOfEntry(int entry) const;
  void UpdateControls();
  void OnSelectionChange();
  void OnAddLink();
  void OnUpdateLink();
  void OnRemoveLink();
  void OnSave();
  void TakeValues();
  void PutValues();
  void EmptyTexts();
  void SetStatus(const char* text);

  DesktopPlatform& platform_;
  std::unique_ptr<DialogWindow> window_;
  TextString replacement_;
  TextString url_;
  TextString match_;
  int listFilled_ = 0;
  std::string inputDir_;
  FileControl* policies_ = nullptr;
  TextString fileName_;    // as the page gave it
  TextString loadedPath_;  // resolved against the input folder
  LinkDictionary dictionary_;
  int modified_ = 0;
  int ready_ = 0;
  // The entry of each list item past the add item, by item order.
  std::vector<int> itemEntries_;
};
