// The colour dialog: a grid of swatch buttons; a click selects, OK answers the selection.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "common_dialog.h"
#include "template_writer.h"
#include "win32/controls.h"
#include "win32/gdi.h"

namespace comdlg {
namespace {

constexpr COLORREF kBasicColors[48] = {
    RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255),
    RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(128, 255, 0),   RGB(0, 255, 64),    RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192),
    RGB(255, 0, 255),   RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
    RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),   RGB(128, 0, 0),
    RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),    RGB(0, 0, 255),     RGB(0, 0, 160),
    RGB(128, 0, 128),   RGB(128, 0, 255),   RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),
    RGB(0, 64, 64),     RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
    RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128), RGB(64, 128, 128),
    RGB(192, 192, 192), RGB(64, 0, 64),     RGB(255, 255, 255)};

struct ColorDialog {
  LPCHOOSECOLORA cc = nullptr;
  COLORREF selected = 0;
  int customSlot = 0;
  bool showingSelection = false;  // the panel's edits are being filled, not typed
  bool narrowed = false;  // the window is cut back to the swatches while the panel is shut
};

constexpr int kPanelControls[] = {COLOR_RED,       COLOR_GREEN,       COLOR_BLUE,      COLOR_ADD,
                                  COLOR_RED + 100, COLOR_GREEN + 100, COLOR_BLUE + 100};

// The template is wide enough for the panel; its right part (from x 148) is cut off while shut.
void ShowPanel(ColorDialog& d, HWND dialog, bool open) {
  for (int id : kPanelControls) ShowWindow(GetDlgItem(dialog, id), open ? SW_SHOW : SW_HIDE);
  if (open) EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
  if (open != d.narrowed) return;
  RECT panel{148, 0, 232, 0};
  MapDialogRect(dialog, &panel);
  RECT frame{};
  GetWindowRect(dialog, &frame);
  const LONG width = frame.right - frame.left + (open ? 1 : -1) * (panel.right - panel.left);
  SetWindowPos(dialog, nullptr, 0, 0, width, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  d.narrowed = !open;
}

void ShowSelection(ColorDialog& d, HWND dialog) {
  d.showingSelection = true;
  const BYTE parts[] = {GetRValue(d.selected), GetGValue(d.selected), GetBValue(d.selected)};
  for (int i = 0; i < 3; ++i) SetWindowTextA(GetDlgItem(dialog, COLOR_RED + i), std::to_string(parts[i]).c_str());
  d.showingSelection = false;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) InvalidateRect(c, nullptr, FALSE);
}

constexpr int kPartMax = 255;
constexpr char kPartRangeText[] = "Enter a value between 0 and 255.";

// The typed number, or none when the edit holds anything but digits.
std::optional<long> TypedNumber(HWND dialog, int id) {
  char text[16] = {};
  GetWindowTextA(GetDlgItem(dialog, id), text, sizeof text);
  const char* end = text + std::strlen(text);
  long value = 0;
  const auto [stop, error] = std::from_chars(text, end, value);
  if (text == end || stop != end) return std::nullopt;
  return error == std::errc::result_out_of_range ? LONG_MAX : value;
}

// While typing, the swatch follows the nearest colour; OK refuses what is out of range.
BYTE EditPart(HWND dialog, int id) {
  return static_cast<BYTE>(std::clamp<long>(TypedNumber(dialog, id).value_or(0), 0, kPartMax));
}

// Says which part is wrong and puts its nearest valid value in the edit for the user to confirm.
bool PartsInRange(HWND dialog) {
  for (int id = COLOR_RED; id <= COLOR_BLUE; ++id) {
    const std::optional<long> typed = TypedNumber(dialog, id);
    if (typed && *typed >= 0 && *typed <= kPartMax) continue;
    MessageBoxA(dialog, kPartRangeText, "Color", MB_OK | MB_ICONEXCLAMATION);
    HWND edit = GetDlgItem(dialog, id);
    SetWindowTextA(edit, std::to_string(EditPart(dialog, id)).c_str());
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    return false;
  }
  return true;
}

COLORREF SwatchColor(const ColorDialog& d, int index) {
  return index < 48 ? kBasicColors[index] : d.cc->lpCustColors[index - 48];
}

void DrawSwatch(const ColorDialog& d, const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.CtlID) - COLOR_SWATCH1;
  RECT r = item.rcItem;
  DrawEdge(item.hDC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  HBRUSH brush = CreateSolidBrush(SwatchColor(d, index));
  FillRect(item.hDC, &r, brush);
  DeleteObject(brush);
  if (SwatchColor(d, index) == d.selected) DrawFocusRect(item.hDC, &item.rcItem);
}

