#pragma once
// Corvane's main window: the three logo slots on three tabs, each with its picture (the logo or
// its backup), Swap, Backup and Restore, and the menu's Restore Originals. The file work is the
// slots library's (TSlotFiles); the window keeps the controls in step with the files.
#include <array>
#include <memory>
#include <string>

#include "imaging/anim_gif.h"
#include "imaging/velmora.h"
#include "slots/slot_files.h"
#include "vcl/buttons.h"
#include "vcl/comctrls.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/stdctrls.h"

class TFMain : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TFMain(TComponent* AOwner);
  ~TFMain() override;

  TPageControl* PageControl1 = nullptr;
  TTabSheet *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr;
  TPanel *Panel1 = nullptr, *Panel2 = nullptr, *Panel3 = nullptr;
  TVelmora *imLogo = nullptr, *imLogow = nullptr, *imLogos = nullptr;
  TAnimGIF *AnimGIF1 = nullptr, *AnimGIF2 = nullptr, *AnimGIF4 = nullptr;
  TAnimGIF *imBack1 = nullptr, *imBack2 = nullptr, *imBack3 = nullptr;
  TButton *btSwap1 = nullptr, *btSwap2 = nullptr, *btSwap3 = nullptr;
  TButton *btBack1 = nullptr, *btBack2 = nullptr, *btBack3 = nullptr;
  TBitBtn *btRest1 = nullptr, *btRest2 = nullptr, *btRest3 = nullptr;
  TRadioButton *rbPres1 = nullptr, *rbPres2 = nullptr, *rbPres3 = nullptr;
  TRadioButton *rbBack1 = nullptr, *rbBack2 = nullptr, *rbBack3 = nullptr;
  TStatusBar* sbLogo = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TMenuItem *Main1 = nullptr, *RestoreOriginals1 = nullptr, *Quit1 = nullptr, *About1 = nullptr;

  // The folder the program started in (backups and originals lie under it) and the Windows folder.
  std::string StartDir, WinDir;
  // The swap dialog's folder and filter entry, kept in the registry.
  std::string LastUsedDir;
  int LastUsedIndex = 0;
  // The slots' paths and their LogoMissing and BackupMissing flags; made by FormCreate.
  std::unique_ptr<TSlotFiles> Files;

  // The slot's controls, by slot number.
  TVelmora* Image(int Slot) const { return images_[static_cast<std::size_t>(Slot)]; }
  TAnimGIF* Badge(int Slot) const { return badges_[static_cast<std::size_t>(Slot)]; }
  TButton* BackupButton(int Slot) const { return backups_[static_cast<std::size_t>(Slot)]; }
  TBitBtn* RestoreButton(int Slot) const { return restores_[static_cast<std::size_t>(Slot)]; }
  TRadioButton* CurrentButton(int Slot) const { return currents_[static_cast<std::size_t>(Slot)]; }
  TRadioButton* BackupRadio(int Slot) const { return backupRadios_[static_cast<std::size_t>(Slot)]; }
  const std::string& LogoPath(int Slot) const { return Files->Paths().Logo[static_cast<std::size_t>(Slot)]; }
  const std::string& BackupPath(int Slot) const { return Files->Paths().Backup[static_cast<std::size_t>(Slot)]; }

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Loads the file into the slot whose logo or backup it is (compared exactly) and fits it; the
  // slot's picture shows from then on. Load errors pass to the caller.
  void LoadLogo(const std::string& Path, int Mode);
  void Backup(TObject* Sender);
  void btRest1Click(TObject* /*Sender*/) { RestoreClick(lsStartup); }
  void btRest2Click(TObject* /*Sender*/) { RestoreClick(lsWait); }
  void btRest3Click(TObject* /*Sender*/) { RestoreClick(lsTurnoff); }
  void rbPres1Click(TObject* /*Sender*/) { CurrentClick(lsStartup); }
  void rbPres2Click(TObject* /*Sender*/) { CurrentClick(lsWait); }
  void rbPres3Click(TObject* /*Sender*/) { CurrentClick(lsTurnoff); }
  void rbBack1Click(TObject* /*Sender*/) { BackupClick(lsStartup); }
  void rbBack2Click(TObject* /*Sender*/) { BackupClick(lsWait); }
  void rbBack3Click(TObject* /*Sender*/) { BackupClick(lsTurnoff); }
  void imLogoClick(TObject* /*Sender*/) { ViewClick(lsStartup); }
  void imLogowClick(TObject* /*Sender*/) { ViewClick(lsWait); }
  void imLogosClick(TObject* /*Sender*/) { ViewClick(lsTurnoff); }
  void btSwap1Click(TObject* /*Sender*/) { SwapClick(lsStartup); }
  void btSwap2Click(TObject* /*Sender*/) { SwapClick(lsWait); }
  void btSwap3Click(TObject* /*Sender*/) { SwapClick(lsTurnoff); }
  void RestoreOriginals1Click(TObject* Sender);
  void About1Click(TObject* Sender);
  void btExitClick(TObject* Sender);
  // The application's hint handler: the status bar shows every hint.
  using TControl::ShowHint;
  void ShowHint(TObject* Sender);
  // After a swap into the slot: the logo exists; the status text and the Backup button say so.
  void Swapped(int Slot);

 private:
  void RestoreClick(int Slot);
  void CurrentClick(int Slot);
  void BackupClick(int Slot);
  void ViewClick(int Slot);
  void SwapClick(int Slot);
  void Status(const std::string& Text) { sbLogo->SetSimpleText(Text); }
  // Buttons, radio buttons and pictures from the flags.
  void ShowFlags();

  std::array<TVelmora*, kSlotCount> images_{};
  std::array<TAnimGIF*, kSlotCount> badges_{};
  std::array<TButton*, kSlotCount> backups_{};
  std::array<TBitBtn*, kSlotCount> restores_{};
  std::array<TRadioButton*, kSlotCount> currents_{}, backupRadios_{};
};

extern TFMain* FMain;
