// Editing the text of an INI file the way the platform's profile functions
// would change it, without their side effects: the functions rewrite a whole
// file on every write (dropping blank lines, normalising spacing and line
// endings), while this edit changes only the lines of the keys it sets and
// leaves every other byte of the file as it was.
#pragma once
#include <windows.h>

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

// The encoding of a file that starts with `bytes`. 8-bit text has no NUL
// byte; UTF-16 text has one in every character below U+0100, so line ends,
// section names and keys give it away even after a long comment in Japanese.
TextEncoding DetectTextEncoding(const unsigned char* bytes, size_t size);
bool IsUnmarkedUtf16(TextEncoding encoding);

// One key of ours and the text it must hold.
struct IniAssignment {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;  // plain ASCII: decimal numbers
};

// Builds in `out` the content of `in` with every assignment made. An existing
// key keeps its line and spelling with only the value replaced; a missing key
// is added after the last line of its section, and a missing section at the
// end of the file, where the profile functions would add them. Sections and
// keys are matched as the profile functions match them: the first section of
// that name, ignoring case, and the first key of that name in it. New lines
// take the file's own line ending and encoding. Fails (false) for UTF-16
// without a mark, which cannot be edited safely, and when memory runs out.
bool EditIniText(const ByteBuffer& in, const IniAssignment* items, int count, ByteBuffer& out);
