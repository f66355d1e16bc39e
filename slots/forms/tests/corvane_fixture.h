#pragma once
// Corvane's four forms in a machine folder of the test's own: a fresh application object, the
// program's folder as the current folder, and message boxes answered from a queue and recorded.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "corvane/about_form.h"
#include "corvane/main_form.h"
#include "corvane/swap_form.h"
#include "corvane/view_form.h"
#include "slot_test_files.h"
#include "vcl/forms.h"
#include "vcl/testing/application.h"
#include "win32/kernel.h"
#include "win32/testing/dialogs.h"

class CorvaneTest : public MachineRootTest {
 protected:
  CorvaneTest() {
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(slot_test::kStartDir, nullptr);
    SetCurrentDirectoryA(slot_test::kStartDir);
  }
  ~CorvaneTest() override { SetCurrentDirectoryA("C:\\"); }

  // Runs Act from the modal loop of the next ShowModal (once its window shows).
  static void WhenShown(TForm* Form, std::function<void()> Act) {
    static TForm* form;
    static std::function<void()> act;
    form = Form;
    act = std::move(Act);
    SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
      if (!form->Visible()) return;
      KillTimer(nullptr, id);
      act();
    });
  }

  // The forms as the program makes them, in its order.
  void MakeForms() {
    Application->CreateForm(FMain);
    Application->CreateForm(FAbout);
    Application->CreateForm(FView);
    Application->CreateForm(FSwap);
  }

  // Ends the program and starts it again in the same folder.
  void Restart() {
    application_.Restart();
    MakeForms();
  }

  static std::string Logo(int slot) { return LogoPath(slot_test::WindowsFolder(), slot); }
  static std::string Backup(int slot) { return BackupPath(slot_test::kStartDir, slot); }
  static std::string Original(int slot) { return OriginalPath(slot_test::kStartDir, slot); }
  static void WriteLogos() {
    for (int slot = 0; slot < kSlotCount; ++slot) slot_test::WriteFile(Logo(slot), slot_test::BitmapBytes({}, slot));
  }
  static std::string StatusText() { return FMain->sbLogo->SimpleText(); }

  TMessageBoxRecorder boxes_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
  std::deque<int>& answers = boxes_.answers;
  std::vector<std::string>& asked = boxes_.asked;
};
