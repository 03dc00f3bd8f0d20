#pragma once
// Shared by the fuzz targets: taking an input apart, and stopping loudly when a property fails
// (libFuzzer keeps the input that made the target abort).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define KM_FUZZ_CHECK(condition)                                                        \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)

namespace km::fuzz {

// A few leading bytes choose sizes and modes; whatever is left is the text under test.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, 0 once the input is used up.
  unsigned byte() {
    if (rest_.empty()) return 0;
    const unsigned b = static_cast<unsigned char>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // The next n bytes, fewer when the input ends first.
  std::string bytes(std::size_t n) {
    const std::string_view taken = rest_.substr(0, n);
    rest_.remove_prefix(taken.size());
    return std::string(taken);
  }
  std::string rest() const { return std::string(rest_); }

 private:
  std::string_view rest_;
};

}  // namespace km::fuzz
