#pragma once
// A parsed Windows metafile: the file's bytes, its headers and the list of its records. Records
// point into the bytes; the metafile owns them, so it is self-contained and cheap to share.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace krv::wmf {

struct Point16 {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

struct Rect16 {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
};

// The optional 22-byte header some programs put in front ("placeable" files).
struct PlaceableHeader {
    Rect16 bbox;                 // in the file's logical units
    std::uint16_t inch = 0;      // logical units per inch
    std::uint16_t checksum = 0;  // as stored
    bool checksumValid = false;  // stored value matches; a mismatch is tolerated
};

struct MetaHeader {
    std::uint16_t type = 0;  // 1 memory, 2 disk
    std::uint16_t headerWords = 0;
    std::uint16_t version = 0;
    std::uint32_t sizeWords = 0;  // as stored; writers get it wrong, so it is not relied on
    std::uint16_t numberOfObjects = 0;
    std::uint32_t maxRecordWords = 0;
};

// One record: its function number and where its parameters lie in the metafile's bytes.
struct RecordRef {
    std::uint16_t function = 0;
    std::uint32_t offset = 0;  // of the parameters (after the 6-byte record header)
    std::uint32_t length = 0;  // parameter bytes
};

struct Metafile {
    std::vector<std::uint8_t> bytes;
    std::optional<PlaceableHeader> placeable;
    MetaHeader header;
    std::vector<RecordRef> records;  // without the end-of-file record
    // The first window origin and extent the records set: the picture's frame when the file
    // has no placeable header.
    std::optional<Point16> firstWindowOrg;
    std::optional<Point16> firstWindowExt;
    // What the player leaves out, one line each ("record 22 (0x02FB): size beyond the end of
    // the file"): records that cannot be used and the end of data before the end record.
    std::vector<std::string> skipped;

    std::span<const std::uint8_t> params(const RecordRef& r) const {
        return std::span<const std::uint8_t>(bytes).subspan(r.offset, r.length);
    }
};

}  // namespace krv::wmf
