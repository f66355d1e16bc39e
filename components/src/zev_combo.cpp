// Type-ahead and auto-complete combo boxes, and the font combo box.
#include "components/zev_combo.h"

#include <algorithm>
#include <cstring>

#include "components/component_resources.h"
#include "win32/item_search.h"

// ---- TZevCustomComboBox ------------------------------------------------------------------------
TZevCustomComboBox::TZevCustomComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  // The family's shared arrows, loaded once for the program.
  ZevUpArrow();
  ZevDownArrow();
}

int TZevCustomComboBox::FindItem(const std::string& Text) {
  if (Text.empty()) return -1;
  return itemsearch::Find(Items()->Count(), -1, Text, false, [this](int i) { return Items()->Get(i); });
}

void TZevCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TZevCustomComboBox::Beep() {
  if (beepOnInvalidKey_) MessageBeep(0);
}

void TZevCustomComboBox::SelectionEvents() {
  Click();
  Change();
}

bool TZevCustomComboBox::Search(const std::string& Text, TMessage& Message) {
  const int i = FindItem(Text);
  if (i == -1) {
    Beep();
    return false;
  }
  SetItemIndex(i);
  search_ = Text;
  SelectionEvents();
  DoKeyPress(Message);
  return true;
}

void TZevCustomComboBox::TypeAhead(TMessage& Message) {
  const auto code = static_cast<unsigned>(Message.WParam & 0xFF);
  if (code >= 32) {
    Search(search_ + static_cast<char>(code), Message);
  } else if (code == VK_BACK) {
    if (search_.empty()) return Beep();
    search_.pop_back();
    if (search_.empty()) {
      SetItemIndex(-1);
      SelectionEvents();
      DoKeyPress(Message);
    } else {
      Search(search_, Message);
    }
  } else if (code == VK_ESCAPE) {
    SetItemIndex(-1);
    SelectionEvents();
  }
}

void TZevCustomComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_KEYDOWN:
      switch (Message.WParam) {
        case VK_ESCAPE:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: search_.clear(); break;
        default: break;
      }
      break;
    case WM_KILLFOCUS: search_.clear(); break;
    case WM_CHAR:
      if (!EditControl()) return TypeAhead(Message);
      break;
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == CBN_CLOSEUP) {
        TCustomComboBox::WndProc(Message);
        return CloseUp();
      }
      break;
    default: break;
  }
  TCustomComboBox::WndProc(Message);
}

// ---- Auto-complete -----------------------------------------------------------------------------
bool TZevCustomComboBox::Complete(TMessage& Message) {
  const int i = FindItem(search_);
  if (i == -1) return false;
  SetItemIndex(i);
  SelectionEvents();
  DoKeyPress(Message);
  SelectCompletion();
  return true;
}

void TZevCustomComboBox::SelectCompletion() {
  TCustomEdit* edit = EditControl();
  const int typed = std::min(static_cast<int>(search_.size()), static_cast<int>(edit->GetText().size()));
  edit->SetSelStart(typed);
  edit->SetSelLength(static_cast<int>(edit->GetText().size()) - typed);
}

bool TZevCustomComboBox::EditKeyDown(TMessage& Message) {
  TCustomEdit* edit = EditControl();
  switch (Message.WParam) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_UP:
    case VK_DOWN: search_.clear(); return false;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT: search_ = edit->GetText(); return false;
    case VK_DELETE: {
      search_ = edit->GetText();
      const int start = edit->SelStart();
      const int length = std::max(1, edit->SelLength());
      if (start < static_cast<int>(search_.size()))
        search_.erase(static_cast<size_t>(start), static_cast<size_t>(length));
      edit->SetText(search_);
      edit->SetSelStart(start);
      Change();
      Complete(Message);
      return true;
    }
    default: return false;
  }
}

