// The getline + strtod baseline as a program, for the side-by-side comparison: reads the log
// and prints its record count and a checksum, so that the work cannot be skipped.
#include <cstdio>

#include "baseline_reader.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: baseline_reader STATSLOG\n", stderr);
        return 2;
    }
    const auto records = statsstats::bench::readWithGetline(argv[1]);
    double checksum = 0;
    for (const auto& record : records) checksum += record.reals[4];  // mean
    std::printf("records %zu checksum %.6g\n", records.size(), checksum);
    return 0;
}
