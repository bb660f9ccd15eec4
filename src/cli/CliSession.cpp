#include "cli/CliSession.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

namespace krv::cli {

InputData readInput(const std::string& path) {
    InputData input;
    if (path == "-") {
        input.bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) input.error = "cannot read standard input";
        return input;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        input.error = "cannot open " + path + ": " + std::strerror(errno);
        return input;
    }
    input.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) input.error = "cannot read " + path + ": " + std::strerror(errno);
    return input;
}

CliSession::CliSession(const CliOptions& options, link::DispatchHooks& hooks)
    : options_(options), path_(settings_, playback_, profile_, clock_, hooks) {
    settings_.SprachOffset = options.sprachOffset;
    // As after a successful start of the data transfer: Init_Port and a fresh receive state.
    path_.initPort();
}

}  // namespace krv::cli