bool TZevCustomComboBox::EditChar(TMessage& Message) {
  TCustomEdit* edit = EditControl();
  const auto code = static_cast<unsigned>(Message.WParam & 0xFF);
  if (code >= 32) {
    if (DoKeyPress(Message) || Message.WParam < 32) return true;
    const std::string before = edit->GetText();
    const int start = edit->SelStart();
    std::string text = before;
    text.erase(static_cast<size_t>(start), static_cast<size_t>(edit->SelLength()));
    text.insert(static_cast<size_t>(start), 1, static_cast<char>(Message.WParam));
    search_ = text;
    edit->SetText(text);
    edit->SetSelStart(start + 1);
    Change();
    if (Complete(Message)) return true;
    // No completion: back to the text before the key, the caret at its end, and the character
    // typed there as the edit types it.
    edit->SetText(before);
    edit->SetSelStart(static_cast<int>(before.size()));
    edit->SetSelLength(0);
    return false;
  }
  if (code == VK_BACK) {
    if (edit->GetText().empty()) {
      Beep();
      return true;
    }
    std::string text = edit->GetText();
    int start = edit->SelStart(), length = edit->SelLength();
    if (length == 0 && start > 0) {
      --start;
      length = 1;
    }
    text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
    search_ = text.substr(0, static_cast<size_t>(start));
    edit->SetText(text);
    edit->SetSelStart(start);
    Change();
    if (search_.empty()) {
      SetItemIndex(-1);
      SelectionEvents();
    } else {
      Complete(Message);
    }
    return true;
  }
  if (code == VK_ESCAPE) {
    SetItemIndex(-1);
    search_.clear();
    SelectionEvents();
    return true;
  }
  return false;
}

void TZevCustomComboBox::EditWndProc(TMessage& Message) {
  TCustomEdit* edit = EditControl();
  switch (Message.Msg) {
    case WM_KEYDOWN:
      if (EditKeyDown(Message)) return;
      break;
    case WM_CHAR:
      if (EditChar(Message)) return;
      break;
    case WM_LBUTTONDOWN:
      if (Style() == csDropDown) search_ = edit->GetText();
      break;
    case WM_CUT:
      // The completed part is what a cut takes.
      if (Style() == csDropDown) SelectCompletion();
      break;
    case WM_PASTE:
      TCustomComboBox::EditWndProc(Message);
      if (Style() == csDropDown) SelectCompletion();
      return;
    default: break;
  }
  const bool cutOrPaste = Message.Msg == WM_KEYDOWN && (Message.WParam == 'X' || Message.WParam == 'V') &&
                          GetKeyState(VK_CONTROL) < 0;
  TCustomComboBox::EditWndProc(Message);
  if (cutOrPaste) {
    search_ = edit->GetText();
    Complete(Message);
  }
}

const TClassInfo& TZevCustomComboBox::StaticClassInfo() {
  using C = TZevCustomComboBox;
  static const TClassInfo info(
      "TZevCustomComboBox", &TCustomComboBox::StaticClassInfo(),
      {OrdProperty<C>("BeepOnInvalidKey", TypeInfo_Boolean, &C::BeepOnInvalidKey, &C::SetBeepOnInvalidKey, true),
       EventProperty<C>("OnCloseUp", TypeInfo_TNotifyEvent, &C::OnCloseUp)});
  return info;
}

// ---- TZevFontComboBox --------------------------------------------------------------------------
const TTypeInfo TypeInfo_TFontDevice{"TFontDevice", tkEnumeration, {"fdScreen", "fdPrinter"}};
const TTypeInfo TypeInfo_TFontType{"TFontType", tkEnumeration, {"ftAll", "ftTrueType", "ftFixedPitch", "ftPrinter"}};

namespace {
constexpr int kGlyphSize = 12;
constexpr BYTE kVariablePitch = TMPF_FIXED_PITCH;  // set for variable pitch, as the system has it
}  // namespace

TZevFontComboBox::TZevFontComboBox(TComponent* AOwner) : TZevCustomComboBox(AOwner), font_(std::make_unique<TFont>()) {
  SetStyle(csOwnerDrawFixed);
  SetSorted(true);
  font_->SetSize(8);
  trueType_ = std::make_unique<TBitmap>();
  fixedPitch_ = std::make_unique<TBitmap>();
  trueTypeFixed_ = std::make_unique<TBitmap>();
  printer_ = std::make_unique<TBitmap>();
  device_ = std::make_unique<TBitmap>();
  LoadGlyphs();
}

TZevFontComboBox::~TZevFontComboBox() = default;

void TZevFontComboBox::LoadGlyphs() {
  RegisterComponentResources();
  trueType_->LoadFromResourceName(nullptr, "ZEV_TRUETYPE");
  fixedPitch_->LoadFromResourceName(nullptr, "ZEV_FIXEDPITCH");
  trueTypeFixed_->LoadFromResourceName(nullptr, "ZEV_TRUETYPEFIXED");
  printer_->LoadFromResourceName(nullptr, "ZEV_PRINTER");
  device_->LoadFromResourceName(nullptr, "ZEV_DEVICE");
}

