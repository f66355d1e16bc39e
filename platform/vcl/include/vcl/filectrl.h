#pragma once
// The file controls: a list of a folder's files by mask and attributes.
#include <memory>
#include <string>

#include "vcl/sets.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;

class EInOutError : public Exception {
 public:
  EInOutError(std::string Text, int Code) : Exception(std::move(Text)), ErrorCode(Code) {}
  int ErrorCode;
};

// The class library's I/O error for a Windows error code: "File not found", "Invalid filename",
// "File access denied" ... or "I/O error <code>".
EInOutError InOutError(DWORD Code);
// Makes Folder the current folder, or raises the I/O error of the failure.
void ChangeFolder(const std::string& Folder);

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

// The folders of Directory's path as a tree: the drive's root, each folder on the way, the
// current folder opened, then its sub-folders in sorted order, each level indented. A double
// click or Return on an item changes into that folder.
class TDirectoryListBox : public TCustomListBox {
 public:
  VCL_CLASS_INFO
  explicit TDirectoryListBox(TComponent* AOwner);
  ~TDirectoryListBox() override;
  void WndProc(TMessage& Message) override;

  // Setting it makes the folder the process's current one and lists it; a folder that cannot be
  // entered raises EInOutError and changes nothing.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& Value);
  // The drive letter of Directory; setting another goes to that drive's current folder.
  char Drive() const { return directory_.empty() ? '\0' : directory_[0]; }
  void SetDrive(char Value);
  // Shows Directory, shortened with "..." to the label's width (the list's width while the label
  // sizes itself).
  TLabel* DirLabel() const { return dirLabel_; }
  void SetDirLabel(TLabel* Value);
  // Follows Directory.
  TFileListBox* FileList() const { return fileList_; }
  void SetFileList(TFileListBox* Value);
  // The full path of the folder the item at Index stands for.
  std::string GetItemPath(int Index);
  // Changes into the selected item's folder.
  void OpenCurrent();

  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
  void DblClick() override;
  void KeyPress(char& Key) override;
  virtual void BuildList();
  // Tells the label, the file list and OnChange of the new Directory.
  virtual void Change();

 private:
  void ShowDirLabel();

  std::string directory_;
  int currentIndex_ = 0;
  bool openOnRelease_ = false;
  TLabel* dirLabel_ = nullptr;
  TFileListBox* fileList_ = nullptr;
  std::unique_ptr<TBitmap> openedGlyph_, closedGlyph_;
};

enum TTextCase { tcLowerCase, tcUpperCase };
extern const TTypeInfo TypeInfo_TTextCase;

// The mapped drives of the machine as "c: []" (the machine keeps no volume labels), each with
// the fixed disk's glyph.
class TDriveComboBox : public TCustomComboBox {
 public:
  VCL_CLASS_INFO
  explicit TDriveComboBox(TComponent* AOwner);
  ~TDriveComboBox() override;

  // The selected drive's letter in TextCase. Setting it selects the drive, moves DirList to it and
  // fires OnChange; a drive DirList cannot enter raises EInOutError and keeps the old drive.
  char Drive() const { return drive_; }
  void SetDrive(char Value);
  TDirectoryListBox* DirList() const { return dirList_; }
  void SetDirList(TDirectoryListBox* Value);
  TTextCase TextCase() const { return textCase_; }
  void SetTextCase(TTextCase Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
  void Click() override;
  virtual void BuildList();

 private:
  // Selects the drive and moves DirList; true when the drive changed.
  bool SelectDrive(char Value);

  char drive_ = 'c';
  TTextCase textCase_ = tcLowerCase;
  TDirectoryListBox* dirList_ = nullptr;
  std::unique_ptr<TBitmap> fixedGlyph_;
};

// Filter is "Text files (*.txt)|*.txt|All files (*.*)|*.*": a shown name, then its mask, in turn.
// Selecting an entry gives its mask to FileList, then fires OnChange.
class TFilterComboBox : public TCustomComboBox {
 public:
  VCL_CLASS_INFO
  explicit TFilterComboBox(TComponent* AOwner);
  ~TFilterComboBox() override;

  const std::string& Filter() const { return filter_; }
  // Lists the entries anew, selects the first and gives its mask to FileList.
  void SetFilter(const std::string& Value);
  // The selected entry's mask, or "*.*" while none is selected.
  std::string Mask();
  TFileListBox* FileList() const { return fileList_; }
  void SetFileList(TFileListBox* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change() override;

 private:
  std::string filter_;
  TStringList masks_;
  TFileListBox* fileList_ = nullptr;
};
