#pragma once
// The error of the imaging library's readers for a file they cannot decode.
#include "vcl/sysutils.h"

class EInvalidGraphic : public Exception {
  using Exception::Exception;
};
