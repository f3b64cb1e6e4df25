// The data disk "c:" of the file dialogs. It is the user's home directory; disk paths are
// written "c:", "c:/music", "c:/music/old" and map below that directory. Every path is
// joined with '/' and bounded: a path that does not fit is refused, never cut. Names and
// paths are shown cut to 254 characters but kept whole for opening.
#pragma once

#include <climits>
#include <cstddef>
#include <functional>

constexpr const char* DiskRootName = "c:";
// Room of any name the file system gives, and of any path it can open.
constexpr size_t DiskNameSize = NAME_MAX + 1;
constexpr size_t DiskPathSize = PATH_MAX;
// Names and paths are drawn with at most this many characters.
constexpr int DiskShownLength = 254;

// The host directory of "c:": the one given to SetDiskRoot, else $HOME, else the
// password entry's home, else ".".
const char* DiskRoot();
// Tests and tools point "c:" elsewhere; null goes back to the home directory.
void SetDiskRoot(const char* hostDir);

// dir + '/' + name into out (size bytes with the terminator); false, with out left
// empty, when it does not fit.
bool JoinDiskPath(char* out, size_t size, const char* dir, const char* name);
// The host path of a disk path ("c:" or "c:/..."; any other text is taken as a host
// path). False, with out empty, when it does not fit.
bool DiskHostPath(const char* diskPath, char* out, size_t size);

// Lists the disk directory in the file system's order, calling add(name, directory)
// for every entry but "." and, at the root, "..". Below the root ".." is always offered,
// also when the directory cannot be read. Returns the number of entries added, or -1
// when the directory cannot be read.
int ListDiskDir(const char* diskPath, bool atRoot, const std::function<void(const char* name, bool directory)>& add);
