// The manual pick dialog.
#include "rotator/pick_form.h"

#include "pick_pictures_data.h"
#include "rotator/main_form.h"
#include "rotator/settings.h"
#include "vbrun/conversions.h"
#include "vbrun/files.h"
#include "vbrun/interaction.h"

namespace rotator {
namespace {

const Slot* const kSlots[3] = {&kStartSlot, &kWaitSlot, &kDownSlot};
const char* const kLibraries[3] = {"c:\\logos\\start\\", "c:\\logos\\wait\\", "c:\\logos\\down\\"};
constexpr int kPictureTwips[2] = {2760, 2550};  // 184 x 170 pixels

std::shared_ptr<TBitmap> StoredPicture(const TStoredPicture& stored) {
  TMemoryStream stream;
  stream.Write(stored.Bytes, static_cast<std::int64_t>(stored.Size));
  stream.SetPosition(0);
  auto picture = std::make_shared<TBitmap>();
  picture->LoadFromStream(&stream);
  return picture;
}

}  // namespace

TForm6::TForm6(TComponent* owner, TForm1* mainForm) : vb::Form(owner), mainForm_(mainForm) {
  SetCaption("Manually Pick");
  SetBorderStyle(bsSingle);
  SetBorderIcons({biSystemMenu});
  SetClientSizeTwips(8400, 4200);
  SSTab1 = new vb::SSTab(this);
  SSTab1->SetParent(this);
  vb::Place(SSTab1, 120, 120, 8160, 3360);
  SSTab1->SetTabs({"Start Up ", "Waiting to Shutdown", "Shutdown"});
  for (int tab = 0; tab < 3; ++tab) {
    TWinControl* page = SSTab1->Page(tab);
    Pictures[tab] = new vb::Image(this);
    Pictures[tab]->SetParent(page);
    vb::Place(Pictures[tab], 60, 60, kPictureTwips[0], kPictureTwips[1]);
    Pictures[tab]->SetPictureFrom(StoredPicture(kPickPictures[tab]));
    Files[tab] = new vb::FileListBox(this);
    Files[tab]->SetParent(page);
    Files[tab]->SetPattern("*.sys");
    Files[tab]->SetHidden(true);
    Files[tab]->SetSystem(true);
    vb::Place(Files[tab], 2940, 60, 2280, 2100);
    Files[tab]->OnClick = [this, tab](TObject*) { FileClick(tab); };
    Randoms[tab] = new vb::CommandButton(this);
    Randoms[tab]->SetParent(page);
    Randoms[tab]->SetCaption("Random");
    vb::Place(Randoms[tab], 2940, 2280, 2280, 375);
    Randoms[tab]->OnClick = [this, tab](TObject*) { RandomClick(tab); };
    Frames[tab] = new vb::Frame(this);
    Frames[tab]->SetParent(page);
    Frames[tab]->SetCaption("Preview:");
    vb::Place(Frames[tab], 5340, 0, 2520, 2040);
    Previews[tab] = new vb::Image(this);
    Previews[tab]->SetParent(Frames[tab]);
    Previews[tab]->SetStretch(true);
    vb::Place(Previews[tab], 120, 240, 2280, 1695);
  }
  Command7 = new vb::CommandButton(this);
  Command7->SetParent(this);
  Command7->SetCaption("Apply");
  vb::Place(Command7, 5520, 3600, 1275, 435);
  Command7->OnClick = [this](TObject*) { Command7_Click(); };
  Command6 = new vb::CommandButton(this);
  Command6->SetParent(this);
  Command6->SetCaption("Close");
  vb::Place(Command6, 6960, 3600, 1275, 435);
  Command6->OnClick = [this](TObject*) { Command6_Click(); };
}

void TForm6::Form_Load() {
  for (int tab = 0; tab < 3; ++tab)
    vb::ResumeNext([&] { Previews[tab]->SetPictureFrom(vb::LoadPicture(kSlots[tab]->file)); });
  for (int tab = 0; tab < 3; ++tab) vb::ResumeNext([&] { Files[tab]->SetPath(kLibraries[tab]); });
  vb::Randomize();
}

void TForm6::ShowPreview(int tab, const std::string& file) {
  Previews[tab]->SetPictureFrom(nullptr);
  vb::ResumeNext([&] { Previews[tab]->SetPictureFrom(vb::LoadPicture(file)); });
}

void TForm6::FileClick(int tab) {
  vb::FileListBox& list = *Files[tab];
  if (list.ListIndex() != -1) ShowPreview(tab, list.Path() + "\\" + list.List(list.ListIndex()));
}

void TForm6::RandomClick(int tab) {
  vb::FileListBox& list = *Files[tab];
  if (list.ListCount() == 0) {  // an empty library has nothing to suggest
    Previews[tab]->SetPictureFrom(nullptr);
    return;
  }
  const int index = vb::RandomIndex(list.ListCount());
  ShowPreview(tab, list.Path() + "\\" + list.List(index));
  list.SetListIndex(index);
}

void TForm6::Command7_Click() {
  for (int tab = 0; tab < 3; ++tab) {
    vb::FileListBox& list = *Files[tab];
    if (list.ListIndex() != -1)
      vb::ResumeNext([&] { vb::FileCopy(list.Path() + "\\" + list.FileName(), kSlots[tab]->file); });
  }
}

void TForm6::Command6_Click() {
  if (ReadSetting("Random") == "Yes") {
    const int answer =
        vb::MsgBox("Do you want Logo to make sure it does not randomly replace these selected logos when you reboot?",
                   vb::vbYesNoCancel | vb::vbQuestion, "Logo");
    if (answer == vb::vbCancel) return;
    if (answer == vb::vbYes) WriteSetting("Random", "No");
  }
  Unload();
  mainForm_->ShowForm();
}

}  // namespace rotator
