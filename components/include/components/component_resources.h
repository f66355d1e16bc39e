#pragma once
// The pictures the colour buttons, font combo boxes and file lists load by resource name, drawn
// by us and registered as bitmap resources: "BM_CLRBTNDOWN" (5 x 5 drop-down arrow),
// "ZEV_TRUETYPE", "ZEV_FIXEDPITCH", "ZEV_TRUETYPEFIXED", "ZEV_PRINTER", "ZEV_DEVICE" (12 x 12),
// "ZEV_UPARROW", "ZEV_DOWNARROW", "ZEV_EXECUTABLE", "ZEV_CLOSEDFOLDER", "ZEV_UNKNOWNFILE". Every
// picture is on olive ($008080), its transparent colour.
#include <string>

// Registers them; once, however often it is called.
void RegisterComponentResources();

// The shared up and down arrows that the combo box family loads once (made on first use).
class TBitmap;
TBitmap* ZevUpArrow();
TBitmap* ZevDownArrow();
