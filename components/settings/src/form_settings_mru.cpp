// The recently-used file menu of TPFormSettings.
#include <cstring>
#include <vector>

#include "settings/setorras.h"
#include "win32/text.h"

namespace {

constexpr int kEntryTag = 46371;
constexpr int kSeparatorTag = 46358;

std::vector<TMenuItem*> Entries(TMenuItem* container) {
  std::vector<TMenuItem*> entries;
  for (int i = 0; i < container->Count(); ++i)
    if (container->Items(i)->Tag() == kEntryTag) entries.push_back(container->Items(i));
  return entries;
}

}  // namespace

void TPFormSettings::TrimMRUList() {
  while (mruList_->Count() > mruLength_) mruList_->Delete(mruList_->Count() - 1);
}

std::string TPFormSettings::DisplayText(const std::string& FileName) {
  switch (mruDisplay_) {
    case pmdFileOnly: return ExtractFileName(FileName);
    case pmdFullPath: return FileName;
    case pmdAbbPath: {
      TCanvas* canvas = form_->Canvas();
      // DT_MODIFYSTRING may write an ellipsis of up to four more characters.
      std::vector<char> text(FileName.size() + 5, '\0');
      std::memcpy(text.data(), FileName.data(), FileName.size());
      RECT r{0, 0, mruMaxItemWidth_, 100};
      DrawTextA(canvas->Handle(), text.data(), static_cast<int>(FileName.size()), &r,
                DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      return std::string(text.data());
    }
  }
  return FileName;
}

void TPFormSettings::ClearMRUItems() {
  if (!mruMenuItem_) return;
  TMenuItem* container = mruPlacement_ == pmpBefore ? mruMenuItem_->Parent() : mruMenuItem_;
  if (!container) return;
  for (int i = container->Count() - 1; i >= 0; --i) {
    TMenuItem* item = container->Items(i);
    if (item->Tag() != kEntryTag && item->Tag() != kSeparatorTag) continue;
    container->Delete(i);
    delete item;
  }
}

void TPFormSettings::RebuildMRU() {
  if (!mruMenuItem_ || ComponentState().Contains(csDesigning)) return;
  if (mruValidate_)
    for (int i = mruList_->Count() - 1; i >= 0; --i)
      if (!FileExists(mruList_->Get(i))) mruList_->Delete(i);
  const bool before = mruPlacement_ == pmpBefore;
  TMenuItem* container = before ? mruMenuItem_->Parent() : mruMenuItem_;
  if (!container) return;

  auto newItem = [&](const std::string& caption, int tag) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->SetTag(tag);
    return item;
  };
  std::vector<TMenuItem*> entries = Entries(container);
  // Where the next entry goes: after the last one, else at the end or just before MRUMenuItem.
  int at = entries.empty() ? (before ? container->IndexOf(mruMenuItem_) : container->Count())
                           : container->IndexOf(entries.back()) + 1;
  if (entries.empty() && mruList_->Count() > 0) {
    if (!before) {
      if (container->Count() > 0) {
        container->Add(newItem("-", kSeparatorTag));
        at = container->Count();
      }
    } else {
      container->Insert(at, newItem("-", kSeparatorTag));
      if (at == 0 || !container->Items(at - 1)->IsLine()) {
        container->Insert(at, newItem("-", kSeparatorTag));
        ++at;
      }
    }
  }
  const int wanted = std::min(mruLength_, mruList_->Count());
  while (static_cast<int>(entries.size()) < wanted) {
    TMenuItem* item = newItem("", kEntryTag);
    item->OnClick = [this](TObject* Sender) { MRUItemClick(Sender); };
    container->Insert(at++, item);
    entries.push_back(item);
  }
  // Entries beyond the list (files dropped as gone) go.
  while (static_cast<int>(entries.size()) > wanted) {
    TMenuItem* item = entries.back();
    entries.pop_back();
    container->Remove(item);
    delete item;
  }
  for (std::size_t k = 0; k < entries.size(); ++k)
    entries[k]->SetCaption(
        Format("&%d %s", {static_cast<int>(k + 1), DisplayText(mruList_->Get(static_cast<int>(k)))}));
}

void TPFormSettings::MRUItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  if (!item || !item->Parent() || !OnMRUClick) return;
  const std::vector<TMenuItem*> entries = Entries(item->Parent());
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (entries[k] != item) continue;
    if (static_cast<int>(k) < mruList_->Count())
      OnMRUClick(this, item, mruList_->Get(static_cast<int>(k)), static_cast<int>(k + 1));
    return;
  }
}

void TPFormSettings::SetMRUMenuItem(TMenuItem* Value) {
  if (Value == mruMenuItem_) return;
  ClearMRUItems();
  mruMenuItem_ = Value;
  if (mruMenuItem_) mruMenuItem_->FreeNotification(this);
  RebuildMRU();
}

void TPFormSettings::SetMRULength(int Value) {
  if (Value < 0 || Value > 9 || Value == mruLength_) return;
  ClearMRUItems();
  mruLength_ = Value;
  TrimMRUList();
  RebuildMRU();
}

void TPFormSettings::SetMRUDisplay(TPMRUDisplayType Value) {
  if (Value == mruDisplay_) return;
  mruDisplay_ = Value;
  RebuildMRU();
}

void TPFormSettings::SetMRUMaxItemWidth(int Value) {
  if (Value < 100 || Value > 300 || Value == mruMaxItemWidth_) return;
  mruMaxItemWidth_ = Value;
  RebuildMRU();
}

void TPFormSettings::SetMRUPlacement(TPMRUPlacement Value) {
  if (Value == mruPlacement_) return;
  ClearMRUItems();
  mruPlacement_ = Value;
  RebuildMRU();
}

void TPFormSettings::SetMRUValidate(bool Value) {
  if (Value == mruValidate_) return;
  ClearMRUItems();
  mruValidate_ = Value;
  RebuildMRU();
}
