#pragma once
// An edit for whole numbers with up and down buttons.
#include "vcl/stdctrls.h"

class TSpinEdit : public TCustomEdit {
 public:
  VCL_CLASS_INFO
  explicit TSpinEdit(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  // The number in the text; text that is no number counts as MinValue. Writing clamps to
  // MinValue .. MaxValue (no range when both are equal), and so does leaving the edit.
  int Value();
  void SetValue(int NewValue);
  int MinValue() const { return minValue_; }
  void SetMinValue(int Value) { minValue_ = Value; }
  int MaxValue() const { return maxValue_; }
  void SetMaxValue(int Value) { maxValue_ = Value; }
  int Increment() const { return increment_; }
  void SetIncrement(int Value) { increment_ = Value; }

  // What the up and down buttons and arrow keys do.
  void UpClick();
  void DownClick();

 protected:
  void Paint() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  int CheckValue(int NewValue) const;

 private:
  enum TSpinPart { spNone, spUp, spDown };
  TSpinPart PartAt(int X, int Y);
  void Step();

  int minValue_ = 0;
  int maxValue_ = 0;
  int increment_ = 1;
  TSpinPart pressed_ = spNone;
};
