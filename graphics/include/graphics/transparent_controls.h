#pragma once
// Six thin descendants of the standard controls through which the parent's background (a
// picture, typically) shows. Their work is invalidation: when one changes or moves, the parent's
// area beneath it is repainted first, and a transparent container repaints its transparent
// children. The windowed four are made with WS_EX_TRANSPARENT, so the USER layer paints what lies
// beneath them first and does not clip it out.
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"

// A TPGLabel's, TPGCheckBox's, TPGRadioButton's, TPGGroupBox's or TPGPanel's Transparent;
// True for a TPGBevel; False for anything else.
bool IsTransparentPGControl(TControl* Control);

class TPGLabel : public TLabel {
 public:
  VCL_CLASS_INFO
  explicit TPGLabel(TComponent* AOwner);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;

 private:
  bool reentry_ = false;
};

class TPGBevel : public TBevel {
 public:
  VCL_CLASS_INFO
  explicit TPGBevel(TComponent* AOwner);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;

 private:
  bool reentry_ = false;
};

// The part the four windowed ones share, over their standard control Base.
template <class Base>
class TPGTransparentWinControl : public Base {
 public:
  explicit TPGTransparentWinControl(TComponent* AOwner) : Base(AOwner) {}
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Invalidate() override;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // After the inherited invalidation: the group box and the panel repaint their transparent children.
  virtual void InvalidateTransparentChildren() {}

 private:
  bool transparent_ = true;
  bool reentry_ = false;
};

class TPGRadioButton : public TPGTransparentWinControl<TRadioButton> {
 public:
  VCL_CLASS_INFO
  using TPGTransparentWinControl::TPGTransparentWinControl;
};

class TPGCheckBox : public TPGTransparentWinControl<TCheckBox> {
 public:
  VCL_CLASS_INFO
  using TPGTransparentWinControl::TPGTransparentWinControl;
};

class TPGGroupBox : public TPGTransparentWinControl<TGroupBox> {
 public:
  VCL_CLASS_INFO
  using TPGTransparentWinControl::TPGTransparentWinControl;

 protected:
  void Paint() override;
  void InvalidateTransparentChildren() override;
};

class TPGPanel : public TPGTransparentWinControl<TPanel> {
 public:
  VCL_CLASS_INFO
  using TPGTransparentWinControl::TPGTransparentWinControl;

 protected:
  void Paint() override;
  void InvalidateTransparentChildren() override;
};
