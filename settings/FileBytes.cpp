#include "settings/FileBytes.h"

#include "base/KernelHandle.h"

namespace {

constexpr size_t kMaxFileBytes = 0x10000000;
constexpr size_t kChunk = 0x100000;

// Moves `size` bytes between `bytes` and the file, a chunk at a time; a
// transfer of nothing before the end is a failure.
template <typename Step>
bool InChunks(unsigned char* bytes, size_t size, Step step)
{
    size_t done = 0;
    while (done < size) {
        DWORD moved = 0;
        DWORD want = static_cast<DWORD>(size - done > kChunk ? kChunk : size - done);
        if (!step(bytes + done, want, &moved) || moved == 0)
            return false;
        done += moved;
    }
    return true;
}

} // namespace

bool ReadWhole(HANDLE file, ByteBuffer& content)
{
    LARGE_INTEGER size = {};
    LARGE_INTEGER start = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > static_cast<LONGLONG>(kMaxFileBytes)
        || !SetFilePointerEx(file, start, nullptr, FILE_BEGIN) || !content.Resize(static_cast<size_t>(size.QuadPart)))
        return false;
    return InChunks(content.data(), content.size(), [file](unsigned char* p, DWORD want, DWORD* got) {
        return ReadFile(file, p, want, got, nullptr) != FALSE;
    });
}

bool RewriteWhole(HANDLE file, const ByteBuffer& content)
{
    LARGE_INTEGER start = {};
    unsigned char* bytes = const_cast<unsigned char*>(content.data());
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN)
        && InChunks(bytes, content.size(),
                    [file](unsigned char* p, DWORD want, DWORD* wrote) {
                        return WriteFile(file, p, want, wrote, nullptr) != FALSE;
                    })
        && SetEndOfFile(file) && FlushFileBuffers(file);
}

bool WriteNewFile(const wchar_t* path, const ByteBuffer& content, DWORD* error)
{
    KernelHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        if (error != nullptr)
            *error = GetLastError();
        return false;
    }
    if (error != nullptr)
        *error = ERROR_SUCCESS;
    return RewriteWhole(file.get(), content);
}

bool ReadFileAt(const wchar_t* path, ByteBuffer& content, size_t limit, DWORD* error)
{
    KernelHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    DWORD failure = ERROR_SUCCESS;
    if (!file)
        failure = GetLastError();
    else if (limit != 0 && GetFileSizeEx(file.get(), &size) && size.QuadPart > static_cast<LONGLONG>(limit))
        failure = ERROR_FILE_TOO_LARGE;
    else if (!ReadWhole(file.get(), content))
        failure = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_READ_FAULT;
    if (error != nullptr)
        *error = failure;
    return failure == ERROR_SUCCESS;
}

bool ReplaceWhole(const wchar_t* path, const wchar_t* aside, const ByteBuffer& content, DWORD* error)
{
    DWORD failure = ERROR_SUCCESS;
    if (!WriteNewFile(aside, content, &failure) && failure == ERROR_SUCCESS)
        failure = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_WRITE_FAULT;
    if (failure == ERROR_SUCCESS && !MoveFileExW(aside, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failure = GetLastError();
    if (failure != ERROR_SUCCESS)
        DeleteFileW(aside);
    if (error != nullptr)
        *error = failure;
    return failure == ERROR_SUCCESS;
}
