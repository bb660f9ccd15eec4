#include "core/device/wmf/WmfParser.hpp"

#include <utility>

#include "core/device/wmf/ByteReader.hpp"
#include "core/device/wmf/WmfFormat.hpp"
#include "core/device/wmf/WmfRecords.hpp"

namespace krv::wmf {

namespace {

ParseResult failure(std::string error) {
    ParseResult result;
    result.error = std::move(error);
    return result;
}

std::string hex16(std::uint16_t v) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) s.push_back(digits[(v >> shift) & 0xF]);
    return s;
}

PlaceableHeader readPlaceable(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    PlaceableHeader h;
    r.u32();  // key
    r.u16();  // handle, zero in files
    h.bbox.left = r.i16();
    h.bbox.top = r.i16();
    h.bbox.right = r.i16();
    h.bbox.bottom = r.i16();
    h.inch = r.u16();
    r.u32();  // reserved
    h.checksum = r.u16();
    // The checksum is the XOR of the ten words before it.
    ByteReader words(bytes);
    std::uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= words.u16();
    h.checksumValid = sum == h.checksum;
    return h;
}

}  // namespace

ParseResult WmfParser::parse(std::vector<std::uint8_t> bytes) const {
    if (bytes.size() > limits_.maxFileBytes) return failure("file too large");
    Metafile mf;
    std::size_t pos = 0;
    {
        ByteReader r(bytes);
        if (r.u32() == kPlaceableKey) {
            if (bytes.size() < kPlaceableHeaderBytes) return failure("placeable header truncated");
            mf.placeable = readPlaceable(std::span<const std::uint8_t>(bytes).first(kPlaceableHeaderBytes));
            pos = kPlaceableHeaderBytes;
        }
    }

    ByteReader h(std::span<const std::uint8_t>(bytes).subspan(pos));
    mf.header.type = h.u16();
    mf.header.headerWords = h.u16();
    mf.header.version = h.u16();
    mf.header.sizeWords = h.u32();
    mf.header.numberOfObjects = h.u16();
    mf.header.maxRecordWords = h.u32();
    h.u16();  // number of members, unused
    if (!h.ok()) return failure("metafile header truncated");
    if (mf.header.type != 1 && mf.header.type != 2) return failure("not a Windows metafile (header type)");
    if (mf.header.headerWords != kMetaHeaderBytes / 2) return failure("not a Windows metafile (header size)");
    if (mf.header.version != 0x0100 && mf.header.version != 0x0300)
        return failure("not a Windows metafile (version " + hex16(mf.header.version) + ")");
    pos += kMetaHeaderBytes;

    // Where the data stops making sense the playback stops, as the device's does.
    std::string ending;
    const auto endHere = [&ending](std::string reason) { ending = std::move(reason); };
    bool sawEof = false;
    while (pos < bytes.size()) {
        const auto where = [&](std::uint16_t function) {
            return "record " + std::to_string(mf.records.size() + 1) + " (" + hex16(function) + ")";
        };
        if (bytes.size() - pos < kRecordHeaderBytes) {
            endHere("record " + std::to_string(mf.records.size() + 1) + ": record header truncated");
            break;
        }
        ByteReader r(std::span<const std::uint8_t>(bytes).subspan(pos, kRecordHeaderBytes));
        const std::uint64_t words = r.u32();
        const std::uint16_t function = r.u16();
        if (words < kRecordHeaderBytes / 2) {
            endHere(where(function) + ": size below the record header");
            break;
        }
        if (words * 2 > bytes.size() - pos) {
            endHere(where(function) + ": size beyond the end of the file");
            break;
        }
        if (function == fn::Eof) {
            sawEof = true;
            break;
        }
        if (mf.records.size() >= limits_.maxRecords) return failure("too many records");
        RecordRef ref;
        ref.function = function;
        ref.offset = static_cast<std::uint32_t>(pos + kRecordHeaderBytes);
        ref.length = static_cast<std::uint32_t>(words * 2 - kRecordHeaderBytes);
        mf.records.push_back(ref);
        pos += static_cast<std::size_t>(words * 2);
    }
    if (!sawEof && ending.empty()) endHere("no end-of-file record: the file is truncated");

    mf.bytes = std::move(bytes);
    // Decode every record once: one with inconsistent parameters is listed and left out when
    // the picture is drawn; the records before and after it are drawn.
    Record decoded;
    std::string error;
    std::vector<std::string> unusable;
    std::size_t playable = 0;
    for (std::size_t i = 0; i < mf.records.size(); ++i) {
        const RecordRef& ref = mf.records[i];
        if (!decodeRecord(mf, ref, decoded, error)) {
            unusable.push_back("record " + std::to_string(i + 1) + " (" + hex16(ref.function) + "): " +
                               error);
            continue;
        }
        ++playable;
        if (ref.function == fn::SetWindowOrg && !mf.firstWindowOrg)
            mf.firstWindowOrg = std::get<args::Point>(decoded.args).p;
        if (ref.function == fn::SetWindowExt && !mf.firstWindowExt)
            mf.firstWindowExt = std::get<args::Point>(decoded.args).p;
    }
    // A picture of nothing but damage is refused with its first reason; an empty but complete
    // one is an empty picture.
    if (playable == 0 && !(unusable.empty() && ending.empty()))
        return failure(unusable.empty() ? ending : unusable.front());
    // In file order: the skipped records, then where the data ended.
    for (const std::string& u : unusable) mf.skipped.push_back(u + ", skipped");
    if (!ending.empty()) mf.skipped.push_back(ending + ", the rest is not drawn");
    ParseResult result;
    result.metafile = std::move(mf);
    return result;
}

}  // namespace krv::wmf
