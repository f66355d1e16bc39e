// The application's help: a topic of its help file in a plain window.
#include <algorithm>

#include "vcl/forms.h"
#include "vcl/help.h"
#include "vcl/stdctrls.h"
#include "vcl/sysutils.h"

namespace {

constexpr int kMargin = 12;
constexpr int kTextWidth = 420;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr char kWindowName[] = "HelpWindow";

TLabel* AddLabel(TForm* form, const char* name, int top) {
  auto* label = new TLabel(form);
  label->SetName(name);
  label->SetParent(form);
  label->SetShowAccelChar(false);
  label->SetBounds(kMargin, top, kTextWidth, label->Height());
  label->SetWordWrap(true);
  return label;
}

TForm* MakeHelpWindow(TApplication* application) {
  auto* form = new TForm(application);
  form->SetName(kWindowName);
  form->SetBorderStyle(bsDialog);
  TLabel* title = AddLabel(form, "TopicTitle", kMargin);
  title->Font()->SetStyle(TFontStyles{fsBold});
  AddLabel(form, "TopicText", kMargin);
  auto* close = new TButton(form);
  close->SetName("Close");
  close->SetParent(form);
  close->SetCaption("Close");
  close->SetDefault(true);
  close->SetCancel(true);
  close->OnClick = [form](TObject*) { form->Close(); };
  return form;
}

// Lays the topic out: the title, the text wrapped below it, the button under both.
void ShowTopic(TForm* form, const THelpTopic& topic, const std::string& appTitle) {
  form->SetCaption(appTitle + " Help");
  auto* title = static_cast<TLabel*>(form->FindComponent("TopicTitle"));
  auto* text = static_cast<TLabel*>(form->FindComponent("TopicText"));
  auto* close = static_cast<TButton*>(form->FindComponent("Close"));
  title->SetCaption(topic.Title);
  text->SetTop(title->Top() + title->Height() + kMargin / 2);
  text->SetCaption(topic.Text);
  const int buttonTop = text->Top() + text->Height() + kMargin;
  const int clientWidth = kTextWidth + 2 * kMargin;
  close->SetBounds(clientWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonTop + kButtonHeight + kMargin);
  form->SetLeft(std::max(0, (Screen->Width() - form->Width()) / 2));
  form->SetTop(std::max(0, (Screen->Height() - form->Height()) / 2));
  form->Show();
  form->BringToFront();
}

}  // namespace

bool TApplication::HelpContext(int Context) { return HelpCommand(HELP_CONTEXT, Context); }

bool TApplication::HelpCommand(int CommandNumber, long Data) {
  const UINT Command = static_cast<UINT>(CommandNumber);
  auto* window = static_cast<TForm*>(FindComponent(kWindowName));
  if (Command == HELP_QUIT) {
    if (window) window->Close();
    return true;
  }
  std::optional<THelpTopic> topic;
  const bool ofContext = Command == HELP_CONTEXT || Command == HELP_CONTEXTPOPUP;
  if (!helpFile_.empty() && (ofContext || Command == HELP_CONTENTS || Command == HELP_FINDER)) {
    const bool hasFolder = helpFile_.find_first_of("\\:") != std::string::npos;
    const std::string path = hasFolder ? helpFile_ : ExtractFilePath(ExeName()) + helpFile_;
    topic = ReadHelpTopic(path, ofContext ? static_cast<int>(Data) : 0);
  }
  if (!topic) {
    MessageBox("Help is not available.", Title(), MB_OK | MB_ICONINFORMATION);
    return false;
  }
  ShowTopic(window ? window : MakeHelpWindow(this), *topic, Title());
  return true;
}
