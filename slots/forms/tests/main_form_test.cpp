#include <gtest/gtest.h>

#include "corvane_fixture.h"
#include "slots/slot_settings.h"
#include "vcl/registry.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::Exists;
using slot_test::ReadFile;
using slot_test::WriteFile;

TEST_F(CorvaneTest, TheMainWindowComesFromItsDescription) {
  MakeForms();
  EXPECT_EQ(FMain->Caption(), "Corvane");
  EXPECT_EQ(FMain->Font()->Name(), "MS Sans Serif");
  EXPECT_EQ(FMain->Font()->Height(), -11);
  EXPECT_EQ(FMain->PageControl1->TabPosition(), tpBottom);
  EXPECT_TRUE(FMain->PageControl1->HotTrack());
  EXPECT_EQ(FMain->PageControl1->Font()->Name(), "Arial");
  EXPECT_EQ(FMain->PageControl1->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(FMain->TabSheet1->Caption(), "  Startup  ");
  EXPECT_EQ(FMain->TabSheet2->Caption(), "    Wait     ");
  EXPECT_EQ(FMain->TabSheet3->Caption(), "  Turnoff   ");
  const char* const logos[] = {"Startup Logo", "Wait Logo", "Shutdown Logo"};
  const TPanel* panels[] = {FMain->Panel1, FMain->Panel2, FMain->Panel3};
  const TAnimGIF* headers[] = {FMain->AnimGIF1, FMain->AnimGIF2, FMain->AnimGIF4};
  const TButton* swaps[] = {FMain->btSwap1, FMain->btSwap2, FMain->btSwap3};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(const_cast<TPanel*>(panels[slot])->Caption(), "No Logo Found ...");
    TVelmora* image = FMain->Image(slot);
    EXPECT_EQ(image->Parent(), panels[slot]);
    EXPECT_EQ(image->Align(), alClient);
    EXPECT_EQ(image->Background(), static_cast<COLORREF>(clBtnFace));
    EXPECT_EQ(image->Cursor(), crVSplit);
    EXPECT_EQ(image->ScrollBars(), slot != lsStartup);
    EXPECT_EQ(image->Hint(), slot == lsStartup ? "" : "Click to view full size...");
    EXPECT_TRUE(image->OnClick);
    EXPECT_FALSE(headers[slot]->Empty());
    EXPECT_EQ(headers[slot]->PictureWidth(), 300);
    EXPECT_GT(headers[slot]->FrameCount(), 1);
    EXPECT_FALSE(headers[slot]->Animate());
    EXPECT_FALSE(FMain->Badge(slot)->Empty());
    EXPECT_EQ(const_cast<TButton*>(swaps[slot])->Caption(), "Swap !");
    EXPECT_EQ(const_cast<TButton*>(swaps[slot])->Hint(),
              std::string("Click to install another picture as ") + logos[slot]);
    EXPECT_EQ(FMain->BackupButton(slot)->Caption(), "Backup");
    EXPECT_EQ(FMain->BackupButton(slot)->Hint(), std::string("Click to make a backup of the ") + logos[slot]);
    EXPECT_EQ(FMain->RestoreButton(slot)->Caption(), "Restore");
    EXPECT_EQ(FMain->RestoreButton(slot)->Hint(), std::string("Click to restore the backup of the ") + logos[slot]);
    EXPECT_EQ(FMain->RestoreButton(slot)->Glyph()->Width(), 32);
    EXPECT_EQ(FMain->RestoreButton(slot)->NumGlyphs(), 2);
    EXPECT_EQ(FMain->CurrentButton(slot)->Caption(), "Current");
    EXPECT_TRUE(FMain->CurrentButton(slot)->Checked());
    EXPECT_EQ(FMain->BackupRadio(slot)->Caption(), "Backup");
    EXPECT_FALSE(FMain->BackupRadio(slot)->Checked());
  }
  EXPECT_TRUE(FMain->sbLogo->SimplePanel());
  EXPECT_EQ(FMain->Menu(), FMain->MainMenu1);
  EXPECT_EQ(FMain->Main1->Caption(), "Main");
  EXPECT_EQ(FMain->RestoreOriginals1->Caption(), "Restore &Originals");
  EXPECT_EQ(FMain->RestoreOriginals1->GetShortCut(), scCtrl | 'O');
  EXPECT_EQ(FMain->Quit1->Caption(), "&Quit");
  EXPECT_EQ(FMain->Quit1->GetShortCut(), scCtrl | 'Q');
  EXPECT_EQ(FMain->About1->Caption(), "About");
  for (const char* label : {"Replaces current logo with another picture.", "Makes a backup of the current logo.",
                            "Restores your backup."}) {
    int found = 0;
    for (int i = 0; i < FMain->ComponentCount(); ++i)
      if (auto* l = dynamic_cast<TLabel*>(FMain->Components(i)); l && l->Caption() == label) ++found;
    EXPECT_EQ(found, 3) << label;
  }
}

