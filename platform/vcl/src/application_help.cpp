// The application's help: a topic of its help file in a plain window.
#include <algorithm>

#include "vcl/forms.h"
#include "vcl/forms_scrolling.h"
#include "vcl/help.h"
#include "vcl/stdctrls.h"
#include "vcl/sysutils.h"

namespace {

constexpr int kMargin = 12;
constexpr int kPadding = 8;  // between the pane's edge and its text
constexpr int kPaneWidth = 480;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr char kWindowName[] = "HelpWindow";
constexpr char kPaneName[] = "TopicPane";

// The help window: the topic in a pane that scrolls with its bar, the wheel, the arrow and the
// page keys; the Close button below it.
class THelpWindow : public TForm {
 public:
  explicit THelpWindow(TComponent* AOwner) : TForm(AOwner) {}

  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_MOUSEWHEEL) {
      ScrollLines(WheelScrollLines(Message.WParam));
      Message.Result = 0;
      return;
    }
    TForm::WndProc(Message);
  }

  void KeyScroll(TObject*, WORD& Key, TShiftState) {
    TControlScrollBar* bar = Pane()->VertScrollBar();
    const int page = std::max(LineHeight(), Pane()->ClientHeight() - LineHeight());
    switch (Key) {
      case VK_UP: ScrollLines(-1); break;
      case VK_DOWN: ScrollLines(1); break;
      case VK_PRIOR: bar->SetPosition(bar->Position() - page); break;
      case VK_NEXT: bar->SetPosition(bar->Position() + page); break;
      case VK_HOME: bar->SetPosition(0); break;
      case VK_END: bar->SetPosition(bar->MaxPosition()); break;
      default: return;
    }
    Key = 0;
  }

 private:
  TScrollBox* Pane() { return static_cast<TScrollBox*>(FindComponent(kPaneName)); }
  int LineHeight() { return std::max(1, static_cast<TLabel*>(FindComponent("TopicText"))->Canvas()->TextHeight("Ag")); }
  void ScrollLines(int Lines) {
    TControlScrollBar* bar = Pane()->VertScrollBar();
    bar->SetPosition(bar->Position() + Lines * LineHeight());
  }
};

TLabel* AddLabel(TForm* form, TWinControl* pane, const char* name) {
  auto* label = new TLabel(form);
  label->SetName(name);
  label->SetParent(pane);
  label->SetShowAccelChar(false);
  label->SetWordWrap(true);
  label->SetTransparent(true);
  return label;
}

TForm* MakeHelpWindow(TApplication* application) {
  auto* form = new THelpWindow(application);
  form->SetName(kWindowName);
  form->SetBorderStyle(bsDialog);
  form->SetKeyPreview(true);
  form->OnKeyDown = [form](TObject* Sender, WORD& Key, TShiftState Shift) { form->KeyScroll(Sender, Key, Shift); };
  auto* pane = new TScrollBox(form);
  pane->SetName(kPaneName);
  pane->SetParent(form);
  pane->SetColor(clWindow);
  pane->HorzScrollBar()->SetVisible(false);
  pane->SetAutoScroll(false);  // the range is the text's, padding below it included
  TLabel* title = AddLabel(form, pane, "TopicTitle");
  title->Font()->SetStyle(TFontStyles{fsBold});
  AddLabel(form, pane, "TopicText");
  auto* close = new TButton(form);
  close->SetName("Close");
  close->SetParent(form);
  close->SetCaption("Close");
  close->SetDefault(true);
  close->SetCancel(true);
  close->OnClick = [form](TObject*) { form->Close(); };
  return form;
}

// A label wrapped at `width`: an auto-sized label keeps the width it is given only while its
// caption is set, so the width comes first.
void WrapAt(TLabel* label, int top, int width, const std::string& text) {
  label->SetBounds(kPadding, top, width, label->Height());
  label->SetCaption(text);
}

// Lays the topic out: the title and the text wrapped at the pane's width, the pane as tall as the
// text up to what the screen holds (the rest scrolls), the button under it.
void ShowTopic(TForm* form, const THelpTopic& topic, const std::string& appTitle) {
  form->SetCaption(appTitle + " Help");
  auto* pane = static_cast<TScrollBox*>(form->FindComponent(kPaneName));
  auto* title = static_cast<TLabel*>(form->FindComponent("TopicTitle"));
  auto* text = static_cast<TLabel*>(form->FindComponent("TopicText"));
  auto* close = static_cast<TButton*>(form->FindComponent("Close"));
  pane->VertScrollBar()->SetPosition(0);
  const int edges = 2 * GetSystemMetrics(SM_CXEDGE);  // the pane's sunken client edge
  const int wrap = kPaneWidth - edges - GetSystemMetrics(SM_CXVSCROLL) - 2 * kPadding;
  WrapAt(title, kPadding, wrap, topic.Title);
  WrapAt(text, title->Top() + title->Height() + kPadding, wrap, topic.Text);
  const int content = text->Top() + text->Height() + kPadding;
  const int frame = form->Height() - form->ClientHeight();
  const int room = Screen->Height() - frame - 3 * kMargin - kButtonHeight;
  const int paneHeight = std::min(content + edges, std::max(room, kButtonHeight));
  pane->SetBounds(kMargin, kMargin, kPaneWidth, paneHeight);
  pane->VertScrollBar()->SetRange(content);
  const int buttonTop = kMargin + paneHeight + kMargin;
  const int clientWidth = kPaneWidth + 2 * kMargin;
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
