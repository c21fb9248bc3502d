#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// A dialog described as data: its id, caption and one row per control. Both window backends
// build their windows from these rows, so no backend holds a layout of its own and tests see
// the same controls as the screen. Rows carry no coordinates: a backend lays them out (groups
// as boxed sections, labels beside their fields, buttons in a row).

enum class ControlKind : std::uint8_t {
  Label,
  Edit,
  MultiLineEdit,  // scrolls vertically; read-only unless kEditable
  Button,
  CheckBox,
  Radio,          // consecutive radios of one group form a radio group
  Group,          // a boxed section; the rows naming it in their group follow it
  ComboEdit,      // drop-down list with an edit field
  DropList,       // drop-down list without an edit field
  ListBox,
  Slider,
  Canvas,         // an area the application paints (DialogWindow::SetPainter)
  Link,           // a text that reports a click, shown as a link
};

// Flags of a control row.
enum ControlFlag : unsigned {
  kControlSorted = 1u << 0,
  kControlEditable = 1u << 1,
  kControlHidden = 1u << 2,
  kControlDefault = 1u << 3,   // the button Enter presses
  kControlNumber = 1u << 4,    // an edit that takes a number
  kControlButtonRow = 1u << 5, // a button of the dialog's closing row
  kControlDisabled = 1u << 6,  // made disabled (a note or a sample the user cannot change)
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  unsigned flags;
  std::string_view text;  // initial text (label, button or check box caption)
  int group;              // id of the Group row that holds it; 0 for none
};

struct DialogTemplate {
  int id;
  std::string_view caption;
  std::span<const ControlTemplate> controls;
  // Minimum client size in characters of the dialog font (0: as the controls need).
  int minWidthChars = 0;
  int minHeightLines = 0;
};
