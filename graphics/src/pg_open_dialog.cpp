// The open dialog with picture preview: its filter, the explorer hook with the two owner-drawn
// panels, the settle timer, the information read and the preview worker.
#include "graphics/pg_open_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "graphics/library.h"
#include "graphics/median_cut.h"
#include "graphics/messages.h"
#include "paint_workers.h"
#include "vcl/dialogs.h"
#include "win32/controls.h"
#include "win32/kernel.h"

namespace {

constexpr char kDialogProp[] = "TPGOpenDialog";
constexpr unsigned kSettleMs = 150;  // rapid selection changes start no work for each file
constexpr UINT kStartPreview = WM_USER + 3;
constexpr int kPathBuffer = 256;
constexpr int kInfoFontHeight = 8;
// Progress is posted at most once per interval, or when the percent crosses a band; the step
// and its sub-step share wParam.
constexpr DWORD kProgressIntervalMs = 100;
constexpr int kPercentBand = 16;
constexpr int kSubSteps = 16;

// A rectangle in dialog units of Dialog, in pixels.
RECT DialogUnits(HWND Dialog, int X, int Y, int W, int H) {
  RECT r{X, Y, X + W, Y + H};
  MapDialogRect(Dialog, &r);
  return r;
}

HWND MakeChild(HWND Parent, LPCSTR ClassName, LPCSTR Text, DWORD Style, const RECT& R, int Id) {
  return CreateWindowExA(0, ClassName, Text, Style, R.left, R.top, R.right - R.left, R.bottom - R.top, Parent,
                         reinterpret_cast<HMENU>(static_cast<std::intptr_t>(Id)), nullptr, nullptr);
}

void Line(HDC DC, COLORREF Colour, std::initializer_list<POINT> Points) {
  HPEN pen = CreatePen(PS_SOLID, 1, Colour);
  HGDIOBJ old = SelectObject(DC, pen);
  auto it = Points.begin();
  MoveToEx(DC, it->x, it->y, nullptr);
  for (++it; it != Points.end(); ++it) LineTo(DC, it->x, it->y);
  SelectObject(DC, old);
  DeleteObject(pen);
}

}  // namespace

// ---- The worker -------------------------------------------------------------------------------

// Always made suspended: a running base could call Execute before this object is built.
TCreateOpenSaveDialogPaintPGThread::TCreateOpenSaveDialogPaintPGThread(bool CreateSuspended, bool NoWork)
    : TThread(true), noWork_(NoWork) {
  if (!CreateSuspended) Resume();
}

TCreateOpenSaveDialogPaintPGThread::~TCreateOpenSaveDialogPaintPGThread() { Stop(); }

void TCreateOpenSaveDialogPaintPGThread::Stop() {
  stop_ = true;
  Terminate();
  if (Suspended()) Resume();  // a worker whose set-up failed was never started
  WaitFor();
}

void TCreateOpenSaveDialogPaintPGThread::Progress(TObject*, int AStep, int Max, bool& Abort) {
  if (Max > 0) {
    const int percent = static_cast<int>(static_cast<std::int64_t>(AStep) * 100 / Max);
    const DWORD now = GetTickCount();
    if (percent != lastPercent_ &&
        (now / kProgressIntervalMs != lastTick_ / kProgressIntervalMs || percent / kPercentBand != lastPercentBand_)) {
      lastPercentBand_ = percent / kPercentBand;
      lastPercent_ = percent;
      lastTick_ = now;
      PostMessageA(PostWnd, kWorkerProgress, static_cast<WPARAM>(step_ * kSubSteps + subStep_), percent);
    }
  }
  Abort = stop_;
}

void TCreateOpenSaveDialogPaintPGThread::CopyInto(std::unique_ptr<TPixelGraphic>& Image,
                                                  std::unique_ptr<TPixelGraphic> Next) {
  ++step_;
  Next->OnProgress = [this](TObject* Sender, int AStep, int Max, bool& Abort) { Progress(Sender, AStep, Max, Abort); };
  Next->StretchCopy(Image.get());
  Image = std::move(Next);
}

