// Waiting out other programs that hold a settings file open for a moment
// (a backup tool, a virus scanner, a companion in the middle of a write).
#pragma once
#include <windows.h>

#include "settings/FileSet.h"

// How long a file held open by another program is waited for.
constexpr DWORD kSharingWaitMs = 500;

// UnmarkedUtf16: the file opens but holds UTF-16 text without a byte-order
// mark. The profile functions read such a file as empty and a write replaces
// all of it, so the program neither trusts nor writes it.
enum class FileAccess { Open, Missing, Held, Denied, UnmarkedUtf16 };

// Whether the file can be opened now for reading (or reading and writing),
// sharing with everyone, as the profile functions open it; one open tells
// both that and the encoding.
FileAccess ProbeFile(const wchar_t* path, bool forWrite);

// Retries while another program holds `path` without sharing, until the
// deadline (a GetTickCount value) passes. Returns the last probe's answer.
FileAccess WaitForFile(const wchar_t* path, bool forWrite, DWORD deadline);

// Waits, for about kSharingWaitMs in all, until the files read at start-up
// (both copies of QRZINFO.INI that are read, and JobInfo.ini) can be read.
// Answers each one that exists but is still held by another program, cannot
// be read at all, or is UTF-16 without a mark: its options will show their
// defaults.
FileSet WaitForReadableSettings();
