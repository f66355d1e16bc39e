#pragma once
// Joke files: INI files whose [Header] gives a Description and a Format ("SINGLE", "Q&A" or
// "ML"), followed by a [Data] line and the jokes in that format.
#include <string>

#include "vcl/strings.h"

std::string ReadJokeDescription(const std::string& FileName);

// Replaces Lines with one joke drawn with the class library's generator. CutPrefixes removes
// "Q: " and "A: " from Q&A lines; a question without answer lines takes Description as its
// answer. Lines stays empty when the file gives no joke.
void PickJoke(const std::string& FileName, TStrings* Lines, bool CutPrefixes, const std::string& Description);
