#pragma once
// How top-level windows reach a screen. A display shows surfaces (one per top-level window) and
// delivers the user's input as a stream of events; it knows nothing of windows or messages.
// Two back ends: headless (surfaces stay in memory, input is injected) and SDL2 (a native window
// per surface). TheDisplay() picks one: headless when STARTLOGO_DISPLAY=headless or when neither
// DISPLAY nor WAYLAND_DISPLAY is set, else SDL2 (headless again if the X server of DISPLAY does not
// answer within a few seconds or SDL2 cannot start).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace host {

using SurfaceId = std::uint32_t;  // 0 is no surface

// The stock pointer shapes, numbered as the Win32 cursor ids so that USER hands them on as they are.
namespace pointer {
constexpr int kHidden = 0;
constexpr int kArrow = 32512, kIBeam = 32513, kWait = 32514, kCross = 32515;
constexpr int kSizeNWSE = 32642, kSizeNESW = 32643, kSizeWE = 32644, kSizeNS = 32645, kSizeAll = 32646;
constexpr int kNo = 32648, kHand = 32649, kAppStarting = 32650;
}  // namespace pointer

// 32-bit pixels 0x00RRGGBB, rows top-down; icons carry alpha in the top byte (0xAARRGGBB).
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The pointer as last set: a stock shape, drawn from `image` when that is not empty.
struct PointerShape {
  int stock = pointer::kArrow;
  Image image;
  int hotX = 0, hotY = 0;
};

struct SurfaceDesc {
  // Screen position and size in pixels. The position is that of the pixels shown: a frame the
  // desktop adds lies around them.
  int x = 0, y = 0, width = 1, height = 1;
  bool borderless = false;  // popups, drop-downs, menus: no frame from the desktop
  bool topmost = false;
  bool fullScreen = false;  // a topmost window covering the whole screen
  std::string title;
  // What the window manager is told. Every surface keeps the size it is given: the desktop may
  // not resize or maximise it.
  bool dialog = false;  // a dialog or message box
  SurfaceId owner = 0;  // kept in front of this surface (transient for it)
  bool modal = false;  // its owner takes no input while it shows
  bool minimizable = false;  // the desktop may offer to minimise it
};

// Key codes are the PC virtual-key numbers (letters 'A'-'Z', digits '0'-'9', 0x08 back space,
// 0x0D return, 0x10 shift, 0x11 control, 0x12 alt, 0x1B escape, 0x25-0x28 arrows, 0x70 F1 ...).
struct InputEvent {
  enum class Kind { MouseMove, MouseDown, MouseUp, Wheel, KeyDown, KeyUp, Close, FocusIn, FocusOut, Expose, Moved };
  enum Button { Left = 1, Middle = 2, Right = 3 };
  Kind kind = Kind::MouseMove;
  // The surface the event belongs to; 0 for injected events given in screen coordinates.
  SurfaceId surface = 0;
  int x = 0, y = 0;  // mouse position: in the surface, or on the screen when surface is 0; Moved: the
                     // surface's new place on the screen (the desktop or the user moved it)
  int button = 0;  // MouseDown/MouseUp
  int wheel = 0;  // Wheel: notches, positive away from the user
  int key = 0;  // KeyDown/KeyUp
  bool repeat = false;  // KeyDown held down
  bool elsewhere = false;  // FocusOut (injected): the keyboard went to another program
};

class Display {
 public:
  virtual ~Display() = default;
  virtual const char* Name() const = 0;

  virtual SurfaceId Open(const SurfaceDesc& desc) = 0;
  virtual void Close(SurfaceId id) = 0;
  virtual void Show(SurfaceId id, bool shown) = 0;
  virtual void Place(SurfaceId id, int x, int y, int width, int height) = 0;
  virtual void SetTitle(SurfaceId id, const std::string& title) = 0;
  // The window's icon in one or more sizes (0xAARRGGBB), largest first; none takes it away.
  virtual void SetIcons(SurfaceId id, const std::vector<Image>& icons) = 0;
  virtual void Raise(SurfaceId id) = 0;
  // The desktop's warning sound, if it has one.
  virtual void Beep() {}
  // Shows the pixels (stride in pixels); the size is the surface's.
  virtual void Present(SurfaceId id, int width, int height, const std::uint32_t* pixels, int stride) = 0;
  // What the screen shows of the surface, as last presented; empty for an unknown surface.
  virtual Image Capture(SurfaceId id) = 0;
  // How the surface was opened and the icons it was last given (tests); empty for an unknown one.
  virtual SurfaceDesc Described(SurfaceId id) = 0;
  virtual std::vector<Image> Icons(SurfaceId id) = 0;

  // The next input event, without waiting. Input is read on the thread that opened the first
  // surface; other threads get none.
  virtual bool Poll(InputEvent& event) = 0;
  // Puts an event into the input stream (tests; any thread).
  virtual void Inject(const InputEvent& event) = 0;
  // True when input only arrives by polling (a native event loop), so waiters must wake now and
  // then; false when every event comes through Inject, which calls the wake handler.
  virtual bool NeedsPolling() const = 0;
  // Called from Inject on any thread, so a thread waiting for input can wake up.
  void SetWakeHandler(std::function<void()> wake) { wake_ = std::move(wake); }

  virtual void SetMousePosition(int screenX, int screenY) = 0;
  // A stock shape (pointer::), or a custom 32-bit image with its hot spot;
  // pointer::kHidden with no image hides the pointer.
  virtual void SetPointer(int stockShape, const Image* custom, int hotX, int hotY) = 0;
  // The pointer as last set (tests).
  virtual PointerShape Pointer() const = 0;

  // Whether the desktop's keyboard focus is on one of the surfaces, asked after a FocusOut: false
  // once the user turned to another program.
  virtual bool KeyboardHere() { return true; }

  // The size of the desktop the windows appear on; false when there is none (headless).
  virtual bool DesktopSize(int& width, int& height) const {
    (void)width;
    (void)height;
    return false;
  }

 protected:
  void Wake() const {
    if (wake_) wake_();
  }

 private:
  std::function<void()> wake_;
};

// The process's display, chosen on first use.
Display& TheDisplay();

// True when windows show nowhere and nobody drives them: headless (no desktop, or forced by
// STARTLOGO_DISPLAY=headless) in a process whose tests do not give the display its input.
bool Unattended();

// Test programs, whose tests inject the user's input or answer the message boxes, say so once for
// the whole process; their windows then wait for that input on the headless display.
void SetHeadlessDriven(bool driven);

// Why windows show nowhere, naming the display looked for ("DISPLAY and WAYLAND_DISPLAY are not
// set", "STARTLOGO_DISPLAY=headless", "the desktop at DISPLAY=:5 could not be opened", "the
// desktop at DISPLAY=:5 did not answer within 3 s"); empty with a desktop.
std::string NoDesktopReason();

// The exit status of a program whose desktop went away under it, as of one that found none.
constexpr int kDesktopLostStatus = 2;

std::unique_ptr<Display> MakeHeadlessDisplay();
// Null when SDL2 cannot open the video subsystem.
std::unique_ptr<Display> MakeSdlDisplay();

}  // namespace host
