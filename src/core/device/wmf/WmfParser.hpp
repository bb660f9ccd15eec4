#pragma once
// Reads a Windows metafile from bytes: the optional placeable header, the metafile header and
// the record list. Every size field is checked before it is used and every record's parameters
// are decoded once. As the Windows device plays a metafile, a record whose size runs past the
// end of the data ends the record list there, and a record whose parameters are inconsistent is
// left out; both are listed in `Metafile::skipped`. A file is refused, with a message saying
// why, only when its header is unusable or none of its records can be played.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/device/wmf/Metafile.hpp"

namespace krv::wmf {

struct ParseLimits {
    std::size_t maxFileBytes = 16u * 1024u * 1024u;
    std::size_t maxRecords = 500000;
};

struct ParseResult {
    std::optional<Metafile> metafile;
    std::string error;  // set when metafile is empty

    bool ok() const { return metafile.has_value(); }
};

class WmfParser {
public:
    explicit WmfParser(ParseLimits limits = {}) : limits_(limits) {}

    ParseResult parse(std::vector<std::uint8_t> bytes) const;

private:
    ParseLimits limits_;
};

}  // namespace krv::wmf
