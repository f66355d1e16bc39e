// One form holding each standard control, read from its description and shown through the desktop
// back end under Xvfb; checked at telling pixels and kept as all_controls_screenshot.ppm.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "forms_fixture.h"
#include "host/testing/window_screenshot.h"
#include "screenshot_spots.h"
#include "vcl/buttons.h"
#include "vcl/comctrls.h"
#include "vcl/extctrls.h"
#include "vcl/filectrl.h"
#include "vcl/formtext.h"
#include "vcl/forms_scrolling.h"
#include "vcl/menus.h"
#include "vcl/spin.h"
#include "vcl/stdctrls.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr const char* kShotFile = "all_controls_screenshot.ppm";

// The hex of bytes as a description's binary value holds it, broken into lines.
std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n      ";
    out += digits[static_cast<unsigned char>(bytes[i]) >> 4];
    out += digits[static_cast<unsigned char>(bytes[i]) & 15];
  }
  return out;
}

// A bitmap's "Data": the size of its file, then the file.
std::string BitmapData(TBitmap& bitmap) {
  TMemoryStream file;
  bitmap.SaveToStream(&file);
  const auto size = static_cast<std::uint32_t>(file.Size());
  std::string bytes{char(size), char(size >> 8), char(size >> 16), char(size >> 24)};
  bytes.append(static_cast<const char*>(file.Memory()), size);
  return bytes;
}

// A picture's "Data" names its graphic's class first.
std::string PictureData(TBitmap& bitmap) { return std::string("\x07TBitmap") + BitmapData(bitmap); }

// The glyph: a green square on olive, the colour its bottom-left pixel leaves undrawn.
std::string GlyphHex() {
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetWidth(16);
  glyph.SetHeight(16);
  glyph.Canvas()->Brush()->SetColor(clOlive);
  glyph.Canvas()->FillRect({0, 0, 16, 16});
  glyph.Canvas()->Brush()->SetColor(clGreen);
  glyph.Canvas()->FillRect({3, 3, 13, 13});
  return Hex(BitmapData(glyph));
}

// The image's picture: four quarters, red, lime, blue and yellow.
std::string PictureHex() {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetWidth(32);
  picture.SetHeight(32);
  const TColor quarters[] = {clRed, clLime, clBlue, clYellow};
  for (int q = 0; q < 4; ++q) {
    picture.Canvas()->Brush()->SetColor(quarters[q]);
    picture.Canvas()->FillRect({q % 2 * 16, q / 2 * 16, q % 2 * 16 + 16, q / 2 * 16 + 16});
  }
  return Hex(PictureData(picture));
}

