#pragma once

#include <string>

class Painter;
class wxHyperlinkCtrl;
class wxWindow;

// The controls of template-built dialogs that the framework has no plain counterpart for.

// An owner-drawn area: a window that a Painter draws in its paint handler.
wxWindow* MakeCanvas(wxWindow* parent, int id);
// The painter (borrowed; null: the area stays empty) and the area's size in pixels. Nothing
// happens for a window that MakeCanvas did not make.
void SetCanvasPainter(wxWindow* canvas, Painter* painter, int width, int height);

// A link: a text that reports a click (as a hyperlink event) and opens nothing itself.
wxWindow* MakeLink(wxWindow* parent, int id, const std::string& text);
// The link's text, which is also the address it shows when the pointer rests on it.
void SetLinkText(wxHyperlinkCtrl* link, const std::string& text);
