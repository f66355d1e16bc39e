// The viewer's files: loading (FileName, the hour glass, failures) and saving.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/exceptions.h"
#include "graphics/pg_image.h"
#include "viewer_fixture.h"
#include "win32/testing/machine_root.h"

namespace {

class ViewerFiles : public ViewerTest {
 protected:
  ViewerFiles() {
    viewer_->SetParent(&form_);
    Picture(30, 20)->SaveToFile("c:\\red.bmp");
    std::ofstream(root_.DriveC() / "broken.bmp") << "BM not really";
    ShowForm();
  }
  ScopedMachineRoot root_;
  TPGImage* viewer_ = new TPGImage(&form_);
};

}  // namespace

TEST_F(ViewerFiles, LoadingKeepsTheNameAndAFailureLeavesTheViewerEmpty) {
  int changes = 0;
  viewer_->OnPixelGraphicChange = [&](TObject*) { ++changes; };
  TCursor during = crDefault;
  viewer_->OnPixelGraphicProgressStart = [&](TObject*) { during = Screen->Cursor(); };
  viewer_->SetFileName("c:\\red.bmp");
  EXPECT_EQ(viewer_->FileName(), "c:\\red.bmp");
  EXPECT_EQ(viewer_->ImageWidth(), 30);
  EXPECT_EQ(during, crHourGlass);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(viewer_->LoadFromFile("c:\\broken.bmp", 0), EPixelGraphic);
  EXPECT_EQ(viewer_->FileName(), "");
  EXPECT_EQ(viewer_->PixelGraphic(), nullptr);
  EXPECT_EQ(viewer_->ImageWidth(), 0);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(changes, 2);  // refreshed also on failure
  // An empty name part empties the viewer.
  viewer_->LoadFromFile("c:\\", 0);
  EXPECT_EQ(viewer_->PixelGraphic(), nullptr);
}

TEST_F(ViewerFiles, SavingAnEmptyViewerIsRefusedAndASavedPictureKeepsItsName) {
  try {
    viewer_->SaveToFile("c:\\out.bmp");
    FAIL() << "no exception";
  } catch (const EPGEmpty& e) {
    EXPECT_EQ(e.Message, "PixelGraphic is empty");
  }
  viewer_->AssignPixelGraphic(Picture(8, 4).get());
  viewer_->SaveToFile("c:\\out.bmp");
  EXPECT_EQ(viewer_->FileName(), "c:\\out.bmp");
  TPixelGraphic back;
  back.LoadFromFile("c:\\out.bmp");
  EXPECT_EQ(back.GetWidth(), 8);
}

TEST_F(ViewerFiles, TheUsersHandlersRunInTheirOrderAroundTheViewersOwn) {
  viewer_->SetBorderStyle(bsNone);
  viewer_->SetBounds(0, 0, 100, 100);
  viewer_->SetActionMode(amMoveResizeCreateSelection);
  viewer_->AssignPixelGraphic(Picture(50, 50).get());
  PumpMessages();
  std::vector<std::string> log;
  viewer_->SetPicBoxOnMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) {
    log.push_back(viewer_->DragState() == 3 ? "user down after viewer" : "user down first");
  });
  viewer_->SetPicBoxOnMouseUp([&](TObject*, TMouseButton, TShiftState, int, int) {
    log.push_back(viewer_->DragState() == 3 ? "user up before viewer" : "user up after");
  });
  viewer_->SetPicBoxOnPaint([&](TObject*) { log.push_back("user paint"); });
  const POINT p = viewer_->PicBox()->ClientToScreen({10, 10});
  InjectMouseMove(p.x, p.y);
  InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
  InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
  PumpMessages();
  // The new selection repaints at once (inside the viewer's handling), before the user's down.
  EXPECT_NE(std::find(log.begin(), log.end(), "user paint"), log.end());
  log.erase(std::remove(log.begin(), log.end(), "user paint"), log.end());
  EXPECT_EQ(log, (std::vector<std::string>{"user down after viewer", "user up before viewer"}));
}
