// A source that is not a string: it hands over one character per underflow,
// keeping the previous character for putback as a buffered terminal would,
// and can fail (throw) when asked for a given character. Header-only, so the
// fuzz targets use it without the GoogleTest support.
#ifndef ZU_COMPLEX_TESTS_SUPPORT_TRICKLE_BUF_H
#define ZU_COMPLEX_TESTS_SUPPORT_TRICKLE_BUF_H

#include <cstddef>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>

namespace zt {

class TrickleBuf : public std::streambuf {
public:
    // Delivers `text`; throws when asked for the character at `fail_at`.
    explicit TrickleBuf(std::string text, std::size_t fail_at = std::string::npos)
        : text_(std::move(text)), fail_at_(fail_at) {}

    // Characters ever asked for and delivered.
    std::size_t pulled() const { return next_; }
    // Of those, the ones the reader kept (not left in the put-back window).
    std::size_t consumed() const { return next_ - static_cast<std::size_t>(egptr() - gptr()); }

protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        if (next_ == fail_at_) throw std::runtime_error("source failed");
        if (next_ >= text_.size()) return traits_type::eof();
        window_[0] = window_[1];
        window_[1] = text_[next_++];
        setg(window_, window_ + 1, window_ + 2);
        return traits_type::to_int_type(window_[1]);
    }

private:
    std::string text_;
    std::size_t fail_at_;
    std::size_t next_ = 0;
    char window_[2] = {'\0', '\0'};
};

}  // namespace zt

#endif  // ZU_COMPLEX_TESTS_SUPPORT_TRICKLE_BUF_H