int AddFontFamily(const LOGFONTA* LogFont, const TEXTMETRICA* Metrics, DWORD, LPARAM Param) {
  auto* self = reinterpret_cast<TZevFontComboBox*>(Param);
  const BYTE flags = Metrics->tmPitchAndFamily;
  bool take = false;
  switch (self->fontType_) {
    case ftAll: take = true; break;
    case ftTrueType: take = (flags & TMPF_TRUETYPE) != 0; break;
    case ftFixedPitch: take = (flags & kVariablePitch) == 0; break;
    case ftPrinter: take = false; break;
  }
  if (take) {
    const std::string name(LogFont->lfFaceName, strnlen(LogFont->lfFaceName, 32));
    self->Items()->AddObject(name, reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(flags)));
  }
  return 1;
}

void TZevFontComboBox::LoadFonts() {
  // There is no printer here: its device lists no fonts.
  if (fontDevice_ == fdPrinter) return;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesA(dc, nullptr, AddFontFamily, reinterpret_cast<LPARAM>(this));
  ReleaseDC(nullptr, dc);
}

void TZevFontComboBox::CreateWnd() {
  TZevCustomComboBox::CreateWnd();
  Items()->Clear();
  LoadFonts();
}

void TZevFontComboBox::SetFontDevice(TFontDevice Value) {
  if (fontDevice_ == Value) return;
  fontDevice_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TZevFontComboBox::SetFontType(TFontType Value) {
  if (fontType_ == Value) return;
  fontType_ = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TZevFontComboBox::MakeListReady() {
  // The list is filled when the window is made; a name chosen before must find it there.
  if (!HandleAllocated() && Parent()) HandleNeeded();
}

std::string TZevFontComboBox::FontName() {
  MakeListReady();
  return ItemIndex() >= 0 ? Items()->Get(ItemIndex()) : "";
}

void TZevFontComboBox::SetFontName(const std::string& Value) {
  MakeListReady();
  SetItemIndex(Items()->IndexOf(Value));
}

TBitmap* TZevFontComboBox::GlyphFor(int Flags) const {
  const bool trueType = (Flags & TMPF_TRUETYPE) != 0;
  const bool fixed = (Flags & kVariablePitch) == 0;
  if (trueType && fixed) return trueTypeFixed_.get();
  if (trueType) return trueType_.get();
  if (fixed) return fixedPitch_.get();
  if (fontDevice_ == fdPrinter) return printer_.get();
  return device_.get();
}

void TZevFontComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  c->FillRect(Rect);
  TBitmap glyph;
  glyph.SetWidth(kGlyphSize);
  glyph.SetHeight(kGlyphSize);
  glyph.Canvas()->Brush()->SetColor(State.Contains(odFocused) ? clHighlight : Color());
  const TRect whole{0, 0, kGlyphSize, kGlyphSize};
  glyph.Canvas()->FillRect(whole);
  const int flags = static_cast<int>(reinterpret_cast<std::uintptr_t>(Items()->Objects(Index)) & 0x0F);
  TBitmap* source = GlyphFor(flags);
  glyph.Canvas()->BrushCopy(whole, source, {0, 0, source->Width(), source->Height()}, clOlive);
  const int itemHeight = Rect.bottom - Rect.top;
  c->Draw(Rect.left + 4, Rect.top + (itemHeight - kGlyphSize) / 2, &glyph);
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  const std::string text = Items()->Get(Index);
  c->Brush()->SetStyle(bsClear);
  c->TextOut(Rect.left + 24, Rect.top + (itemHeight - c->TextHeight("Pp")) / 2, text);
}

const TClassInfo& TZevFontComboBox::StaticClassInfo() {
  using C = TZevFontComboBox;
  static const TClassInfo info(
      "TZevFontComboBox", &TZevCustomComboBox::StaticClassInfo(),
      {OrdProperty<C>("FontDevice", TypeInfo_TFontDevice, &C::FontDevice, &C::SetFontDevice, fdScreen),
       OrdProperty<C>("FontType", TypeInfo_TFontType, &C::FontType, &C::SetFontType, ftAll),
       OrdProperty<C>("FontSize", TypeInfo_Integer, &C::FontSize, &C::SetFontSize, 8),
       OrdProperty<C>("FontStyle", TypeInfo_TFontStyles, &C::FontStyle, &C::SetFontStyle, 0),
       StrProperty<C>("FontName", &C::FontName, &C::SetFontName)},
      {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool fontComboRegistered = (RegisterClass(TZevFontComboBox::StaticClassInfo()), true);
