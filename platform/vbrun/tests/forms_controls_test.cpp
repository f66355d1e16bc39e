#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "vbrun/controls.h"
#include "vbrun/files.h"
#include "vbrun/interaction.h"
#include "win32/kernel.h"
#include "vcl/streams.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/machine_root.h"

namespace {

int ErrorOf(const std::function<void()>& statement) {
  try {
    statement();
    return 0;
  } catch (const vb::RuntimeError& e) {
    return e.Number;
  }
}

class VbForms : public MachineRootTest {
 protected:
  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
};

struct ProbeForm : vb::Form {
  explicit ProbeForm(TComponent* owner) : vb::Form(owner) {}
  void Form_Load() override {
    ++loads;
    visibleDuringLoad = IsWindowVisible(Handle());
    if (exitCodeInLoad) vb::SetExitCode(*exitCodeInLoad);
    if (endInLoad) vb::End();
  }
  int loads = 0;
  bool visibleDuringLoad = true;
  bool endInLoad = false;
  std::optional<int> exitCodeInLoad;
};

TEST_F(VbForms, LoadRunsBeforeTheWindowShowsAndUnloadGivesAFreshForm) {
  int made = 0;
  vb::FormInstance<ProbeForm> form([&] {
    ++made;
    return new ProbeForm(Application);
  });
  EXPECT_FALSE(form.Loaded());
  form->ShowForm();
  EXPECT_EQ(form->loads, 1);
  EXPECT_FALSE(form->visibleDuringLoad);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  form->ShowForm();
  EXPECT_EQ(form->loads, 1);
  form->Unload();
  EXPECT_FALSE(form.Loaded());
  form->ShowForm();
  EXPECT_EQ(made, 2);
  EXPECT_EQ(form->loads, 1);  // a new form, loaded once
}

TEST_F(VbForms, EndInFormLoadShowsNoWindow) {
  auto* form = new ProbeForm(Application);
  form->endInLoad = true;
  EXPECT_EQ(vb::Run(*form), 0);
  EXPECT_EQ(form->loads, 1);
  EXPECT_FALSE(form->HandleAllocated() && IsWindowVisible(form->Handle()));
}

TEST_F(VbForms, AProgramThatSetsItsExitCodeEndsWithItAndTheNextRunStartsFromZero) {
  auto* failing = new ProbeForm(Application);
  failing->endInLoad = true;
  failing->exitCodeInLoad = 3;
  EXPECT_EQ(vb::Run(*failing), 3);
  EXPECT_EQ(vb::ExitCode(), 3);
  auto* fine = new ProbeForm(Application);
  fine->endInLoad = true;
  EXPECT_EQ(vb::Run(*fine), 0);
}

TEST_F(VbForms, AnUnhandledErrorInAnEventEndsTheProgramWithTheRunTimesMessage) {
  vb::App().Title = "Probe";
  auto* form = new ProbeForm(Application);
  auto* button = new vb::CommandButton(form);
  button->SetParent(form);
  button->OnClick = [](TObject*) { vb::Kill("c:\\nothing.sys"); };
  vb::InstallErrorHandling();
  form->ShowForm();
  button->SetBounds(0, 0, 80, 24);
  PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(5, 5));
  PostMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELONG(5, 5));
  Application->ProcessMessages();
  ASSERT_EQ(dialogs_.Calls().size(), 1u);
  EXPECT_EQ(dialogs_.Calls()[0].Text, "Run-time error '53':\n\nFile not found");
  EXPECT_EQ(dialogs_.Calls()[0].Caption, "Probe");
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(VbForms, CheckBoxValueRunsClickOnlyWhenItChanges) {
  vb::CheckBox box(nullptr);
  int clicks = 0;
  box.OnClick = [&](TObject*) { ++clicks; };
  box.SetValue(0);
  EXPECT_EQ(clicks, 0);
  box.SetValue(1);
  box.SetValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(ErrorOf([&] { box.SetValue(2); }), vb::vbErrInvalidProperty);
}

TEST_F(VbForms, TimerIntervalLimit) {
  vb::Timer timer(nullptr);
  timer.SetIntervalMs(65535);
  EXPECT_EQ(timer.Interval(), 65535u);
  EXPECT_EQ(ErrorOf([&] { timer.SetIntervalMs(65536); }), vb::vbErrInvalidProperty);
  EXPECT_EQ(ErrorOf([&] { timer.SetIntervalMs(-1); }), vb::vbErrInvalidProperty);
  EXPECT_EQ(timer.Interval(), 65535u);
}

