#pragma once
// `render-wmf [--size WxH] FILE OUT.png`: draws a metafile exactly as the picture areas do,
// fitted into W x H pixels on white with its aspect ratio kept, and writes a PNG. Service
// departments check their own picture files with it before dropping them in.
#include <iosfwd>
#include <string>
#include <vector>

namespace krv::cli {

// `args` are the words after the subcommand. Throws UsageError on bad arguments; returns 2
// when the file is rejected or the PNG cannot be written, 0 on success.
int runRenderWmf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace krv::cli
