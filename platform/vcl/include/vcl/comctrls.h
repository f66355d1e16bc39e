#pragma once
// Common controls painted in the classic look: the page control with its tab sheets, the status
// bar and the progress bar.
#include <functional>
#include <string>
#include <vector>

#include "vcl/controls.h"

class TImageList;
class TPageControl;

enum TTabPosition { tpTop, tpBottom };
extern const TTypeInfo TypeInfo_TTabPosition;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
extern const TTypeInfo TypeInfo_TTabChangingEvent;

// One page: its caption is the tab's text. Made a child of a page control, it joins its pages.
class TTabSheet : public TWinControl {
 public:
  VCL_CLASS_INFO
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  void SetParent(TWinControl* AParent) override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* Value);
  int PageIndex() const;
  void SetPageIndex(int Value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int Value);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool Value);

  void WndProc(TMessage& Message) override;

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  int imageIndex_ = -1;
  bool tabVisible_ = true;
};

class TPageControl : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int Index) const { return pages_.at(static_cast<size_t>(Index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows the page without asking OnChanging (as a program's own choice).
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The next (or previous) page with a visible tab, wrapping around; asks OnChanging first.
  void SelectNextPage(bool GoForward);

  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition Value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool Value) { hotTrack_ = Value; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* Value);

  // The tab's rectangle in client coordinates (empty for a hidden tab), the tab at a point (-1 for
  // none), and the area the pages fill.
  TRect TabRect(int Index);
  int IndexOfTabAt(int X, int Y);
  TRect DisplayRect();
  // The tab under the mouse while hot tracking, or -1.
  int HotTab() const { return hotTab_; }

  void WndProc(TMessage& Message) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void MovePage(TTabSheet* Page, int Index);
  // Asks OnChanging, shows the page, fires OnChange; false when OnChanging refused.
  bool ChangeActivePage(TTabSheet* Page);
  void ShowPage(TTabSheet* Page);
  int TabHeight();
  void PaintTab(int Index, const TRect& Rect, bool Selected);

  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  TTabPosition tabPosition_ = tpTop;
  bool hotTrack_ = false;
  int hotTab_ = -1;
  TImageList* images_ = nullptr;
};

// ---- Status bar -------------------------------------------------------------------------------
class TStatusPanel {
 public:
  std::string Text;
  int Width = 50;
};

class TStatusBar : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TStatusBar(TComponent* AOwner);

  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool Value);
  const std::string& SimpleText() const { return simpleText_; }
  // Shown at once: a status line reports work while it runs.
  void SetSimpleText(const std::string& Value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool Value);

  // The panels shown when SimplePanel is off; the last one reaches to the right end.
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel& Panels(int Index) { return panels_.at(static_cast<size_t>(Index)); }
  TStatusPanel& AddPanel();
  void SetPanelText(int Index, const std::string& Value);
  // The panel rectangles in client coordinates (one for the simple panel).
  std::vector<TRect> PanelRects();

  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  bool GripShown();
  void RepaintNow();

  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  std::vector<TStatusPanel> panels_;
};

// ---- Progress bar -----------------------------------------------------------------------------
class TProgressBar : public TCustomControl {
 public:
  VCL_CLASS_INFO
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  int Position() const { return position_; }
  // Clamped to Min..Max. The bar is drawn and shown at once, so work that runs without handling
  // messages still shows its progress.
  void SetPosition(int Value);
  int Step() const { return step_; }
  void SetStep(int Value) { step_ = Value; }
  // Advances by Step; past Max it starts again from Min, as the system's bar does.
  void StepIt();
  void StepBy(int Delta);

  // How many pixels of the interior the filled part covers.
  int FilledWidth();

 protected:
  void Paint() override;

 private:
  void PaintNow();

  int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};
