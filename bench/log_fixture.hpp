// The benchmark logs: generated with the project's generator on first use and kept in the
// build tree, never committed.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace statsstats::bench {

// A log of `files` data files with 16 channels at `rates` scan rates (about 1.8 KB per line).
inline std::string generatedLog(long files, int rates = 2) {
    const std::string name = "statslog-" + std::to_string(files * 16) +
                             (rates == 2 ? "" : "-" + std::to_string(rates) + "rates") + ".csv";
    const std::filesystem::path path = std::filesystem::path(STATSSTATS_BENCH_DATA_DIR) / name;
    if (!std::filesystem::exists(path)) {
        std::filesystem::create_directories(path.parent_path());
        const std::string tmp = path.string() + ".tmp";
        const std::string command = std::string(STATSSTATS_GENERATOR) + " " +
                                    std::to_string(files) + " 16 " + std::to_string(rates) +
                                    " > '" + tmp + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot generate " + tmp);
        std::filesystem::rename(tmp, path);
    }
    return path.string();
}

}  // namespace statsstats::bench
