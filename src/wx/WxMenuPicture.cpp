#include "wx/WxMenuPicture.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include <wx/dialog.h>
#include <wx/menu.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

// The toolkit's calls that the framework does not wrap, looked up in the libraries the
// framework already loaded.
struct Toolkit {
  struct Area {
    int x, y, width, height;
  };
  void* (*widgetWindow)(void*) = nullptr;
  void (*allocation)(void*, Area*) = nullptr;
  void* (*topLevel)(void*) = nullptr;
  void* (*parent)(void*) = nullptr;
  int (*mapped)(void*) = nullptr;
  void (*deactivate)(void*) = nullptr;
  int (*origin)(void*, int*, int*) = nullptr;
  int (*width)(void*) = nullptr;
  int (*height)(void*) = nullptr;
  void* (*screen)() = nullptr;
  void* (*read)(void*, int, int, int, int) = nullptr;
  int (*save)(void*, const char*, const char*, void**, ...) = nullptr;
  void (*release)(void*) = nullptr;

  template <typename F>
  static bool Find(F& function, const char* name) {
    function = reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
    return function != nullptr;
  }
  bool Load() {
    return Find(widgetWindow, "gtk_widget_get_window") &&
           Find(allocation, "gtk_widget_get_allocation") &&
           Find(topLevel, "gtk_widget_get_toplevel") && Find(parent, "gtk_widget_get_parent") &&
           Find(mapped, "gtk_widget_get_mapped") &&
           Find(deactivate, "gtk_menu_shell_deactivate") &&
           Find(origin, "gdk_window_get_origin") && Find(width, "gdk_window_get_width") &&
           Find(height, "gdk_window_get_height") &&
           Find(screen, "gdk_get_default_root_window") &&
           Find(read, "gdk_pixbuf_get_from_window") && Find(save, "gdk_pixbuf_save") &&
           Find(release, "g_object_unref");
  }

  // The screen area of a widget's own top-level window; empty when it has none.
  Area TopLevelArea(void* widget) const {
    void* window = widgetWindow(topLevel(widget));
    Area area{0, 0, 0, 0};
    if (window == nullptr)
      return area;
    (void)origin(window, &area.x, &area.y);
    area.width = width(window);
    area.height = height(window);
    return area;
  }
  // The middle of a widget, in screen coordinates.
  wxPoint Middle(void* widget) const {
    Area inWindow{0, 0, 0, 0};
    allocation(widget, &inWindow);
    int x = 0, y = 0;
    if (void* window = widgetWindow(widget))
      (void)origin(window, &x, &y);
    return wxPoint(x + inWindow.x + inWindow.width / 2, y + inWindow.y + inWindow.height / 2);
  }
  // Saves what the screen shows in the area as a PNG picture.
  bool SaveScreen(const Area& area, const char* path) const {
    void* root = screen();
    if (root == nullptr)
      return false;
    const int left = std::max(area.x, 0), top = std::max(area.y, 0);
    const int right = std::min(area.x + area.width, width(root));
    const int bottom = std::min(area.y + area.height, height(root));
    if (right <= left || bottom <= top)
      return false;
    void* picture = read(root, left, top, right - left, bottom - top);
    if (picture == nullptr)
      return false;
    void* error = nullptr;
    const int saved = save(picture, path, "png", &error, nullptr);
    release(picture);
    return saved != 0 && error == nullptr;
  }
};

Toolkit::Area Union(const Toolkit::Area& a, const Toolkit::Area& b) {
  const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.width, b.x + b.width);
  const int bottom = std::max(a.y + a.height, b.y + b.height);
  return {left, top, right - left, bottom - top};
}

wxMenuBar* MenuBarOf(wxDialog* window) {
  for (wxWindow* child : window->GetChildren()) {
    if (auto* bar = dynamic_cast<wxMenuBar*>(child))
      return bar;
  }
  return nullptr;
}

