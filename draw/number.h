#pragma once
// Text to number and truncate to integer: how "确定" turns the typed text into the person
// count.

#include <cstdint>
#include <string_view>

namespace draw {

// The number at the start of a GBK text: full-width digits, signs, point and exponent
// letters read as their ASCII forms, the ideographic space as a blank; leading white space,
// an optional sign, digits with at most one point, an optional exponent (e E d D, optional
// sign, at least one digit). The rest is ignored; no number gives 0; overflow gives an
// infinity of the number's sign.
double textToNumber(std::string_view gbk);

// Cut toward zero to 64 bits (infinite or out of range gives -2^63), then the low 32 bits
// read as a signed value.
std::int32_t truncateToInteger(double x);

} // namespace draw
