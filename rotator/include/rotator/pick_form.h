#pragma once
// The manual pick dialog: one tab per slot with its library, a preview and a random suggestion.
#include "vbrun/controls.h"

namespace rotator {

class TForm1;

class TForm6 : public vb::Form {
 public:
  TForm6(TComponent* owner, TForm1* mainForm);

  void FileClick(int tab);  // File1_Click, File2_Click, File3_Click
  void RandomClick(int tab);  // Command8_Click, Command1_Click, Command3_Click
  void Command7_Click();  // Apply
  void Command6_Click();  // Close

  vb::SSTab* SSTab1;
  vb::FileListBox* Files[3];  // File1, File2, File3
  vb::CommandButton* Randoms[3];  // Command8, Command1, Command3
  vb::Frame* Frames[3];  // Frame1, Frame2, Frame3
  vb::Image* Previews[3];  // Image1, Image2, Image5
  vb::Image* Pictures[3];  // Image3, Image4, Image6: each tab's fixed picture, kept with the window
  vb::CommandButton *Command7, *Command6;

 protected:
  void Form_Load() override;

 private:
  // A picture that cannot be read leaves the preview empty.
  void ShowPreview(int tab, const std::string& file);
  TForm1* mainForm_;
};

}  // namespace rotator
