#pragma once
// The swap dialog's picture work, which its handlers call: a picture loaded into the preview
// (shrunk to 215 x 269, the full picture kept as the undo copy), shown full size at 320 x 400,
// and written into a slot. A slot file is either the chosen file copied byte for byte, when it
// already is in the logo layout, or the picture resampled with Lanczos3 and written as an 8-bit
// bitmap with the 40-byte header, uncompressed, whatever the last bitmap loaded used.
#include <string>

#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"
#include "imaging/velmora_target.h"

inline constexpr int kLogoWidth = 320, kLogoHeight = 400;
inline constexpr int kPreviewWidth = 215, kPreviewHeight = 269;
inline constexpr int kLanczos3 = 5;
inline constexpr char kLoadErrorText[] = "Error loading image.";

// A bitmap file as Windows reads a logo: the 40-byte header, 320 by 400 rows bottom-up, 8 bits
// per pixel, uncompressed, and all its rows present.
bool IsLogoLayout(const std::string& FileName);
// The picture of IO's image resampled to 320 x 400 with Lanczos3 and written to Target as an
// 8-bit bitmap with a NeuQuant palette, the 40-byte header, uncompressed. Raises on failure.
void SaveResampledLogo(TVelmoraIO& IO, TVelmoraProc& Proc, const std::string& Target);
// The width, " x ", the height.
std::string SizeText(TBitmap& Bitmap);

// The swap dialog's two pages and the mouse over their tabs: over the Directory tab (0 < X < 63)
// while Files is active, Directory; over the Files tab (64 <= X < 120) while Directory is active,
// Files; anywhere else, and X = 63 between them, the active page stays.
enum TSwapPage { spDirectory, spFiles };
TSwapPage HoverPage(int X, int Y, TSwapPage Active);

class TSwapPicture {
 public:
  // IO and Proc are attached to Image and the picture cleared; each load plugs in the LZW decoders.
  TSwapPicture(TVelmoraPicture& Image, TVelmoraIO& IO, TVelmoraProc& Proc);

  // The last load raised; no full-size view then.
  bool LoadFailed() const { return loadFailed_; }
  // The last successful load's file is in the logo layout: the save copies it.
  bool CopyUnchanged() const { return copyUnchanged_; }
  // The full path of the picture last loaded successfully; empty before.
  const std::string& LoadedFile() const { return loadedFile_; }
  // Whether "Okay" may be pressed and the full size viewed: only while a successful load's
  // picture is in the preview.
  bool CanSave() const { return canSave_; }

  // The dialog's load: the text for Label1, its size, or "Error loading image." after a failure
  // (the preview then keeps what the reader left).
  std::string Load(const std::string& FileName);
  // The dialog is shown again: the full picture comes back from the undo copy and is shrunk
  // anew, so a later save still writes it. The text for Label1.
  std::string Show();
  // The dialog closes: the text Label1 keeps.
  std::string Closed(const std::string& Label) const { return loadFailed_ ? std::string() : Label; }
  // The full picture resampled to 320 x 400 into View; the preview is shrunk again. The text
  // for Label1; false when no picture was loaded (the cleared or a failed load's preview).
  bool FullSize(TBitmap& View, std::string& Label);
  // Writes the slot file Target from the full picture. Raises when the copy, the resampling or
  // the writer fails; the target is then left as it was.
  void Save(const std::string& Target);

 private:
  TVelmoraPicture& image_;
  TVelmoraIO& io_;
  TVelmoraProc& proc_;
  bool loadFailed_ = false, copyUnchanged_ = false, canSave_ = false;
  std::string loadedFile_;
};
