#include <gtest/gtest.h>

#include "corvane_fixture.h"
#include "gif_file_writer.h"
#include "imaging/bitmap_rows.h"
#include "jpeg_file_writer.h"
#include "win32/testing/windows.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::ReadFile;
using slot_test::WriteFile;

constexpr char kPictures[] = "C:\\pictures";

class SwapFormTest : public CorvaneTest {
 protected:
  SwapFormTest() {
    WriteLogos();
    MakeForms();
    FMain->LastUsedDir = kPictures;
    FMain->LastUsedIndex = 8;  // all pictures
  }
  // The dialog shown for the slot as the Swap button shows it, without its modal loop.
  void Show(int slot) {
    FSwap->Hide();
    FSwap->LogoKind = slot;
    FSwap->Show();
  }
  // A file picked in the list: the edit gets its name and the load runs.
  void Pick(const std::string& name) {
    FSwap->lbFile->Update();
    const int index = FSwap->lbFile->Items()->IndexOf(name);
    ASSERT_GE(index, 0) << name;
    FSwap->lbFile->SetItemIndex(index);
    FSwap->edFile->SetText(name);
    FSwap->lbFileChange(FSwap->lbFile);
    EXPECT_EQ(FSwap->Label1->Caption(), "L o a d i n g . . .");
    EXPECT_TRUE(FSwap->tmLoad->Enabled());
    FSwap->tmLoadTimer(FSwap->tmLoad);
    EXPECT_FALSE(FSwap->tmLoad->Enabled());
  }
  void Okay() {
    FSwap->btOKClick(FSwap->btOK);
    EXPECT_EQ(FSwap->Label1->Caption(), "S a v i n g . . .");
    FSwap->tmSaveTimer(FSwap->tmSave);
  }
  static std::string Picture(const std::string& name) { return std::string(kPictures) + "\\" + name; }
};

TEST_F(SwapFormTest, TheDialogComesFromItsDescription) {
  EXPECT_EQ(FSwap->ClientWidth(), 467);
  EXPECT_EQ(FSwap->ClientHeight(), 304);
  EXPECT_EQ(FSwap->BorderIcons(), TBorderIcons{});
  EXPECT_EQ(FSwap->imPreview->Hint(), "Click to view resampled image of 320x400...");
  EXPECT_EQ(FSwap->imPreview->Cursor(), crVSplit);
  EXPECT_EQ(FSwap->btCancel->Caption(), "Cancel");
  EXPECT_TRUE(FSwap->btCancel->Cancel());
  EXPECT_EQ(FSwap->btOK->Caption(), "Okay");
  EXPECT_FALSE(FSwap->btOK->Enabled());
  EXPECT_EQ(FSwap->btOK->Glyph()->Width(), 32);
  EXPECT_EQ(FSwap->btCancel->Glyph()->Width(), 32);
  EXPECT_EQ(FSwap->tabDir->Caption(), " Directory ");
  EXPECT_EQ(FSwap->tabFile->Caption(), "   Files    ");
  EXPECT_EQ(FSwap->PageControl1->ActivePage(), FSwap->tabFile);
  EXPECT_EQ(FSwap->lbDir->FileList(), FSwap->lbFile);
  EXPECT_EQ(FSwap->cbDrive->DirList(), FSwap->lbDir);
  EXPECT_EQ(FSwap->lbFile->FileEdit(), FSwap->edFile);
  EXPECT_EQ(FSwap->edFile->GetText(), "*.*");
  EXPECT_EQ(FSwap->cbFilter->Items()->Count(), 9);
  EXPECT_EQ(FSwap->cbFilter->Items()->Get(6), "Windows E-Metailfe");
  for (TTimer* timer : {FSwap->tmLoad, FSwap->tmSave, FSwap->tmPreview}) {
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 10u);
  }
  EXPECT_EQ(FView->Caption(), "FullView");
  EXPECT_EQ(FView->ClientWidth(), 320);
  EXPECT_EQ(FView->ClientHeight(), 400);
  EXPECT_EQ(FView->imView->Cursor(), crUpArrow);
  EXPECT_EQ(FView->imView->Hint(), "Click to close this window...");
  EXPECT_EQ(FView->Panel1->Caption(), "No Logo Found ...");
}

