#pragma once
// Test aids for the settings store: a fresh machine folder and application object per test, the
// hive file's text, stand-ins for the composer's own controls (colour buttons with a Value, font
// combo boxes with a FontName) and a form shaped like the composer's main window.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/setorras.h"
#include "vcl/collections.h"
#include "vcl/extctrls.h"
#include "vcl/formtext.h"
#include "vcl/forms.h"
#include "vcl/spin.h"
#include "vcl/stdctrls.h"
#include "vcl/testing/dialogs.h"
#include "win32/testing/machine_root.h"

// The colour button's stand-in: a control with an integer Value of colour type.
class TTestColorButton : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  using TGraphicControl::TGraphicControl;
  TColor Value() const { return value_; }
  void SetValue(TColor v) { value_ = v; }

 private:
  TColor value_ = clBlack;
};

// The font combo box's stand-in: a control with a FontName.
class TTestFontCombo : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  using TGraphicControl::TGraphicControl;
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& v) { fontName_ = v; }

 private:
  std::string fontName_;
};

// A component with a property it stores itself ("Notes", a list of strings) and a collection.
class TTestPanelItem : public TCollectionItem {
 public:
  VCL_CLASS_INFO
  using TCollectionItem::TCollectionItem;
  int Width = 50;
  std::string Text;
};

class TTestKeeper : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTestKeeper(TComponent* owner) : TComponent(owner) {}
  ~TTestKeeper() override { delete panels_; }
  TCollection* Panels() const { return panels_; }
  void SetPanels(TCollection* v) { panels_->Assign(v); }
  std::vector<std::string> Notes;
  TComponent* Partner = nullptr;
  void SetPartner(TComponent* v) { Partner = v; }
  TFont* Font() const { return font_; }
  TFont* Missing() const { return nullptr; }
  void SetMissing(TFont*) {}

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  TCollection* panels_ = new TCollection(TCollectionItemClass::Of<TTestPanelItem>(), this);
  TFont* font_ = new TFont;
};

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : saved_(Application) { Application = &app_; }
  ~SettingsTest() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
    Application = saved_;
    TPFormSettings::SetClosing(false);
  }

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
  TApplication app_{nullptr};
  TApplication* saved_;
  TDialogRecorder dialogs_;
};

constexpr char kComposerKey[] = "Software\\Halvetra\\Tarnquill\\fmLogo";

// The composer's window as the settings store sees it: its 28 settings in stored order, with
// standard controls and the stand-ins above for the composer's own ones.
class TComposerForm : public TForm {
 public:
  VCL_CLASS_INFO
  // SaveLocation: pslUser as the composer keeps it, or pslRegistry to save on closing.
  explicit TComposerForm(TComponent* owner, const std::string& saveLocation = "pslUser");

  TLabel* laJokeFile = nullptr;
  TRadioGroup* rgBackground = nullptr;
  TTestColorButton *cbSingleColor = nullptr, *cbFromColor = nullptr, *cbToColor = nullptr;
  TButton* btBitmap = nullptr;
  TCheckBox* cbTiled = nullptr;
  TEdit *edFirst = nullptr, *edLast = nullptr;
  TTestFontCombo *FirstFont = nullptr, *LastFont = nullptr;
  TTestColorButton *FirstFontColor = nullptr, *LastFontColor = nullptr;
  TSpinEdit *seFirst = nullptr, *seLast = nullptr, *seAnimation = nullptr, *seSections = nullptr;
  TRadioGroup *rgFirstEffect = nullptr, *rgLastEffect = nullptr;
  TTestColorButton *cbFirstShadowColor = nullptr, *cbLastShadowColor = nullptr;
  TCheckBox *cbFirstBold = nullptr, *cbFirstItalic = nullptr, *cbLastBold = nullptr, *cbLastItalic = nullptr;
  TTestColorButton *StartColor = nullptr, *EndColor = nullptr;
  TPFormSettings* PS = nullptr;
};

// Any form from a description given in the test; its components are found by name.
class TDescribedForm : public TForm {
 public:
  VCL_CLASS_INFO
  TDescribedForm(TComponent* owner, const std::string& description);
  template <class T>
  T* Find(const std::string& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  TPFormSettings* PS() const { return Find<TPFormSettings>("PS"); }
};

// The bound paths of the composer's settings, in stored order (the 28th is "LogoCheck").
extern const std::vector<std::string> kComposerPaths;
