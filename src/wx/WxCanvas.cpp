#include "wx/WxCanvas.h"

#include <wx/dcclient.h>
#include <wx/font.h>
#include <wx/hyperlink.h>
#include <wx/window.h>

#include "platform/DialogWindow.h"

namespace {

// Interface texts are UTF-8 on this desktop; a text that is not is shown byte for byte as
// Latin-1 rather than dropped.
wxString TextToWx(const std::string& text) {
  wxString converted = wxString::FromUTF8(text.data(), text.size());
  if (converted.empty() && !text.empty())
    converted = wxString(text.data(), wxConvISO8859_1, text.size());
  return converted;
}

wxColour ColourOf(unsigned rgb) {
  return wxColour(static_cast<unsigned char>((rgb >> 16) & 0xFF),
                  static_cast<unsigned char>((rgb >> 8) & 0xFF),
                  static_cast<unsigned char>(rgb & 0xFF));
}

// The painter's drawing operations on the paint handler's drawing context.
class PaintContext : public DrawingContext {
 public:
  PaintContext(wxDC& dc, wxSize size) : dc_(dc), size_(size) {
    dc_.SetTextForeground(*wxBLACK);
    dc_.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  }
  int Width() const override { return size_.x; }
  int Height() const override { return size_.y; }
  void FillRect(int left, int top, int width, int height, unsigned colour) override {
    dc_.SetPen(*wxTRANSPARENT_PEN);
    dc_.SetBrush(wxBrush(ColourOf(colour)));
    dc_.DrawRectangle(left, top, width, height);
  }
  void SetFont(FontFamily family, bool bold, int pixelHeight) override {
    wxFontInfo info(wxSize(0, pixelHeight));
    info.Family(family == FontFamily::Serif ? wxFONTFAMILY_ROMAN : wxFONTFAMILY_SWISS);
    if (bold)
      info.Bold();
    dc_.SetFont(wxFont(info));
  }
  int TextExtent(const std::string& text) override {
    return dc_.GetTextExtent(TextToWx(text)).x;
  }
  void DrawText(int x, int y, const std::string& text) override {
    dc_.DrawText(TextToWx(text), x, y);
  }

 private:
  wxDC& dc_;
  wxSize size_;
};

class Canvas : public wxWindow {
 public:
  Canvas(wxWindow* parent, int id) : wxWindow(parent, id) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &Canvas::OnPaint, this);
  }
  void SetPainter(Painter* painter, int width, int height) {
    painter_ = painter;
    SetMinSize(wxSize(width, height));
    SetSize(wxSize(width, height));
    Refresh();
  }

 private:
  void OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (painter_ == nullptr)
      return;
    PaintContext context(dc, GetClientSize());
    painter_->Paint(GetId(), context);
  }

  Painter* painter_ = nullptr;
};

}  // namespace

wxWindow* MakeCanvas(wxWindow* parent, int id) { return new Canvas(parent, id); }

void SetCanvasPainter(wxWindow* canvas, Painter* painter, int width, int height) {
  if (auto* area = dynamic_cast<Canvas*>(canvas))
    area->SetPainter(painter, width, height);
}

// A link needs a text: an empty one is shown as a blank.
static wxString LinkLabel(const std::string& text) {
  return TextToWx(text.empty() ? std::string(" ") : text);
}

wxWindow* MakeLink(wxWindow* parent, int id, const std::string& text) {
  const wxString label = LinkLabel(text);
  return new wxHyperlinkCtrl(parent, id, label, label, wxDefaultPosition, wxDefaultSize,
                             wxHL_ALIGN_LEFT | wxNO_BORDER);
}

void SetLinkText(wxHyperlinkCtrl* link, const std::string& text) {
  const wxString label = LinkLabel(text);
  link->SetLabel(label);
  link->SetURL(label);
}