std::string Description() {
  return R"(
object fmAll: TAllControlsForm
  Left = 8
  Top = 8
  BorderStyle = bsSingle
  Caption = 'All controls'
  ClientWidth = 600
  ClientHeight = 356
  ActiveControl = edText
  Menu = mmMain
  object mmMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      object miOpen: TMenuItem
        Caption = '&Open...'
      end
      object miExit: TMenuItem
        Caption = 'E&xit'
      end
    end
    object miEdit: TMenuItem
      Caption = '&Edit'
      object miCopy: TMenuItem
        Caption = '&Copy'
      end
    end
    object miHelp: TMenuItem
      Caption = '&Help'
    end
  end
  object btOk: TButton
    Left = 8
    Top = 8
    Width = 66
    Height = 25
    Caption = 'OK'
    Default = True
  end
  object btCancel: TButton
    Left = 82
    Top = 8
    Width = 66
    Height = 25
    Caption = 'Cancel'
    Cancel = True
  end
  object bbGlyph: TBitBtn
    Left = 8
    Top = 40
    Width = 140
    Height = 25
    Caption = 'Glyph button'
    Glyph.Data = {)" +
         GlyphHex() + R"(}
  end
  object cbChecked: TCheckBox
    Left = 8
    Top = 72
    Width = 140
    Height = 17
    Caption = 'Check box'
    Checked = True
  end
  object gbGroup: TGroupBox
    Left = 8
    Top = 94
    Width = 140
    Height = 48
    Caption = 'Group box'
    object rbOption: TRadioButton
      Left = 10
      Top = 20
      Width = 120
      Height = 17
      Caption = 'Radio button'
      Checked = True
    end
  end
  object rgChoice: TRadioGroup
    Left = 8
    Top = 148
    Width = 140
    Height = 74
    Caption = 'Radio group'
    Items.Strings = ('First' 'Second' 'Third')
    ItemIndex = 1
  end
  object lbCaption: TLabel
    Left = 8
    Top = 228
    Caption = 'Label for the edit:'
  end
  object edText: TEdit
    Left = 8
    Top = 244
    Width = 140
    Height = 21
    Text = 'Edit text'
  end
  object seValue: TSpinEdit
    Left = 8
    Top = 272
    Width = 80
    Height = 22
    MinValue = 0
    MaxValue = 99
    Value = 42
  end
  object cbColour: TComboBox
    Left = 8
    Top = 302
    Width = 140
    Height = 21
    Items.Strings = ('Red' 'Green' 'Blue')
    ItemIndex = 1
  end
  object pnPanel: TPanel
    Left = 160
    Top = 8
    Width = 140
    Height = 40
    Caption = 'Panel'
  end
  object bvBevel: TBevel
    Left = 160
    Top = 54
    Width = 140
    Height = 30
  end
  object sbScroll: TScrollBar
    Left = 160
    Top = 90
    Width = 140
    Height = 17
    Position = 30
  end
  object sxBox: TScrollBox
    Left = 160
    Top = 114
    Width = 140
    Height = 70
    object pnInBox: TPanel
      Left = 4
      Top = 4
      Width = 180
      Height = 40
      Caption = 'Child wider than its box'
    end
  end
  object imPicture: TImage
    Left = 160
    Top = 190
    Width = 64
    Height = 64
    Center = True
    Picture.Data = {)" +
         PictureHex() + R"(}
  end
  object pbDraw: TPaintBox
    Left = 236
    Top = 190
    Width = 64
    Height = 64
    OnPaint = pbDrawPaint
  end
  object lbItems: TListBox
    Left = 160
    Top = 260
    Width = 140
    Height = 63
    Items.Strings = ('Alpha' 'Beta' 'Gamma' 'Delta')
    ItemIndex = 1
  end
  object flFiles: TFileListBox
    Left = 312
    Top = 8
    Width = 136
    Height = 80
  end
  object dlDirs: TDirectoryListBox
    Left = 456
    Top = 8
    Width = 136
    Height = 80
    FileList = flFiles
  end
  object dcDrive: TDriveComboBox
    Left = 312
    Top = 94
    Width = 136
    Height = 21
    DirList = dlDirs
  end
  object fcFilter: TFilterComboBox
    Left = 456
    Top = 94
    Width = 136
    Height = 21
    Filter = 'Text files (*.txt)|*.txt|All files (*.*)|*.*'
    FileList = flFiles
  end
  object pcPages: TPageControl
    Left = 312
    Top = 124
    Width = 280
    Height = 150
    ActivePage = tsFirst
    object tsFirst: TTabSheet
      Caption = 'First page'
      object lbOnPage: TLabel
        Left = 8
        Top = 8
        Caption = 'On the first page'
      end
    end
    object tsSecond: TTabSheet
      Caption = 'Second page'
    end
  end
  object pgProgress: TProgressBar
    Left = 312
    Top = 282
    Width = 280
    Height = 18
    Position = 40
  end
  object sbStatus: TStatusBar
  end
end
)";
}

class TAllControlsForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TAllControlsForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(
        Description(), this,
        {FormField("btOk", btOk), FormField("btCancel", btCancel), FormField("bbGlyph", bbGlyph),
         FormField("cbChecked", cbChecked), FormField("rbOption", rbOption), FormField("lbItems", lbItems),
         FormField("imPicture", imPicture), FormField("pbDraw", pbDraw), FormField("flFiles", flFiles),
         FormField("seValue", seValue), FormField("sxBox", sxBox), FormField("pcPages", pcPages),
         FormField("pgProgress", pgProgress), FormField("sbStatus", sbStatus), FormField("mmMain", mmMain)});
    // The status bar's panels are not published; the program makes them.
    for (const TStatusPanel& wanted :
         {TStatusPanel{"Ready", 100}, TStatusPanel{"Second panel", 150}, TStatusPanel{"Last panel", 0}})
      sbStatus->AddPanel() = wanted;
    AfterConstruction();
  }

  TButton* btOk = nullptr;
  TButton* btCancel = nullptr;
  TBitBtn* bbGlyph = nullptr;
  TCheckBox* cbChecked = nullptr;
  TRadioButton* rbOption = nullptr;
  TListBox* lbItems = nullptr;
  TImage* imPicture = nullptr;
  TPaintBox* pbDraw = nullptr;
  TFileListBox* flFiles = nullptr;
  TSpinEdit* seValue = nullptr;
  TScrollBox* sxBox = nullptr;
  TPageControl* pcPages = nullptr;
  TProgressBar* pgProgress = nullptr;
  TStatusBar* sbStatus = nullptr;
  TMainMenu* mmMain = nullptr;

  // A red disc on white, crossed by a blue line.
  void pbDrawPaint(TObject*) {
    TCanvas* c = pbDraw->Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect({0, 0, 64, 64});
    c->Brush()->SetColor(clRed);
    c->Pen()->SetColor(clRed);
    c->Ellipse(8, 8, 56, 56);
    c->Pen()->SetColor(clBlue);
    c->MoveTo(0, 63);
    c->LineTo(64, -1);
  }
};

const TClassInfo& TAllControlsForm::StaticClassInfo() {
  using C = TAllControlsForm;
  static const TClassInfo info("TAllControlsForm", &TForm::StaticClassInfo(), {},
                               {Handler<C>("pbDrawPaint", &C::pbDrawPaint)});
  return info;
}

// The file controls list a folder made here, so what they show is the same on every machine.
void MakeDemoFolder(const ScopedMachineRoot& root) {
  std::filesystem::create_directories(root.DriveC() / "demo" / "pictures");
  std::filesystem::create_directories(root.DriveC() / "demo" / "texts");
  for (const char* name : {"alpha.txt", "beta.txt", "notes.ini"}) std::ofstream(root.DriveC() / "demo" / name) << name;
  SetCurrentDirectoryA("c:\\demo");
}