TEST_F(VbForms, FileListBoxFollowsItsFolderAndFiresClick) {
  std::filesystem::create_directories(root.DriveC() / "lib");
  for (const char* name : {"b.sys", "A.sys", "c.txt", "h.sys"}) std::ofstream(root.DriveC() / "lib" / name) << "x";
  SetFileAttributesA("c:\\lib\\h.sys", FILE_ATTRIBUTE_HIDDEN);
  const bool hiddenKept = GetFileAttributesA("c:\\lib\\h.sys") & FILE_ATTRIBUTE_HIDDEN;
  vb::FileListBox list(nullptr);
  list.SetPattern("*.sys");
  list.SetPath("c:\\lib\\");
  EXPECT_EQ(list.Path(), "c:\\lib");
  ASSERT_EQ(list.ListCount(), hiddenKept ? 2 : 3);
  EXPECT_EQ(list.List(0), "A.sys");
  list.SetHidden(true);
  EXPECT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.List(7), "");
  EXPECT_EQ(list.ListIndex(), -1);
  int clicks = 0;
  list.OnClick = [&](TObject*) { ++clicks; };
  list.SetListIndex(1);
  list.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.FileName(), "b.sys");
  EXPECT_EQ(ErrorOf([&] { list.SetListIndex(3); }), vb::vbErrInvalidProperty);
  // A missing folder is an error and the list stays as it was.
  EXPECT_EQ(ErrorOf([&] { list.SetPath("c:\\missing\\"); }), vb::vbErrPathNotFound);
  EXPECT_EQ(list.Path(), "c:\\lib");
  EXPECT_EQ(list.ListCount(), 3);
}

TEST_F(VbForms, TextBoxTypingRespectsMaxLengthAndLocked) {
  auto* form = new ProbeForm(Application);
  auto* text = new vb::TextBox(form);
  text->SetParent(form);
  text->SetMaxLength(2);
  text->SetText("");
  for (char c : std::string("123")) text->Perform(WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(text->GetText(), "12");
  text->Perform(WM_CHAR, '\b', 0);
  EXPECT_EQ(text->GetText(), "1");
  text->SetLocked(true);
  text->Perform(WM_CHAR, '9', 0);
  EXPECT_EQ(text->GetText(), "1");
  delete form;
}

TEST_F(VbForms, LoadPictureReadsBitmapsByContent) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetWidth(32);
  bitmap.SetHeight(40);
  {
    TFileStream out("c:\\logo.sys", fmCreate);
    bitmap.SaveToStream(&out);
  }
  std::ofstream(root.DriveC() / "notes.sys") << "not a picture";
  auto picture = vb::LoadPicture("c:\\logo.sys");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Width(), 32);
  EXPECT_EQ(ErrorOf([] { vb::LoadPicture("c:\\missing.sys"); }), vb::vbErrFileNotFound);
  EXPECT_EQ(ErrorOf([] { vb::LoadPicture("c:\\notes.sys"); }), vb::vbErrInvalidPicture);
  EXPECT_FALSE(vb::LoadPicture(""));
  vb::Image image(nullptr);
  image.SetPictureFrom(picture);
  EXPECT_TRUE(image.HasPicture());
  image.SetPictureFrom(nullptr);
  EXPECT_FALSE(image.HasPicture());
}

TEST_F(VbForms, AutoRedrawKeepsWhatLineDraws) {
  auto* form = new ProbeForm(Application);
  form->SetAutoRedraw(true);
  form->SetClientSizeTwips(1500, 1500);
  form->LineBoxFilled(0, 0, 1500, 750, clBlue);
  ASSERT_TRUE(form->Image());
  EXPECT_EQ(form->Image()->Canvas()->Pixels(50, 10), clBlue);
  EXPECT_NE(form->Image()->Canvas()->Pixels(50, 80), clBlue);
  delete form;
}

TEST_F(VbForms, SSTabShowsOnePageAtATime) {
  vb::SSTab tabs(nullptr);
  tabs.SetBounds(0, 0, 300, 200);
  tabs.SetTabs({"Start Up ", "Waiting to Shutdown", "Shutdown"});
  EXPECT_TRUE(tabs.Page(0)->Visible());
  EXPECT_FALSE(tabs.Page(1)->Visible());
  EXPECT_EQ(tabs.TabAt(150, 5), 1);
  tabs.SetTab(2);
  EXPECT_TRUE(tabs.Page(2)->Visible());
  EXPECT_FALSE(tabs.Page(0)->Visible());
  EXPECT_EQ(ErrorOf([&] { tabs.SetTab(3); }), vb::vbErrInvalidProperty);
}

}  // namespace
