#pragma once
// The file controls: a list of a folder's files by mask and attributes.
#include <memory>
#include <string>

#include "vcl/sets.h"
#include "vcl/stdctrls.h"

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;

class EInOutError : public Exception {
 public:
  EInOutError(std::string Message, int Code) : Exception(std::move(Message)), ErrorCode(Code) {}
  int ErrorCode;
};

// The files of Directory that match Mask (patterns separated by ";", each listed in turn) and
// FileType, in sorted order; folders appear as "[name]". A selection by the user fires OnChange
// (before OnClick) and puts the name into FileEdit.
class TFileListBox : public TCustomListBox {
 public:
  VCL_CLASS_INFO
  explicit TFileListBox(TComponent* AOwner);
  ~TFileListBox() override;

  // Setting it makes the folder current and reads the list again; a folder that cannot be
  // entered raises EInOutError.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& Value);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& Value);
  TFileType FileType() const { return fileType_; }
  void SetFileType(TFileType Value);
  // Items carry the executable, folder or unknown-file glyph and show it before their name.
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool Value);
  // Shows the selected name, or the mask while nothing is selected.
  TEdit* FileEdit() const { return fileEdit_; }
  void SetFileEdit(TEdit* Value);
  // The selected file's full path, or "".
  std::string FileName();
  // Goes to the file's folder and selects it.
  void SetFileName(const std::string& Value);

  TNotifyEvent OnChange;

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
  void SelectionChanged() override;
  // Fills the list from the folder (only while the window exists), then calls Change.
  virtual void ReadFileNames();
  virtual void Change();
  // The selected item's text, or "".
  std::string GetFileName();

 private:
  TBitmap* GlyphFor(const std::string& Item);
  void ResetItemHeight();

  std::string directory_;
  std::string mask_ = "*.*";
  TFileType fileType_{ftNormal};
  bool showGlyphs_ = false;
  TEdit* fileEdit_ = nullptr;
  int lastSel_ = -1;
  std::unique_ptr<TBitmap> exeGlyph_, dirGlyph_, unknownGlyph_;
};