TEST_F(CorvaneTest, TheFirstStartKeepsTheLogosAndShowsWhatIsMissing) {
  WriteFile(Logo(lsStartup), BitmapBytes({}, 1));
  WriteFile(Logo(lsTurnoff), BitmapBytes({}, 3));
  MakeForms();
  EXPECT_EQ(FMain->StartDir, slot_test::kStartDir);
  EXPECT_EQ(FMain->LastUsedDir, slot_test::kStartDir);
  EXPECT_EQ(FMain->LastUsedIndex, 0);
  EXPECT_TRUE(Exists(std::string(slot_test::kStartDir) + "\\BACKUP"));
  EXPECT_TRUE(Exists(std::string(slot_test::kStartDir) + "\\ORIGINAL"));
  EXPECT_EQ(ReadFile(Original(lsStartup)), BitmapBytes({}, 1));
  EXPECT_FALSE(Exists(Original(lsWait)));
  EXPECT_EQ(StatusText(), Logo(lsWait) + " not found ! Select one by clicking Swap !.");
  // The wait slot's panel shows "No Logo Found ..." with its picture hidden.
  EXPECT_TRUE(FMain->imLogo->Visible());
  EXPECT_FALSE(FMain->imLogow->Visible());
  EXPECT_TRUE(FMain->imLogos->Visible());
  EXPECT_EQ(FMain->imLogo->Bitmap().Width(), 320);
  EXPECT_EQ(FMain->imLogo->Bitmap().Height(), 400);
  EXPECT_TRUE(FMain->btBack1->Enabled());
  EXPECT_FALSE(FMain->btBack2->Enabled());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_FALSE(FMain->BackupRadio(slot)->Enabled());
    EXPECT_FALSE(FMain->RestoreButton(slot)->Enabled());
    EXPECT_FALSE(FMain->Badge(slot)->Visible());
  }
  EXPECT_TRUE(FMain->AnimGIF1->Visible() && FMain->AnimGIF2->Visible() && FMain->AnimGIF4->Visible());

  // Closing writes the values; the next start reads them and keeps the first originals.
  FMain->LastUsedIndex = 4;
  FMain->SetLeft(77);
  FMain->SetTop(66);
  TCloseAction action = caHide;
  FMain->FormClose(FMain, action);
  TSlotSettings stored = ReadSlotSettings("unused", 0, 0);
  EXPECT_EQ(stored.LastUsedIndex, 4);
  EXPECT_EQ(stored.Left, 77);
  EXPECT_EQ(stored.Top, 66);
  WriteLogos();
  Restart();
  EXPECT_EQ(FMain->LastUsedIndex, 4);
  EXPECT_EQ(FMain->Left(), 77);
  EXPECT_EQ(FMain->Top(), 66);
  EXPECT_EQ(ReadFile(Original(lsStartup)), BitmapBytes({}, 1)) << "never overwritten";
  EXPECT_EQ(ReadFile(Original(lsWait)), BitmapBytes({}, 1)) << "the wait slot's first logo";
  EXPECT_TRUE(FMain->imLogow->Visible());
}

