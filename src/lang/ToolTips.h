#pragma once

#include <span>
#include <string_view>

class DialogWindow;
class TextFile;

// Tooltips of the dialogs and pages: which controls of each dialog show a tooltip, the text
// each control shows from the tooltip-text table, and the tooltip section of a language file.

// What SetDialogToolTips does to a dialog's registered controls; other values do nothing.
enum ToolTipMode : int {
  kToolTipAdd = 1,       // add the tools, without text
  kToolTipSetTexts = 2,  // set the texts of the tools (and the dialog's texts)
  kToolTipRemove = 3,    // delete the tools
};

// One control that dialog dialogId gives a tooltip, with the language-file id of its text.
// A control id has the same text in every dialog that registers it.
struct ToolTipRegistration {
  int dialogId;
  int controlId;
  int textId;
};
// Every dialog's controls, grouped by dialog id in the order they are processed.
std::span<const ToolTipRegistration> ToolTipRegistrations();

// One line of the tooltip section of a language file: a group's heading (id 0) or the entry
// with language-file id id.
struct ToolTipSectionLine {
  int id;
  std::string_view heading{};
};
// The section's lines in the order they are written.
std::span<const ToolTipSectionLine> ToolTipSection();

// What GetToolTipText gives for a control that no dialog registers.
inline constexpr const char* kNoToolTipText = "*** No Tool Tip text for this control ***";

// Applies mode to every control that dialogId registers, through the dialog window's tooltip
// control. Does nothing without a window. Mode 2 also puts the dialog's texts on the window
// (ApplyDialogTexts), and on a tooltip control that holds no tools it first adds them all,
// but only when the program setting "Show tool tips" (showToolTips) is on: a language switch
// must not bring back tooltips that the user turned off. Controls the window lacks are
// skipped; a dialog id without registrations changes no tool.
void SetDialogToolTips(int mode, DialogWindow* dialog, int dialogId, bool showToolTips);
// One control: mode 1 AddControlTool, 2 UpdateControlTool, 3 RemoveControlTool, else nothing.
void ApplyControlTool(int mode, DialogWindow* dialog, int controlId);
// A tool without text for the control, when the window has the control.
void AddControlTool(DialogWindow* dialog, int controlId);
// The control's tool takes GetToolTipText(controlId), when the window has its tooltip control
// and the control has a tool.
void UpdateControlTool(DialogWindow* dialog, int controlId);
// Deletes the control's tool, when the window has its tooltip control and the tool.
void RemoveControlTool(DialogWindow* dialog, int controlId);

// The tooltip text of a control in the current language, owned by the table and valid until
// the entry changes; kNoToolTipText for a control without one. Fills the table with English
// when it has never been filled.
const char* GetToolTipText(int controlId);
// Language-file setter: ids 5000-5549 set entry id - 5000 to the text as it is (no escapes
// decoded, no markers replaced); other ids are ignored.
void SetToolTipEntry(int id, std::string_view text);
// One entry line: the language-file id, one blank, " : " and the entry's text.
void WriteToolTipEntry(TextFile& file, int index);
// The tooltip section of a language file: per group "!", its heading, "!" and its entries.
void WriteToolTipSection(TextFile& file);
