// Whole files in and out of memory, in chunks the platform takes on every
// version. Settings files are small; anything past 256 MB is not one of ours.
#pragma once
#include <windows.h>

#include "base/ByteBuffer.h"

// Reads the whole file from its start.
bool ReadWhole(HANDLE file, ByteBuffer& content);
// Writes `content` from the start, cuts the file there and flushes it: a
// write that answered success can still be lost with the machine.
bool RewriteWhole(HANDLE file, const ByteBuffer& content);
// Creates (or replaces) the file at `path` with `content`, flushed. Returns
// false with the platform's error for the creation in `error`.
bool WriteNewFile(const wchar_t* path, const ByteBuffer& content, DWORD* error = nullptr);
// Reads the whole file at `path`, shared with everyone. With `limit`, a file
// larger than that is refused with ERROR_FILE_TOO_LARGE; `error` gets the
// platform's error of a failure.
bool ReadFileAt(const wchar_t* path, ByteBuffer& content, size_t limit = 0, DWORD* error = nullptr);
// Writes `content` to `aside`, then renames it over `path` in one step: a
// reader sees the old file or the new one, never half of one, and a failure
// leaves the old one as it was. False with the platform's error in `error`.
bool ReplaceWhole(const wchar_t* path, const wchar_t* aside, const ByteBuffer& content, DWORD* error = nullptr);
