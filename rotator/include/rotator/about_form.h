#pragma once
// The rotator's About box: version, maker, links and the system information tool.
#include "vbrun/controls.h"
#include "win32/registry.h"

namespace rotator {

// The value of a registry entry as text: a string without its closing NUL, a 32-bit number as
// its unsigned decimal value. False (and "") when the key or value cannot be read.
bool GetKeyValue(HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);
// Starts the system information tool the registry names, or says it is unavailable.
void StartSysInfo();

class TfrmAbout : public vb::Form {
 public:
  explicit TfrmAbout(TComponent* owner);

  void cmdOK_Click();
  void cmdSysInfo_Click();
  // Opens a link's address; a failure is told, not fatal.
  void OpenLink(const std::string& address);
  void HoverLabel(int which);  // Label1_MouseMove (1), Label2_MouseMove (2), Form_MouseMove (0)

  vb::PictureBox* picIcon;
  vb::Label *lblTitle, *lblVersion, *lblDescription, *lblDisclaimer, *Label1, *Label2, *Label3;
  vb::TextBox* Texts[4];  // Text1 .. Text4
  vb::Line* Line1[2];
  vb::CommandButton *cmdOK, *cmdSysInfo;

 protected:
  void Form_Load() override;

 private:
  void AddControls();
  void ConnectEvents();
};

}  // namespace rotator
