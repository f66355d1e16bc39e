#pragma once
// The rotator's start-up window: silent rotation with "RUN", the stored settings at an ordinary
// start, the self-close timer that any button disarms.
#include "vbrun/controls.h"

namespace rotator {

class TForm5;
class TForm6;
class TfrmAbout;

// A random file of the list copied over the slot file; with `noneRule` a picked "none.sys"
// deletes the slot file instead. Failures raise.
void CopyRandomPick(vb::FileListBox& list, const std::string& slotFile, bool noneRule);
// Where "RUN" changed no slot at all: one line on standard error with why (the last failure),
// and this exit code.
inline constexpr int kNothingRotatedExitCode = 1;
void ReportNothingRotated(const std::string& why);

class TForm1 : public vb::Form {
 public:
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  void Command1_Click();  // Exit
  void Command2_Click();  // Random Logo
  void Command3_Click();  // Manually Pick
  void Command4_Click();  // About
  void Command6_Click();  // Options
  void Timer1_Timer();

  vb::Frame* Frame1;
  vb::CommandButton *Command1, *Command2, *Command3, *Command4, *Command6;
  vb::FileListBox *File1, *File2, *File3;
  vb::Timer* Timer1;

  vb::FormInstance<TForm5> Form5;
  vb::FormInstance<TForm6> Form6;
  vb::FormInstance<TfrmAbout> frmAbout;

 protected:
  void Form_Load() override;

 private:
  // Pointing the lists at their libraries; a list whose library is missing is not used.
  bool pointed_[3] = {false, false, false};
};

}  // namespace rotator
