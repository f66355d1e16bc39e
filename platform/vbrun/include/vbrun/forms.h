#pragma once
// Forms of the run time: Form_Load runs before the window first shows, Unload frees the form so
// the next use loads a fresh one, Show is modeless. Sizes and positions are in twips (15 to the
// pixel at 96 dpi). An AutoRedraw form keeps what Line draws in a picture of its own.
#include <functional>
#include <memory>

#include "vbrun/errors.h"
#include "vcl/forms.h"
#include "vcl/graphics_images.h"

namespace vb {

constexpr int kTwipsPerPixel = 15;
inline int Pixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline int Twips(int pixels) { return pixels * kTwipsPerPixel; }

// Places a control, in twips.
void Place(TControl* control, int left, int top, int width, int height);

// What a drawing routine reached by late binding needs: the size in twips and Line with a box
// filled in one colour ("Line (x1, y1)-(x2, y2), color, BF").
class Drawable {
 public:
  virtual ~Drawable() = default;
  virtual int HeightTwips() = 0;
  virtual int WidthTwips() = 0;
  virtual void LineBoxFilled(int x1, int y1, int x2, int y2, TColor color) = 0;
};

class Form : public TForm, public Drawable {
 public:
  explicit Form(TComponent* owner);
  ~Form() override;

  // Runs Form_Load once; a form already loaded is left alone.
  void Load();
  bool IsLoaded() const { return loaded_; }
  // Loads the form when needed, then shows it modeless (not when Form_Load ended the program).
  void ShowForm();
  // Hides the form and frees it once the current event is done; whoever holds it is told first.
  void Unload();
  std::function<void()> OnUnloaded;

  // The client area, in twips.
  void SetClientSizeTwips(int width, int height);

  // The outer size in twips, as Height and Width of a form are.
  int HeightTwips() override;
  int WidthTwips() override;
  void LineBoxFilled(int x1, int y1, int x2, int y2, TColor color) override;
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool value) { autoRedraw_ = value; }
  // What the form keeps of its drawing (AutoRedraw), for tests and screenshots.
  TBitmap* Image() { return image_.get(); }

 protected:
  virtual void Form_Load() {}
  virtual void Form_Resize() {}
  void PaintWindow(HDC DC) override;

 private:
  void KeepImageSize();

  bool loaded_ = false;
  bool unloading_ = false;
  bool autoRedraw_ = false;
  std::unique_ptr<TBitmap> image_;
};

// A form variable: using it loads the form (made by `make`), Unload forgets it, so the next use
// makes a fresh one with its controls as designed.
template <class T>
class FormInstance {
 public:
  explicit FormInstance(std::function<T*()> make) : make_(std::move(make)) {}
  T& operator*() { return *Get(); }
  T* operator->() { return Get(); }
  T* Get() {
    if (!form_) {
      form_ = make_();
      form_->OnUnloaded = [this] { form_ = nullptr; };
      form_->Load();
    }
    return form_;
  }
  bool Loaded() const { return form_ != nullptr; }
  T* IfLoaded() const { return form_; }

 private:
  std::function<T*()> make_;
  T* form_ = nullptr;
};

// The program's life: shows the start-up form (running its Form_Load), then handles messages
// until End or the last form is unloaded. An error that nothing caught shows the run time's
// message and ends the program. Returns the process's exit code.
int Run(Form& startup);
// The exit code Run returns when the program ends without an unhandled error (0 unless set): how
// a program tells whoever started it that its work failed.
void SetExitCode(int code);
int ExitCode();
// What Run installs for the event loop (the application object's exception handler), so that
// tests can drive forms as the program runs them.
void InstallErrorHandling();

}  // namespace vb
