#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/filectrl.h"
#include "vcl/formtext.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

using FilterComboTest = StdCtrlsTest;

std::vector<std::string> Names(TStrings* items) {
  std::vector<std::string> out;
  for (int i = 0; i < items->Count(); ++i) out.push_back(items->Get(i));
  return out;
}

}  // namespace

TEST_F(FilterComboTest, TheFilterGivesNamesAndMasks) {
  using V = std::vector<std::string>;
  auto* filter = Make<TFilterComboBox>(10, 10, 150, 22);
  EXPECT_EQ(filter->Style(), csDropDownList);
  EXPECT_EQ(Names(filter->Items()), (V{"All files (*.*)"}));
  struct Case {
    std::string filter;
    V names;
    std::string firstMask;
  };
  const std::vector<Case> cases{
      {"Text files (*.txt)|*.txt|All files (*.*)|*.*", {"Text files (*.txt)", "All files (*.*)"}, "*.txt"},
      {"All (JPG;BMP)|*.jpg;*.bmp|Bitmap|*.bmp", {"All (JPG;BMP)", "Bitmap"}, "*.jpg;*.bmp"},
      {"Logos|*.sys|Lone name", {"Logos"}, "*.sys"},
      {"", {}, "*.*"},
  };
  for (const Case& c : cases) {
    filter->SetFilter(c.filter);
    EXPECT_EQ(Names(filter->Items()), c.names) << c.filter;
    EXPECT_EQ(filter->Mask(), c.firstMask) << c.filter;
  }
  filter->SetFilter("Text files (*.txt)|*.txt|All files (*.*)|*.*");
  filter->SetItemIndex(1);
  EXPECT_EQ(filter->Mask(), "*.*");
  filter->SetItemIndex(-1);
  EXPECT_EQ(filter->Mask(), "*.*");
}

namespace {

// The swap dialog's file controls, read from a form description.
class TBrowseForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TBrowseForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(kDescription, this,
                      {FormField("lbDir", lbDir), FormField("cbDrive", cbDrive), FormField("lbFile", lbFile),
                       FormField("edFile", edFile), FormField("cbFilter", cbFilter)});
    AfterConstruction();
  }
  TDirectoryListBox* lbDir = nullptr;
  TDriveComboBox* cbDrive = nullptr;
  TFileListBox* lbFile = nullptr;
  TEdit* edFile = nullptr;
  TFilterComboBox* cbFilter = nullptr;
  int filterChanges = 0;
  void cbFilterChange(TObject*) { ++filterChanges; }

 private:
  static constexpr const char* kDescription = R"(
object fmBrowse: TBrowseForm
  BorderStyle = bsNone
  ClientWidth = 240
  ClientHeight = 280
  object lbDir: TDirectoryListBox
    Left = 0
    Top = 0
    Width = 221
    Height = 161
    ItemHeight = 16
    FileList = lbFile
  end
  object cbDrive: TDriveComboBox
    Left = 2
    Top = 162
    Width = 221
    Height = 19
    DirList = lbDir
    TextCase = tcUpperCase
  end
  object lbFile: TFileListBox
    Left = 0
    Top = 185
    Width = 221
    Height = 40
    ItemHeight = 13
    FileEdit = edFile
  end
  object edFile: TEdit
    Left = 4
    Top = 230
    Width = 228
    Height = 22
    Text = '*.*'
  end
  object cbFilter: TFilterComboBox
    Left = 4
    Top = 255
    Width = 228
    Height = 22
    Filter = 'Windows Bitmap (BMP)|*.bmp|Bitmap with SYS-extension|*.sys'
    OnChange = cbFilterChange
  end
end
)";
};

}  // namespace

const TClassInfo& TBrowseForm::StaticClassInfo() {
  static const TClassInfo info("TBrowseForm", &TForm::StaticClassInfo(), {},
                               {Handler<TBrowseForm>("cbFilterChange", &TBrowseForm::cbFilterChange)},
                               CreateComponent<TBrowseForm>);
  return info;
}

TEST(FileControlsDescription, TheLinksAndPropertiesAreReadByName) {
  ScopedMachineRoot root;
  SetCurrentDirectoryA("c:\\windows");
  TBrowseForm form(nullptr);
  EXPECT_EQ(form.cbDrive->DirList(), form.lbDir);
  EXPECT_EQ(form.cbDrive->TextCase(), tcUpperCase);
  EXPECT_EQ(form.cbDrive->GetText(), "C: []");
  EXPECT_EQ(form.lbDir->FileList(), form.lbFile);
  EXPECT_EQ(form.lbFile->FileEdit(), form.edFile);
  EXPECT_EQ(form.lbFile->Directory(), "C:\\windows");
  EXPECT_EQ(form.cbFilter->Mask(), "*.bmp");
  form.cbDrive->SetDrive('z');
  EXPECT_EQ(form.lbFile->Directory(), "Z:\\");
  form.cbFilter->SetItemIndex(1);
  form.cbFilter->SetFilter("Logos|*.sys");
  EXPECT_EQ(form.filterChanges, 1) << "the new filter's first mask, told to the bound handler";
}
