#include <gtest/gtest.h>

#include <cstring>

#include "stdctrls_fixture.h"
#include "vcl/stdctrls.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

namespace {

class EditTest : public StdCtrlsTest {
 protected:
  EditTest() {
    edit_->OnChange = [this](TObject*) { ++changes_; };
    ShowForm();
    edit_->SetFocus();
  }

  static void PutOnClipboard(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
  }
  static std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<busy>";
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    return text;
  }

  TEdit* edit_ = Make<TEdit>(10, 10, 150, 21);
  TButton* other_ = Make<TButton>(10, 50, 75, 25);
  int changes_ = 0;
};

}  // namespace

TEST_F(EditTest, TypingStopsAtMaxLengthAndEveryChangeIsReported) {
  edit_->SetMaxLength(5);
  Type("abcdefg");
  EXPECT_EQ(edit_->GetText(), "abcde");
  EXPECT_EQ(changes_, 5);
  EXPECT_TRUE(edit_->Modified());
  Key(VK_BACK);
  Type("xy");
  EXPECT_EQ(edit_->GetText(), "abcdx");
  changes_ = 0;
  edit_->SetText("program text longer than five");
  EXPECT_EQ(changes_, 1) << "the program's own text also fires OnChange, and is not cut";
  EXPECT_EQ(edit_->GetText(), "program text longer than five");
}

TEST_F(EditTest, CaretKeysMoveAndExtendTheSelection) {
  struct TCase {
    std::vector<std::pair<int, bool>> Keys;  // key, with Shift
    int SelStart, SelLength;
    std::string TextAfterDelete;
  } cases[] = {
      {{{VK_HOME, false}}, 0, 0, "ello world"},
      {{{VK_HOME, false}, {VK_RIGHT, true}, {VK_RIGHT, true}}, 0, 2, "llo world"},
      {{{VK_LEFT, true}, {VK_LEFT, true}, {VK_LEFT, true}}, 8, 3, "hello wo"},
      {{{VK_HOME, false}, {VK_RIGHT, false}, {VK_END, true}}, 1, 10, "h"},
      {{{VK_LEFT, true}, {VK_RIGHT, false}}, 11, 0, "hello world"},
  };
  for (const TCase& c : cases) {
    edit_->SetText("hello world");
    edit_->SetSelStart(11);
    for (auto [key, shift] : c.Keys) Key(key, false, shift);
    EXPECT_EQ(edit_->SelStart(), c.SelStart);
    EXPECT_EQ(edit_->SelLength(), c.SelLength);
    Key(VK_DELETE);
    EXPECT_EQ(edit_->GetText(), c.TextAfterDelete);
  }
}

TEST_F(EditTest, ClipboardKeysCopyCutAndPasteTheFirstLineWithinMaxLength) {
  edit_->SetText("one two");
  edit_->SetSelStart(0);
  edit_->SetSelLength(3);
  Key('C', true);
  EXPECT_EQ(ClipboardText(), "one");
  Key(VK_END);
  Key('V', true);
  EXPECT_EQ(edit_->GetText(), "one twoone");
  Key(VK_LEFT, false, true);
  Key('X', true);
  EXPECT_EQ(ClipboardText(), "e");
  EXPECT_EQ(edit_->GetText(), "one twoon");

  PutOnClipboard("first\r\nsecond");
  edit_->SetText("");
  edit_->SetMaxLength(3);
  Key(VK_INSERT, false, true);
  EXPECT_EQ(edit_->GetText(), "fir");

  edit_->SetMaxLength(0);
  edit_->SetReadOnly(true);
  Key('V', true);
  Type("z");
  Key(VK_BACK);
  EXPECT_EQ(edit_->GetText(), "fir");
}

TEST_F(EditTest, MouseSetsTheCaretAndDragsASelection) {
  edit_->SetText("WWWWWWWW");
  other_->SetFocus();
  Click(edit_, 1, 5);
  EXPECT_TRUE(edit_->Focused());
  EXPECT_EQ(edit_->SelStart(), 0);
  EXPECT_EQ(edit_->SelLength(), 0) << "entering by the mouse selects nothing";
  Drag(edit_, 1, 5, 200, 5);
  EXPECT_EQ(edit_->SelLength(), 8);
  Type("x");
  EXPECT_EQ(edit_->GetText(), "x");
}

TEST_F(EditTest, EnteringByTabSelectsAllUnlessAutoSelectIsOff) {
  edit_->SetText("default answer");
  for (bool autoSelect : {true, false}) {
    edit_->SetAutoSelect(autoSelect);
    edit_->SetSelStart(0);
    other_->SetFocus();
    Key(VK_TAB);
    ASSERT_TRUE(edit_->Focused());
    EXPECT_EQ(edit_->SelLength(), autoSelect ? 14 : 0);
  }
}

TEST_F(EditTest, ClipboardMessagesFromOtherWindowsAreAnswered) {
  edit_->SetText("abcdef");
  edit_->SetSelStart(1);
  edit_->SetSelLength(2);
  SendMessageA(edit_->Handle(), WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "bc");
  EXPECT_EQ(edit_->GetText(), "abcdef");
  SendMessageA(edit_->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(edit_->GetText(), "adef");
  edit_->SetSelStart(4);
  SendMessageA(edit_->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(edit_->GetText(), "adefbc");
  edit_->SetSelStart(0);
  edit_->SetSelLength(2);
  SendMessageA(edit_->Handle(), WM_CLEAR, 0, 0);
  EXPECT_EQ(edit_->GetText(), "efbc");
  EXPECT_EQ(ClipboardText(), "bc");  // clearing leaves the clipboard alone
  edit_->SetReadOnly(true);
  edit_->SelectAll();
  SendMessageA(edit_->Handle(), WM_CLEAR, 0, 0);
  SendMessageA(edit_->Handle(), WM_CUT, 0, 0);
  EXPECT_EQ(edit_->GetText(), "efbc");
}
