#pragma once
// Test aids for the settings store: a fresh machine folder and application object per test and
// the hive file's text (the forms are in settings/testing/forms.h).
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/setorras.h"
#include "settings/testing/forms.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/machine_root.h"

class SettingsTest : public ::testing::Test {
 protected:
  ~SettingsTest() override { TPFormSettings::SetClosing(false); }

  // The hive file of HKEY_LOCAL_MACHINE as text ("" before anything was written).
  std::string Hive() const {
    std::ifstream in(root_.Path() / "registry" / "HKEY_LOCAL_MACHINE.reg", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The lines of one key's section in the hive text, without the key line; none when absent.
  std::vector<std::string> KeyLines(const std::string& key) const {
    std::istringstream in(Hive());
    std::vector<std::string> lines;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line[0] == '[') {
        if (inside) break;
        inside = SameText(line, "[HKEY_LOCAL_MACHINE\\" + key + "]");
        continue;
      }
      if (inside && !line.empty()) lines.push_back(line);
    }
    return lines;
  }
  bool KeyExists(const std::string& key) const {
    return Hive().find("[HKEY_LOCAL_MACHINE\\" + key + "]") != std::string::npos;
  }

  ScopedMachineRoot root_;
  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
};