// Waits on a timer for the menu bar to show, clicks the menu's title, waits for the menu to
// open, pictures it, closes it and waits for it to go.
// Owns itself from Start to the end.
class MenuPicture : public wxTimer {
 public:
  MenuPicture(const Toolkit& toolkit, wxDialog* window, wxMenu* menu, int position,
              const wxString& path, std::function<void()> done)
      : toolkit_(toolkit),
        window_(window),
        menu_(menu),
        position_(position),
        path_(path.utf8_str().data()),
        done_(std::move(done)) {}

  void Start() { wxTimer::Start(kTick); }

  void Notify() override {
    ++ticks_;
    if (!clicked_) {
      // The window may still be on its way to the screen: its menu bar is clicked once it
      // has been shown for a moment.
      if (toolkit_.mapped(menu_->m_owner) != 0)
        ++shownTicks_;
      if (shownTicks_ >= kPaintTicks) {
        Click();
      } else if (ticks_ >= kLongestWait) {
        std::fprintf(stderr, "kelvane: the menu bar did not show\n");
        Finish();
      }
      return;
    }
    const bool shown = toolkit_.mapped(menu_->m_menu) != 0;
    if (!pictured_) {
      // The window system maps and paints the menu in its own time: give it a moment.
      if (shown)
        ++shownTicks_;
      if (shownTicks_ >= kPaintTicks) {
        Picture();
      } else if (ticks_ >= kLongestWait) {
        std::fprintf(stderr, "kelvane: the menu at position %d did not open\n", position_);
        Finish();
      }
      return;
    }
    if (!shown || ticks_ >= kLongestWait)
      Finish();
  }

 private:
  static constexpr int kTick = 50;          // milliseconds
  static constexpr int kPaintTicks = 10;    // ticks a shown window has to paint
  static constexpr int kLongestWait = 100;  // ticks for each wait

  void Click() {
    clicked_ = true;
    ticks_ = 0;
    shownTicks_ = 0;
    wxUIActionSimulator pointer;
    (void)pointer.MouseMove(toolkit_.Middle(menu_->m_owner));
    (void)pointer.MouseClick();
  }

  void Picture() {
    pictured_ = true;
    ticks_ = 0;
    const Toolkit::Area area = Union(toolkit_.TopLevelArea(window_->GetHandle()),
                                     toolkit_.TopLevelArea(menu_->m_menu));
    if (!toolkit_.SaveScreen(area, path_.c_str()))
      std::fprintf(stderr, "kelvane: could not save the picture %s\n", path_.c_str());
    toolkit_.deactivate(toolkit_.parent(menu_->m_owner));
  }

  void Finish() {
    Stop();
    std::function<void()> done = std::move(done_);
    MenuPicture* self = this;
    window_->CallAfter([self, done] {
      delete self;
      done();
    });
  }

  Toolkit toolkit_;
  wxDialog* window_;
  wxMenu* menu_;
  int position_;
  std::string path_;
  std::function<void()> done_;
  int ticks_ = 0;
  int shownTicks_ = 0;
  bool clicked_ = false;
  bool pictured_ = false;
};

}  // namespace

void PictureOpenMenu(wxDialog* window, int position, const wxString& path,
                     std::function<void()> done) {
  Toolkit toolkit;
  wxMenuBar* bar = MenuBarOf(window);
  const bool onBar =
      bar != nullptr && position >= 0 && static_cast<std::size_t>(position) < bar->GetMenuCount();
  wxMenu* menu = onBar ? bar->GetMenu(static_cast<std::size_t>(position)) : nullptr;
  if (menu == nullptr || menu->m_owner == nullptr || !toolkit.Load()) {
    std::fprintf(stderr, "kelvane: no menu at position %d to picture\n", position);
    window->CallAfter(std::move(done));
    return;
  }
  (new MenuPicture(toolkit, window, menu, position, path, std::move(done)))->Start();
}
