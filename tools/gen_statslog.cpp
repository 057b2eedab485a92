// Writes a realistic stats log to standard output, the same bytes for the same arguments:
//
//     gen_statslog FILES CHANNELS RATES [SEED]
//
// FILES data files, each analysed on CHANNELS channels, at RATES distinct scan rates taken in
// turn. Every line has the 196 columns of a real log: ints where the column is an int, reals
// with up to seven significant digits as the acquisition software prints them (1.038025e-006),
// file names like run0421_0007.dat, channel names like "Strain 12", and alarm flags that are
// mostly 0 with a rare 1. Channel values drift slowly from file to file, as gauges do.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "statslog/stats_record.hpp"
#include "summary/real_format.hpp"

namespace {

// std::mt19937_64's raw output is fixed by the standard, unlike the standard distributions, so
// the mapping to numbers below is done by hand to keep the output identical everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1p-53; }
    double uniform(double low, double high) { return low + (high - low) * uniform(); }
    // Roughly standard normal (sum of four uniforms), without libm's last-bit differences.
    double normal() { return (uniform() + uniform() + uniform() + uniform() - 2.0) * 1.7320508; }
    int below(int n) { return static_cast<int>(uniform() * n); }
    bool chance(double p) { return uniform() < p; }

  private:
    std::mt19937_64 engine_;
};

// Seven significant digits, the exponent with three digits, as the acquisition software writes.
void appendReal(std::string& out, double value) {
    statsstats::appendGeneral(out, value, 7);
    out += ',';
}

void appendInt(std::string& out, long long value) {
    out += std::to_string(value);
    out += ',';
}

void appendText(std::string& out, const std::string& text) {
    out += text;
    out += ',';
}

// What stays with a channel from file to file.
struct Channel {
    std::string name;
    double level;   // typical mean
    double spread;  // typical standard deviation
    double drift;   // change of the mean per file
    double cal;
    double scalefactor;
    double offset;
    double psdpeakfreq;
    double psd99pctfreq;
};

Channel makeChannel(Random& random, int number) {
    static const char* const kKinds[] = {"Strain", "Accel", "Temp", "Pressure", "Disp"};
    Channel c;
    c.name = std::string(kKinds[number % 5]) + " " + std::to_string(number + 1);
    c.level = random.uniform(-500.0, 500.0);
    c.spread = random.uniform(0.5, 80.0);
    c.drift = random.normal() * 0.05;
    c.cal = random.uniform(0.9, 1.1) * 1000.0;
    c.scalefactor = random.uniform(1.0, 9.0) * 1e-6;
    c.offset = random.normal() * 0.002;
    c.psdpeakfreq = 0.78125 * (4 + random.below(200));
    c.psd99pctfreq = 0.78125 * (300 + random.below(2000));
    return c;
}

// A column that the tool stores but does not summarise keeps its physical meaning from line to
// line, and so its order of magnitude, its sign behaviour and, mostly, its notation.
struct ColumnProfile {
    double scale;
    bool signedValues;
};

ColumnProfile makeProfile(Random& random) {
    switch (random.below(4)) {
        case 0:
            return {1.0, true};  // coefficients around +-1
        case 1:
            return {random.uniform(10.0, 900.0), false};  // levels and frequencies
        case 2:
            return {random.uniform(1.0, 9.0) * 1e-6, false};  // small powers: 1.2e-006
        default:
            return {random.uniform(1.0, 30.0), true};  // signed levels
    }
}

