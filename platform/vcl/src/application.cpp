// TApplication: the message loop, exceptions that no handler caught, the mouse while idle.
#include <cstdio>

#include "host/display.h"
#include "vcl/dialogs.h"
#include "vcl/forms.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"
#include "vcl/system.h"
#include "win32/icons.h"
#include "vcl/threads.h"

TApplication* Application = new TApplication(nullptr);

bool RefuseStartWithoutDesktop(const std::string& Program) {
  if (!host::Unattended()) return false;
  std::fprintf(stderr,
               "%s: no desktop to show its window on (%s), and nothing drives the headless display.\n"
               "Runs that need nobody: \"tarnquill /AUTO\" saves a new logo, \"logo.exe RUN\" rotates the logos.\n",
               Program.c_str(), host::NoDesktopReason().c_str());
  return true;
}

namespace {

// Input that puts a hint away.
bool CancelsHint(UINT Msg) {
  switch (Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return true;
    default: return false;
  }
}

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), icon_(std::make_unique<TIcon>()) {
  icon_->OnChange = [this](TObject*) {
    smallIconStale_ = true;
    if (!Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i)->HandleAllocated()) GiveIcon(Screen->Forms(i)->Handle());
  };
}

void TApplication::GiveIcon(HWND Window) {
  HICON big = icon_->Handle();
  if (smallIconStale_) {
    if (smallIcon_) DestroyIcon(smallIcon_);
    smallIcon_ = nullptr;
    smallIconStale_ = false;
    TMemoryStream file;
    try {
      icon_->SaveToStream(&file);  // an icon made from a handle has no file: no small icon
    } catch (const EInvalidGraphicOperation&) {
    }
    if (file.Size() > 0)
      smallIcon_ = icons::IconFromFileData(static_cast<const BYTE*>(file.Memory()),
                                           static_cast<std::size_t>(file.Size()), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
  }
  SendMessageA(Window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(Window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(big ? smallIcon_ : nullptr));
}

std::string TApplication::Title() const {
  if (!title_.empty()) return title_;
  return ChangeFileExt(ExtractFileName(ExeName()), "");
}

void TApplication::SetTitle(const std::string& Value) {
  title_ = Value;
  SetApplicationTitle(Value);
}

std::string TApplication::ExeName() const { return ParamStr(0); }

void TApplication::FormDestroyed(TCustomForm* Form) {
  if (mainForm_ == Form) mainForm_ = nullptr;
}

void TApplication::Run() {
  // A program that asked to end while starting ("/AUTO") shows nothing.
  if (mainForm_ && showMainForm_ && !terminated_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

bool TApplication::ProcessMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  if (CancelsHint(msg.message)) CancelHint();
  try {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

void TApplication::Idle() {
  TrackMouseIdle();
  FreeDeviceContexts();
  try {
    if (CheckSynchronize()) return;
  } catch (...) {
    HandleException(this);
    return;
  }
  // Synchronize wakes this wait by posting to the queue.
  if (!terminated_) WaitMessage();
}

void TApplication::TrackMouseIdle() {
  POINT p;
  if (!GetCursorPos(&p)) return;
  TWinControl* window = TWinControl::FindControl(WindowFromPoint(p));
  if (!window) {
    SetMouseControl(nullptr);
    return;
  }
  POINT client = p;
  ::ScreenToClient(window->Handle(), &client);
  TControl* under = window->ControlAtPos(client, true);
  SetMouseControl(under ? under : window);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  return ::MessageBox(Text, Caption, Flags);
}

void TApplication::ShowException(const std::exception& E) {
  std::string text = E.what();
  // Messages are shown as sentences.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  auto report = [&](Exception& e) {
    if (!OnException) return ShowException(e);
    try {
      OnException(Sender, e);
    } catch (const std::exception& failure) {
      ShowException(failure);  // the handler itself failed; it cannot be asked again
    }
  };
  try {
    std::rethrow_exception(current);
  } catch (Exception& e) {
    report(e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    report(wrapped);
  } catch (...) {
    Exception unknown("Unknown exception");
    report(unknown);
  }
}

const TClassInfo& TApplication::StaticClassInfo() {
  static const TClassInfo info("TApplication", &TComponent::StaticClassInfo());
  return info;
}
