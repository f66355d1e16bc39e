#pragma once
// String lists. Line rules: Text splits at CR, LF or CR LF and an ending line break makes no extra
// empty line; Text joins every line followed by CR LF. Comparisons ignore case (ASCII).
#include <string>
#include <utility>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sysutils.h"

class TReader;
class TStream;
class TWriter;

class EStringListError : public Exception {
  using Exception::Exception;
};

// The abstract list: descendants supply Get, Count, Clear, Delete and Insert.
class TStrings : public TPersistent {
 public:
  VCL_CLASS_INFO

  virtual int Count() const = 0;
  virtual std::string Get(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual TObject* Objects(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const std::string& S) = 0;
  virtual int Add(const std::string& S);
  int AddObject(const std::string& S, TObject* AObject);
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  void AddStrings(const TStrings* Strings);
  virtual void Exchange(int Index1, int Index2);
  virtual int IndexOf(const std::string& S) const;
  int IndexOfObject(const TObject* AObject) const;

  // "Name=Value" lines: Names(i) is the part before the first "=", Values(Name) the part after it.
  std::string Names(int Index) const;
  int IndexOfName(const std::string& Name) const;
  std::string Values(const std::string& Name) const;
  // An empty Value deletes the line.
  void SetValue(const std::string& Name, const std::string& Value);

  virtual std::string Text() const;
  virtual void SetText(const std::string& Value);
  // Items separated by ","; items with blanks, commas or quotes are quoted with doubled quotes.
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);

  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream) const;
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName) const;

  void Assign(TPersistent* Source) override;
  // Changes between them notify once, at the end.
  void BeginUpdate();
  void EndUpdate();

 protected:
  // The lines are stored in a form description as the list "Strings".
  void DefineProperties(TFiler* Filer) override;
  virtual void SetUpdateState(bool Updating);
  int UpdateCount() const { return updateCount_; }

 private:
  void ReadData(TReader* Reader);
  void WriteData(TWriter* Writer) const;

  int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
 public:
  VCL_CLASS_INFO

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  TObject* Objects(int Index) const override;
  void PutObject(int Index, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  // Not allowed on a sorted list.
  void Insert(int Index, const std::string& S) override;
  // On a sorted list: at its place, with Duplicates deciding about an equal item.
  int Add(const std::string& S) override;
  void Exchange(int Index1, int Index2) override;
  int IndexOf(const std::string& S) const override;
  // Binary search of a sorted list: true when found; Index is where S is or belongs.
  bool Find(const std::string& S, int& Index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  void SetUpdateState(bool Updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  void Check(int Index) const;
  void InsertItem(int Index, const std::string& S);

  std::vector<std::pair<std::string, TObject*>> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
