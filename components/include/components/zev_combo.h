#pragma once
// Combo boxes with type-ahead (a drop-down list selects the first item that starts with what was
// typed) and auto-complete (an edit completes the typed text with the first matching item), and
// the owner-drawn list of the screen's font families with a glyph for each kind of font.
#include <memory>
#include <string>

#include "vcl/graphics_images.h"
#include "vcl/stdctrls.h"

class TZevCustomComboBox : public TCustomComboBox {
 public:
  VCL_CLASS_INFO
  explicit TZevCustomComboBox(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool Value) { beepOnInvalidKey_ = Value; }
  // The first item whose beginning equals Text without regard to case; -1 for none or "".
  virtual int FindItem(const std::string& Text);
  const std::string& SearchText() const { return search_; }

  TNotifyEvent OnCloseUp;

 protected:
  virtual void CloseUp();
  void EditWndProc(TMessage& Message) override;

 private:
  void Beep();
  void SelectionEvents();
  // Type-ahead in a list without edit.
  void TypeAhead(TMessage& Message);
  bool Search(const std::string& Text, TMessage& Message);
  // Auto-complete in the edit.
  bool Complete(TMessage& Message);
  // Selects from the end of the search text to the end of the edit's text.
  void SelectCompletion();
  bool EditKeyDown(TMessage& Message);
  bool EditChar(TMessage& Message);

  bool beepOnInvalidKey_ = true;
  std::string search_;
};

enum TFontDevice { fdScreen, fdPrinter };
enum TFontType { ftAll, ftTrueType, ftFixedPitch, ftPrinter };
extern const TTypeInfo TypeInfo_TFontDevice;
extern const TTypeInfo TypeInfo_TFontType;

class TZevFontComboBox : public TZevCustomComboBox {
 public:
  VCL_CLASS_INFO
  explicit TZevFontComboBox(TComponent* AOwner);
  ~TZevFontComboBox() override;

  TFontDevice FontDevice() const { return fontDevice_; }
  void SetFontDevice(TFontDevice Value);
  TFontType FontType() const { return fontType_; }
  void SetFontType(TFontType Value);
  int FontSize() const { return fontSize_; }
  void SetFontSize(int Value) { fontSize_ = Value; }
  TFontStyles FontStyle() const { return fontStyle_; }
  void SetFontStyle(TFontStyles Value) { fontStyle_ = Value; }
  // The selected family, or "". Both make the window first, which fills the list.
  std::string FontName();
  void SetFontName(const std::string& Value);
  // The glyph an item with these pitch-and-family flags shows.
  TBitmap* GlyphFor(int Flags) const;

  virtual void LoadFonts();
  virtual void LoadGlyphs();

 protected:
  void CreateWnd() override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

 private:
  friend int AddFontFamily(const LOGFONTA* LogFont, const TEXTMETRICA* Metrics, DWORD FontType, LPARAM Param);
  void MakeListReady();

  std::unique_ptr<TFont> font_;
  TFontDevice fontDevice_ = fdScreen;
  TFontType fontType_ = ftAll;
  int fontSize_ = 8;
  TFontStyles fontStyle_;
  std::unique_ptr<TBitmap> trueType_, fixedPitch_, trueTypeFixed_, printer_, device_;
};
