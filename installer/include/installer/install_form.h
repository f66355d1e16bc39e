#pragma once
// The installer's window and its fifteen install steps.
#include <string>
#include <vector>

#include "vbrun/controls.h"

namespace installer {

// The folder the installed files come from: the program's folder with one closing backslash.
std::string SourceFolder(const std::string& appPath);

// The exit code of an install whose report names failed steps.
inline constexpr int kInstallFailedExitCode = 1;

class TForm1 : public vb::Form {
 public:
  explicit TForm1(TComponent* owner);

  void Command1_Click();  // Install: the steps, then the report, which leads with what failed
  void Command2_Click();  // Cancel

  // The steps of Install from the program folder `appPath` (App.Path); the essential ones that
  // failed are named (none when all worked).
  std::vector<std::string> InstallSteps(const std::string& appPath);

  vb::Label *Label1, *Label2;
  vb::TextBox* Text1;
  vb::PictureBox *Picture1, *Picture2;
  vb::HScrollBar* bar1;
  vb::Line* Lines[4];
  vb::CommandButton *Command1, *Command2;

 protected:
  void Form_Load() override;
  void Form_Resize() override;
};

}  // namespace installer
