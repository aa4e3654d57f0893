// Text for the console and for files: built piece by piece, then written
// whole. Standard output and standard error get the console's own wide text
// when they are a console, UTF-8 when they are redirected to a file or pipe.
#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/ByteBuffer.h"

class TextBuilder {
public:
    TextBuilder& Add(const wchar_t* text);
    TextBuilder& Add(const wchar_t* text, int length);
    TextBuilder& Number(uint32_t value);
    // The English text of a string id.
    TextBuilder& String(UINT id);
    // Spaces up to `column` characters since the last line break.
    TextBuilder& PadTo(int column);
    TextBuilder& Line() { return Add(L"\r\n"); }

    // Always ended by a NUL, which Length does not count.
    const wchar_t* Chars() const { return buffer_.empty() ? L"" : reinterpret_cast<const wchar_t*>(buffer_.data()); }
    int Length() const { return static_cast<int>(buffer_.size() / sizeof(wchar_t)); }
    // False once memory ran out: the text is then cut short.
    bool Complete() const { return complete_; }

private:
    ByteBuffer buffer_;
    int lineStart_ = 0;
    bool complete_ = true;
};

// `text` as UTF-8, with a byte-order mark when `mark`.
bool Utf8Bytes(const TextBuilder& text, bool mark, ByteBuffer& bytes);

// Writes `text` to STD_OUTPUT_HANDLE or STD_ERROR_HANDLE as it is.
void WriteStandard(DWORD stream, const TextBuilder& text);

// One message line, "OxaSet: " first: results to standard output, problems
// to standard error.
void Say(const wchar_t* first, const wchar_t* second = nullptr, const wchar_t* third = nullptr);
void Complain(const wchar_t* first, const wchar_t* second = nullptr, const wchar_t* third = nullptr);
void SayLine(DWORD stream, const TextBuilder& line);
// With /quiet, results say nothing: standard output stays empty, problems
// still go to standard error.
void SetQuiet(bool quiet);
bool Quiet();
// Every problem said on standard error so far, a line each.
const wchar_t* ProblemsSaid();

// `path` made full, as a deployment log needs it: a relative name says
// nothing once the working folder is gone.
TextBuilder& AddFullPath(TextBuilder& text, const wchar_t* path);
// Why the file at `path` could not be read or written, from the platform's
// `error`: not found, access denied, a folder, in use, larger than `limit`.
TextBuilder& AddFileError(TextBuilder& text, DWORD error, const wchar_t* path, size_t limit = 0);
