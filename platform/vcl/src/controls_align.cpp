// The alignment pass: aligned children take the edges of the client area in the order top,
// bottom, left, right, client; among those of one alignment, the one that just changed keeps
// its place and the others follow their positions.
#include <vector>

#include "vcl/controls.h"

namespace {

// Whether a goes before b among the controls aligned to `align`.
bool InsertBefore(TControl* a, TControl* b, TAlign align) {
  switch (align) {
    case alTop: return a->Top() < b->Top();
    case alBottom: return a->Top() + a->Height() >= b->Top() + b->Height();
    case alLeft: return a->Left() < b->Left();
    case alRight: return a->Left() + a->Width() >= b->Left() + b->Width();
    default: return false;
  }
}

}  // namespace

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (--alignLevel_ == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (alignLevel_ > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
    SetControlState(ControlState() + TControlState{csAlignmentNeeded});
    return;
  }
  DisableAlign();
  try {
    TRect rect = ClientRect();
    AlignControls(AControl, rect);
  } catch (...) {
    --alignLevel_;
    throw;
  }
  SetControlState(ControlState() - TControlState{csAlignmentNeeded});
  --alignLevel_;
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  std::vector<TControl*> list;
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    list.clear();
    if (AControl && AControl->Align() == align && AControl->Visible()) list.push_back(AControl);
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c == AControl || c->Align() != align || !c->Visible()) continue;
      size_t j = 0;
      while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
      list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
    }
    for (TControl* c : list) {
      int width = Rect.right - Rect.left;
      int height = Rect.bottom - Rect.top;
      switch (align) {
        case alTop:
          c->SetBounds(Rect.left, Rect.top, width, c->Height());
          Rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(Rect.left, Rect.bottom - c->Height(), width, c->Height());
          Rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(Rect.left, Rect.top, c->Width(), height);
          Rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(Rect.right - c->Width(), Rect.top, c->Width(), height);
          Rect.right -= c->Width();
          break;
        default: c->SetBounds(Rect.left, Rect.top, width, height);
      }
    }
  }
}
