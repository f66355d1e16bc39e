#pragma once
// A graphic button's caption writes its line breaks as "||": the caption's Lines view and the
// multi-line painting both turn them into CR LF.
#include <string>

std::string BarsToLineBreaks(const std::string& Caption);
std::string LineBreaksToBars(const std::string& Text);
