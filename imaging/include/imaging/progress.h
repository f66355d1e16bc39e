#pragma once
// Progress reports of the processing and I/O components: a percentage with its Sender.
#include <functional>

#include "vcl/objects.h"

using TProgressEvent = std::function<void(TObject* Sender, int per)>;

struct TProgressRec {
  TProgressEvent OnProgress;
  TObject* Sender = nullptr;

  explicit operator bool() const { return static_cast<bool>(OnProgress); }
  void Report(int per) const {
    if (OnProgress) OnProgress(Sender, per);
  }
};
