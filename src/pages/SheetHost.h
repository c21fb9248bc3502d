#pragma once

class CorePolicy;
class DesktopPlatform;
class DialogWindow;
class PageServices;

// What the option sheets and their pages need of the main dialog that owns them. The main
// dialog implements it; the sheets never see the dialog's class.
class SheetHost {
 public:
  virtual ~SheetHost() = default;

  virtual DesktopPlatform& GetPlatform() = 0;
  // The window the sheets belong to; null while the main dialog has none.
  virtual DialogWindow* GetHostWindow() = 0;
  virtual int GetInterfaceLanguage() const = 0;
  // The "\Dialogs\DisplayToolTips" setting.
  virtual int AreToolTipsShown() const = 0;
  // The saved position of a sheet (by the sheet's template id); -1 for a coordinate never
  // saved.
  virtual void GetSheetPosition(int sheetId, int& left, int& top) const = 0;
  virtual void SetSheetPosition(int sheetId, int left, int top) = 0;
  // A page saved a policy the user changed: marks the passes it makes necessary.
  virtual void OnPolicyChanged(const CorePolicy& policy) = 0;
  // A page saved a value kept outside the policies; kind as the policy categories.
  virtual int NotePolicyChange(int kind) = 0;
  // A sheet saved: its modified flag becomes the main dialog's options-changed mark.
  virtual void SetOptionsChanged(int changed) = 0;
  // The program settings, lookups and recent lists the settings and configuration pages
  // edit; null where the host has none.
  virtual PageServices* GetPageServices() { return nullptr; }
};
