#include "cli/descriptor_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvex::cli {

DescriptorBuffer::DescriptorBuffer(int descriptor, std::size_t capacity)
    : descriptor_(descriptor), buffer_(capacity) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorBuffer::~DescriptorBuffer() {
    drain();
}

bool DescriptorBuffer::writeAll(const char* p, std::size_t n) {
    if (error_ != 0) {
        errno = error_;
        return false;  // once lost, later bytes would leave a gap in the text
    }
    while (n > 0) {
        const ssize_t written = ::write(descriptor_, p, n);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = errno;
            return false;
        }
        p += written;
        n -= static_cast<std::size_t>(written);
    }
    return true;
}

bool DescriptorBuffer::drain() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return writeAll(buffer_.data(), pending);
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorBuffer::xsputn(const char* s, std::streamsize n) {
    const auto size = static_cast<std::size_t>(n);
    if (size > static_cast<std::size_t>(epptr() - pptr())) {
        if (!drain()) {
            return 0;
        }
        // A text as large as the buffer goes out at once, without a copy.
        if (size >= buffer_.size()) {
            return writeAll(s, size) ? n : 0;
        }
    }
    std::memcpy(pptr(), s, size);
    pbump(static_cast<int>(size));
    return n;
}

int DescriptorBuffer::sync() {
    return drain() ? 0 : -1;
}

}  // namespace korvex::cli
