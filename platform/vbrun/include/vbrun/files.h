#pragma once
// File statements on Windows paths. Each failure raises the run time's error: 53 for a missing
// file, 76 for a missing path, 75 for anything else the file system refuses, 70 for a file in use
// or read-only.
#include <string>

namespace vb {

// Replaces the target.
void FileCopy(const std::string& source, const std::string& destination);
// Deletes the files matching the name or mask ("c:\logos\down\*.*"); as the run time does, only
// files without the hidden or system attribute match. Error 53 when none matches.
void Kill(const std::string& pathName);
void MkDir(const std::string& path);
void RmDir(const std::string& path);
long FileLen(const std::string& path);
// The name of the first ordinary file matching the path or mask, "" when there is none.
std::string Dir(const std::string& pathName);

}  // namespace vb
