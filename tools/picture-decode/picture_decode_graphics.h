#pragma once
// picture-decode's default reader: the pixel graphics library's format registry.
#include <string>

// Decodes the file at a host path through the registry (signature first, then extension) into
// "P6" RGB samples, or "P5" with 0 and 255 for a black-and-white picture. The reader's own
// exception passes through.
std::string DecodeToNetpbmWithGraphics(const std::string& hostPath);
