// The options dialog and the uninstall.
#include "rotator/options_form.h"

#include "rotator/settings.h"
#include "vbrun/conversions.h"
#include "vbrun/files.h"
#include "vbrun/interaction.h"

namespace rotator {
namespace {

template <class T>
T* Make(vb::Form* form, int left, int top, int width, int height) {
  T* control = new T(form);
  control->SetParent(form);
  vb::Place(control, left, top, width, height);
  return control;
}

}  // namespace

TForm5::TForm5(TComponent* owner) : vb::Form(owner) {
  SetCaption("Options");
  SetBorderStyle(bsDialog);
  SetClientSizeTwips(3240, 3480);
  Label1 = Make<vb::Label>(this, 120, 120, 1500, 255);
  Label1->SetCaption("Shutdown:");
  Check1 = Make<vb::CheckBox>(this, 240, 420, 1500, 255);
  Check1->SetCaption("Shutdown");
  vb::SetToolTipText(Check1, "Will make logo shutdown in a certin number of seconds if checked");
  Text1 = Make<vb::TextBox>(this, 240, 780, 495, 315);
  Text1->SetText("6");
  Text1->SetAlignment(taCenter);
  Text1->SetMaxLength(2);
  vb::SetToolTipText(Text1, "Number of seconds logo will shutdown");
  Label2 = Make<vb::Label>(this, 840, 825, 495, 255);
  Label2->SetCaption("Sec");
  Command1 = Make<vb::CommandButton>(this, 1560, 750, 1215, 375);
  Command1->SetCaption("Default");
  vb::SetToolTipText(Command1, "Go to the default number of seconds");
  Label4 = Make<vb::Label>(this, 120, 1320, 1500, 255);
  Label4->SetCaption("Random:");
  Check2 = Make<vb::CheckBox>(this, 240, 1620, 2415, 255);
  Check2->SetCaption("Automatic Random");
  vb::SetToolTipText(Check2, "When Logo Boots Up it will change logo randomly if checked");
  Command4 = Make<vb::CommandButton>(this, 240, 2100, 2775, 435);
  Command4->SetCaption("Uninstall Logo");
  vb::SetToolTipText(Command4, "Uninstall Logo and put back original logos");
  Command2 = Make<vb::CommandButton>(this, 240, 2820, 1335, 435);
  Command2->SetCaption("Ok");
  Command3 = Make<vb::CommandButton>(this, 1680, 2820, 1335, 435);
  Command3->SetCaption("Cancel");

  Check1->OnClick = [this](TObject*) { Check1_Click(); };
  Check2->OnClick = [this](TObject*) { Check2_Click(); };
  Command1->OnClick = [this](TObject*) { Command1_Click(); };
  Command2->OnClick = [this](TObject*) { Command2_Click(); };
  Command3->OnClick = [this](TObject*) { Command3_Click(); };
  Command4->OnClick = [this](TObject*) { Command4_Click(); };
  Text1->OnExit = [this](TObject*) { Text1_LostFocus(); };
}

void TForm5::Form_Load() {
  // A stored "Time" that is no whole number counts as none.
  if (auto seconds = WholeSeconds(ReadSetting("Time")); seconds && *seconds >= 1) Text1->SetText(std::to_string(*seconds));
  if (const std::string shut = ReadSetting("Shut"); !shut.empty()) Check1->SetValue(shut == "Yes" ? 1 : 0);
  Check2->SetValue(ReadSetting("Random") == "Yes" ? 1 : 0);
}

void TForm5::Check1_Click() {
  const bool on = Check1->Value() == 1;
  Text1->SetEnabled(on);
  Command1->SetEnabled(on);
}

void TForm5::Check2_Click() { WriteSetting("Random", Check2->Value() == 1 ? "Yes" : "No"); }

void TForm5::Command1_Click() {
  Text1->SetText("6");
  WriteSetting("Time", "6");
}

void TForm5::Text1_LostFocus() {
  if (vb::IsNumeric(Text1->GetText())) return;
  vb::MsgBox("Please enter an integer from 1 to 99", vb::vbOKOnly);
  Text1->SetFocus();
}

void TForm5::Command2_Click() {
  const std::string text = Text1->GetText();
  if (Check1->Value() == 1 && vb::IsNumeric(text))
    if (auto seconds = WholeSeconds(text); seconds && *seconds >= 1) WriteSetting("Time", text);
  WriteSetting("Shut", Check1->Value() == 1 ? "Yes" : "No");
  const bool random = Check2->Value() == 1;  // read before the dialog is gone
  Unload();
  WriteSetting("Random", random ? "Yes" : "No");
}

void TForm5::Command3_Click() { Unload(); }

void TForm5::Command4_Click() {
  if (vb::MsgBox("Are you sure you want to remove logo from your hard drive?", vb::vbYesNo) != vb::vbYes) return;
  vb::ResumeNext([] {
    const std::string oldone = ReadSetting("Oldone");
    if (oldone == "No") vb::Kill("c:\\logo.sys");
    else if (oldone == "Yes") vb::FileCopy("c:\\logos\\start\\originalstart.sys", "c:\\logo.sys");
  });
  // The wait and turn-off originals go back to their slots before the libraries go.
  vb::ResumeNext([] { vb::FileCopy("c:\\logos\\wait\\originalwait.sys", "c:\\windows\\logow.sys"); });
  vb::ResumeNext([] { vb::FileCopy("c:\\logos\\down\\originaldown.sys", "c:\\windows\\logos.sys"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\readme.txt"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\down\\*.*"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\wait\\*.*"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\start\\*.*"); });
  vb::ResumeNext([] { vb::RmDir("c:\\logos\\down"); });
  vb::ResumeNext([] { vb::RmDir("c:\\logos\\wait"); });
  vb::ResumeNext([] { vb::RmDir("c:\\logos\\start"); });
  vb::MsgBox("Logo was removed! You will have to delete c:\\logos\\logo.exe", vb::vbOKOnly);
}

}  // namespace rotator
