#include <span>

#include "driver/run.hpp"

int main(int argc, char** argv) {
    return statsstats::runStatsstats(
        std::span<const char* const>(argv, static_cast<std::size_t>(argc)), stdout, stderr);
}
