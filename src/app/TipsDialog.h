#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/DialogWindow.h"
#include "text/StringList.h"

class BaseDialog;

// Controls of the tips dialog (template 233).
enum TipsControl : int {
  kTipsClose = 2,
  kTipsArea = 1766,
  kTipsShowOnStartup = 1767,
  kTipsPrevious = 1768,
  kTipsNext = 1769,
};

// The tips in order, English only: tip n is entry n - 1; the last entry is the end marker,
// which carries no number.
std::span<const std::string_view> TipTexts();

// The painted area of the tips dialog: a grey band on the left, the title "Did you know..."
// over a grey rule, and the tip word-wrapped into at most ten lines.
class StartupTip : public Painter {
 public:
  static constexpr unsigned kBackgroundColour = 0xFFFFFF;
  static constexpr unsigned kBandColour = 0x848284;  // RGB 132, 130, 132
  static constexpr int kBandWidth = 50;
  static constexpr int kTitleHeight = 30;
  static constexpr int kRuleHeight = 3;
  static constexpr int kMaxLines = 10;
  static constexpr int kLineHeight = 16;
  static constexpr int kTextLeft = 55;
  static constexpr int kFirstLineTop = 38;
  static constexpr int kRightMargin = 5;
  // Widest line, in twips of the program's width estimate at size 16.
  static constexpr int kMaxLineTwips = 6999;
  static constexpr int kMeasureSize = 16;
  // The area's size in pixels: room for the widest line and the numbering suffix.
  static constexpr int kAreaWidth = 460;
  static constexpr int kAreaHeight = kFirstLineTop + kMaxLines * kLineHeight + 8;

  // The area it paints; window may be null (nothing is shown then).
  void Attach(DialogWindow* window, int controlId);
  // Wraps text into the lines (words the tenth line cannot take are dropped) and, unless
  // number equals count (the end marker) or all ten lines are used, ends the ninth line with
  // "(tip <number>/<count - 1>)". Then asks for a repaint.
  void SetTip(const char* text, int number, int count);

  int GetLineCount() const { return linesInUse_; }
  // Line i (0-9), with the blank that follows each word.
  const std::string& GetLine(int i) const { return lines_[static_cast<std::size_t>(i)]; }

  void Paint(int controlId, DrawingContext& dc) override;

 private:
  std::array<std::string, kMaxLines> lines_;
  int linesInUse_ = 0;
  DialogWindow* window_ = nullptr;
  int controlId_ = 0;
};

// The modal "Did you know..." dialog of an interactive start: pages through the tips with
// wrap-around and keeps the number of the tip shown last and the show-on-start-up switch in
// the main dialog's settings.
class TipsDialog : public DialogEventHandler {
 public:
  // mainDialog (borrowed) holds the settings; parent may be null.
  TipsDialog(BaseDialog& mainDialog, DialogWindow* parent);
  ~TipsDialog() override;
  // Owns a window that points back at it: never copied.
  TipsDialog(const TipsDialog&) = delete;
  TipsDialog& operator=(const TipsDialog&) = delete;

  // Makes the window, shows the tip after the one seen last and runs modally; the result.
  int RunModal();
  // The dialog texts of template 233 in the current tables, when the window exists.
  void SetLanguage(int code);

  // Next: one on, past the last entry back to 1. Previous: one back, at 0 or below to the
  // last entry.
  void ShowNextTip();
  void ShowPreviousTip();

  int GetTipNumber() const;
  const StartupTip& GetTip() const { return tip_; }
  DialogWindow* GetWindow() { return window_.get(); }

  bool OnDialogEvent(int controlId, DialogEvent event) override;

 private:
  void OnInitDialog();
  void ShowTip(int number);

  BaseDialog& main_;
  DialogWindow* parent_;
  std::unique_ptr<DialogWindow> window_;
  StartupTip tip_;
  StringList tips_;
  int showOnStartup_ = 1;
};