void TCreateOpenSaveDialogPaintPGThread::Execute() {
  if (noWork_) return;
  step_ = 1;
  lastPercent_ = 0;
  lastPercentBand_ = 0;
  lastTick_ = GetTickCount();
  subStep_ = 0;
  if (!FileExists(FileName)) return;
  auto image = std::make_unique<TPixelGraphic>();
  try {
    image->OnProgress = [this](TObject* Sender, int AStep, int Max, bool& Abort) {
      Progress(Sender, AStep, Max, Abort);
    };
    image->SetReadWarningAction(pgwaIgnore);
    image->SetJPEGFastDCT(true);
    image->LoadFromFileIndex(FileName, 0);
    if (!stop_) {
      const int w = image->GetWidth(), h = image->GetHeight();
      if (PreviewWidth < w || PreviewHeight < h) {
        const long double ratio = static_cast<long double>(w) / h;
        int newW = PreviewWidth, newH = PreviewHeight;
        if (static_cast<long double>(PreviewWidth) / PreviewHeight >= ratio)
          newW = std::min(std::max(static_cast<int>(std::trunc(ratio * PreviewHeight)), 1), w);
        else
          newH = std::min(std::max(static_cast<int>(std::trunc(PreviewWidth / ratio)), 1), h);
        auto next = std::make_unique<TPixelGraphic>();
        next->SetSize(newW, newH, pgbc24);
        next->SetStretchMode(StretchMode);
        CopyInto(image, std::move(next));
      }
      if (!stop_ && DisplayBits <= 8) {
        auto next = std::make_unique<TPixelGraphic>();
        next->SetSize(image->GetWidth(), image->GetHeight(), DisplayFormat(DisplayBits));
        if (SetDisplayPalette(next.get(), image.get(), DisplayBits, Palette8BitSys24BitGraphic,
                              Palette8BitSys8BitGraphic))
          MedianCutQuantize(next.get(), image.get(), kOptimizedPaletteColors, true);
        CopyInto(image, std::move(next));
      }
    }
  } catch (...) {
    return;  // an unreadable file or a failed conversion: no preview, no message
  }
  if (stop_) return;
  PostOwnedMessage(PostWnd, kWorkerResult, 0, reinterpret_cast<LPARAM>(image.release()), FreePostedGraphic);
}

// ---- The dialog -------------------------------------------------------------------------------

TPGOpenDialog::TPGOpenDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  TOpenDialog::SetOptions(TOpenOptions{ofHideReadOnly, ofShareAware});  // without the check
  worker_ = new TCreateOpenSaveDialogPaintPGThread(false, true);
  SetFilter(BuildDefaultFilter());
  timer_ = new TTimer(nullptr);
  timer_->SetEnabled(false);
  timer_->SetInterval(kSettleMs);
  timer_->SetOnTimer([this](TObject* Sender) { PreviewTimer(Sender); });
}

TPGOpenDialog::~TPGOpenDialog() {
  delete timer_;
  timer_ = nullptr;
  FreePreview();
  StopWorker();
  delete worker_;
}

void TPGOpenDialog::SetOptions(TOpenOptions Value) {
  if (!Value.Contains(ofShareAware)) {
    ShowMessage("TPGOpenDialog.Options and TPGSaveDialog.Options must include ofShareAware!");
    Value.Include(ofShareAware);
  }
  TOpenDialog::SetOptions(Value);
}

std::string TPGOpenDialog::BuildDefaultFilter() {
  std::vector<TFileFormatReader*> readers;
  for (int i = 0; i < FileFormatReaders->Count(); ++i) {
    auto* reader = static_cast<TFileFormatReader*>(FileFormatReaders->Items(i));
    if (reader->InFilter) readers.push_back(reader);
  }
  std::stable_sort(readers.begin(), readers.end(), [](const TFileFormatReader* a, const TFileFormatReader* b) {
    return CompareFileFormatExtensions(a, b) < 0;
  });
  std::string filter;
  if (!readers.empty()) {
    filter = PGLangStr(pgsImageFiles) + "|";
    for (std::size_t i = 0; i < readers.size(); ++i) filter += (i ? "; *." : "*.") + LowerCase(readers[i]->Extension);
    filter += "|";
    for (TFileFormatReader* r : readers)
      filter += UpperCase(r->Extension) + " - " + r->Description + "|*." + LowerCase(r->Extension) + "|";
  }
  return filter + PGLangStr(pgsAllFiles) + "|*.*";
}

