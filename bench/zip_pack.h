#pragma once
// A real ZIP archive of a chosen size for the import benchmarks: one stored entry ("skin.bin"),
// its local header, the data, the central directory and the end record, with the entry's true CRC.
// The data is either written in full (a repeating pattern that no tool mistakes for a hole) or, for
// a pack whose data the measured step never reads, left as a hole: the file then takes almost no
// room, and its data reads as the zeros its CRC was computed for.
#include <windows.h>
#include <winioctl.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace km::bench {

enum class PackData { written, hole };

inline void put_le(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The file's size for a given entry size, and the other way round.
constexpr char kEntryName[] = "skin.bin";
constexpr std::uint64_t kEntryNameSize = sizeof kEntryName - 1;
constexpr std::uint64_t kZipOverhead = (30 + kEntryNameSize) + (46 + kEntryNameSize) + 22;

// Writes the pack; false when a write failed. `data_size` stays below 4 GiB (no ZIP64 records).
inline bool write_zip_pack(const std::string& path, std::uint64_t data_size, PackData data) {
  constexpr std::size_t kBlock = 4 << 20;
  std::vector<unsigned char> block(kBlock, 0);
  if (data == PackData::written)
    for (std::size_t i = 0; i < kBlock; ++i) block[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);

  // The CRC of the whole entry from the CRC of one block, without reading the data again.
  const uLong block_crc = crc32(0, block.data(), kBlock);
  uLong crc = 0;
  std::uint64_t left = data_size;
  for (; left >= kBlock; left -= kBlock) crc = crc32_combine(crc, block_crc, kBlock);
  crc = crc32_combine(crc, crc32(0, block.data(), static_cast<uInt>(left)), static_cast<z_off_t>(left));

  std::string local;
  put_le(local, 0x04034b50, 4);
  put_le(local, 10, 2);  // version needed
  put_le(local, 0, 2);   // flags
  put_le(local, 0, 2);   // stored
  put_le(local, 0, 4);   // time, date
  put_le(local, crc, 4);
  put_le(local, data_size, 4);
  put_le(local, data_size, 4);
  put_le(local, kEntryNameSize, 2);
  put_le(local, 0, 2);
  local += kEntryName;

  std::string directory;
  put_le(directory, 0x02014b50, 4);
  put_le(directory, 20, 2);  // made by
  put_le(directory, 10, 2);  // needed
  put_le(directory, 0, 2);
  put_le(directory, 0, 2);
  put_le(directory, 0, 4);
  put_le(directory, crc, 4);
  put_le(directory, data_size, 4);
  put_le(directory, data_size, 4);
  put_le(directory, kEntryNameSize, 2);
  put_le(directory, 0, 2);   // extra
  put_le(directory, 0, 2);   // comment
  put_le(directory, 0, 2);   // disk
  put_le(directory, 0, 2);   // internal attributes
  put_le(directory, 0, 4);   // external attributes
  put_le(directory, 0, 4);   // the local header's offset
  directory += kEntryName;
  const std::uint64_t directory_offset = local.size() + data_size;
  std::string end;
  put_le(end, 0x06054b50, 4);
  put_le(end, 0, 4);  // disk numbers
  put_le(end, 1, 2);
  put_le(end, 1, 2);
  put_le(end, directory.size(), 4);
  put_le(end, directory_offset, 4);
  put_le(end, 0, 2);
  const std::string tail = directory + end;

  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  auto write = [file](const void* bytes, std::size_t size) {
    DWORD written = 0;
    return WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
  };
  bool ok = write(local.data(), local.size());
  if (data == PackData::hole) {
    // On NTFS the file must be marked sparse or the gap is filled with zeros on disk; elsewhere a
    // write past the end leaves a hole anyway.
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(directory_offset);
    ok = ok && SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
  } else {
    for (left = data_size; ok && left > 0; left -= std::min<std::uint64_t>(left, kBlock))
      ok = write(block.data(), static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlock)));
  }
  ok = ok && write(tail.data(), tail.size());
  return CloseHandle(file) && ok;
}

}  // namespace km::bench
