// Windows-format metafile files (placeable or plain) through TMetafile, loaded and drawn.
#include "metafile_fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadAndDrawMetafile(data, size);
  return 0;
}
