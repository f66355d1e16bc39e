#pragma once
// A fresh machine and application for each rotator test, with the dialogs answered and recorded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "rotator/settings.h"
#include "vcl/forms.h"
#include "vcl/streams.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/machine_root.h"

class RotatorTest : public ::testing::Test {
 protected:
  std::filesystem::path Host(const std::string& relative) { return root.DriveC() / relative; }
  // A file whose content names it, so a copy can be recognised.
  void Put(const std::string& relative, const std::string& content) {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary) << content;
  }
  std::string Content(const std::string& relative) {
    std::ifstream in(Host(relative), std::ios::binary);
    if (!in) return "<missing>";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // A small bitmap file, as a logo is one.
  void PutBitmap(const std::string& windowsPath) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetWidth(32);
    bitmap.SetHeight(40);
    TFileStream out(windowsPath, fmCreate);
    bitmap.SaveToStream(&out);
  }
  std::string Setting(const std::string& key) { return rotator::ReadSetting(key); }

  ScopedMachineRoot root;
  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
};
