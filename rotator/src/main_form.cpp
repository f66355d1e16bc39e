// The rotator's main window.
#include "rotator/main_form.h"

#include <cstdio>
#include <string>

#include "rotator/about_form.h"
#include "rotator/options_form.h"
#include "rotator/pick_form.h"
#include "rotator/settings.h"
#include "vbrun/conversions.h"
#include "vbrun/errors.h"
#include "vbrun/files.h"
#include "vbrun/forms.h"
#include "vbrun/interaction.h"

namespace rotator {

void CopyRandomPick(vb::FileListBox& list, const std::string& slotFile, bool noneRule) {
  const std::string name = list.List(vb::RandomIndex(list.ListCount()));
  if (noneRule && name == "none.sys") vb::Kill(slotFile);
  else
    vb::FileCopy(list.Path() + "\\" + name, slotFile);
}

void ReportNothingRotated(const std::string& why) {
  std::fprintf(stderr, "logo.exe RUN: no logo could be put into any slot (%s)\n", why.c_str());
  vb::SetExitCode(kNothingRotatedExitCode);
}

TForm1::TForm1(TComponent* owner)
    : vb::Form(owner),
      Form5([this] { return new TForm5(Application); }),
      Form6([this] { return new TForm6(Application, this); }),
      frmAbout([this] { return new TfrmAbout(Application); }) {
  SetCaption("Logo");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu, biMinimize});
  SetClientSizeTwips(2640, 3375);
  Frame1 = new vb::Frame(this);
  Frame1->SetParent(this);
  vb::Place(Frame1, 120, 60, 2415, 3210);
  struct Button {
    vb::CommandButton*& control;
    const char* caption;
    int top;
    const char* tip;
    void (TForm1::*handler)();
  };
  const Button buttons[] = {
      {Command2, "Random Logo", 240, "Picks random logos", &TForm1::Command2_Click},
      {Command3, "Manually Pick", 840, "Allows you to choose your own logos", &TForm1::Command3_Click},
      {Command6, "Options", 1440, "Configures Options", &TForm1::Command6_Click},
      {Command4, "About", 2040, "Tells you about the program", &TForm1::Command4_Click},
      {Command1, "Exit", 2640, "What do you think it is?", &TForm1::Command1_Click},
  };
  for (const Button& b : buttons) {
    b.control = new vb::CommandButton(this);
    b.control->SetParent(this);
    b.control->SetCaption(b.caption);
    b.control->SetColor(static_cast<TColor>(0xC0C0C0));
    vb::SetToolTipText(b.control, b.tip);
    vb::Place(b.control, 240, b.top, 2175, 495);
    auto handler = b.handler;
    b.control->OnClick = [this, handler](TObject*) { (this->*handler)(); };
  }
  // The lists only enumerate the libraries: they lie outside the window's client area.
  vb::FileListBox** lists[] = {&File1, &File2, &File3};
  for (int i = 0; i < 3; ++i) {
    *lists[i] = new vb::FileListBox(this);
    (*lists[i])->SetParent(this);
    (*lists[i])->SetPattern("*.sys");
    (*lists[i])->SetHidden(true);
    (*lists[i])->SetSystem(true);
    vb::Place(*lists[i], 4000 + 1300 * i, 240, 1215, 1000);
  }
  Timer1 = new vb::Timer(this);
  Timer1->SetIntervalMs(6000);
  Timer1->SetEnabled(false);
  Timer1->SetOnTimer([this](TObject*) { Timer1_Timer(); });
}

TForm1::~TForm1() = default;

void TForm1::Form_Load() {
  vb::ResumeNext([] { vb::Randomize(); });
  vb::FileListBox* lists[] = {File1, File2, File3};
  const Slot* slots[] = {&kStartSlot, &kWaitSlot, &kDownSlot};
  for (int i = 0; i < 3; ++i) pointed_[i] = vb::ResumeNext([&] { lists[i]->SetPath(slots[i]->library); });

  if (vb::Command() == "RUN") {
    int updated = 0;
    std::string why = "no library of logos";
    for (int i = 0; i < 3; ++i) {
      if (!pointed_[i]) continue;
      if (vb::ResumeNext([&] { CopyRandomPick(*lists[i], slots[i]->file, i == 0); })) ++updated;
      else
        why = vb::Err().Description;
    }
    if (updated == 0) ReportNothingRotated(why);
    vb::End();
  }

  // The timer's limit refuses more than 65 seconds; the interval then stays at 6 seconds.
  if (auto seconds = WholeSeconds(ReadSetting("Time")); seconds && *seconds >= 1)
    vb::ResumeNext([&] { Timer1->SetIntervalMs(*seconds * 1000L); });
  if (const std::string shut = ReadSetting("Shut"); !shut.empty()) Timer1->SetEnabled(shut == "Yes");
  if (ReadSetting("Random") == "Yes")
    for (int i = 0; i < 3; ++i)
      if (pointed_[i]) vb::ResumeNext([&] { CopyRandomPick(*lists[i], slots[i]->file, false); });
}

void TForm1::Timer1_Timer() { vb::End(); }

void TForm1::Command1_Click() {
  Timer1->SetEnabled(false);
  vb::End();
}

void TForm1::Command2_Click() {
  Timer1->SetEnabled(false);
  vb::FileListBox* lists[] = {File1, File2, File3};
  const Slot* slots[] = {&kStartSlot, &kWaitSlot, &kDownSlot};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) vb::ResumeNext([] { vb::Randomize(); });
    if (pointed_[i]) vb::ResumeNext([&] { CopyRandomPick(*lists[i], slots[i]->file, false); });
  }
}

void TForm1::Command3_Click() {
  Timer1->SetEnabled(false);
  Form6->ShowForm();
}

void TForm1::Command4_Click() {
  Timer1->SetEnabled(false);
  frmAbout->ShowForm();
}

void TForm1::Command6_Click() {
  Timer1->SetEnabled(false);
  Form5->ShowForm();
}

}  // namespace rotator
