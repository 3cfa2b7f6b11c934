#pragma once
// Checked arithmetic, as the host does it for the program: signed integer steps that raise the
// overflow error, floating-point steps that raise on an invalid operation, a division by zero or
// an overflow, and conversions to integers that round half to even.
//
// Floating-point failures: a division by zero raises "Division by zero" (11); an overflow or an
// invalid operation (0/0, inf - inf, a NaN) raises "Overflow" (6).

#include <cmath>
#include <cstdint>

#include "host/HostError.h"

namespace host::checked {

inline int32_t Add32(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_add_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}
inline int32_t Sub32(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}
inline int32_t Mul32(int32_t a, int32_t b) {
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}
inline int16_t Add16(int16_t a, int16_t b) {
    int16_t r;
    if (__builtin_add_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}
inline int16_t Sub16(int16_t a, int16_t b) {
    int16_t r;
    if (__builtin_sub_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}
inline int16_t Mul16(int16_t a, int16_t b) {
    int16_t r;
    if (__builtin_mul_overflow(a, b, &r)) RaiseError(kOverflow);
    return r;
}

// A floating-point result, tested: NaN and infinity raise the overflow error.
inline double Fp(double x) {
    if (!std::isfinite(x)) RaiseError(kOverflow);
    return x;
}
inline double Div(double a, double b) {
    if (b == 0.0) RaiseError(a == 0.0 || std::isnan(a) ? kOverflow : kDivisionByZero);
    return Fp(a / b);
}

// Rounding to single precision; a finite value too large for it raises the overflow error.
inline float CSng(double x) {
    // Beyond the largest single (rounding included) the conversion itself is undefined.
    if (std::fabs(Fp(x)) >= 0x1.ffffffp+127) RaiseError(kOverflow);
    return static_cast<float>(x);
}

// Round to the nearest integer, ties to even, for a finite value.
inline double RoundHalfEven(double x) { return x - std::remainder(x, 1.0); }

// The same for |x| < 2^51, without a library call, for pixel loops: adding 1.5 x 2^52 leaves no
// fraction bits, so the addition itself rounds (in the default rounding mode).
inline double RoundHalfEvenSmall(double x) {
    constexpr double kShift = 6755399441055744.0;  // 1.5 x 2^52
    return (x + kShift) - kShift;
}

inline int32_t CLng(double x) {
    const double r = RoundHalfEven(Fp(x));
    if (r < -2147483648.0 || r > 2147483647.0) RaiseError(kOverflow);
    return static_cast<int32_t>(r);
}
inline int16_t CInt(double x) {
    const double r = RoundHalfEven(Fp(x));
    if (r < -32768.0 || r > 32767.0) RaiseError(kOverflow);
    return static_cast<int16_t>(r);
}
// The integer part: the largest integer not above x.
inline int32_t Int32(double x) {
    const double r = std::floor(Fp(x));
    if (r < -2147483648.0 || r > 2147483647.0) RaiseError(kOverflow);
    return static_cast<int32_t>(r);
}

}  // namespace host::checked
