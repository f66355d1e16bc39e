#pragma once
// The controls of the run time that these programs use. Where the class library has the control
// it is used with the run time's names and rules; the others paint themselves.
#include <memory>
#include <string>
#include <vector>

#include "vbrun/forms.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "vcl/timers.h"

namespace vb {

// A tooltip is the control's hint, shown.
void SetToolTipText(TControl* control, const std::string& text);

class CommandButton : public TButton {
 public:
  explicit CommandButton(TComponent* owner);
};

class Frame : public TGroupBox {
 public:
  explicit Frame(TComponent* owner);
};

class Label : public TLabel {
 public:
  explicit Label(TComponent* owner);
  TColor ForeColor() const { return Font()->Color(); }
  void SetForeColor(TColor value) { Font()->SetColor(value); }
};

// Value 0 (unchecked) or 1 (checked); setting a different Value runs Click as a user's click does.
class CheckBox : public TCheckBox {
 public:
  explicit CheckBox(TComponent* owner);
  int Value() const { return State() == cbChecked ? 1 : 0; }
  void SetValue(int value);
};

// A one-line text box: typed characters go in at the end, Backspace takes the last away.
// LostFocus is OnExit.
class TextBox : public TCustomControl {
 public:
  explicit TextBox(TComponent* owner);
  void WndProc(TMessage& Message) override;
  // 0 is no limit; typing stops at the limit, the program may set any text.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value) { maxLength_ = value; }
  // A locked box takes no typing.
  bool Locked() const { return locked_; }
  void SetLocked(bool value) { locked_ = value; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TColor ForeColor() const { return Font()->Color(); }
  void SetForeColor(TColor value) { Font()->SetColor(value); }

 protected:
  void Paint() override;

 private:
  int maxLength_ = 0;
  bool locked_ = false;
  TAlignment alignment_ = taLeftJustify;
};

// The files of one folder that match Pattern, in name order. Setting Path to a folder that does
// not exist is error 76 and leaves the list as it was. Setting ListIndex to another index runs
// Click, as a click on a name does.
class FileListBox : public TCustomControl {
 public:
  explicit FileListBox(TComponent* owner);
  void WndProc(TMessage& Message) override;

  // Without a closing "\" (except at a drive's root).
  const std::string& Path() const { return path_; }
  void SetPath(const std::string& value);
  const std::string& Pattern() const { return pattern_; }
  void SetPattern(const std::string& value);
  bool Hidden() const { return hidden_; }
  void SetHidden(bool value);
  bool System() const { return system_; }
  void SetSystem(bool value);
  void Refresh();

  int ListCount() const { return static_cast<int>(names_.size()); }
  // "" outside 0 .. ListCount - 1, as the run time answers.
  std::string List(int index) const;
  int ListIndex() const { return listIndex_; }
  // -1 clears the selection; other values outside the list are error 380.
  void SetListIndex(int value);
  // The selected name, "" when none.
  std::string FileName() const;

 protected:
  void Paint() override;

 private:
  void Fill(const std::string& path);
  int ItemHeight();

  std::string path_;
  std::string pattern_ = "*.*";
  bool hidden_ = false;
  bool system_ = false;
  std::vector<std::string> names_;
  int listIndex_ = -1;
  int topIndex_ = 0;
};

// Interval 0 .. 65535 ms (0 stops the ticks); any other value is error 380.
class Timer : public TTimer {
 public:
  explicit Timer(TComponent* owner);
  void SetIntervalMs(long value);
};

// A picture from a file, recognised as a bitmap by its contents whatever the file's name; an
// empty name gives no picture. Error 53 for a missing file, 481 for one that is no picture.
std::shared_ptr<TBitmap> LoadPicture(const std::string& fileName = "");

class Image : public TImage {
 public:
  explicit Image(TComponent* owner);
  // None empties the image.
  void SetPictureFrom(const std::shared_ptr<TBitmap>& picture);
  bool HasPicture() const { return Picture()->Graphic() != nullptr && !Picture()->Graphic()->Empty(); }
};

// A bordered box that shows a picture at its size and holds other controls.
class PictureBox : public TCustomControl {
 public:
  explicit PictureBox(TComponent* owner);
  ~PictureBox() override;
  TPicture* Picture() const { return picture_; }
  void SetPictureFrom(const std::shared_ptr<TBitmap>& picture);

 protected:
  void Paint() override;

 private:
  TPicture* picture_;
};

// A straight line between two points of its parent, in twips.
class Line : public TGraphicControl {
 public:
  explicit Line(TComponent* owner);
  void SetPoints(int x1, int y1, int x2, int y2);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor value);

 protected:
  void Paint() override;

 private:
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;  // pixels, relative to the control
  TColor borderColor_ = clWindowText;
};

// A horizontal scroll bar; the programs use it to show progress. Values outside Min .. Max are
// error 380.
class HScrollBar : public TCustomControl {
 public:
  explicit HScrollBar(TComponent* owner);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int min, int max);
  int Value() const { return value_; }
  void SetValue(int value);

 protected:
  void Paint() override;

 private:
  int min_ = 0, max_ = 32767, value_ = 0;
};

// The tab control: a row of tabs over one page per tab; controls go on Page(i). Clicking a tab
// shows its page.
class SSTab : public TCustomControl {
 public:
  explicit SSTab(TComponent* owner);
  void WndProc(TMessage& Message) override;
  void SetTabs(const std::vector<std::string>& captions);
  int Tabs() const { return static_cast<int>(pages_.size()); }
  std::string TabCaption(int index) const { return captions_.at(static_cast<size_t>(index)); }
  TWinControl* Page(int index) const { return pages_.at(static_cast<size_t>(index)); }
  int Tab() const { return tab_; }
  // Error 380 outside 0 .. Tabs - 1.
  void SetTab(int index);
  // The tab a point of the control lies on, -1 when none.
  int TabAt(int x, int y);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;

 private:
  void PlacePages();
  int TabWidth();

  std::vector<std::string> captions_;
  std::vector<TWinControl*> pages_;
  int tab_ = 0;
};

}  // namespace vb
