// Editing the text of an INI file the way the platform's profile functions
// would change it, without their side effects: the functions rewrite a whole
// file on every write (dropping blank lines, normalising spacing and line
// endings), while this edit changes only the lines of the keys it sets and
// leaves every other byte of the file as it was.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/ByteBuffer.h"

enum class TextEncoding {
    Ansi,             // 8-bit text in the system code page (or UTF-8 without a mark)
    Utf8,             // with its byte-order mark
    Utf16Le,          // with its byte-order mark
    Utf16Be,          // with its byte-order mark
    Utf16LeUnmarked,  // the profile functions read these as empty and replace
    Utf16BeUnmarked,  // them whole on the first write
};

// How much of a file is looked at to tell UTF-16 without a mark from 8-bit
// text: enough to get past a comment in a script outside Latin-1.
constexpr size_t kEncodingSniffBytes = 4096;

// The encoding of a file that starts with `bytes`. The profile functions go
// by the byte-order mark alone; a file without one that is UTF-16 all the
// same (a NUL at one side in at least a quarter of its first characters) is
// told apart, as they would read it as 8-bit text and a write would wreck
// it. A stray NUL in 8-bit text leaves it 8-bit.
TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size);
bool IsUnmarkedUtf16(TextEncoding encoding);

// One key of ours and the text it must hold. Names and values are ASCII.
struct IniAssignment {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;  // decimal numbers
};

// Builds in `out` the content of `in` with every assignment made. An existing
// key keeps its line and spelling with only the value replaced; a missing key
// is added after the last line of its section, and a missing section at the
// end of the file, where the profile functions would add them. Sections and
// keys are matched as the profile functions match them: the first section of
// that name and the first key of that name in it, ignoring the case of A-Z,
// trimming only ASCII spaces, controls 9 to 13 and ^Z, and comparing up to
// an embedded NUL. New lines
// take the file's own line ending and encoding. Fails (false) for UTF-16
// without a mark, which cannot be edited safely, and when memory runs out.
bool EditIniText(const ByteBuffer& in, const IniAssignment* items, int count, ByteBuffer& out);

// The number each key of `items` holds (their values are not used), read
// as GetPrivateProfileIntW reads it from the same text; `present` is false
// where it would give the default.
struct IniInt {
    bool present = false;
    uint32_t value = 0;
};
void ReadIniInts(const ByteBuffer& in, const IniAssignment* items, int count, IniInt* found);
