#pragma once

#include <string>
#include <vector>

class Menu;
struct DialogTemplate;

// What the application hangs on the controls and windows of a dialog.
enum class DialogEvent : int {
  Click,            // button, check box or radio clicked
  EditChange,       // the text of an edit changed
  KillFocus,        // a control lost the focus
  SelectionChange,  // a list or combo selection changed
  SelectionEnd,     // a combo's selection was confirmed
  CloseUp,          // a combo's drop-down list closed
  Scroll,           // a slider moved
  PageActivate,     // a property page became active
  PageDeactivate,   // a property page is about to lose the activation (may veto)
  Apply,            // the Apply button of a property sheet
  Ok,               // the OK button (id 1)
  Cancel,           // the Cancel button (id 2)
  CloseRequest,     // the window's own close request (title bar)
  Shown,            // the window was shown
  Hidden,           // the window was hidden
  MenuCommand,      // an item of the window's menu was chosen; the id is its command id
};

// Receives the events of one dialog. Returns false to veto what the event announces (a page
// deactivation, a close request); every other event ignores the answer.
class DialogEventHandler {
 public:
  virtual ~DialogEventHandler() = default;
  virtual bool OnDialogEvent(int controlId, DialogEvent event) = 0;
  // Files dropped on a window that accepts them: their full paths in drop order.
  virtual void OnFilesDropped(const std::vector<std::string>& paths) { (void)paths; }
};

// Position and size of a window or the desktop's work area, in pixels.
struct WindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// ---- Painting an owner-drawn area (ControlKind::Canvas) ----
// Pixels of the area, its origin top left; colours as 0xRRGGBB.
enum class FontFamily : int { Serif, Sans };
class DrawingContext {
 public:
  virtual ~DrawingContext() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void FillRect(int left, int top, int width, int height, unsigned colour) = 0;
  // The font of the texts that follow; pixelHeight is the height of a line of it.
  virtual void SetFont(FontFamily family, bool bold, int pixelHeight) = 0;
  // Width in pixels of text in the current font.
  virtual int TextExtent(const std::string& text) = 0;
  // Text in black in the current font, its top left at (x, y).
  virtual void DrawText(int x, int y, const std::string& text) = 0;
};
// Paints an area whenever the window system asks for it.
class Painter {
 public:
  virtual ~Painter() = default;
  virtual void Paint(int controlId, DrawingContext& dc) = 0;
};

// One window built from a dialog template: controls are addressed by their ids. An id that
// the window does not have makes a setter do nothing and a getter give an empty text, 0 or
// -1; nothing here fails loudly, as a dialog's logic addresses controls that a template of
// another product may leave out.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  virtual int GetTemplateId() const = 0;
  virtual void SetEventHandler(DialogEventHandler* handler) = 0;

  // ---- The window ----
  virtual void Show(bool show) = 0;
  virtual bool IsShown() const = 0;
  virtual void BringToTop() = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual std::string GetTitle() const = 0;
  virtual WindowRect GetRect() const = 0;
  // Moves the window keeping its size.
  virtual void Move(int left, int top) = 0;
  // Repaints now: a conversion runs on the interface thread and does not return to the
  // event loop until it ends.
  virtual void RepaintNow() = 0;
  // Runs the window modally until EndModal; returns EndModal's code.
  virtual int RunModal() = 0;
  virtual void EndModal(int code) = 0;
  // Files dropped on the window reach the handler's OnFilesDropped while accept is true.
  virtual void AcceptDroppedFiles(bool accept) = 0;

  // ---- Controls ----
  virtual bool HasControl(int id) const = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string GetText(int id) const = 0;
  virtual void SetCheck(int id, int state) = 0;
  virtual int GetCheck(int id) const = 0;
  virtual void Enable(int id, bool enable) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual bool IsControlShown(int id) const = 0;
  virtual void SetFocus(int id) = 0;
  // A multi-line edit: true when its text is taller than the control.
  virtual bool CanScrollVertically(int id) const = 0;
  // A multi-line edit: caret to the end of the text and the end scrolled into view.
  virtual void ScrollToEnd(int id) = 0;

  // ---- Lists and combo boxes ----
  virtual int GetItemCount(int id) const = 0;
  virtual std::string GetItemText(int id, int index) const = 0;
  virtual void ClearItems(int id) = 0;
  virtual void AddItem(int id, const std::string& text) = 0;
  // index clamped to 0 .. count.
  virtual void InsertItem(int id, int index, const std::string& text) = 0;
  virtual void DeleteItem(int id, int index) = 0;
  // -1: no selection.
  virtual int GetSelection(int id) const = 0;
  virtual void SetSelection(int id, int index) = 0;

  // ---- Sliders and numeric fields ----
  virtual void SetRange(int id, int low, int high) = 0;
  virtual void SetValue(int id, int value) = 0;
  virtual int GetValue(int id) const = 0;

  // ---- Tooltips ----
  // The window's tooltip control holds one tool per control that shows a tooltip. Until
  // CreateToolTipControl the window has no tooltip control and the tool operations do nothing.
  virtual void CreateToolTipControl() = 0;
  virtual bool HasToolTipControl() const = 0;
  // Adds a tool for control id whose text is supplied later: it shows nothing until
  // SetToolText. Nothing happens when the window lacks the control or the control has a tool.
  virtual void AddTool(int id) = 0;
  // The text of control id's tool; a control without a tool is left alone.
  virtual void SetToolText(int id, const std::string& text) = 0;
  virtual bool HasTool(int id) const = 0;
  // The text of control id's tool; empty without one.
  virtual std::string GetToolText(int id) const = 0;
  // Deletes control id's tool; nothing happens without one.
  virtual void RemoveTool(int id) = 0;
  // How many tools the tooltip control holds.
  virtual int ToolCount() const = 0;

  // ---- Owner-drawn areas ----
  // painter (borrowed; null: the area stays empty) paints the area, which takes the size
  // width x height pixels.
  virtual void SetPainter(int id, Painter* painter, int width, int height) = 0;
  // The area is painted again soon.
  virtual void Invalidate(int id) = 0;

  // ---- Menu bar ----
  // The window's menu bar, made empty on the first call.
  virtual Menu& CreateMenuBar() = 0;
  // The menu bar; null while the window has none.
  virtual Menu* GetMenuBar() = 0;
  // Shows the menu bar's changed entries now.
  virtual void RedrawMenuBar() = 0;

  // ---- Colours ----
  // Paints a control in a background colour with a text colour (both 0xRRGGBB): a colour
  // swatch. A window without colours ignores it.
  virtual void SetColours(int /*id*/, unsigned /*background*/, unsigned /*text*/) {}
};

// The two texts are equal with ASCII letters folded.
bool EqualsNoCase(const std::string& a, const std::string& b);
// Item i of a list whose text equals text with ASCII case folded; -1 when none.
int FindItemNoCase(const DialogWindow& window, int id, const std::string& text);
