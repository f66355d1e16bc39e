#pragma once
// The options dialog: self-close, its seconds, rotation at start, and the uninstall.
#include "vbrun/controls.h"

namespace rotator {

class TForm5 : public vb::Form {
 public:
  explicit TForm5(TComponent *owner);

  void Check1_Click();
  void Check2_Click();
  void Command1_Click();  // Default
  void Command2_Click();  // Ok
  void Command3_Click();  // Cancel
  void Command4_Click();  // Uninstall Logo
  void Text1_LostFocus();

  vb::Label *Label1, *Label2, *Label4;
  vb::CheckBox *Check1, *Check2;
  vb::TextBox *Text1;
  vb::CommandButton *Command1, *Command2, *Command3, *Command4;

 protected:
  void Form_Load() override;
};

}  // namespace rotator