INT_PTR ColorDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<ColorDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    d = reinterpret_cast<ColorDialog*>(lParam);
    ShowPanel(*d, dialog, (d->cc->Flags & CC_FULLOPEN) != 0);
    if (d->cc->Flags & CC_PREVENTFULLOPEN) EnableWindow(GetDlgItem(dialog, COLOR_MIX), FALSE);
    ShowSelection(*d, dialog);
    PostMessageA(dialog, kRunScript, 0, 0);
    return TRUE;
  }
  if (!d) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == IDOK) {
        if (PartsInRange(dialog)) EndDialog(dialog, id);
      } else if (id == IDCANCEL) {
        EndDialog(dialog, id);
      } else if (id >= COLOR_SWATCH1 && id < COLOR_CUSTOM_SWATCH1 + 16) {
        d->selected = SwatchColor(*d, id - COLOR_SWATCH1);
        if (id >= COLOR_CUSTOM_SWATCH1) d->customSlot = id - COLOR_CUSTOM_SWATCH1;
        ShowSelection(*d, dialog);
      } else if (id == COLOR_MIX) {
        ShowPanel(*d, dialog, true);
      } else if (id == COLOR_ADD) {
        d->cc->lpCustColors[d->customSlot] = d->selected;
        ShowSelection(*d, dialog);
      } else if (id >= COLOR_RED && id <= COLOR_BLUE && HIWORD(wParam) == EN_CHANGE && !d->showingSelection) {
        d->selected = RGB(EditPart(dialog, COLOR_RED), EditPart(dialog, COLOR_GREEN), EditPart(dialog, COLOR_BLUE));
      }
      return TRUE;
    }
    case WM_DRAWITEM: DrawSwatch(*d, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case kRunScript: RunScript(dialog); return TRUE;
    default: return FALSE;
  }
}

}  // namespace
}  // namespace comdlg

BOOL ChooseColorA(LPCHOOSECOLORA cc) {
  using namespace comdlg;
  SetExtendedError(0);
  if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA) || !cc->lpCustColors) {
    SetExtendedError(!cc || cc->lStructSize != sizeof(CHOOSECOLORA) ? CDERR_STRUCTSIZE : CDERR_INITIALIZATION);
    return FALSE;
  }
  ColorDialog d;
  d.cc = cc;
  d.selected = (cc->Flags & CC_RGBINIT) ? cc->rgbResult : RGB(0, 0, 0);
  TemplateWriter t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_3DLOOK, 232, 180, "Color");
  t.Item(kStatic, -1, SS_LEFT, 4, 4, 140, 8, "&Basic colors:");
  for (int i = 0; i < 48; ++i)
    t.Item(kButton, COLOR_SWATCH1 + i, BS_OWNERDRAW | WS_TABSTOP, static_cast<short>(4 + (i % 8) * 18),
           static_cast<short>(14 + (i / 8) * 14), 16, 12);
  t.Item(kStatic, -1, SS_LEFT, 4, 100, 140, 8, "&Custom colors:");
  for (int i = 0; i < 16; ++i)
    t.Item(kButton, COLOR_CUSTOM_SWATCH1 + i, BS_OWNERDRAW | WS_TABSTOP, static_cast<short>(4 + (i % 8) * 18),
           static_cast<short>(110 + (i / 8) * 14), 16, 12);
  t.Item(kButton, COLOR_MIX, BS_PUSHBUTTON | WS_TABSTOP, 4, 142, 140, 14, "&Define Custom Colors >>");
  const char* const partLabels[] = {"&Red:", "&Green:", "Bl&ue:"};
  for (int i = 0; i < 3; ++i) {
    const short y = static_cast<short>(14 + i * 16);
    t.Item(kStatic, COLOR_RED + 100 + i, SS_LEFT, 152, static_cast<short>(y + 2), 30, 8, partLabels[i]);
    t.Item(kEdit, COLOR_RED + i, ES_AUTOHSCROLL | WS_TABSTOP, 184, y, 40, 12);
  }
  t.Item(kButton, COLOR_ADD, BS_PUSHBUTTON | WS_TABSTOP, 152, 64, 72, 14, "&Add to Custom Colors");
  t.Item(kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 160, 44, 14, "OK");
  t.Item(kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 52, 160, 44, 14, "Cancel");
  const INT_PTR result =
      DialogBoxIndirectParamA(nullptr, t.Get(), cc->hwndOwner, ColorDialogProcedure, reinterpret_cast<LPARAM>(&d));
  if (result == -1) SetExtendedError(CDERR_DIALOGFAILURE);
  if (result != IDOK) return FALSE;
  cc->rgbResult = d.selected;
  return TRUE;
}
