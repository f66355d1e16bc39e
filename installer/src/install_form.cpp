// The installer's window: the gradient background and the install steps.
#include "installer/install_form.h"

#include "installer/gradient.h"
#include "vbrun/declare.h"
#include "vbrun/files.h"
#include "vbrun/forms.h"
#include "vbrun/interaction.h"
#include "vbrun/settings.h"
#include "win32/kernel.h"

namespace installer {
namespace {

vb::Declare<long(const char*, const char*, const char*, const char*)> fCreateShellLink("STKIT432.DLL",
                                                                                       "fCreateShellLink");

constexpr const char* kOriginalStart = "c:\\logos\\start\\originalstart.sys";

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Copies unless the target exists: the originals first saved are the user's, later ones may be
// logos the rotator put in the slots.
void CopyOriginal(const std::string& slot, const std::string& original) {
  if (vb::Dir(original).empty()) vb::FileCopy(slot, original);
}

}  // namespace

TForm1::TForm1(TComponent* owner) : vb::Form(owner) {
  SetCaption("Install For Logo");
  SetAutoRedraw(true);
  SetClientSizeTwips(6000, 3600);
  auto label = [this](int top, const char* caption) {
    auto* l = new vb::Label(this);
    l->SetParent(this);
    l->SetCaption(caption);
    l->SetForeColor(clWhite);
    vb::Place(l, 480, top, 2400, 255);
    return l;
  };
  Label1 = label(360, "Installation Directory:");
  Text1 = new vb::TextBox(this);
  Text1->SetParent(this);
  Text1->SetText("c:\\logos");
  vb::Place(Text1, 480, 660, 3255, 315);
  Label2 = label(1140, "Status:");
  Picture1 = new vb::PictureBox(this);
  Picture1->SetParent(this);
  vb::Place(Picture1, 480, 1440, 3255, 375);
  bar1 = new vb::HScrollBar(this);
  bar1->SetParent(Picture1);
  vb::Place(bar1, 30, 30, 3165, 285);
  bar1->SetRange(0, 15);
  Picture2 = new vb::PictureBox(this);
  Picture2->SetParent(this);
  Picture2->SetColor(static_cast<TColor>(0x800000));
  vb::Place(Picture2, 4080, 360, 1440, 1455);
  const int frame[4][4] = {
      {240, 240, 5760, 240}, {5760, 240, 5760, 3360}, {5760, 3360, 240, 3360}, {240, 3360, 240, 240}};
  for (int i = 0; i < 4; ++i) {
    Lines[i] = new vb::Line(this);
    Lines[i]->SetParent(this);
    Lines[i]->SetBorderColor(clWhite);
    Lines[i]->SetPoints(frame[i][0], frame[i][1], frame[i][2], frame[i][3]);
  }
  Command1 = new vb::CommandButton(this);
  Command1->SetParent(this);
  Command1->SetCaption("Install");
  vb::Place(Command1, 480, 2400, 1455, 495);
  Command1->OnClick = [this](TObject*) { Command1_Click(); };
  Command2 = new vb::CommandButton(this);
  Command2->SetParent(this);
  Command2->SetCaption("Cancel");
  vb::Place(Command2, 2280, 2400, 1455, 495);
  Command2->OnClick = [this](TObject*) { Command2_Click(); };
}

void TForm1::Form_Load() { PaintGradient(*this, 0, 0, 255, 1); }
void TForm1::Form_Resize() { PaintGradient(*this, 0, 0, 255, 1); }

void TForm1::Command2_Click() { vb::End(); }

std::string SourceFolder(const std::string& appPath) { return appPath.ends_with("\\") ? appPath : appPath + "\\"; }

std::vector<std::string> TForm1::InstallSteps(const std::string& appPath) {
  std::vector<std::string> failed;
  auto step = [&](const std::function<void()>& statement) {
    vb::ResumeNext(statement);
    vb::ResumeNext([&] { bar1->SetValue(bar1->Value() + 1); });
    bar1->Update();
  };
  for (const char* folder : {"c:\\logos", "c:\\logos\\wait", "c:\\logos\\down", "c:\\logos\\start"}) {
    step([&] { vb::MkDir(folder); });
    if (!FolderExists(folder)) failed.push_back(std::string("creating ") + folder);
  }
  std::string source;
  step([&] { source = SourceFolder(appPath); });
  step([&] {
    if (!vb::ResumeNext([&] { vb::FileCopy(source + "logo.exe", "c:\\logos\\logo.exe"); }))
      failed.push_back("copying logo.exe to c:\\logos");
  });
  step([&] { vb::FileCopy(source + "readme.txt", "c:\\logos\\readme.txt"); });
  step([&] { vb::FileCopy(source + "vorrelstart.sys", "c:\\logos\\start\\vorrelstart.sys"); });
  step([&] { vb::FileCopy(source + "vorrelwait.sys", "c:\\logos\\wait\\vorrelwait.sys"); });
  step([&] { vb::FileCopy(source + "vorreldown.sys", "c:\\logos\\down\\vorreldown.sys"); });
  // "Yes": the uninstall puts the saved startup logo back; "No": it may delete the startup logo.
  // A real logo (over 100 bytes) is put back; no logo, or a stub, is not. "Oldone" describes the
  // saved original: the one kept from an earlier install, else the logo saved now. Judging a kept
  // one again gives what that install stored, and mends a value that no longer matches it.
  step([&] {
    const bool keptOriginal = !vb::Dir(kOriginalStart).empty();
    bool real = false;
    vb::ResumeNext([&] { real = vb::FileLen(keptOriginal ? kOriginalStart : "c:\\logo.sys") > 100; });
    vb::SaveSetting("Plumtrey", "Logo", "Oldone", real ? "Yes" : "No");
  });
  step([&] { CopyOriginal("c:\\logo.sys", kOriginalStart); });
  step([&] { CopyOriginal("c:\\windows\\logos.sys", "c:\\logos\\down\\originaldown.sys"); });
  step([&] { CopyOriginal("c:\\windows\\logow.sys", "c:\\logos\\wait\\originalwait.sys"); });
  step([&] {
    long made = 0;
    vb::ResumeNext([&] { made = fCreateShellLink("Startup", "Logo", "c:\\logos\\logo.exe", ""); });
    if (!made) failed.push_back("the StartUp shortcut");
  });
  return failed;
}

void TForm1::Command1_Click() {
  const std::vector<std::string> failed = InstallSteps(vb::App().Path());
  std::string message = "The program Logo has been installed!";
  if (!failed.empty()) {
    message = "The program Logo has NOT been installed completely!\n\nThese steps failed:";
    for (const std::string& what : failed) message += "\n- " + what;
    vb::SetExitCode(kInstallFailedExitCode);
  }
  vb::MsgBox(message, vb::vbOKOnly);
  vb::MsgBox("Thank you!", vb::vbOKOnly);
  vb::End();
}

}  // namespace installer
