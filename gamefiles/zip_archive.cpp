#include "gamefiles/zip_archive.h"

namespace km {

namespace {

constexpr std::string_view kEndSignature("PK\x05\x06", 4);
constexpr std::string_view kZip64EndSignature("PK\x06\x06", 4);
constexpr std::string_view kZip64LocatorSignature("PK\x06\x07", 4);
constexpr std::string_view kDirectorySignature("PK\x01\x02", 4);
constexpr std::uint64_t kEndSize = 22, kZip64LocatorSize = 20, kZip64EndSize = 56;

// Little-endian field of `width` bytes at `at`; the caller has checked that it lies in `bytes`.
std::uint64_t field(std::string_view bytes, std::uint64_t at, int width) {
  std::uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

ZipTailVerdict check_zip_tail(std::string_view tail, std::uint64_t file_size) {
  const ZipTailVerdict no{ZipTailVerdict::not_zip, 0};
  if (tail.size() > file_size || tail.size() < kEndSize) return no;
  const std::uint64_t tail_start = file_size - tail.size();  // the tail's first byte in the file

  // The last end record whose comment runs exactly to the end of the file. Anything after the
  // comment is not ours to guess about.
  std::uint64_t end = tail.size() - kEndSize;
  for (std::size_t from = end;; from = end - 1) {
    end = tail.rfind(kEndSignature, from);
    if (end == std::string_view::npos) return no;
    if (end + kEndSize + field(tail, end + 20, 2) == tail.size()) break;
    if (end == 0) return no;
  }

  std::uint64_t entries = field(tail, end + 10, 2);
  std::uint64_t directory_size = field(tail, end + 12, 4);
  std::uint64_t directory_offset = field(tail, end + 16, 4);
  std::uint64_t directory_limit = tail_start + end;  // the directory ends before this record
  // All ones in a field sends an unzipper to the ZIP64 record when a locator stands before the end
  // record. Without one the numbers are what they say: an archive of exactly 65,535 entries is
  // written that way.
  const bool all_ones = entries == 0xFFFF || directory_size == 0xFFFFFFFF || directory_offset == 0xFFFFFFFF;
  if (all_ones && end >= kZip64LocatorSize && tail.substr(end - kZip64LocatorSize, 4) == kZip64LocatorSignature) {
    const std::uint64_t locator = end - kZip64LocatorSize;
    const std::uint64_t record_in_file = field(tail, locator + 8, 8);
    if (record_in_file < tail_start || record_in_file - tail_start > locator ||
        locator - (record_in_file - tail_start) < kZip64EndSize)
      return no;
    const std::uint64_t record = record_in_file - tail_start;
    if (tail.substr(record, 4) != kZip64EndSignature) return no;
    entries = field(tail, record + 32, 8);
    directory_size = field(tail, record + 40, 8);
    directory_offset = field(tail, record + 48, 8);
    directory_limit = record_in_file;
  }
  if (directory_offset > directory_limit || directory_size > directory_limit - directory_offset) return no;
  if (entries == 0 && directory_size == 0) return {ZipTailVerdict::zip, 0};
  if (entries == 0 || directory_size < 4) return no;
  if (directory_offset >= tail_start) {
    return tail.substr(directory_offset - tail_start, 4) == kDirectorySignature ? ZipTailVerdict{ZipTailVerdict::zip, 0}
                                                                               : no;
  }
  return {ZipTailVerdict::check_directory_start, directory_offset};
}

bool is_central_directory_start(std::string_view four_bytes) { return four_bytes == kDirectorySignature; }

}  // namespace km
