#pragma once
// Joke files: INI files whose [Header] gives a Description and a Format ("SINGLE", "Q&A" or
// "ML"), followed by a [Data] line and the jokes in that format.
#include <cstddef>
#include <string>

#include "vcl/strings.h"

// A joke keeps at most this many bytes of its lines, the rest of a longer line and the lines after
// them being passed over: more than the 600 x 380 text box shows at any size the fitting tries, so
// a longer joke costs no more to read, lay out and draw than one of this length.
constexpr std::size_t kMaxJokeBytes = 4096;

std::string ReadJokeDescription(const std::string& FileName);

// Replaces Lines with one joke drawn with the class library's generator. CutPrefixes removes
// "Q: " and "A: " from Q&A lines; a question without answer lines takes Description as its
// answer. Lines stays empty when the file gives no joke; it holds at most kMaxJokeBytes.
void PickJoke(const std::string& FileName, TStrings* Lines, bool CutPrefixes, const std::string& Description);