// Where each telling pixel of the form lies in the window's picture, and its colour.
std::vector<TSpot> TellingSpots(TAllControlsForm& form, const RECT& frame) {
  std::vector<TSpot> spots;
  auto at = [&](TControl* control, int x, int y, TColor colour, std::string what) {
    const TPoint p = control->ClientToScreen({x, y});
    spots.push_back({p.x - frame.left, p.y - frame.top, colour, std::move(what)});
  };
  // The menu bar is the row above the client area, past its titles on the right.
  at(&form, form.ClientWidth() - 10, -GetSystemMetrics(SM_CYMENU) / 2, clMenu, "the menu bar");
  at(form.btOk, 0, 0, clWindowFrame, "the default button's black frame");
  at(form.btOk, 12, 24, clWindowFrame, "the default button's black frame, bottom");
  at(form.btCancel, 0, 0, cl3DLight, "the other button's raised edge");
  // The check box's glyph is 13 pixels high, centred; its tick starts three pixels in.
  at(form.cbChecked, 3, 7, clWindowText, "the check box's tick, left end");
  at(form.cbChecked, 9, 5, clWindowText, "the check box's tick, right end");
  at(form.cbChecked, 3, 5, clWindow, "the check box's interior above the tick");
  at(form.rbOption, 5, 7, clWindowText, "the radio button's dot");
  // The glyph and the caption four pixels after it are centred together.
  TBitmap measure;
  measure.Canvas()->SetFont(form.bbGlyph->Font());
  const int glyphLeft = (form.bbGlyph->Width() - 16 - 4 - measure.Canvas()->TextWidth(form.bbGlyph->Caption())) / 2;
  at(form.bbGlyph, glyphLeft + 8, 12, clGreen, "the glyph button's glyph");
  at(form.bbGlyph, glyphLeft + 1, 12, clBtnFace, "the glyph's undrawn colour");
  at(form.imPicture, 20, 20, clRed, "the image's top left quarter");
  at(form.imPicture, 43, 43, clYellow, "the image's bottom right quarter");
  at(form.pbDraw, 32, 32, clRed, "the paint box's disc");
  at(form.pbDraw, 2, 2, clWhite, "the paint box's background");
  const TRect selected = form.lbItems->ItemRect(1);
  at(form.lbItems, selected.right - 4, (selected.top + selected.bottom) / 2, clHighlight, "the list box's selection");
  const TRect active = form.pcPages->TabRect(0), other = form.pcPages->TabRect(1);
  at(form.pcPages, active.left + 6, active.top - 2, clBtnHighlight, "the selected tab's raised top");
  at(form.pcPages, other.left + 6, other.top, clBtnHighlight, "the other tab's top");
  at(form.pcPages, other.left + 6, other.top - 1, clBtnFace, "above the other tab");
  at(form.pcPages, form.pcPages->Width() - 10, 4, clBtnFace, "the tab row past the tabs");
  const std::vector<TRect> panels = form.sbStatus->PanelRects();
  for (size_t i = 0; i < panels.size(); ++i) {
    const std::string panel = "the status bar's panel " + std::to_string(i + 1);
    at(form.sbStatus, panels[i].left, panels[i].top, clBtnShadow, panel + ", sunken top left");
    at(form.sbStatus, panels[i].right - 1, panels[i].bottom - 1, clBtnHighlight, panel + ", bottom right");
  }
  at(form.sbStatus, panels[0].right + 1, panels[0].top + 5, clBtnFace, "the gap between status panels");
  // Blocks of two thirds of the interior's height, two pixels apart, from the third pixel on.
  const int middle = form.pgProgress->Height() / 2, block = (form.pgProgress->Height() - 2) * 2 / 3;
  const int filledEnd = 1 + form.pgProgress->FilledWidth();
  at(form.pgProgress, 3, middle, clHighlight, "the progress bar's first block");
  at(form.pgProgress, 2 + block, middle, clBtnFace, "the gap after the first block");
  at(form.pgProgress, 2 + block + 2, middle, clHighlight, "the progress bar's second block");
  at(form.pgProgress, filledEnd + 3, middle, clBtnFace, "the progress bar past its position");
  return spots;
}

// Runs in a fresh process: shows the form, takes the X server's picture of it and checks it.
std::string ShowAllControlsAndCheck() {
  ScopedMachineRoot root;
  MakeDemoFolder(root);
  TAllControlsForm form(nullptr);
  form.Show();
  if (form.flFiles->Items()->Count() != 2) return "the file list does not hold the two text files";
  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const std::vector<TSpot> spots = TellingSpots(form, frame);
  // The loop shows what was drawn when it waits; the timer ends each wait.
  SetTimer(form.Handle(), 1, 30, nullptr);
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); },
      [&](const host::Image& s) { return MismatchedSpots(s, spots).empty(); }, kShotFile);
  KillTimer(form.Handle(), 1);
  if (shot.width != width) return "the X server gave no picture";
  std::string faults = MismatchedSpots(shot, spots);
  RECT title;
  GetMenuItemRect(form.Handle(), form.mmMain->Handle(), 0, &title);
  // Text on the bar's colour: mostly background, some ink.
  int ink = 0, background = 0;
  for (int y = title.top; y < title.bottom; ++y)
    for (int x = title.left; x < title.right; ++x) {
      const std::uint32_t pixel = shot.At(x - frame.left, y - frame.top);
      ink += pixel == Rgb(clMenuText);
      background += pixel == Rgb(clMenu);
    }
  if (ink < 10 || background < ink)
    faults += "the menu bar's first title shows " + std::to_string(ink) + " pixels of text on " +
              std::to_string(background) + " of background\n";
  return faults;
}

TEST_F(FormsTest, EveryStandardControlShowsThroughTheDesktopBackEnd) {
  ExpectShownUnderX(kShotFile, ShowAllControlsAndCheck);
}

}  // namespace