TEST_F(CorvaneTest, AnUnreadableLogoIsReportedAndTheStartGoesOn) {
  WriteLogos();
  WriteFile(Logo(lsWait), {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
  WriteFile(Logo(lsStartup), {'B', 'M'});
  answers = {IDOK};
  MakeForms();
  // The application's handler shows both in one box once the start is done.
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find(Logo(lsStartup) + ": unrecognized BMP.\n" + Logo(lsWait) + ": unrecognized BMP"),
            std::string::npos)
      << asked[0];
  EXPECT_EQ(StatusText(), Logo(lsWait) + ": unrecognized BMP");
  EXPECT_FALSE(FMain->imLogow->Visible()) << "nothing to show";
  EXPECT_TRUE(FMain->imLogos->Visible());
  EXPECT_TRUE(Exists(Original(lsTurnoff))) << "the start went on";
}

TEST_F(CorvaneTest, AReadOnlyHiddenLogoLosesBothAttributesAtStart) {
  WriteLogos();
  SetFileAttributesA(Logo(lsWait).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  MakeForms();
  EXPECT_EQ(GetFileAttributesA(Logo(lsWait).c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

TEST_F(CorvaneTest, BackupEnablesTheBackupViewAndRestore) {
  WriteLogos();
  MakeForms();
  FMain->rbBack2->SetCheckedValue(true);
  FMain->rbBack2Click(FMain->rbBack2);
  EXPECT_TRUE(FMain->imBack2->Visible()) << "the badge shows while the backup is in view";
  FMain->Backup(FMain->btBack2);
  EXPECT_EQ(StatusText(), "Backup operation of LOGOW.SYS was successfull.");
  EXPECT_EQ(ReadFile(Backup(lsWait)), ReadFile(Logo(lsWait)));
  EXPECT_TRUE(FMain->rbBack2->Enabled());
  EXPECT_TRUE(FMain->btRest2->Enabled());
  EXPECT_FALSE(FMain->btRest1->Enabled());
  FMain->rbPres2->SetCheckedValue(true);
  FMain->rbPres2Click(FMain->rbPres2);
  EXPECT_FALSE(FMain->imBack2->Visible());

  // A backup that cannot be written: the Windows folder's logo is gone.
  DeleteFileA(Logo(lsTurnoff).c_str());
  FMain->Backup(FMain->btBack3);
  EXPECT_EQ(StatusText(),
            "Backup operation of LOGOS.SYS was NOT successfull. Please check if there's enough harddisk space.");
  EXPECT_FALSE(FMain->btRest3->Enabled());
}

TEST_F(CorvaneTest, RestoreYesSwitchesLogoAndBackupNoCopiesAndCancelLeavesThem) {
  WriteLogos();
  MakeForms();
  FMain->btRest1Click(FMain->btRest1);
  EXPECT_EQ(StatusText(), "Backup file was NOT found. Make a backup first !");
  WriteFile(Backup(lsStartup), BitmapBytes({}, 7));
  const std::vector<std::uint8_t> logo = ReadFile(Logo(lsStartup)), backup = ReadFile(Backup(lsStartup));
  answers = {IDYES};
  FMain->btRest1Click(FMain->btRest1);
  EXPECT_EQ(asked.back(), "Make a Switch?: Do you wish to make a backup of the current logo?");
  EXPECT_EQ(StatusText(), "Restore operation successfully completed.");
  EXPECT_EQ(ReadFile(Logo(lsStartup)), backup);
  EXPECT_EQ(ReadFile(Backup(lsStartup)), logo);
  EXPECT_FALSE(Exists(SwitchTempPath(Logo(lsStartup))));
  EXPECT_TRUE(FMain->btRest1->Enabled()) << "the flags follow the files";

  WriteFile(Backup(lsWait), BitmapBytes({}, 9));
  answers = {IDNO};
  FMain->btRest2Click(FMain->btRest2);
  EXPECT_EQ(asked.back(), "Make a switch?: Do you wish to make a backup of the current logo?");
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(Backup(lsWait)), BitmapBytes({}, 9));

  answers = {IDCANCEL};
  FMain->btRest3Click(FMain->btRest3);
  EXPECT_EQ(StatusText(), "Backup file was NOT found. Make a backup first !") << "no backup: no question";
  WriteFile(Backup(lsTurnoff), BitmapBytes({}, 11));
  FMain->btRest3Click(FMain->btRest3);
  EXPECT_EQ(StatusText(), "Restore operation cancelled by user.");
  EXPECT_EQ(ReadFile(Logo(lsTurnoff)), BitmapBytes({}, 2));
}

TEST_F(CorvaneTest, RestoreOriginalsNoNoNoCopiesTheOriginalsBackAndReloadsThem) {
  WriteLogos();
  MakeForms();
  for (int slot = 0; slot < kSlotCount; ++slot) WriteFile(Logo(slot), BitmapBytes({.bits = 24}, slot));
  answers = {IDNO, IDNO, IDNO};
  FMain->RestoreOriginals1Click(FMain->RestoreOriginals1);
  EXPECT_EQ(asked,
            (std::vector<std::string>{"Make a backup?: Do you wish to make a backup of the current Startup Logo ?",
                                      "Make a backup?: Do you wish to make a backup of the current Wait Logo ?",
                                      "Make a backup?: Do you wish to make a backup of the current Turnoff Logo ?"}));
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(ReadFile(Logo(slot)), BitmapBytes({}, slot));
    EXPECT_FALSE(Exists(Backup(slot)));
  }
  answers = {IDYES, IDCANCEL};
  FMain->RestoreOriginals1Click(FMain->RestoreOriginals1);
  EXPECT_EQ(StatusText(), "Restore Originals operation cancelled by user.");
  EXPECT_TRUE(FMain->btRest1->Enabled()) << "the startup slot's backup was made";
  EXPECT_TRUE(FMain->rbBack1->Enabled());
}

TEST_F(CorvaneTest, TheStatusBarShowsEveryHint) {
  MakeForms();
  Application->SetHint("Click to make a backup of the Wait Logo");
  EXPECT_EQ(StatusText(), "Click to make a backup of the Wait Logo");
  FMain->ShowHint(FMain);
  EXPECT_EQ(StatusText(), Application->Hint());
}

TEST_F(CorvaneTest, ExitClosesTheMainWindow) {
  MakeForms();
  FMain->Show();
  FMain->btExitClick(FMain->Quit1);
  EXPECT_TRUE(Application->Terminated());
}

}  // namespace
