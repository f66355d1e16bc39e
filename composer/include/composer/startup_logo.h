#pragma once
// The startup logo file: a 320 x 400, 8-bit bitmap whose last N palette entries are the
// animation colours, painted in the bar rows 380-399 and announced by the header's count of
// important colours (256 - N).
#include <string>

#include "graphics/pixel_graphic.h"

inline constexpr const char* kStartupLogo = "c:\\logo.sys";
inline constexpr const char* kStartupLogoDraft = "c:\\logo.bmp";

// The intermediate file of a save, created empty, exclusively and marked as this process's own:
// kStartupLogoDraft, or, when that name is taken (a user's own picture, or the draft of a save
// running at the same time), the first free "c:\logo~N.bmp". The drafts of saves that were killed
// are removed first; a user's own files are left alone. Raises EInOutError when no name is free.
std::string CreateDraft();

// Paints rows 380-399 of the 8-bit Image with the indexes 256-N..255 in S sections that go up
// and down the colours.
void DrawLogoAnimationBar(TPixelGraphic* Image, int N, int S);
// Sets the information header's count of important colours of a bitmap file; a file shorter
// than its headers is left as it is. Kernel failures raise EInOutError.
void PatchImportantColors(const char* FileName, DWORD Count);
// Copies Draft over Target keeping Target's attributes (none when it is new), then deletes
// Draft. The copy has them before it replaces Target (a read-only one too); a link is replaced,
// its target left as it is. Raises EInOutError when Target could not be replaced.
void ReplaceKeepingAttributes(const char* Draft, const char* Target);