TEST_F(SwapFormTest, AJpegIsResampledIntoTheSlotAndTheMainWindowReloadsIt) {
  WriteFile(Picture("photo.jpg"), WriteJpeg({.width = 640, .height = 480}));
  WriteFile(Picture("notes.txt"), {'x'});
  Show(lsWait);
  EXPECT_FALSE(FSwap->btOK->Enabled()) << "nothing loaded yet";
  EXPECT_EQ(FSwap->Label1->Caption(), "");
  EXPECT_EQ(FSwap->lbFile->Mask(), "*.jpg;*.bmp;*.pcx;*.gif;*.tif;*.wmf;*.emf");
  EXPECT_EQ(FSwap->edFile->GetText(), FSwap->lbFile->Mask());
  EXPECT_EQ(FSwap->lbDir->Directory(), kPictures);
  EXPECT_EQ(FSwap->lbFile->Directory(), kPictures);
  EXPECT_EQ(FSwap->lbFile->Items()->Count(), 1) << "the mask shows pictures only";
  Pick("photo.jpg");
  EXPECT_EQ(FSwap->Label1->Caption(), "640 x 480");
  EXPECT_TRUE(FSwap->btOK->Enabled());
  EXPECT_EQ(FSwap->imPreview->Bitmap().Width(), 215);
  EXPECT_EQ(FSwap->imPreview->Bitmap().Height(), 269);
  FMain->imLogow->SetVisible(false);
  Okay();
  EXPECT_EQ(FSwap->Label1->Caption(), "");
  const std::vector<std::uint8_t> logo = ReadFile(Logo(lsWait));
  ASSERT_EQ(logo.size(), 129078u);
  EXPECT_EQ(logo[14], 40);
  EXPECT_EQ(logo[28], 8);
  EXPECT_EQ(StatusText(), "Wait Logo successfully swapped !");
  EXPECT_TRUE(FMain->imLogow->Visible());
  EXPECT_EQ(FMain->imLogow->Bitmap().Width(), 320);
  EXPECT_TRUE(FMain->btBack2->Enabled());
  EXPECT_FALSE(FMain->Files->LogoMissing[lsWait]);
  TCloseAction action = caHide;
  FSwap->FormClose(FSwap, action);
  EXPECT_EQ(FMain->LastUsedDir, kPictures);
  EXPECT_EQ(FMain->LastUsedIndex, 8);
}

// Each frame has a two-colour table of its own: the first frame's colours, not black and white.
TEST_F(SwapFormTest, TheFirstFrameOfARedGreenBlueAnimationSwapsInAsARedLogo) {
  constexpr int kWidth = 40, kHeight = 50;
  const std::vector<std::uint8_t> solid(kWidth * kHeight, 0);
  GifFileBuilder gif;
  gif.Screen(kWidth, kHeight);
  // Each frame its own two-colour table: its colour, then black.
  for (const GifColors& table :
       {GifColors{255, 0, 0, 0, 0, 0}, GifColors{0, 255, 0, 0, 0, 0}, GifColors{0, 0, 255, 0, 0, 0}})
    gif.GraphicControl(0, 10, 0).Image(0, 0, kWidth, kHeight, GifLzwEncode(solid, {.minimumCodeSize = 2}), false,
                                       &table, 0);
  WriteFile(Picture("frames.gif"), gif.Trailer().bytes);
  Show(lsStartup);
  Pick("frames.gif");
  EXPECT_EQ(FSwap->Label1->Caption(), "40 x 50");
  Okay();
  const std::vector<std::uint8_t> logo = ReadFile(Logo(lsStartup));
  ASSERT_EQ(logo.size(), 129078u);
  constexpr std::size_t kPalette = 54, kPixels = kPalette + 256 * 4;
  int notRed = 0;
  for (std::size_t i = kPixels; i < logo.size(); ++i) {
    const std::uint8_t* bgr = &logo[kPalette + 4u * logo[i]];
    notRed += !(bgr[2] >= 250 && bgr[1] <= 5 && bgr[0] <= 5);
  }
  const std::uint8_t* first = &logo[kPalette + 4u * logo[kPixels]];
  EXPECT_EQ(notRed, 0) << "of " << logo.size() - kPixels << " pixels; the first is " << int{first[2]} << ","
                       << int{first[1]} << "," << int{first[0]};
}

