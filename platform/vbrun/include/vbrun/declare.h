#pragma once
// "Declare Function ... Lib": a procedure of a library, looked up by name at its first call.
// The libraries are those the run time can offer on this platform (advapi32's registry calls,
// STKIT432's fCreateShellLink); any other library is error 48, any other name error 453.
#include <string>

namespace vb {

// The address of the procedure, found once; raises 48 or 453.
void* FindDeclared(const std::string& library, const std::string& procedure);

template <class Signature>
class Declare;
template <class R, class... A>
class Declare<R(A...)> {
 public:
  Declare(std::string library, std::string procedure) : library_(std::move(library)), name_(std::move(procedure)) {}
  R operator()(A... args) {
    if (!bound_) bound_ = reinterpret_cast<R (*)(A...)>(FindDeclared(library_, name_));
    return bound_(args...);
  }

 private:
  std::string library_, name_;
  R (*bound_)(A...) = nullptr;
};

// STKIT432's shortcut maker: a shortcut `linkName`.lnk in the Start menu program group `folder`
// to `target` with `arguments`; 1 when made, 0 otherwise.
long fCreateShellLink(const char* folder, const char* linkName, const char* target, const char* arguments);

}  // namespace vb
