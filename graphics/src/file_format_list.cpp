#include "graphics/library.h"

// The codecs in registration order; each codec adds its own line.
std::vector<TFileFormatFactory> FileFormatReaderFactories() { return {}; }
std::vector<TFileFormatFactory> FileFormatWriterFactories() { return {}; }
