#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pages/OptionPage.h"
#include "platform/DialogWindow.h"
#include "platform/PropertySheetWindow.h"

class FileControl;
class SheetHost;
struct DialogTemplate;

// Where a sheet opens when it has no saved position.
enum class SheetPlacement : int {
  BottomRight,  // right and bottom edges 30 pixels in from the desktop's
  BottomLeft,   // left at 30, bottom edge 30 pixels above the desktop's
  NearCentre,   // centred, then 100 pixels right and 50 down
};

// A page code that ShowPage maps to a page.
struct PageCodeTarget {
  int pageCode;
  const PageDefinition* page;
};

// A sheet as data. Pages are named by their PageDefinition; every list holds each page it names
// once.
struct SheetDefinition {
  // The sheet window's template (its closing row); its id names the sheet.
  const DialogTemplate* dialog;
  int captionTextId;
  // Construction order (also the order of SetLanguage's pages and of EnableTooltips).
  std::span<const PageDefinition* const> members;
  // The tabs in order; a member missing here is never shown.
  std::span<const PageDefinition* const> tabs;
  std::span<const PageDefinition* const> loadOrder;
  std::span<const PageDefinition* const> saveOrder;
  std::span<const PageCodeTarget> showPage;
  // The page ShowPage selects for any other code; null: the active page stays.
  const PageDefinition* defaultPage;
  SheetPlacement placement;
  // ResetChangeFlags also clears the modified flag.
  bool resetClearsModified;
};

// A property sheet of option pages: modeless, kept by the main dialog from its first opening
// on. The pages keep their values and change flags across closings; the window is made
// whenever the sheet is opened without one and goes away with OK or Cancel.
class BaseSheet : public DialogEventHandler {
 public:
  // caption: the caption the main dialog gives; the language text replaces it when the
  // window is made.
  // makePage: null makes every page a generic OptionPage.
  BaseSheet(SheetHost& host, const SheetDefinition& definition, std::string caption,
            PageFactory makePage = nullptr);
  ~BaseSheet() override;
  // Owns its pages, which point back to it.
  BaseSheet(const BaseSheet&) = delete;
  BaseSheet& operator=(const BaseSheet&) = delete;

  SheetHost& GetHost() { return host_; }
  const SheetDefinition& Definition() const { return definition_; }
  int GetSheetId() const;
  // The window's caption while it exists, else the constructor's.
  std::string GetCaption() const;

  // The set OK and Apply save into; null saves nothing.
  void SetTarget(FileControl* target) { target_ = target; }
  FileControl* GetTarget() const { return target_; }

  // Enables Apply when the window exists; a non-zero mark also sets the modified flag.
  void EnableApply(int markModified);
  int IsModified() const { return modified_; }
  int GetLastPageCode() const { return lastPageCode_; }
  void SetLastPageCode(int code) { lastPageCode_ = code; }

  // Every page's LoadPolicies in the sheet's load order; with a window every page's
  // UpdateControls, then the controls refreshed.
  void LoadPolicies(FileControl& policies);
  // Every page's SavePolicies in the sheet's save order, then the modified flag into the
  // main dialog's options-changed mark.
  void SavePolicies(FileControl& policies);
  // With a window: each tab's page texts and caption, the sheet's caption and buttons.
  void SetLanguage(int language);
  void EnableTooltips(int on);
  void ResetChangeFlags();
  // Makes the page of the code active (the sheet's map; other codes its default page).
  void ShowPage(int pageCode);

  // Brings an open window to the front, or makes, places and shows the window.
  void Open();
  bool HasWindow() const { return window_ != nullptr; }
  PropertySheetWindow* GetWindow() { return window_.get(); }
  // The page of a class name; null when the sheet has none.
  OptionPage* FindPage(std::string_view className);
  // The tab index of a page; -1 for a page without a tab.
  int TabOf(const PageDefinition* page) const;

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  OptionPage* PageOf(const PageDefinition* definition);
  void CreateWindow();
  // Stores the position and takes the window down; the object stays for the next opening.
  void CloseWindow();
  // The active page leaves the activation before OK or Apply; false when it refuses.
  bool ActivePageLeaves();
  void PlaceWindow();

  SheetHost& host_;
  const SheetDefinition& definition_;
  std::string caption_;
  std::vector<std::unique_ptr<OptionPage>> pages_;  // in member order
  FileControl* target_ = nullptr;
  int lastPageCode_ = 0;
  int modified_ = 0;
  std::unique_ptr<PropertySheetWindow> window_;
  // The window taken down last: it may still be delivering the event that closed it.
  std::unique_ptr<PropertySheetWindow> closedWindow_;
};
