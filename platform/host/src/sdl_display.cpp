// The desktop back end: one SDL window per surface, drawn by SDL's software renderer so that
// what was presented can be read back exactly.
#include <SDL.h>

#include <map>
#include <mutex>
#include <thread>

#include "host/display.h"
#include "sdl_keys.h"
#include "x11_hints.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
struct ScopedLeakCheckOff {
  ScopedLeakCheckOff() { __lsan_disable(); }
  ~ScopedLeakCheckOff() { __lsan_enable(); }
};
#else
struct ScopedLeakCheckOff {
  ScopedLeakCheckOff() {}
};
#endif

namespace host {
namespace {

struct NativeWindow {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0, textureHeight = 0;
  Image shown;
  SurfaceDesc desc;
  std::vector<Image> icons;
};

SDL_SystemCursor SystemCursorOf(int shape) {
  switch (shape) {
    case pointer::kIBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case pointer::kWait: return SDL_SYSTEM_CURSOR_WAIT;
    case pointer::kCross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case pointer::kSizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case pointer::kSizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case pointer::kSizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case pointer::kSizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case pointer::kSizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case pointer::kNo: return SDL_SYSTEM_CURSOR_NO;
    case pointer::kHand: return SDL_SYSTEM_CURSOR_HAND;
    case pointer::kAppStarting: return SDL_SYSTEM_CURSOR_WAITARROW;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

class SdlDisplay final : public Display {
 public:
  SdlDisplay()
      : leakCheckOff_(), thread_(std::this_thread::get_id()), started_(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    if (started_) EndWhenDesktopLost();
  }
  ~SdlDisplay() override {
    for (auto& [id, w] : windows_) Destroy(w);
    if (cursor_) SDL_FreeCursor(cursor_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool Started() const { return started_; }

  const char* Name() const override { return "sdl2"; }

  SurfaceId Open(const SurfaceDesc& d) override {
    if (!OnThread()) return 0;
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (d.borderless) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    if (d.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    if (d.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    NativeWindow w;
    // SDL names the window's type from this hint when it makes the X window, which it may make
    // anew for the renderer.
    if (d.dialog && !d.borderless) SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_DIALOG");
    w.window = SDL_CreateWindow(d.title.c_str(), d.x, d.y, d.width, d.height, flags);
    if (w.window) w.renderer = SDL_CreateRenderer(w.window, -1, SDL_RENDERER_SOFTWARE);
    SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE, "_NET_WM_WINDOW_TYPE_NORMAL");
    if (!w.window) return 0;
    if (!w.renderer) {
      SDL_DestroyWindow(w.window);
      return 0;
    }
    w.desc = d;
    if (!d.borderless) {
      if (NativeWindow* owner = Find(d.owner)) SDL_SetWindowModalFor(w.window, owner->window);
      SetAllowedActions(w.window, d);
    }
    KeepWhereAsked(w.window);
    SurfaceId id = SDL_GetWindowID(w.window);
    windows_[id] = w;
    return id;
  }
  void Close(SurfaceId id) override {
    NativeWindow* w = Find(id);
    if (!w) return;
    Destroy(*w);
    windows_.erase(id);
  }
  void Show(SurfaceId id, bool shown) override {
    if (NativeWindow* w = Find(id)) shown ? SDL_ShowWindow(w->window) : SDL_HideWindow(w->window);
  }
  void Place(SurfaceId id, int x, int y, int width, int height) override {
    NativeWindow* w = Find(id);
    if (!w) return;
    if (!PlaceWhereAsked(w->window, x, y, width, height)) {
      SDL_SetWindowPosition(w->window, x, y);
      SDL_SetWindowSize(w->window, width, height);
    }
    w->desc.x = x;
    w->desc.y = y;
    w->desc.width = width;
    w->desc.height = height;
  }
  void SetTitle(SurfaceId id, const std::string& title) override {
    NativeWindow* w = Find(id);
    if (!w) return;
    SDL_SetWindowTitle(w->window, title.c_str());
    w->desc.title = title;
  }
  void SetIcons(SurfaceId id, const std::vector<Image>& icons) override {
    NativeWindow* w = Find(id);
    if (!w) return;
    w->icons = icons;
    if (!SetIconProperty(w->window, icons) && !icons.empty()) {
      const Image& big = icons.front();
      if (SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(big.pixels.data()), big.width,
                                                              big.height, 32, big.width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888)) {
        SDL_SetWindowIcon(w->window, s);
        SDL_FreeSurface(s);
      }
    }
  }
  void Raise(SurfaceId id) override {
    if (NativeWindow* w = Find(id)) SDL_RaiseWindow(w->window);
  }
  void Beep() override {
    if (!OnThread()) return;
    for (auto& [id, w] : windows_)
      if (RingBell(w.window)) return;
  }
  bool KeyboardHere() override { return !OnThread() || KeyboardFocusAmong(NativeWindows()); }
  bool DesktopSize(int& width, int& height) const override {
    SDL_DisplayMode mode;
    if (!started_ || SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
  }

  void Present(SurfaceId id, int width, int height, const std::uint32_t* pixels, int stride) override {
    NativeWindow* w = Find(id);
    if (!w || width <= 0 || height <= 0) return;
    if (!w->texture || w->textureWidth != width || w->textureHeight != height) {
      if (w->texture) SDL_DestroyTexture(w->texture);
      w->texture = SDL_CreateTexture(w->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
      w->textureWidth = width;
      w->textureHeight = height;
      if (!w->texture) return;
    }
    SDL_UpdateTexture(w->texture, nullptr, pixels, stride * 4);
    SDL_RenderClear(w->renderer);
    SDL_Rect all{0, 0, width, height};
    SDL_RenderCopy(w->renderer, w->texture, nullptr, &all);
    // Read back what the renderer drew, before presenting makes the back buffer undefined.
    w->shown.width = width;
    w->shown.height = height;
    w->shown.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    if (SDL_RenderReadPixels(w->renderer, &all, SDL_PIXELFORMAT_RGB888, w->shown.pixels.data(), width * 4) != 0)
      w->shown = Image{};
    SDL_RenderPresent(w->renderer);
  }
  Image Capture(SurfaceId id) override {
    NativeWindow* w = Find(id);
    return w ? w->shown : Image{};
  }
  SurfaceDesc Described(SurfaceId id) override {
    NativeWindow* w = Find(id);
    return w ? w->desc : SurfaceDesc{};
  }
  std::vector<Image> Icons(SurfaceId id) override {
    NativeWindow* w = Find(id);
    return w ? w->icons : std::vector<Image>{};
  }

  bool Poll(InputEvent& event) override {
    {
      std::lock_guard lock(injectedMutex_);
      if (!injected_.empty()) {
        event = injected_.front();
        injected_.erase(injected_.begin());
        return true;
      }
    }
    if (!OnThread()) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e))
      if (Translate(e, event)) return true;
    return false;
  }
  void Inject(const InputEvent& event) override {
    {
      std::lock_guard lock(injectedMutex_);
      injected_.push_back(event);
    }
    Wake();
  }
  bool NeedsPolling() const override { return true; }

  void SetMousePosition(int screenX, int screenY) override {
    if (OnThread()) SDL_WarpMouseGlobal(screenX, screenY);
  }
  void SetPointer(int stockShape, const Image* custom, int hotX, int hotY) override {
    if (!OnThread()) return;
    if (stockShape == 0 && !custom) {
      SDL_ShowCursor(SDL_DISABLE);
      pointer_ = PointerShape{pointer::kHidden, {}, 0, 0};
      return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Cursor* next = nullptr;
    if (custom) {
      SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(custom->pixels.data()),
                                                          custom->width, custom->height, 32, custom->width * 4,
                                                          SDL_PIXELFORMAT_ARGB8888);
      if (s) {
        next = SDL_CreateColorCursor(s, hotX, hotY);
        SDL_FreeSurface(s);
      }
    } else {
      next = SDL_CreateSystemCursor(SystemCursorOf(stockShape));
    }
    if (!next) return;
    pointer_ = PointerShape{stockShape, custom ? *custom : Image{}, hotX, hotY};
    SDL_SetCursor(next);
    if (cursor_) SDL_FreeCursor(cursor_);
    cursor_ = next;
  }
  PointerShape Pointer() const override { return pointer_; }

 private:
  bool OnThread() const { return std::this_thread::get_id() == thread_; }
  NativeWindow* Find(SurfaceId id) {
    if (!OnThread()) return nullptr;
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second;
  }
  std::vector<SDL_Window*> NativeWindows() const {
    std::vector<SDL_Window*> all;
    for (const auto& [id, w] : windows_) all.push_back(w.window);
    return all;
  }
  static void Destroy(NativeWindow& w) {
    if (w.texture) SDL_DestroyTexture(w.texture);
    if (w.renderer) SDL_DestroyRenderer(w.renderer);
    if (w.window) SDL_DestroyWindow(w.window);
  }

  // What the desktop did to a window: a move is reported; a size it was not given is taken back
  // (a window manager may grow a fixed-size window); a window that may not be minimised on its own
  // comes back unless its owner went with it.
  bool TranslateWindowEvent(const SDL_WindowEvent& e, InputEvent& out) {
    out.surface = e.windowID;
    NativeWindow* w = Find(e.windowID);
    switch (e.event) {
      case SDL_WINDOWEVENT_CLOSE: out.kind = InputEvent::Kind::Close; return true;
      case SDL_WINDOWEVENT_FOCUS_GAINED: out.kind = InputEvent::Kind::FocusIn; return true;
      case SDL_WINDOWEVENT_FOCUS_LOST: out.kind = InputEvent::Kind::FocusOut; return true;
      case SDL_WINDOWEVENT_EXPOSED: out.kind = InputEvent::Kind::Expose; return true;
      case SDL_WINDOWEVENT_MOVED:
        if (!w) return false;
        w->desc.x = out.x = e.data1;
        w->desc.y = out.y = e.data2;
        out.kind = InputEvent::Kind::Moved;
        return true;
      case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (w && (e.data1 != w->desc.width || e.data2 != w->desc.height))
          Place(e.windowID, w->desc.x, w->desc.y, w->desc.width, w->desc.height);
        return false;
      case SDL_WINDOWEVENT_MINIMIZED:
        if (w && !w->desc.minimizable && !OwnerMinimized(*w)) SDL_RestoreWindow(w->window);
        return false;
      default: return false;
    }
  }
  bool OwnerMinimized(const NativeWindow& w) {
    const NativeWindow* owner = Find(w.desc.owner);
    return owner && (SDL_GetWindowFlags(owner->window) & SDL_WINDOW_MINIMIZED);
  }

  bool Translate(const SDL_Event& e, InputEvent& out) {
    out = InputEvent{};
    switch (e.type) {
      case SDL_MOUSEMOTION:
        out.kind = InputEvent::Kind::MouseMove;
        out.surface = e.motion.windowID;
        out.x = e.motion.x;
        out.y = e.motion.y;
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_MIDDLE &&
            e.button.button != SDL_BUTTON_RIGHT)
          return false;
        out.kind = e.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
        out.surface = e.button.windowID;
        out.x = e.button.x;
        out.y = e.button.y;
        out.button = e.button.button == SDL_BUTTON_LEFT     ? InputEvent::Left
                     : e.button.button == SDL_BUTTON_MIDDLE ? InputEvent::Middle
                                                            : InputEvent::Right;
        return true;
      case SDL_MOUSEWHEEL:
        out.kind = InputEvent::Kind::Wheel;
        out.surface = e.wheel.windowID;
        SDL_GetMouseState(&out.x, &out.y);
        out.wheel = e.wheel.y;
        return out.wheel != 0;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        out.kind = e.type == SDL_KEYDOWN ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        out.surface = e.key.windowID;
        out.key = VirtualKeyOf(e.key.keysym.sym);
        out.repeat = e.key.repeat != 0;
        return out.key != 0;
      case SDL_WINDOWEVENT: return TranslateWindowEvent(e.window, out);
      default: return false;
    }
  }

  // SDL, D-Bus, the input method and the X libraries keep blocks until exit that no caller can
  // free; what the GUI thread allocates while SDL runs is left out of leak checking.
  ScopedLeakCheckOff leakCheckOff_;
  std::thread::id thread_;
  bool started_;
  std::map<SurfaceId, NativeWindow> windows_;
  SDL_Cursor* cursor_ = nullptr;
  PointerShape pointer_;
  std::mutex injectedMutex_;
  std::vector<InputEvent> injected_;
};

}  // namespace

std::unique_ptr<Display> MakeSdlDisplay() {
  // Only drivers that show windows on a desktop: without one SDL would start an offscreen driver
  // whose windows nobody sees.
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A click that activates a window acts as well, as the default mouse activation does; SDL would
  // drop a press that comes within moments of the focus.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // SIGINT and SIGTERM end the program as they end any other; SDL would turn them into a quit
  // event that no window asks for, and a kill or the end of the session would go unheard.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  auto display = std::make_unique<SdlDisplay>();
  if (!display->Started()) return nullptr;
  return display;
}

}  // namespace host