bool TPGOpenDialog::Execute() {
  infoValid_ = false;
  if (useDefaultFilter_) SetFilter(BuildDefaultFilter());
  return TOpenDialog::Execute();
}

BOOL TPGOpenDialog::TaskModalDialog(BOOL (*DialogFunc)(LPOPENFILENAMEA), OPENFILENAMEA& DialogData) {
  dialogData_ = &DialogData;
  DialogData.lpfnHook = OpenDialogHook;
  DialogData.Flags |= OFN_EXPLORER;
  DialogData.lCustData = reinterpret_cast<LPARAM>(this);
  previewWnd_ = infoWnd_ = fileDlgWnd_ = hookWnd_ = nullptr;
  const BOOL result = TOpenDialog::TaskModalDialog(DialogFunc, DialogData);
  dialogData_ = nullptr;
  return result;
}

void TPGOpenDialog::InitDialog(HWND child) {
  SetPropA(child, kDialogProp, this);
  fileDlgWnd_ = GetParent(child);
  hookWnd_ = child;
  SetWindowLongA(child, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS));
  const RECT size = DialogUnits(fileDlgWnd_, 0, 0, 288, 144);
  SetWindowPos(child, nullptr, 0, 0, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  // The explorer dialog lays its standard controls out in the placeholder; the panels stay right.
  MakeChild(child, "Static", "-placeholder-", WS_CHILD | WS_CLIPSIBLINGS | WS_GROUP,
            DialogUnits(fileDlgWnd_, 0, 0, 191, 144), stc32);
  constexpr DWORD kPanel = WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW;
  previewWnd_ = MakeChild(child, "Button", "Button", kPanel, DialogUnits(fileDlgWnd_, 192, 20, 92, 85), 0);
  infoWnd_ = MakeChild(child, "Button", "Button", kPanel, DialogUnits(fileDlgWnd_, 193, 110, 92, 33), 0);
}

