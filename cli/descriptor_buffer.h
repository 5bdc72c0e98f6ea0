#pragma once
// Standard output for korvex-gen: texts gathered into large writes, and the system's reason
// kept when a write fails (a full disk, a closed output).

#include <cstddef>
#include <streambuf>
#include <vector>

namespace korvex::cli {

/// An output stream buffer writing to a file descriptor. A failed write makes the stream fail
/// with errno holding the system's reason; error() keeps it afterwards.
class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int descriptor, std::size_t capacity = std::size_t{1} << 16);
    ~DescriptorBuffer() override;
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    /// The errno of the first failed write; 0 while every write succeeded.
    int error() const { return error_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool drain();
    bool writeAll(const char* p, std::size_t n);

    int descriptor_;
    std::vector<char> buffer_;
    int error_ = 0;
};

}  // namespace korvex::cli
