#pragma once
// The common dialogs: the file dialogs with the explorer-style hook, and a test hook that plays
// the user of a common dialog without a screen.
//
// With OFN_ENABLEHOOK the hook is the procedure of a child dialog of the file dialog, made from
// the template (OFN_ENABLETEMPLATEHANDLE: hInstance is the template in memory) or empty. The hook
// gets WM_INITDIALOG with the OPENFILENAMEA, then WM_NOTIFY with an OFNOTIFYA: CDN_INITDONE,
// CDN_FOLDERCHANGE, CDN_SELCHANGE on each selection change and CDN_FILEOK before the dialog closes
// with a file (a non-zero DWLP_MSGRESULT keeps it open). A child control with the identifier stc32
// marks where the standard controls go; without one they stay above the child's controls. The
// child asks its parent, the file dialog, with CDM_GETSPEC, CDM_GETFILEPATH and CDM_GETFOLDERPATH
// (wParam the buffer size, lParam the buffer; the answer is the length with the ending zero).
#include <functional>

#include "win32/dialogs.h"

using LPOFNHOOKPROC = DLGPROC;

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;  // pairs of zero-ended texts (description, patterns "*.a;*.b"), ended by a zero
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // from 1
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
using LPOPENFILENAMEA = OPENFILENAMEA*;

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_ENABLETEMPLATEHANDLE = 0x00000080;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_SHAREAWARE = 0x00004000;
constexpr DWORD OFN_EXPLORER = 0x00080000;

struct OFNOTIFYA {
  NMHDR hdr;
  LPOPENFILENAMEA lpOFN;
  LPSTR pszFile;
};
using LPOFNOTIFYA = OFNOTIFYA*;

constexpr UINT CDN_FIRST = 0u - 601u;
constexpr UINT CDN_INITDONE = CDN_FIRST - 0;
constexpr UINT CDN_SELCHANGE = CDN_FIRST - 1;
constexpr UINT CDN_FOLDERCHANGE = CDN_FIRST - 2;
constexpr UINT CDN_FILEOK = CDN_FIRST - 5;
constexpr UINT CDN_TYPECHANGE = CDN_FIRST - 6;
constexpr UINT CDM_GETSPEC = WM_USER + 100;
constexpr UINT CDM_GETFILEPATH = WM_USER + 101;
constexpr UINT CDM_GETFOLDERPATH = WM_USER + 102;

// Identifiers of the file dialog's own controls.
constexpr int stc2 = 0x0441;  // "Files of type"
constexpr int stc3 = 0x0442;  // "File name"
constexpr int stc4 = 0x0443;  // "Look in"
constexpr int stc32 = 0x045F;
constexpr int lst1 = 0x0460;  // the folder's files and folders
constexpr int cmb1 = 0x0470;  // the filters
constexpr int cmb2 = 0x0471;  // the drives and the folder
constexpr int edt1 = 0x0480;  // the file name

constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD CDERR_FINDRESFAILURE = 0x0006;
constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

// TRUE with lpstrFile (and the offsets, nFilterIndex) set when the user chose a file; FALSE on
// Cancel or failure, told apart by CommDlgExtendedError (0 for Cancel). A name too long for
// nMaxFile gives FNERR_BUFFERTOOSMALL with the size needed in the first two bytes of lpstrFile.
BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
DWORD CommDlgExtendedError();

// Test hook: while set, each common dialog calls it once it is up, with the dialog window, from
// inside its modal loop; the script plays the user with messages. A dialog the script leaves open
// is cancelled, so a faulty script never hangs a test.
using CommonDialogScript = std::function<void(HWND dialog)>;
void SetCommonDialogScript(CommonDialogScript script);

// The colour dialog: 48 basic colours and the caller's 16 custom ones, each a swatch button.
struct CHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;
  COLORREF* lpCustColors;  // 16 colours
  DWORD Flags;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
};
using LPCHOOSECOLORA = CHOOSECOLORA*;

constexpr DWORD CC_RGBINIT = 0x00000001;  // the dialog starts on rgbResult
constexpr DWORD CC_FULLOPEN = 0x00000002;  // the custom colour panel starts open
constexpr DWORD CC_PREVENTFULLOPEN = 0x00000004;

// The custom colour panel: the selection's red, green and blue, and the button that stores it in
// the custom swatch last clicked (the first at the start); COLOR_MIX opens the panel.
constexpr int COLOR_RED = 706;
constexpr int COLOR_GREEN = 707;
constexpr int COLOR_BLUE = 708;
constexpr int COLOR_ADD = 712;
constexpr int COLOR_MIX = 719;

// The swatch buttons: the basic colours row by row, then the custom ones.
constexpr int COLOR_SWATCH1 = 0x0500;
constexpr int COLOR_CUSTOM_SWATCH1 = COLOR_SWATCH1 + 48;

// TRUE with rgbResult set when the user chose a colour with OK.
BOOL ChooseColorA(LPCHOOSECOLORA cc);
