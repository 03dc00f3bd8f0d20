#pragma once
// Whether a file is a ZIP archive, judged from its last bytes the way an unzipper finds its way in:
// the end-of-central-directory record, and the central directory it points at. A RAR or anything
// else renamed to ".zip" would be listed in the game's archive list and break the game; a file cut
// short has lost its end record. Only the bytes handed in are looked at: nothing is read outside
// the buffer, whatever the record's fields say.
#include <cstdint>
#include <string_view>

namespace km {

// How many bytes before the end the end record can start: its 22 bytes plus the longest comment.
constexpr std::uint64_t kZipTailSize = 22 + 0xFFFF;

struct ZipTailVerdict {
  enum Kind {
    not_zip,
    zip,
    // The records are sound but the central directory starts before the tail: the caller reads
    // the 4 bytes at `offset` (from the start of the file) and it is a ZIP archive when they are
    // 50 4B 01 02 (is_central_directory_start).
    check_directory_start,
  };
  Kind kind = not_zip;
  std::uint64_t offset = 0;
};

// `tail` is the last tail.size() bytes of a file of file_size bytes (the whole file when it is
// shorter than kZipTailSize). ZIP64 archives are judged through their ZIP64 record, which must lie
// in the tail too.
ZipTailVerdict check_zip_tail(std::string_view tail, std::uint64_t file_size);
bool is_central_directory_start(std::string_view four_bytes);

}  // namespace km
