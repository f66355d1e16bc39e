#pragma once
// Tarnquill's window in a machine folder of the test's own, with a fresh application object,
// every dialog answered and recorded, and the program's arguments as the test gives them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "composer/logo_form.h"
#include "vcl/system.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/windows.h"

class LogoFormTest : public MachineRootTest {
 protected:
  ~LogoFormTest() override { SetArguments({}); }

  // The window as the program makes it: from its description, then FormCreate.
  TfmLogo* MakeForm(const std::vector<std::string>& Arguments = {}) {
    SetArguments(Arguments);
    TfmLogo* form = nullptr;
    Application->CreateForm(form);
    return form;
  }
  void FreeForm(TfmLogo*& Form) {
    delete Form;
    Form = nullptr;
  }

  static void SetArguments(std::vector<std::string> Arguments) {
    static std::vector<std::string> kept;
    kept = std::move(Arguments);
    kept.insert(kept.begin(), "tarnquill");
    std::vector<char*> argv;
    for (std::string& a : kept) argv.push_back(a.data());
    InitParams(static_cast<int>(argv.size()), argv.data());
  }

  std::filesystem::path Hive() const { return root.Path() / "registry" / "HKEY_LOCAL_MACHINE.reg"; }
  std::string HiveText() const {
    std::ifstream in(Hive(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // The value lines of a key of the hive, in file order.
  std::vector<std::string> KeyLines(const std::string& Key) const {
    std::istringstream in(HiveText());
    std::vector<std::string> lines;
    std::string line;
    bool inKey = false;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line[0] == '[') {
        inKey = line == "[HKEY_LOCAL_MACHINE\\" + Key + "]";
        continue;
      }
      if (inKey && !line.empty()) lines.push_back(line);
    }
    return lines;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const TDialogRequest& r : dialogs.Calls()) texts.push_back(r.Text);
    return texts;
  }

  TDialogRecorder dialogs;

 private:
  // Also drops the quit message a closed main window or "/AUTO" left for the next test.
  TApplicationScope application_;
};

inline constexpr const char* kFormKey = "Software\\Halvetra\\Tarnquill\\fmLogo";
