#pragma once
// Reading a metafile from disk: the size limit is checked before anything is read.
#include <string>

#include "core/device/wmf/WmfParser.hpp"

namespace krv::wmf {

ParseResult readMetafileFile(const std::string& path, const ParseLimits& limits = {});

}  // namespace krv::wmf
