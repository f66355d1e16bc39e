// The About box and its registry look-up of the system information tool.
#include "rotator/about_form.h"

#include <vector>

#include "vbrun/conversions.h"
#include "vbrun/declare.h"
#include "vbrun/files.h"
#include "vbrun/interaction.h"
#include "vcl/graphics_images.h"
#include "win32/shell.h"

namespace rotator {
namespace {

vb::Declare<LONG(HKEY, LPCSTR, DWORD, REGSAM, PHKEY)> RegOpenKeyEx("advapi32", "RegOpenKeyExA");
vb::Declare<LONG(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)> RegQueryValueEx("advapi32", "RegQueryValueExA");
vb::Declare<LONG(HKEY)> RegCloseKey("advapi32", "RegCloseKey");

constexpr const char* kMailAddress = "plumtrey.software@example.com";
constexpr const char* kWebPage = "www.example.com/plumtrey";
constexpr const char* kLogoPages[4] = {"http://www.example.com/logos", "http://www.example.net/startlogos",
                                       "http://www.example.org/boot-logos", "http://www.example.com/more-logos"};
constexpr TColor kHover = static_cast<TColor>(0xFF0000);
constexpr TColor kResting = static_cast<TColor>(0);

}  // namespace

bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal) {
  HKEY key = nullptr;
  std::vector<BYTE> buffer(1024, 0);
  DWORD size = 1024, type = 0;
  if (RegOpenKeyEx(KeyRoot, KeyName.c_str(), 0, 0x2003F, &key) != ERROR_SUCCESS ||
      RegQueryValueEx(key, SubKeyRef.c_str(), nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS) {
    KeyVal = "";
    if (key) RegCloseKey(key);
    return false;
  }
  std::string data(reinterpret_cast<const char*>(buffer.data()), size);
  if (!data.empty() && data.back() == '\0') data.pop_back();  // empty data has no NUL to drop
  if (type == REG_SZ) {
    KeyVal = data;
  } else if (type == REG_DWORD && data.size() <= 4) {  // a zero high byte went with the NUL
    static const char* digits = "0123456789ABCDEF";
    std::string hex = "&h";
    for (int i = static_cast<int>(data.size()) - 1; i >= 0; --i) {
      const auto byte = static_cast<unsigned char>(data[static_cast<size_t>(i)]);
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
    double value = vb::Val(hex);
    if (value < 0) value += 4294967296.0;  // the number is unsigned
    KeyVal = std::to_string(static_cast<unsigned long long>(value));
  }
  RegCloseKey(key);
  return true;
}

void StartSysInfo() {
  try {
    std::string path;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path)) {
      vb::Shell(path, vb::vbNormalFocus);
      return;
    }
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", path) &&
        !vb::Dir(path + "\\MSINFO32.EXE").empty()) {
      vb::Shell(path + "\\MSINFO32.EXE", vb::vbNormalFocus);
      return;
    }
  } catch (const vb::RuntimeError&) {
  }
  vb::MsgBox("System Information Is Unavailable At This Time", vb::vbOKOnly);
}

TfrmAbout::TfrmAbout(TComponent* owner) : vb::Form(owner) {
  SetBorderStyle(bsDialog);
  SetClientSizeTwips(5730, 4950);
  AddControls();
  ConnectEvents();
}

void TfrmAbout::AddControls() {
  auto label = [this](int left, int top, int width, int height, const std::string& caption) {
    auto* l = new vb::Label(this);
    l->SetParent(this);
    l->SetCaption(caption);
    l->SetWordWrap(true);
    vb::Place(l, left, top, width, height);
    return l;
  };
  picIcon = new vb::PictureBox(this);
  picIcon->SetParent(this);
  vb::Place(picIcon, 240, 240, 540, 540);
  lblTitle = label(1050, 240, 3885, 480, "");
  lblTitle->Font()->SetSize(14);
  lblVersion = label(1050, 780, 3885, 225, "");
  lblDescription = label(1050, 1125, 3885, 450, "A program that will randomly change your windows 95 logos.");
  lblDisclaimer = label(1050, 1650, 3885, 255, "Made by: Plumtrey Software");
  Label1 = label(1050, 1950, 3885, 255, kMailAddress);
  Label2 = label(1050, 2250, 3885, 255, kWebPage);
  Label3 = label(240, 2640, 3000, 255, "For more logos goto:");
  for (int i = 0; i < 4; ++i) {
    Texts[i] = new vb::TextBox(this);
    Texts[i]->SetParent(this);
    Texts[i]->SetText(kLogoPages[i]);
    Texts[i]->SetLocked(true);
    Texts[i]->SetColor(static_cast<TColor>(0xC0C0C0));
    Texts[i]->SetForeColor(static_cast<TColor>(0xFF0000));
    vb::Place(Texts[i], 240, 2940 + 330 * i, 3600, 300);
  }
  for (int i = 0; i < 2; ++i) {
    Line1[i] = new vb::Line(this);
    Line1[i]->SetParent(this);
    Line1[i]->SetBorderColor(i == 0 ? clBtnShadow : clBtnHighlight);
    Line1[i]->SetPoints(240, 2580 + 15 * i, 5490, 2580 + 15 * i);
  }
  cmdOK = new vb::CommandButton(this);
  cmdOK->SetParent(this);
  cmdOK->SetCaption("OK");
  vb::Place(cmdOK, 4125, 3000, 1365, 375);
  cmdSysInfo = new vb::CommandButton(this);
  cmdSysInfo->SetParent(this);
  cmdSysInfo->SetCaption("&System Info...");
  vb::Place(cmdSysInfo, 4125, 3450, 1365, 375);
}

void TfrmAbout::ConnectEvents() {
  for (vb::TextBox* text : Texts) text->OnClick = [this, text](TObject*) { OpenLink(text->GetText()); };
  cmdOK->OnClick = [this](TObject*) { cmdOK_Click(); };
  cmdSysInfo->OnClick = [this](TObject*) { cmdSysInfo_Click(); };
  Label1->OnClick = [this](TObject*) { OpenLink(std::string("mailto:") + kMailAddress); };
  Label2->OnClick = [this](TObject*) { OpenLink(std::string("http://") + kWebPage); };
  Label1->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverLabel(1); };
  Label2->OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverLabel(2); };
  OnMouseMove = [this](TObject*, TShiftState, int, int) { HoverLabel(0); };
}

void TfrmAbout::Form_Load() {
  SetCaption("About " + vb::App().Title);
  lblVersion->SetCaption("Version " + std::to_string(vb::App().Major) + "." + std::to_string(vb::App().Minor) + "." +
                         std::to_string(vb::App().Revision));
  lblTitle->SetCaption(vb::App().Title);
  picIcon->Picture()->SetIcon(Application->Icon());
}

void TfrmAbout::cmdOK_Click() { Unload(); }
void TfrmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void TfrmAbout::OpenLink(const std::string& address) {
  std::string error;
  if (!shell::OpenAddress(address, &error)) vb::MsgBox("Could not open " + address + ": " + error, vb::vbExclamation);
}

void TfrmAbout::HoverLabel(int which) {
  vb::Label* labels[2] = {Label1, Label2};
  for (int i = 0; i < 2; ++i) {
    if (which == i + 1) labels[i]->SetForeColor(kHover);
    else if (labels[i]->ForeColor() == kHover)
      labels[i]->SetForeColor(kResting);
  }
}

}  // namespace rotator
