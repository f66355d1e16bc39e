// Radio groups: one radio button per item, laid out in columns.
#include "stdctrls_draw.h"
#include "vcl/extctrls.h"

// A radio button of a group: its clicks are the group's.
class TGroupButton : public TRadioButton {
 public:
  TGroupButton(TCustomRadioGroup* Group) : TRadioButton(nullptr), group_(Group) {
    SetParentShowHint(true);
    SetParent(Group);
  }
  void Click() override {
    TRadioButton::Click();
    group_->ButtonClick(this);
  }

 private:
  TCustomRadioGroup* group_;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner) : TCustomGroupBox(AOwner), items_(new TStringList) {
  SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
  items_->OnChange = [this](TObject* Sender) { ItemsChanged(Sender); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  items_->OnChange = nullptr;
  delete items_;
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  updating_ = true;
  while (ButtonCount() < items_->Count()) buttons_.push_back(new TGroupButton(this));
  while (ButtonCount() > items_->Count()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  for (int i = 0; i < ButtonCount(); ++i) {
    buttons_[static_cast<size_t>(i)]->SetCaption(items_->Get(i));
    buttons_[static_cast<size_t>(i)]->SetCheckedValue(i == itemIndex_);
  }
  updating_ = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (buttons_.empty()) return;
  const int textHeight = stdctrls::TextHeightOf(Font());
  const int count = ButtonCount();
  const int perColumn = (count + columns_ - 1) / columns_;
  const int buttonWidth = (Width() - 10) / columns_;
  const int room = Height() - textHeight - 5;
  const int buttonHeight = room / perColumn;
  const int topMargin = textHeight + 1 + (room % perColumn) / 2;
  for (int i = 0; i < count; ++i)
    buttons_[static_cast<size_t>(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                                (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    itemIndex_ = Value;
    return;
  }
  Value = std::max(-1, std::min(Value, ButtonCount() - 1));
  if (itemIndex_ == Value) return;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetCheckedValue(false);
  itemIndex_ = Value;
  if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetCheckedValue(true);
}

void TCustomRadioGroup::SetColumns(int Value) {
  Value = std::max(1, std::min(Value, 16));
  if (columns_ == Value) return;
  columns_ = Value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ButtonClick(TRadioButton* Button) {
  if (updating_) return;
  for (int i = 0; i < ButtonCount(); ++i)
    if (buttons_[static_cast<size_t>(i)] == Button) itemIndex_ = i;
  Click();
}

void TCustomRadioGroup::WndProc(TMessage& Message) {
  TCustomGroupBox::WndProc(Message);
  if (Message.Msg == WM_SIZE || Message.Msg == CM_FONTCHANGED) ArrangeButtons();
}