void TPGOpenDialog::CentreOnScreen() {
  RECT r{};
  GetWindowRect(fileDlgWnd_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(fileDlgWnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 3,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR TPGOpenDialog::OpenDialogHook(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<TPGOpenDialog*>(reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
    self->InitDialog(child);
    DialogHook(child, message, wParam, lParam);
    return TRUE;
  }
  auto* self = static_cast<TPGOpenDialog*>(GetPropA(child, kDialogProp));
  if (!self) return DialogHook(child, message, wParam, lParam);
  switch (message) {
    case WM_NOTIFY:
      switch (reinterpret_cast<const OFNOTIFYA*>(lParam)->hdr.code) {
        case CDN_INITDONE:
          self->CentreOnScreen();
          DialogHook(child, message, wParam, lParam);  // OnShow
          return 1;
        case CDN_SELCHANGE:
          self->ResetPreview();
          DialogHook(child, message, wParam, lParam);  // OnSelectionChange
          return TRUE;
        default: return DialogHook(child, message, wParam, lParam);
      }
    case kStartPreview: self->StartPreview(); return TRUE;
    case kWorkerProgress:
      self->DrawPreviewClock(static_cast<int>(wParam / kSubSteps), static_cast<int>(lParam));
      return TRUE;
    case kWorkerResult: self->TakePreview(reinterpret_cast<TPixelGraphic*>(lParam)); return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->hwndItem == self->previewWnd_) {
        self->PaintPreview(item->hDC, item->rcItem);
        return TRUE;
      }
      if (item->hwndItem == self->infoWnd_) {
        self->PaintInfo(item->hDC);
        return TRUE;
      }
      return FALSE;
    }
    case WM_NCDESTROY:
      self->EndShowing();
      RemovePropA(child, kDialogProp);
      return DialogHook(child, message, wParam, lParam);
    default: return DialogHook(child, message, wParam, lParam);
  }
}

void TPGOpenDialog::EndShowing() {
  timer_->SetEnabled(false);
  StopWorker();
  FreePreview();
  previewWnd_ = infoWnd_ = hookWnd_ = fileDlgWnd_ = nullptr;
}

void TPGOpenDialog::StopWorker() {
  if (!worker_) return;
  worker_->Stop();
  DropQueuedResults();
}

void TPGOpenDialog::DropQueuedResults() { DropQueuedGraphics(hookWnd_); }

void TPGOpenDialog::FreePreview() {
  delete previewGraphic_;
  previewGraphic_ = nullptr;
}

void TPGOpenDialog::TakePreview(TPixelGraphic* Graphic) {
  FreePreview();
  previewGraphic_ = Graphic;
  InvalidatePreviewInterior();
}

void TPGOpenDialog::InvalidatePreviewInterior() {
  if (!previewWnd_) return;
  RECT r{};
  GetClientRect(previewWnd_, &r);
  r = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
  InvalidateRect(previewWnd_, &r, FALSE);
}

void TPGOpenDialog::ResetPreview() {
  timer_->SetEnabled(false);
  // A start the timer queued for the previous selection waits for this one's settle too.
  MSG msg;
  while (hookWnd_ && PeekMessageA(&msg, hookWnd_, kStartPreview, kStartPreview, PM_REMOVE)) {
  }
  StopWorker();
  FreePreview();
  infoValid_ = false;
  InvalidatePreviewInterior();
  if (infoWnd_) InvalidateRect(infoWnd_, nullptr, TRUE);
  timer_->SetEnabled(true);
}

void TPGOpenDialog::PreviewTimer(TObject*) {
  if (hookWnd_) PostMessageA(hookWnd_, kStartPreview, 0, 0);
  timer_->SetEnabled(false);
}

std::string TPGOpenDialog::SelectedPath() {
  // A long path is asked for again with the size the dialog answers; no answer means no file.
  std::vector<char> buffer(kPathBuffer);
  LRESULT length = SendMessageA(fileDlgWnd_, CDM_GETFILEPATH, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  if (length > static_cast<LRESULT>(buffer.size())) {
    buffer.assign(static_cast<std::size_t>(length), '\0');
    length = SendMessageA(fileDlgWnd_, CDM_GETFILEPATH, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  }
  if (length <= 0 || length > static_cast<LRESULT>(buffer.size())) return "";
  std::string path(buffer.data(), static_cast<std::size_t>(length - 1));
  // Several files selected ("a" "b"): the first of them.
  const std::size_t several = path.find("\" \"");
  if (several != std::string::npos) {
    path.erase(several);
    const std::size_t quote = path.find('"');
    if (quote != std::string::npos) path.erase(quote, 1);
  }
  return path;
}

void TPGOpenDialog::StartPreview() {
  FreePreview();
  StopWorker();
  const std::string path = SelectedPath();
  infoValid_ = !path.empty() && GetFileInfo(path, 0, description_, info_);
  if (infoWnd_) InvalidateRect(infoWnd_, nullptr, TRUE);
  InvalidatePreviewInterior();
  if (!infoValid_) return;
  delete worker_;
  worker_ = nullptr;
  worker_ = new TCreateOpenSaveDialogPaintPGThread(true, false);
  ++workersStarted_;
  worker_->FileName = path;
  worker_->PostWnd = hookWnd_;
  RECT client{};
  GetClientRect(previewWnd_, &client);
  worker_->PreviewWidth = client.right - 4;
  worker_->PreviewHeight = client.bottom - 4;
  worker_->StretchMode = stretchMode_;
  worker_->Palette8BitSys24BitGraphic = palette24_;
  worker_->Palette8BitSys8BitGraphic = palette8_;
  worker_->DisplayBits = PaintWorkerScreenBits();
  worker_->Resume();
}

// ---- Drawing ----------------------------------------------------------------------------------

void TPGOpenDialog::DrawPreviewClock(int Step, int Percent) {
  if (!clockVisible_ || !previewWnd_) return;
  // Drawn off screen and copied, so the hands do not flicker.
  HDC screen = GetDC(previewWnd_);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kProgressClockSize, kProgressClockSize);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT all{0, 0, kProgressClockSize, kProgressClockSize};
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(dc, &all, face);
  DeleteObject(face);
  DrawProgressClock(dc, 0, 0, Step, Percent, ColorToRGB(clockBkColor_), ColorToRGB(clockLineColor_));
  RECT client{};
  GetClientRect(previewWnd_, &client);
  const int half = kProgressClockSize / 2 + 1;
  BitBlt(screen, (client.left + client.right) / 2 - half, (client.top + client.bottom) / 2 - half, kProgressClockSize,
         kProgressClockSize, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(previewWnd_, screen);
}

void TPGOpenDialog::PaintPreview(HDC DC, const RECT& R) {
  const LONG l = R.left, t = R.top, r = R.right, b = R.bottom;
  RECT inside{l + 2, t + 2, r - 1, b - 1};
  HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(DC, &inside, face);
  DeleteObject(face);
  Line(DC, ColorToRGB(clBtnShadow), {{l, b - 2}, {l, t}, {r - 1, t}});
  Line(DC, RGB(0, 0, 0), {{l + 1, b - 3}, {l + 1, t + 1}, {r - 2, t + 1}});
  Line(DC, RGB(255, 255, 255), {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}});
  Line(DC, ColorToRGB(clBtnFace), {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}});
  if (!previewGraphic_) return;
  const int w = previewGraphic_->GetWidth(), h = previewGraphic_->GetHeight();
  const int availW = r - l - 4, availH = b - t - 4;
  int drawW = w, drawH = h;
  if ((w > availW || h > availH) && availW > 0 && availH > 0 && w > 0 && h > 0) {
    if (static_cast<long double>(availW) / availH >= static_cast<long double>(w) / h) {
      drawW = static_cast<int>(std::trunc(static_cast<long double>(availH) * w / h));
      drawH = availH;
    } else {
      drawW = availW;
      drawH = static_cast<int>(std::trunc(static_cast<long double>(availW) * h / w));
    }
  }
  const int top = (t + b - drawH) / 2, left = (l + r - drawW) / 2;
  const RECT target{left, top, left + drawW, top + drawH};
  previewGraphic_->DrawToDC(DC, target, false, SRCCOPY);
}

std::vector<std::string> TPGOpenDialog::InfoLines() const {
  std::vector<std::string> lines;
  if (!infoValid_) return lines;
  for (const std::string* text : {&description_, &info_.SubFormatText, &info_.DetailsText})
    if (!text->empty()) lines.push_back(*text);
  std::string last = IntToStr(info_.Width) + "x" + IntToStr(info_.Height) + "x" + info_.ColorsText + " " +
                     IntToStr(info_.BitsPerPixel) + " " + PGLangStr(pgsBit);
  if (info_.ImageCount > 1) last += ", " + IntToStr(info_.ImageCount);
  lines.push_back(last);
  return lines;
}

void TPGOpenDialog::PaintInfo(HDC DC) {
  if (!showInfo_ || !infoValid_) return;
  const std::vector<std::string> lines = InfoLines();
  LOGFONTA lf{};
  lf.lfHeight = kInfoFontHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "MS Sans Serif");
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(DC, font);
  RECT client{};
  GetClientRect(infoWnd_, &client);
  const int n = static_cast<int>(lines.size());
  for (int k = 0; k < n; ++k)
    TextOutA(DC, 0, k * client.bottom / n, lines[static_cast<std::size_t>(k)].c_str(),
             static_cast<int>(lines[static_cast<std::size_t>(k)].size()));
  SelectObject(DC, old);
  DeleteObject(font);
}
