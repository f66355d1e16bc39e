// The filter combo box: named masks, and the file list that takes the selected one.
#include "vcl/filectrl.h"

TFilterComboBox::TFilterComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csDropDownList);
  SetFilter("All files (*.*)|*.*");
}

TFilterComboBox::~TFilterComboBox() = default;

void TFilterComboBox::SetFilter(const std::string& Value) {
  if (Value == filter_) return;
  filter_ = Value;
  Items()->BeginUpdate();
  Items()->Clear();
  masks_.Clear();
  // Name and mask alternate; a name without a mask is left out.
  std::size_t from = 0;
  while (from < Value.size()) {
    const std::size_t bar = Value.find('|', from);
    if (bar == std::string::npos) break;
    std::size_t end = Value.find('|', bar + 1);
    if (end == std::string::npos) end = Value.size();
    Items()->Add(Value.substr(from, bar - from));
    masks_.Add(Value.substr(bar + 1, end - bar - 1));
    from = end + 1;
  }
  Items()->EndUpdate();
  SetItemIndex(0);
  Change();
}

std::string TFilterComboBox::Mask() {
  const int index = ItemIndex();
  return index >= 0 && index < masks_.Count() ? masks_.Get(index) : "*.*";
}

void TFilterComboBox::SetFileList(TFileListBox* Value) {
  fileList_ = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetMask(Mask());
}

void TFilterComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fileList_) fileList_ = nullptr;
}

void TFilterComboBox::Change() {
  if (fileList_) fileList_->SetMask(Mask());
  TCustomComboBox::Change();
}
