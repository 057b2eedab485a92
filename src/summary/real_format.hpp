// How the tool writes a real number, on the console and in the summary table alike.
#pragma once

#include <string>

namespace statsstats {

// appendReal appends `value` in general notation with six significant digits, correctly rounded:
// fixed notation when the decimal exponent is from -4 to 5, otherwise scientific with the exponent
// as a sign and three digits (1e-005, 1.23457e+006); trailing zeros and a trailing point are
// dropped. Values that are not finite are named by their bits: 1.#INF, 1.#IND (the not-a-number
// of an invalid operation such as 0/0), 1.#QNAN, 1.#SNAN, each with a leading minus sign when
// the sign bit is set. Independent of the locale. appendGeneral does the same with another
// number of significant digits (the acquisition software writes its logs with seven).
void appendGeneral(std::string& out, double value, int significantDigits);

inline void appendReal(std::string& out, double value) {
    appendGeneral(out, value, 6);
}

inline std::string formatReal(double value) {
    std::string text;
    appendReal(text, value);
    return text;
}

}  // namespace statsstats
