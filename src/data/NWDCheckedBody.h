#pragma once
// The check field of the volume files: a CRC-32 (the common reflected 0xEDB88320 form) over every
// byte of the body, stored as a Long right behind it, with nothing after. Computed from the bytes
// as they lie in the file, so the check does not depend on how a field is encoded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "classlib/otkFileRWCtrl.h"

namespace nw {

uint32_t Crc32(const unsigned char* data, size_t n);

// The outcome of reading one of these files; Damaged also covers a newer or older version, a
// foreign header, a file cut short or with a tail. Missing and Damaged both leave an empty result.
enum class CheckedFileState { Missing, Loaded, Damaged };

// After the body was written from `bodyStart` up to the current position: writes its check.
bool WriteBodyCheck(otkFileRWCtrl& file, int64_t bodyStart);
// From the current position (the body's start) to the last 4 bytes of the file: true when the Long
// there is the body's check. The position is back at the body's start afterwards.
bool BodyCheckMatches(otkFileRWCtrl& file);
// The body was read exactly: only the check follows.
inline bool AtBodyEnd(const otkFileRWCtrl& file) { return file.CurrentPoint() - 1 + 4 == file.FileLength(); }

// A 64-bit unsigned value as two Longs, low half first (8 bytes, little-endian).
bool SetQuad(otkFileRWCtrl& file, uint64_t v);
bool GetQuad(otkFileRWCtrl& file, uint64_t& ou);

// Opens an existing file of the program folder for reading behind a header of this kind and version
// (never creating one by looking). Missing when there is no file, Damaged when the header or the check
// fails; Loaded: positioned at the body's start.
CheckedFileState OpenCheckedFile(otkFileRWCtrl& file, const std::string& path, std::string_view kindTag,
                                 int16_t version);

}  // namespace nw
