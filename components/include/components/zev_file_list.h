#pragma once
// A file list box that draws each file with its small shell icon (folders with the folder glyph),
// and the selected one with the shell's selected look.
#include <memory>

#include "vcl/filectrl.h"
#include "vcl/graphics_images.h"

class TZevFileListBox : public TFileListBox {
 public:
  VCL_CLASS_INFO
  explicit TZevFileListBox(TComponent* AOwner);
  ~TZevFileListBox() override;
  void WndProc(TMessage& Message) override;

  bool ShowLongNames() const { return showLongNames_; }
  void SetShowLongNames(bool Value);
  // Taken over by the list once it has a parent (its canvas measures the items).
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool Value);
  void SetParent(TWinControl* AParent) override;
  // Both make the window first, which reads the list: a folder chosen before the list is shown
  // keeps its files.
  const std::string& Directory();
  void SetDirectory(const std::string& Value);
  // The shell icon a file item holds (none for folders and without glyphs).
  HICON ItemIcon(int Index) const;
  bool IsFolderItem(int Index) const;
  // The path of an item's file in Directory.
  std::string ItemPath(const std::string& Item);

 protected:
  void ReadFileNames() override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;

 private:
  void ResetItemHeight();
  void ApplyShowGlyphs();
  void DestroyIcons();

  bool showLongNames_ = true;
  bool showGlyphs_ = true;
  std::unique_ptr<TBitmap> executable_, closedFolder_, unknownFile_;
};
