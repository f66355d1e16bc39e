// The drive combo box: the machine's mapped drives, and the directory list that follows it.
#include <cctype>

#include "filectrl_glyphs.h"
#include "vcl/filectrl.h"
#include "vcl/graphics_images.h"
#include "win32/kernel.h"
#include "win32/machine.h"

namespace {

char InCase(char Letter, TTextCase Case) {
  const auto c = static_cast<unsigned char>(Letter);
  return static_cast<char>(Case == tcUpperCase ? std::toupper(c) : std::tolower(c));
}

bool SameDrive(char A, char B) {
  return std::toupper(static_cast<unsigned char>(A)) == std::toupper(static_cast<unsigned char>(B));
}

}  // namespace

TDriveComboBox::TDriveComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  SetItemHeight(filectrl::kGlyphSize);
  char cwd[MAX_PATH];
  if (GetCurrentDirectoryA(MAX_PATH, cwd) < MAX_PATH && cwd[0]) drive_ = InCase(cwd[0], textCase_);
  BuildList();
}

TDriveComboBox::~TDriveComboBox() = default;

void TDriveComboBox::BuildList() {
  if (!fixedGlyph_) fixedGlyph_ = filectrl::MakeGlyph(filectrl::TGlyph::FixedDrive, clFuchsia);
  Items()->BeginUpdate();
  Items()->Clear();
  // Every mapped drive is a host folder, so a fixed disk. The machine keeps no volume labels;
  // the class library shows a drive without one as "c: []".
  for (char letter = 'a'; letter <= 'z'; ++letter)
    if (!machine::DriveFolder(letter).empty())
      Items()->AddObject(std::string{InCase(letter, textCase_)} + ": []", fixedGlyph_.get());
  Items()->EndUpdate();
  for (int i = 0; i < Items()->Count(); ++i)
    if (SameDrive(Items()->Get(i)[0], drive_)) SetItemIndex(i);
}

bool TDriveComboBox::SelectDrive(char Value) {
  if (SameDrive(Value, drive_) && ItemIndex() >= 0) return false;
  const char previous = drive_;
  const int previousIndex = ItemIndex();
  drive_ = InCase(Value, textCase_);
  for (int i = 0; i < Items()->Count(); ++i)
    if (SameDrive(Items()->Get(i)[0], drive_)) SetItemIndex(i);
  try {
    if (dirList_) dirList_->SetDrive(drive_);
  } catch (...) {
    drive_ = previous;
    SetItemIndex(previousIndex);
    throw;
  }
  return true;
}

void TDriveComboBox::SetDrive(char Value) {
  if (SelectDrive(Value)) Change();
}

void TDriveComboBox::Click() {
  const int picked = ItemIndex();
  TCustomComboBox::Click();
  // The combo box fires OnChange after this.
  if (picked >= 0) SelectDrive(Items()->Get(picked)[0]);
}

void TDriveComboBox::SetTextCase(TTextCase Value) {
  if (textCase_ == Value) return;
  textCase_ = Value;
  drive_ = InCase(drive_, Value);
  BuildList();
}

void TDriveComboBox::SetDirList(TDirectoryListBox* Value) {
  dirList_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TDriveComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) return TCustomComboBox::DrawItem(Index, Rect, State);
  Canvas()->FillRect(Rect);
  int left = Rect.left + 2;
  if (auto* glyph = static_cast<TBitmap*>(Items()->Objects(Index))) {
    filectrl::DrawGlyph(Canvas(), glyph, left, Rect);
    left += glyph->Width();
  }
  const int top = Rect.top + (Rect.bottom - Rect.top - Canvas()->TextHeight("Pp")) / 2;
  Canvas()->TextOut(left + 4, top, Items()->Get(Index));
}
