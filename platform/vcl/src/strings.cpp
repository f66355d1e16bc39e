#include <algorithm>

#include "vcl/formreader.h"
#include "vcl/formwriter.h"
#include "vcl/scope_exit.h"
#include "vcl/streams.h"
#include "vcl/strings.h"
#include "vcl/typinfo.h"

const TClassInfo& TStrings::StaticClassInfo() {
  static const TClassInfo info("TStrings", &TPersistent::StaticClassInfo());
  return info;
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = Objects(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

void TStrings::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "Strings", [this](TReader* r) { ReadData(r); }, [this](TWriter* w) { WriteData(w); }, Count() > 0);
}

void TStrings::WriteData(TWriter* Writer) const {
  Writer->WriteListBegin();
  for (int i = 0; i < Count(); ++i) Writer->WriteString(Get(i));
  Writer->WriteListEnd();
}

void TStrings::ReadData(TReader* Reader) {
  Reader->ReadListBegin();
  BeginUpdate();
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    Clear();
    while (!Reader->EndOfList()) Add(Reader->ReadString());
  }
  Reader->ReadListEnd();
}

TObject* TStrings::Objects(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S) {
  const int index = Count();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  const int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings* Strings) {
  BeginUpdate();
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Get(i), Strings->Objects(i));
  }
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  const std::string s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = Objects(Index1);
  TObject* o2 = Objects(Index2);
  Put(Index1, s2);
  PutObject(Index1, o2);
  Put(Index2, s1);
  PutObject(Index2, o1);
  EndUpdate();
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), S)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == AObject) return i;
  return -1;
}

std::string TStrings::Names(int Index) const {
  const std::string s = Get(Index);
  const auto eq = s.find('=');
  return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    const auto eq = s.find('=');
    if (eq != std::string::npos && SameText(s.substr(0, eq), Name)) return i;
  }
  return -1;
}

std::string TStrings::Values(const std::string& Name) const {
  const int i = IndexOfName(Name);
  return i < 0 ? std::string() : Get(i).substr(Name.size() + 1);
}

void TStrings::SetValue(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  if (i < 0) i = Add("");
  Put(i, Name + "=" + Value);
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) text += Get(i) + "\r\n";
  return text;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    Clear();
    std::size_t p = 0;
    while (p < Value.size()) {
      const std::size_t end = std::min(Value.find_first_of("\r\n", p), Value.size());
      Add(Value.substr(p, end - p));
      p = end;
      if (p < Value.size() && Value[p] == '\r') ++p;
      if (p < Value.size() && Value[p] == '\n') ++p;
    }
  }
}

std::string TStrings::CommaText() const {
  if (Count() == 1 && Get(0).empty()) return "\"\"";
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    const std::string s = Get(i);
    const bool quote = std::any_of(s.begin(), s.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ','; });
    if (i > 0) text += ',';
    if (!quote) {
      text += s;
      continue;
    }
    text += '"';
    for (char c : s) text += c == '"' ? std::string("\"\"") : std::string(1, c);
    text += '"';
  }
  return text;
}

void TStrings::SetCommaText(const std::string& Value) {
  auto blank = [&](std::size_t p) { return p < Value.size() && static_cast<unsigned char>(Value[p]) <= ' '; };
  BeginUpdate();
  {
    ScopeExit endUpdate([&] { EndUpdate(); });
    Clear();
    std::size_t p = 0;
    while (blank(p)) ++p;
    while (p < Value.size()) {
      std::string s;
      if (Value[p] == '"') {
        // A doubled quote stands for one; an unclosed quote runs to the end.
        for (++p; p < Value.size(); ++p) {
          if (Value[p] == '"') {
            if (p + 1 < Value.size() && Value[p + 1] == '"') ++p;
            else
              break;
          }
          s += Value[p];
        }
        if (p < Value.size()) ++p;
      } else {
        while (p < Value.size() && !blank(p) && Value[p] != ',') s += Value[p++];
      }
      Add(s);
      while (blank(p)) ++p;
      if (p < Value.size() && Value[p] == ',') {
        ++p;
        while (blank(p)) ++p;
      }
    }
  }
}

void TStrings::LoadFromStream(TStream* Stream) {
  const std::int64_t count = Stream->Size() - Stream->Position();
  std::string text(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)), '\0');
  Stream->ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) const {
  const std::string text = Text();
  Stream->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* strings = dynamic_cast<TStrings*>(Source)) {
    BeginUpdate();
    {
      ScopeExit endUpdate([&] { EndUpdate(); });
      Clear();
      AddStrings(strings);
    }
    return;
  }
  TPersistent::Assign(Source);
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

const TClassInfo& TStringList::StaticClassInfo() {
  static const TClassInfo info("TStringList", &TStrings::StaticClassInfo());
  return info;
}

void TStringList::Check(int Index) const {
  if (Index < 0 || Index >= Count()) throw EStringListError("List index out of bounds (%d)", {Index});
}

std::string TStringList::Get(int Index) const {
  Check(Index);
  return items_[static_cast<std::size_t>(Index)].first;
}

void TStringList::Put(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  Check(Index);
  Changing();
  items_[static_cast<std::size_t>(Index)].first = S;
  Changed();
}

TObject* TStringList::Objects(int Index) const {
  Check(Index);
  return items_[static_cast<std::size_t>(Index)].second;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  Check(Index);
  Changing();
  items_[static_cast<std::size_t>(Index)].second = AObject;
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  Changed();
}

void TStringList::Delete(int Index) {
  Check(Index);
  Changing();
  items_.erase(items_.begin() + Index);
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) {
  if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
  if (Index < 0 || Index > Count()) throw EStringListError("List index out of bounds (%d)", {Index});
  InsertItem(Index, S);
}

void TStringList::InsertItem(int Index, const std::string& S) {
  Changing();
  items_.insert(items_.begin() + Index, {S, nullptr});
  Changed();
}

int TStringList::Add(const std::string& S) {
  if (!sorted_) {
    InsertItem(Count(), S);
    return Count() - 1;
  }
  int index = 0;
  if (Find(S, index)) {
    if (duplicates_ == dupIgnore) return index;
    if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
  }
  InsertItem(index, S);
  return index;
}

void TStringList::Exchange(int Index1, int Index2) {
  Check(Index1);
  Check(Index2);
  Changing();
  std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
  Changed();
}

int TStringList::IndexOf(const std::string& S) const {
  if (!sorted_) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

bool TStringList::Find(const std::string& S, int& Index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int c = CompareText(items_[static_cast<std::size_t>(middle)].first, S);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) {
        found = true;
        // With duplicates accepted, the first of the equal items.
        if (duplicates_ != dupAccept) low = middle;
      }
    }
  }
  Index = low;
  return found;
}

void TStringList::Sort() {
  if (sorted_ || items_.size() < 2) return;
  Changing();
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& a, const auto& b) { return CompareText(a.first, b.first) < 0; });
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (Value == sorted_) return;
  if (Value) Sort();
  sorted_ = Value;
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating) Changing();
  else
    Changed();
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}
