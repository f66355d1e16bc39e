#pragma once
// Made by the library set-up and destroyed by its teardown.
void CreateViewerCursors();
void DestroyViewerCursors();
