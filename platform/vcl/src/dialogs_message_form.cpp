// The message dialog as a form of the class library: the type's icon, the word-wrapped message
// beside it and a row of buttons centred below.
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs_caption.h"
#include "vcl/dialogs.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

namespace {

struct TButtonKind {
  const char* Name;
  const char* Caption;
  TModalResult Result;  // mrNone: the button does not end the dialog
};

// In the order the buttons appear, indexed by TMsgDlgBtn.
constexpr TButtonKind kButtons[] = {
    {"Yes", "&Yes", mrYes},          {"No", "&No", mrNo},          {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},  {"Abort", "&Abort", mrAbort}, {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore}, {"All", "&All", mrAll},       {"Help", "&Help", mrNone},
};

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

LPCSTR IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning: return IDI_EXCLAMATION;
    case mtError: return IDI_HAND;
    case mtInformation: return IDI_ASTERISK;
    case mtConfirmation: return IDI_QUESTION;
    case mtCustom: break;
  }
  return nullptr;
}

TMsgDlgBtn DefaultOf(TMsgDlgButtons buttons) {
  if (buttons.Contains(mbOK)) return mbOK;
  if (buttons.Contains(mbYes)) return mbYes;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return static_cast<TMsgDlgBtn>(b);
  return mbOK;
}

// The button Escape presses, if any.
std::optional<TMsgDlgBtn> CancelOf(TMsgDlgButtons buttons) {
  for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
    if (buttons.Contains(b)) return b;
  return std::nullopt;
}

// Focuses its default button when shown; a hidden form has no control to focus yet.
class TMessageForm : public TForm {
 public:
  using TForm::TForm;
  TButton* DefaultButton = nullptr;

 protected:
  void DoShow() override {
    if (DefaultButton) SetActiveControl(DefaultButton);
    TForm::DoShow();
  }
};

// The type's icon at the top left; answers its height, 0 for a type without one.
int AddIcon(TMessageForm& form, TMsgDlgType DlgType) {
  const LPCSTR icon = IconOf(DlgType);
  if (!icon) return 0;
  auto* image = new TImage(&form);
  image->SetName("Image");
  image->SetParent(&form);
  image->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
  image->Picture()->Icon()->SetHandle(LoadIconA(nullptr, icon));
  return kIconSize;
}

// The label measures the text: first on one line, then wrapped within the widest a line may be.
TLabel* AddMessage(TMessageForm& form, const std::string& Msg, int textLeft, int iconHeight) {
  auto* message = new TLabel(&form);
  message->SetName("Message");
  message->SetParent(&form);
  message->SetShowAccelChar(false);
  message->SetCaption(Msg);
  message->SetBounds(textLeft, kMargin, kMaxTextWidth, message->Height());
  message->SetWordWrap(true);
  // A message shorter than the icon stands level with its middle.
  message->SetTop(kMargin + std::max(0, iconHeight - message->Height()) / 2);
  return message;
}

// One row of buttons from `at`, in the order of `kinds`.
void AddButtons(TMessageForm& form, const std::vector<const TButtonKind*>& kinds, TMsgDlgButtons Buttons, POINT at) {
  const TButtonKind* defaultKind = &kButtons[DefaultOf(Buttons)];
  const std::optional<TMsgDlgBtn> cancel = CancelOf(Buttons);
  const TButtonKind* cancelKind = cancel ? &kButtons[*cancel] : nullptr;
  for (const TButtonKind* kind : kinds) {
    auto* button = new TButton(&form);
    button->SetName(kind->Name);
    button->SetParent(&form);
    button->SetBounds(at.x, at.y, kButtonWidth, kButtonHeight);
    button->SetCaption(kind->Caption);
    button->SetModalResult(kind->Result);
    button->SetDefault(kind == defaultKind);
    button->SetCancel(kind == cancelKind);
    if (kind == defaultKind) form.DefaultButton = button;
    if (kind == &kButtons[mbHelp]) {
      TForm* owner = &form;
      button->OnClick = [owner](TObject*) { Application->HelpContext(owner->HelpContext()); };
    }
    at.x += kButtonWidth + kButtonGap;
  }
}

}  // namespace

TModalResult DefaultResultOf(TMsgDlgButtons Buttons) {
  const TModalResult result = kButtons[DefaultOf(Buttons)].Result;
  return result == mrNone ? mrCancel : result;
}

TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  // A dialog without buttons could not be answered.
  if (Buttons.Empty()) Buttons = TMsgDlgButtons{mbOK};
  auto form = std::make_unique<TMessageForm>(nullptr);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(MessageDlgCaption(DlgType));
  const int iconHeight = AddIcon(*form, DlgType);
  const int textLeft = kMargin + (iconHeight ? kIconSize + kMargin : 0);
  TLabel* message = AddMessage(*form, Msg, textLeft, iconHeight);
  const int contentHeight = std::max(iconHeight, message->Height());

  std::vector<const TButtonKind*> kinds;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) kinds.push_back(&kButtons[b]);
  const int count = static_cast<int>(kinds.size());
  const int rowWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  const int clientWidth = std::max(textLeft + message->Width() + kMargin, rowWidth + 2 * kMargin);
  const int buttonTop = kMargin + contentHeight + kMargin;
  form->SetClientWidth(clientWidth);
  form->SetClientHeight(buttonTop + kButtonHeight + kMargin);
  AddButtons(*form, kinds, Buttons, {(clientWidth - rowWidth) / 2, buttonTop});
  return form.release();
}
