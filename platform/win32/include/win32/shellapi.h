#pragma once
// The shell's ShellExecuteA, for what the programs open: web and mail addresses with the verb
// "open", through the host's opener (shell::OpenAddress).
#include "win32/types.h"

// ShellExecuteA's results up to 32 are errors.
constexpr INT_PTR SE_ERR_FILE_NOT_FOUND = 2;
constexpr INT_PTR SE_ERR_NOASSOC = 31;
constexpr INT_PTR kShellExecuteSucceeded = 33;  // any result above 32 means success

// Opens `file` with `operation` ("open", any case, or null). Only addresses ("scheme:...") are
// opened; the parameters, folder and show command do not apply to them. Returns a handle value
// above 32 on success, SE_ERR_NOASSOC when the verb or the file has no opener or the opener
// failed, SE_ERR_FILE_NOT_FOUND for an empty file.
HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
