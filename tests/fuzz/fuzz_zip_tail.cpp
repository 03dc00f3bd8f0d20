// The ZIP end-record check against a reference written from the record layout. The input builds a
// file: a stretch of zero bytes, the input's own bytes, another stretch of zero bytes (so a file
// can be larger than 4 GiB, and an end record's comment can reach the 65,535-byte limit). The
// check gets the file's tail in a heap buffer of exactly its size, so a read outside it stops the
// run; when it asks for the directory's first four bytes before the tail, they come from the file.
//
// The reference, reading the whole file:
// - the end record (50 4B 05 06, 22 bytes) is the last one within the last 65,557 bytes whose
//   comment length runs exactly to the end of the file;
// - its total entry count (offset 10, 2 bytes), directory size (12, 4 bytes) and directory offset
//   (16, 4 bytes) give the central directory, which must end before the record;
// - when one of those is all ones and a ZIP64 locator (50 4B 06 07, 20 bytes) stands right before
//   the record, the ZIP64 record it points at (offset 8, 8 bytes) must start with 50 4B 06 06, lie
//   before the locator and within the tail, and its count (32), size (40) and offset (48), 8 bytes
//   each, give the directory, which must end before that record;
// - no entries and an empty directory is an empty archive; otherwise the directory must be at
//   least 4 bytes and start with 50 4B 01 02.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "gamefiles/zip_archive.h"

namespace {

struct File {
  std::uint64_t before = 0;  // zero bytes before the data
  std::string data;
  std::uint64_t after = 0;   // zero bytes after it

  std::uint64_t size() const { return before + data.size() + after; }
  unsigned char at(std::uint64_t i) const {
    return i >= before && i - before < data.size() ? static_cast<unsigned char>(data[i - before]) : 0;
  }
  std::uint64_t field(std::uint64_t i, int width) const {
    std::uint64_t value = 0;
    for (int k = width - 1; k >= 0; --k) value = value << 8 | at(i + static_cast<std::uint64_t>(k));
    return value;
  }
  bool signature(std::uint64_t i, unsigned char third, unsigned char fourth) const {
    return i + 4 <= size() && at(i) == 'P' && at(i + 1) == 'K' && at(i + 2) == third && at(i + 3) == fourth;
  }
};

bool reference_is_zip(const File& file) {
  const std::uint64_t size = file.size();
  if (size < 22) return false;
  const std::uint64_t tail_start = size - std::min<std::uint64_t>(size, km::kZipTailSize);
  std::optional<std::uint64_t> end;
  // Only the input's own bytes can hold a signature: the stretches around them are zero.
  const std::uint64_t data_end = file.before + file.data.size();
  const std::uint64_t first = std::max(tail_start, file.before);
  for (std::uint64_t e = std::min(size - 22 + 1, data_end); e-- > first;) {
    if (file.signature(e, 5, 6) && e + 22 + file.field(e + 20, 2) == size) {
      end = e;
      break;
    }
  }
  if (!end) return false;
  std::uint64_t entries = file.field(*end + 10, 2);
  std::uint64_t directory_size = file.field(*end + 12, 4);
  std::uint64_t directory_offset = file.field(*end + 16, 4);
  std::uint64_t limit = *end;
  const bool all_ones = entries == 0xFFFF || directory_size == 0xFFFFFFFF || directory_offset == 0xFFFFFFFF;
  if (all_ones && *end >= 20 && file.signature(*end - 20, 6, 7)) {
    const std::uint64_t locator = *end - 20;
    const std::uint64_t record = file.field(locator + 8, 8);
    if (record < tail_start || record > locator || locator - record < 56 || !file.signature(record, 6, 6))
      return false;
    entries = file.field(record + 32, 8);
    directory_size = file.field(record + 40, 8);
    directory_offset = file.field(record + 48, 8);
    limit = record;
  }
  if (directory_offset > limit || directory_size > limit - directory_offset) return false;
  if (entries == 0 && directory_size == 0) return true;
  if (entries == 0 || directory_size < 4) return false;
  return file.signature(directory_offset, 1, 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  km::fuzz::Input input(data, size);
  const unsigned mode = input.byte();
  File file;
  for (int i = 0; i < 4; ++i) file.before |= static_cast<std::uint64_t>(input.byte()) << (8 * i);
  if (mode & 1) file.before <<= 8;  // past 4 GiB
  if (mode & 2) {
    const unsigned low = input.byte();
    file.after = low | input.byte() << 8;
  }
  file.data = input.rest();

  const std::uint64_t file_size = file.size();
  const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(file_size, km::kZipTailSize));
  const std::uint64_t tail_start = file_size - length;
  std::unique_ptr<char[]> tail(new char[length ? length : 1]());
  for (std::uint64_t i = std::max(tail_start, file.before); i < file.before + file.data.size(); ++i)
    tail[i - tail_start] = file.data[i - file.before];

  const km::ZipTailVerdict verdict = km::check_zip_tail(std::string_view(tail.get(), length), file_size);
  bool is_zip = verdict.kind == km::ZipTailVerdict::zip;
  if (verdict.kind == km::ZipTailVerdict::check_directory_start) {
    // Asked only for bytes the tail does not hold, and only for bytes the file has.
    KM_FUZZ_CHECK(verdict.offset < tail_start);
    KM_FUZZ_CHECK(verdict.offset + 4 <= file_size);
    std::string four;
    for (std::uint64_t i = 0; i < 4; ++i) four.push_back(static_cast<char>(file.at(verdict.offset + i)));
    is_zip = km::is_central_directory_start(four);
  }
  KM_FUZZ_CHECK(is_zip == reference_is_zip(file));
  return 0;
}
