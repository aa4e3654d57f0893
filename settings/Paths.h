// Paths of the settings files and of what a save puts beside them: built
// whole or not at all, since a cut path names another file.
#pragma once
#include <windows.h>

// Room for a path as the platform resolves links, which may pass MAX_PATH.
constexpr int kLongPath = 1024;

// Copies `from`; false (and `to` untouched) when it does not fit.
bool CopyPath(wchar_t* to, int capacity, const wchar_t* from);
// Appends `tail`; false (and `path` unchanged) when the result would not fit.
bool AppendPath(wchar_t* path, int capacity, const wchar_t* tail);
// The length of the folder part of `path` (up to its last separator), or -1
// when it has none.
int FolderLength(const wchar_t* path);

// The same path with its extension replaced by `extension` (".~ox"), so
// that it is never longer than the file's own path and is found again by
// the name alone. False when it would not fit MAX_PATH, which the profile
// functions that judge a new content take.
bool SiblingPath(const wchar_t* path, const wchar_t* extension, wchar_t (&sibling)[kLongPath]);

// The path the platform reaches through any symbolic link, without the
// "\\?\" prefix; the path as given where the platform cannot tell (before
// Windows Vista).
void ResolvedPath(HANDLE file, const wchar_t* path, wchar_t (&resolved)[kLongPath]);
