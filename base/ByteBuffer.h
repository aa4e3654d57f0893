// A growable run of bytes on the process heap. Running out of memory is a
// result, not an exception: every call that grows the buffer answers whether
// it could.
#pragma once
#include <windows.h>

class ByteBuffer {
public:
    ByteBuffer() = default;
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;
    ~ByteBuffer() { Free(); }

    const unsigned char* data() const { return data_; }
    unsigned char* data() { return data_; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void Clear() { size_ = 0; }

    bool Reserve(size_t capacity)
    {
        if (capacity <= capacity_)
            return true;
        void* grown = data_ != nullptr ? HeapReAlloc(GetProcessHeap(), 0, data_, capacity)
                                       : HeapAlloc(GetProcessHeap(), 0, capacity);
        if (grown == nullptr)
            return false;
        data_ = static_cast<unsigned char*>(grown);
        capacity_ = capacity;
        return true;
    }

    // New bytes are left as they come.
    bool Resize(size_t size)
    {
        if (!Reserve(size))
            return false;
        size_ = size;
        return true;
    }

    bool Append(const void* bytes, size_t count)
    {
        if (count == 0)
            return true;
        if (size_ + count > capacity_ && !Reserve(Grown(size_ + count)))
            return false;
        CopyMemory(data_ + size_, bytes, count);
        size_ += count;
        return true;
    }

    bool SameAs(const ByteBuffer& other) const
    {
        if (size_ != other.size_)
            return false;
        for (size_t i = 0; i < size_; ++i) {
            if (data_[i] != other.data_[i])
                return false;
        }
        return true;
    }

    void Swap(ByteBuffer& other)
    {
        unsigned char* data = data_;
        size_t size = size_;
        size_t capacity = capacity_;
        data_ = other.data_;
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.data_ = data;
        other.size_ = size;
        other.capacity_ = capacity;
    }

private:
    // Doubling keeps appends linear in the total size.
    size_t Grown(size_t needed) const
    {
        size_t doubled = capacity_ * 2;
        return doubled > needed ? doubled : needed;
    }

    void Free()
    {
        if (data_ != nullptr)
            HeapFree(GetProcessHeap(), 0, data_);
        data_ = nullptr;
        size_ = 0;
        capacity_ = 0;
    }

    unsigned char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};