TEST_F(SwapFormTest, ALogoLayoutBitmapIsCopiedAndATrueColourOneResampled) {
  const std::vector<std::uint8_t> logo = BitmapBytes({}, 5), colour = BitmapBytes({.bits = 24}, 5);
  WriteFile(Picture("logo.bmp"), logo);
  WriteFile(Picture("colour.bmp"), colour);
  Show(lsStartup);
  Pick("logo.bmp");
  EXPECT_EQ(FSwap->Label1->Caption(), "320 x 400");
  EXPECT_TRUE(FSwap->Picture().CopyUnchanged());
  FSwap->edFile->SetText("typed over");  // the copy takes the file that was loaded
  Okay();
  EXPECT_EQ(ReadFile(Logo(lsStartup)), logo);
  EXPECT_EQ(StatusText(), "Startup Logo successfully swapped !");

  Show(lsTurnoff);
  Pick("colour.bmp");
  EXPECT_FALSE(FSwap->Picture().CopyUnchanged());
  Okay();
  const std::vector<std::uint8_t> written = ReadFile(Logo(lsTurnoff));
  EXPECT_EQ(written.size(), 129078u);
  EXPECT_NE(written, colour);
  EXPECT_EQ(StatusText(), "Turnoff Logo successfully swapped !");
}

TEST_F(SwapFormTest, AClickOnTheEmptyPreviewOpensNothing) {
  Show(lsWait);
  FSwap->imPreviewClick(FSwap->imPreview);
  EXPECT_FALSE(FSwap->tmPreview->Enabled());
  EXPECT_EQ(FSwap->Label1->Caption(), "");
}

TEST_F(SwapFormTest, AFailedLoadDisablesOkayAndItsTextGoesWhenTheDialogCloses) {
  WriteFile(Picture("broken.jpg"), {0xFF, 0xD8, 0xFF, 0x00});
  WriteFile(Picture("logo.sys"), BitmapBytes({}, 4));
  Show(lsWait);
  Pick("broken.jpg");
  EXPECT_EQ(FSwap->Label1->Caption(), "Error loading image.");
  EXPECT_FALSE(FSwap->btOK->Enabled());
  FSwap->imPreviewClick(FSwap->imPreview);
  EXPECT_FALSE(FSwap->tmPreview->Enabled()) << "no full-size view of a failed load";
  TCloseAction action = caHide;
  FSwap->FormClose(FSwap, action);
  EXPECT_EQ(FSwap->Label1->Caption(), "");
  Show(lsWait);
  EXPECT_FALSE(FSwap->btOK->Enabled()) << "a re-show after a failed load enables nothing";
  FSwap->imPreviewClick(FSwap->imPreview);
  EXPECT_FALSE(FSwap->tmPreview->Enabled()) << "nor a full-size view of what the reader left";

  // A ".sys" file is a bitmap.
  FSwap->cbFilter->SetItemIndex(7);
  FSwap->cbFilterChange(FSwap->cbFilter);
  EXPECT_EQ(FSwap->lbFile->Mask(), "*.sys");
  EXPECT_EQ(FSwap->edFile->GetText(), "*.sys");
  Pick("logo.sys");
  EXPECT_EQ(FSwap->Label1->Caption(), "320 x 400");
  Okay();
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 4));
}

TEST_F(SwapFormTest, CancelThenOkayWritesTheFullPictureNotTheEnlargedPreview) {
  WriteFile(Picture("photo.jpg"), WriteJpeg({.width = 640, .height = 480}));
  Show(lsWait);
  Pick("photo.jpg");
  FSwap->btCancelClick(FSwap->btCancel);
  EXPECT_EQ(StatusText(), "Swapping operation cancelled by user.");
  Show(lsWait);
  EXPECT_TRUE(FSwap->btOK->Enabled());
  EXPECT_EQ(FSwap->Label1->Caption(), "640 x 480");
  Okay();
  const std::vector<std::uint8_t> afterCancel = ReadFile(Logo(lsWait));

  Show(lsTurnoff);
  Pick("photo.jpg");
  Okay();
  EXPECT_EQ(ReadFile(Logo(lsTurnoff)), afterCancel) << "the same as a swap without the cancel";
}

TEST_F(SwapFormTest, TheFullSizeViewIsTheResampledPicture) {
  WriteFile(Picture("photo.jpg"), WriteJpeg({.width = 640, .height = 480}));
  Show(lsWait);
  Pick("photo.jpg");
  FSwap->imPreviewClick(FSwap->imPreview);
  EXPECT_EQ(FSwap->Label1->Caption(), "R e s a m p l i n g . . .");
  EXPECT_TRUE(FSwap->tmPreview->Enabled());
  WhenShown(FView, [] { FView->imViewClick(FView->imView); });
  FSwap->tmPreviewTimer(FSwap->tmPreview);
  EXPECT_EQ(FView->Caption(), "Image resampled to 320x400.");
  EXPECT_EQ(FView->imView->Bitmap().Width(), 320);
  EXPECT_EQ(FView->imView->Bitmap().Height(), 400);
  EXPECT_EQ(FView->Left(), FMain->Left() + 150);
  EXPECT_EQ(FView->Top(), FMain->Top() - 20);
  EXPECT_EQ(FSwap->Label1->Caption(), "640 x 480");
  EXPECT_EQ(FSwap->imPreview->Bitmap().Width(), 215);
  EXPECT_FALSE(FView->Visible());
}