double profiledValue(Random& random, const ColumnProfile& profile) {
    const double magnitude = profile.scale * random.uniform(0.05, 1.0);
    return profile.signedValues && random.chance(0.5) ? -magnitude : magnitude;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fputs("usage: gen_statslog FILES CHANNELS RATES [SEED]\n", stderr);
        return 2;
    }
    const long files = std::strtol(argv[1], nullptr, 10);
    const int channels = static_cast<int>(std::strtol(argv[2], nullptr, 10));
    const int rateCount = static_cast<int>(std::strtol(argv[3], nullptr, 10));
    const std::uint64_t seed = argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 421;
    if (files < 0 || channels < 1 || rateCount < 1) {
        std::fputs("gen_statslog: FILES must be 0 or more, CHANNELS and RATES 1 or more\n", stderr);
        return 2;
    }

    static const double kRates[] = {51200, 2048, 25600, 1000, 12800, 5000, 400, 102400};
    std::vector<double> rates;
    for (int i = 0; i < rateCount; ++i) {
        rates.push_back(i < 8 ? kRates[i] : 20000.0 + 250.0 * i);  // distinct from the list
    }

    Random random(seed);
    std::vector<ColumnProfile> profiles;  // by column number
    for (int column = 0; column <= statsstats::kColumnCount; ++column) {
        profiles.push_back(makeProfile(random));
    }
    const auto anyReal = [&](int column) {
        return profiledValue(random, profiles[static_cast<std::size_t>(column)]);
    };
    std::vector<Channel> channelTable;
    for (int c = 0; c < channels; ++c) channelTable.push_back(makeChannel(random, c));

    std::string out;
#define GEN_HEADER_NAME(name) out += #name ",";
    STATSLOG_FIELDS(GEN_HEADER_NAME, GEN_HEADER_NAME, GEN_HEADER_NAME, STATSLOG_IGNORE)
#undef GEN_HEADER_NAME
    out.back() = '\n';

    const int run = 100 + static_cast<int>(seed % 9000);
    for (long file = 0; file < files; ++file) {
        char filename[32];
        std::snprintf(filename, sizeof filename, "run%04d_%04ld.dat", run, file % 10000);
        const double rate = rates[static_cast<std::size_t>(file % rateCount)];
        for (int c = 0; c < channels; ++c) {
            const Channel& ch = channelTable[static_cast<std::size_t>(c)];
            const double sd = ch.spread * (1.0 + 0.05 * random.normal());
            const double mean =
                ch.level + ch.drift * static_cast<double>(file) + sd * 0.05 * random.normal();
            appendText(out, filename);
            appendInt(out, channels);
            appendInt(out, 4);  // auxiliary channels
            appendReal(out, rate);
            appendText(out, "Volts");
            appendInt(out, 4096);
            appendInt(out, 24);
            appendReal(out, 600.0);
            appendText(out, c % 2 == 0 ? "FULLBRIDGE" : "IEPE");
            appendInt(out, static_cast<long long>(rate * 600.0));
            appendInt(out, 1);
            appendReal(out, 1.0 / rate);
            appendInt(out, c);
            appendReal(out, ch.cal);
            appendReal(out, ch.scalefactor);
            appendReal(out, ch.offset);
            appendText(out, ch.name);
            appendReal(out, mean);
            appendReal(out, mean + sd * random.uniform(3.0, 5.0));
            appendReal(out, mean - sd * random.uniform(3.0, 5.0));
            appendReal(out, sd * sd);
            appendReal(out, 0.1 * random.normal());
            appendReal(out, 3.0 + 0.3 * random.normal());
            for (int i = 24; i <= 35; ++i) appendReal(out, mean + sd * random.normal());
            appendInt(out, random.below(100));
            appendInt(out, random.below(5));
            appendReal(out,
                       random.uniform(1.0, 9.99) * 1e-9 * (1.0 + 0.01 * static_cast<double>(file)));
            for (int i = 39; i <= 44; ++i) appendReal(out, anyReal(i));
            for (int group = 0; group < 9; ++group) {
                appendInt(out, random.below(1000));
                for (int i = 0; i < 13; ++i) appendReal(out, anyReal(46 + 14 * group + i));
            }
            appendReal(out, ch.psdpeakfreq + 0.78125 * random.below(3));
            for (int i = 172; i <= 176; ++i) appendInt(out, random.below(64));
            for (int i = 177; i <= 181; ++i) appendReal(out, anyReal(i));
            appendText(out, "Hann");
            appendText(out, "linear");
            appendText(out, random.chance(0.02) ? "CHECK" : "PASS");
            appendText(out, "none");
            for (int flag = 0; flag < 7; ++flag) appendInt(out, random.chance(0.01) ? 1 : 0);
            appendReal(out, ch.psd99pctfreq + 0.78125 * random.below(8));
            for (int i = 194; i <= 196; ++i) appendReal(out, anyReal(i));
            out.back() = '\n';
        }
        if (out.size() > (1u << 20)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
