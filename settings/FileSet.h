// The four settings files, and sets of them: which files are unreadable,
// which copies to leave alone, which files a save did not reach.
#pragma once

// The three copies of QRZINFO.INI come first, in the order they are written.
enum SettingsFile { kFileQrz, kFileWen, kFileEst, kFileJobInfo, kSettingsFileCount };
constexpr int kDriverCopyCount = 3;

class FileSet {
public:
    constexpr FileSet() = default;
    // One file alone; lets a file stand wherever a set is expected.
    constexpr FileSet(SettingsFile file) : bits_(1u << file) {}

    static constexpr FileSet DriverCopies() { return FileSet(Bits{(1u << kDriverCopyCount) - 1}); }
    static constexpr FileSet All() { return FileSet(Bits{(1u << kSettingsFileCount) - 1}); }

    constexpr bool Has(SettingsFile file) const { return (bits_ & (1u << file)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }

    constexpr FileSet operator|(FileSet other) const { return FileSet(Bits{bits_ | other.bits_}); }
    constexpr FileSet operator&(FileSet other) const { return FileSet(Bits{bits_ & other.bits_}); }
    // The files of this set that are not in `other`.
    constexpr FileSet Without(FileSet other) const { return FileSet(Bits{bits_ & ~other.bits_}); }
    FileSet& operator|=(FileSet other)
    {
        bits_ |= other.bits_;
        return *this;
    }

    constexpr bool operator==(FileSet other) const { return bits_ == other.bits_; }
    constexpr bool operator!=(FileSet other) const { return bits_ != other.bits_; }

private:
    struct Bits {
        unsigned value;
    };
    constexpr explicit FileSet(Bits bits) : bits_(bits.value) {}

    unsigned bits_ = 0;
};