TEST_F(SwapFormTest, ASaveThatFailsLeavesTheDialogOpenAndReportsNoSwap) {
  WriteFile(Picture("photo.jpg"), WriteJpeg({.width = 640, .height = 480}));
  DeleteFileA(Logo(lsWait).c_str());
  CreateDirectoryA(Logo(lsWait).c_str(), nullptr);  // no file can be written there
  FMain->Files->LogoMissing[lsWait] = true;
  FMain->sbLogo->SetSimpleText("");
  Show(lsWait);
  Pick("photo.jpg");
  FSwap->btOKClick(FSwap->btOK);
  EXPECT_ANY_THROW(FSwap->tmSaveTimer(FSwap->tmSave));  // for the application's handler
  EXPECT_FALSE(FSwap->tmSave->Enabled());
  EXPECT_TRUE(FSwap->Visible());
  EXPECT_EQ(StatusText(), "");
  EXPECT_TRUE(FMain->Files->LogoMissing[lsWait]);
}

TEST_F(SwapFormTest, HoveringOverTheOtherTabSwitchesPages) {
  const struct {
    int x, y;
    bool fromFiles, toDirectory;
  } cases[] = {{62, 10, true, true},   {63, 10, true, false},   {1, 20, true, true},   {62, 21, true, false},
               {64, 10, false, false}, {119, 10, false, false}, {63, 10, false, true}, {30, 10, false, true}};
  for (const auto& c : cases) {
    FSwap->PageControl1->SetActivePage(c.fromFiles ? FSwap->tabFile : FSwap->tabDir);
    FSwap->PageControl1MouseMove(FSwap->PageControl1, {}, c.x, c.y);
    EXPECT_EQ(FSwap->PageControl1->ActivePage() == FSwap->tabDir, c.toDirectory) << c.x << "," << c.y;
  }
}

TEST_F(SwapFormTest, AVanishedLastFolderOpensTheStartFolder) {
  FMain->LastUsedDir = "C:\\gone";
  FMain->LastUsedIndex = 42;
  Show(lsWait);
  EXPECT_EQ(FSwap->lbDir->Directory(), slot_test::kStartDir);
  EXPECT_EQ(FSwap->cbFilter->ItemIndex(), 8);
}

TEST_F(SwapFormTest, TheViewerShowsTheSlotOrItsBackupAndAClickClosesIt) {
  WriteFile(Backup(lsTurnoff), BitmapBytes({.bits = 24}, 1));
  Restart();
  WhenShown(FView, [] { FView->imViewClick(FView->imView); });
  FMain->imLogosClick(FMain->imLogos);
  EXPECT_EQ(FView->Caption(), "Turnoff Logo");
  EXPECT_EQ(FView->Left(), FMain->Left() + 150);
  EXPECT_FALSE(FView->Visible());
  FMain->rbBack3->SetCheckedValue(true);
  WhenShown(FView, [] { FView->imViewClick(FView->imView); });
  FMain->imLogosClick(FMain->imLogos);
  EXPECT_EQ(FView->Caption(), "Backup file of Turnoff Logo");
  FMain->rbBack2->SetCheckedValue(true);
  FView->SetCaption("untouched");
  FMain->imLogowClick(FMain->imLogow);
  EXPECT_EQ(FView->Caption(), "untouched") << "no backup of the wait slot to show";
}

TEST_F(SwapFormTest, ThePointerOverTheViewersPictureIsTheUpArrow) {
  Restart();
  host::PointerShape over;
  WhenShown(FView, [&over] {
    const TPoint middle = FView->imView->ClientToScreen({FView->imView->Width() / 2, FView->imView->Height() / 2});
    InjectMouseMove(middle.x, middle.y);
    PumpMessages();
    over = host::TheDisplay().Pointer();
    FView->imViewClick(FView->imView);
  });
  FMain->imLogosClick(FMain->imLogos);
  EXPECT_EQ(over.stock, static_cast<int>(reinterpret_cast<std::uintptr_t>(IDC_UPARROW)));
  EXPECT_FALSE(over.image.pixels.empty()) << "drawn, since the desktop has no up arrow";
}

}  // namespace
