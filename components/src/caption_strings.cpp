// The Lines view of a graphic button's caption, where "||" separates the lines, and the turn of
// those bars into line breaks that painting shares. It works on the whole caption, so editing a
// line never loses the caption's tail.
#include <string>

#include "caption_breaks.h"
#include "components/graphic_button.h"
#include "vcl/sysutils.h"

std::string BarsToLineBreaks(const std::string& Caption) { return StringReplaceAll(Caption, "||", "\r\n"); }

std::string LineBreaksToBars(const std::string& Text) { return StringReplaceAll(Text, "\r\n", "||"); }

void TCaptionStrings::Split(TStringList& Lines) const { Lines.SetText(BarsToLineBreaks(target_->Caption())); }

void TCaptionStrings::Store(const TStringList& Lines) {
  std::string text = Lines.Text();
  if (text.size() >= 2) text.resize(text.size() - 2);  // the final line break
  target_->SetCaption(LineBreaksToBars(text));
}

int TCaptionStrings::Count() const {
  TStringList lines;
  Split(lines);
  return lines.Count();
}

std::string TCaptionStrings::Get(int Index) const {
  TStringList lines;
  Split(lines);
  return lines.Get(Index);
}

void TCaptionStrings::Put(int Index, const std::string& S) {
  TStringList lines;
  Split(lines);
  lines.Put(Index, S);
  Store(lines);
}

void TCaptionStrings::Insert(int Index, const std::string& S) {
  TStringList lines;
  Split(lines);
  lines.Insert(Index, S);
  Store(lines);
}

void TCaptionStrings::Delete(int Index) {
  TStringList lines;
  Split(lines);
  lines.Delete(Index);
  Store(lines);
}

void TCaptionStrings::Clear() { target_->SetCaption(""); }
