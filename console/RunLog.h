// What a run changed, kept as it goes for /log FILE: one line appended per
// run, for a log that deployment tools collect.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "settings/Catalogue.h"

// A setting the run saved (or, with /whatif, would save): `stored` false
// when no file held it before.
void NoteChange(const Setting& setting, bool stored, uint32_t before, uint32_t after);

// Appends "TIME<tab>COMPUTER<tab>USER<tab>COMMAND<tab>exit N<tab>CHANGES" to
// the file at `path` in UTF-8, made if missing; a log that cannot be written
// is said on standard error and never changes the exit code.
void AppendRunLog(const wchar_t* path, int argc, const wchar_t* const* argv, int exitCode);
