// The classic look of the standard controls against reviewed pictures in tests/golden/. Each
// picture is text: a line "w h", one line per colour ("c RRGGBB"), then one row of colour letters
// per pixel row. Run with STARTLOGO_UPDATE_GOLDEN=1 to write the pictures anew from this renderer
// (then review the changed files before committing them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "stdctrls_fixture.h"
#include "vcl/filectrl.h"
#include "vcl/forms_scrolling.h"
#include "vcl/stdctrls.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

std::filesystem::path GoldenFolder() { return std::filesystem::path(__FILE__).parent_path() / "golden"; }

std::string Encode(const host::Image& shot, int x0, int y0, int w, int h) {
  std::map<std::uint32_t, char> letters;
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string rows;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) {
      auto [it, fresh] = letters.try_emplace(shot.At(x, y), alphabet.at(letters.size() % alphabet.size()));
      rows += it->second;
    }
    rows += '\n';
  }
  std::ostringstream out;
  out << w << ' ' << h << '\n';
  for (auto [color, letter] : letters) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%06X", color);
    out << letter << ' ' << hex << '\n';
  }
  return out.str() + rows;
}

class GoldenTest : public StdCtrlsTest {
 protected:
  void ExpectLooksLike(const std::string& name, TWinControl* control) {
    host::Image shot = CaptureWindow(form_.Handle());
    const std::string actual = Encode(shot, control->Left(), control->Top(), control->Width(), control->Height());
    const std::filesystem::path file = GoldenFolder() / (name + ".txt");
    if (const char* update = std::getenv("STARTLOGO_UPDATE_GOLDEN"); update && std::string(update) == "1") {
      std::ofstream(file, std::ios::binary) << actual;
      return;
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no golden picture " << file << " (STARTLOGO_UPDATE_GOLDEN=1 makes it)";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual, expected.str()) << name << " differs from " << file;
  }
};

}  // namespace

TEST_F(GoldenTest, ClassicLookOfTheStandardControls) {
  form_.SetColor(clBtnFace);
  TButton* button = Make<TButton>(10, 10, 75, 25);
  button->SetCaption("&OK");
  TButton* defaultButton = Make<TButton>(90, 10, 75, 25);
  defaultButton->SetCaption("Cancel");
  defaultButton->SetDefault(true);
  TCheckBox* check = Make<TCheckBox>(10, 45, 90, 17);
  check->SetCaption("Tiled");
  check->SetCheckedValue(true);
  TCheckBox* disabledCheck = Make<TCheckBox>(110, 45, 90, 17);
  disabledCheck->SetCaption("Bold");
  disabledCheck->SetEnabled(false);
  TRadioButton* radio = Make<TRadioButton>(10, 70, 90, 17);
  radio->SetCaption("Single");
  radio->SetCheckedValue(true);
  TEdit* edit = Make<TEdit>(10, 95, 120, 21);
  edit->SetText("Default text");
  TListBox* list = Make<TListBox>(140, 95, 100, 60);
  list->Items()->SetCommaText("One,Two,Three,Four,Five");
  list->SetItemIndex(1);
  TComboBox* combo = Make<TComboBox>(10, 165, 120, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->SetCommaText("Arial,Courier");
  combo->SetItemIndex(0);
  TScrollBar* bar = Make<TScrollBar>(140, 165, 120, 16);
  bar->SetParams(30, 0, 100);
  ShowForm();
  form_.Repaint();

  ExpectLooksLike("button", button);
  ExpectLooksLike("button_default", defaultButton);
  ExpectLooksLike("checkbox_checked", check);
  ExpectLooksLike("checkbox_disabled", disabledCheck);
  ExpectLooksLike("radio_checked", radio);
  ExpectLooksLike("edit", edit);
  ExpectLooksLike("listbox", list);
  ExpectLooksLike("combobox", combo);
  ExpectLooksLike("scrollbar", bar);
}

TEST_F(GoldenTest, ClassicLookOfTheScrollBoxAndTheFileList) {
  ScopedMachineRoot root;
  for (const char* name : {"logo.sys", "run.exe", "notes.txt"}) std::ofstream(root.DriveC() / name) << "x";
  CreateDirectoryA("c:\\art", nullptr);
  form_.SetColor(clBtnFace);
  // A box scrolled in both directions; a small button far out gives it its range.
  TScrollBox* box = Make<TScrollBox>(10, 10, 120, 90);
  TButton* inside = Make<TButton>(40, 30, 50, 40, box);
  Make<TButton>(190, 140, 10, 10, box);
  inside->SetCaption("Inside");
  TFileListBox* files = Make<TFileListBox>(140, 10, 150, 90);
  files->SetDirectory("c:\\");
  files->SetFileType(TFileType{ftNormal, ftDirectory});
  files->SetShowGlyphs(true);
  ShowForm();
  box->VertScrollBar()->SetPosition(20);
  box->HorzScrollBar()->SetPosition(30);
  files->SetItemIndex(2);
  PumpMessages();

  ExpectLooksLike("scrollbox", box);
  ExpectLooksLike("filelistbox", files);
}
