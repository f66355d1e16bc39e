// The options dialog and the uninstall.
#include "rotator/options_form.h"

#include <strings.h>

#include <optional>
#include <vector>

#include "rotator/settings.h"
#include "vbrun/conversions.h"
#include "vbrun/files.h"
#include "vbrun/interaction.h"
#include "vcl/streams.h"
#include "win32/kernel.h"
#include "win32/shell.h"

namespace rotator {
namespace {

template <class T>
T* Make(vb::Form* form, int left, int top, int width, int height) {
  T* control = new T(form);
  control->SetParent(form);
  vb::Place(control, left, top, width, height);
  return control;
}

constexpr const char* kOriginalStart = "c:\\logos\\start\\originalstart.sys";
constexpr const char* kLibraries[3] = {"c:\\logos\\down", "c:\\logos\\wait", "c:\\logos\\start"};

// The whole file, or none when it cannot be read.
std::optional<std::string> Contents(const std::string& path) {
  try {
    TFileStream in(path, fmOpenRead | fmShareDenyNone);
    std::string bytes(static_cast<std::size_t>(in.Size()), '\0');
    if (in.Read(bytes.data(), in.Size()) != in.Size()) return std::nullopt;
    return bytes;
  } catch (const Exception&) {
    return std::nullopt;
  }
}

// Every file left in the folder, hidden ones too.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  return names;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the startup slot holds a logo the rotator put there: byte for byte one of the start
// library's, the saved original not counted (that one is the user's).
bool IsRotatedStartLogo() {
  const std::optional<std::string> slot = Contents(kStartSlot.file);
  if (!slot) return false;
  for (const std::string& name : FilesIn(kLibraries[2])) {
    if (strcasecmp(name.c_str(), "originalstart.sys") == 0) continue;
    if (Contents(std::string(kLibraries[2]) + "\\" + name) == slot) return true;
  }
  return false;
}

// A saved original copied back over its slot; a failure counts only when there was one to copy.
void PutBack(const std::string& original, const std::string& slot, std::vector<std::string>& failed) {
  if (!vb::ResumeNext([&] { vb::FileCopy(original, slot); }) && !vb::Dir(original).empty())
    failed.push_back("putting back " + slot);
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
  if (auto seconds = WholeSeconds(ReadSetting("Time")); seconds && *seconds >= 1)
    Text1->SetText(std::to_string(*seconds));
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
  std::vector<std::string> failed;
  vb::ResumeNext([&] {
    const std::string oldone = ReadSetting("Oldone");
    // "No": the machine had no logo of its own, so the slot holds one of ours at most. A logo that
    // is none of the library's is the user's and has no copy: it stays.
    if (oldone == "No" && IsRotatedStartLogo()) {
      if (!vb::ResumeNext([] { vb::Kill(kStartSlot.file); })) failed.push_back("deleting c:\\logo.sys");
    } else if (oldone == "Yes") {
      if (!vb::ResumeNext([] { vb::FileCopy(kOriginalStart, kStartSlot.file); }))
        failed.push_back("putting back c:\\logo.sys");
    }
  });
  // The wait and turn-off originals go back to their slots before the libraries go.
  PutBack("c:\\logos\\wait\\originalwait.sys", kWaitSlot.file, failed);
  PutBack("c:\\logos\\down\\originaldown.sys", kDownSlot.file, failed);
  vb::ResumeNext([] { vb::Kill("c:\\logos\\readme.txt"); });
  if (!vb::Dir("c:\\logos\\readme.txt").empty()) failed.push_back("deleting c:\\logos\\readme.txt");
  // The installer's StartUp shortcut would start what was removed at each log-on.
  const std::string shortcut = shell::ProgramGroupFolder("Startup") + "\\Logo.lnk";
  vb::ResumeNext([&] { vb::Kill(shortcut); });
  if (!vb::Dir(shortcut).empty()) failed.push_back("deleting " + shortcut);
  vb::ResumeNext([] { vb::Kill("c:\\logos\\down\\*.*"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\wait\\*.*"); });
  vb::ResumeNext([] { vb::Kill("c:\\logos\\start\\*.*"); });
  for (const char* library : kLibraries)
    for (const std::string& name : FilesIn(library)) failed.push_back("deleting " + std::string(library) + "\\" + name);
  for (const char* library : kLibraries)
    if (!vb::ResumeNext([library] { vb::RmDir(library); }) && FolderExists(library))
      failed.push_back("removing " + std::string(library));
  std::string message = "Logo was removed! You will have to delete c:\\logos\\logo.exe";
  if (!failed.empty()) {
    message += "\n\nThese steps failed:";
    for (const std::string& what : failed) message += "\n- " + what;
  }
  vb::MsgBox(message, vb::vbOKOnly);
}

}  // namespace rotator
