#pragma once
// The roots of the class library: TObject and TPersistent, and the plain event type.
#include <functional>
#include <string>

class TClassInfo;
class TFiler;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The name of the object's own class, e.g. "TStringList".
  std::string ClassName() const;
  // The run-time description (published properties, handlers, factory) of the object's class,
  // or of its nearest ancestor that declares one with VCL_CLASS_INFO.
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
};

// Declares a class's own run-time description; the class defines StaticClassInfo() in its source.
#define VCL_CLASS_INFO                        \
  static const TClassInfo& StaticClassInfo(); \
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
 public:
  VCL_CLASS_INFO

  // Copies Source into this object; a Source that cannot be copied raises EConvertError.
  virtual void Assign(TPersistent* Source);

 protected:
  friend class TFiler;
  // Copies this object into Dest; the default raises the conversion error.
  virtual void AssignTo(TPersistent* Dest);
  // Adds the properties that the object stores itself in a form description.
  virtual void DefineProperties(TFiler* Filer);
  // "Cannot assign a <Source's class> to a <this class>".
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};
