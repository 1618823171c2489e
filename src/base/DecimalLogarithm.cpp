// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/DecimalLogarithm.h"

#include <array>
#include <cmath>
#include <limits>

namespace Ionaria::base {

namespace {

// A double-double: the unevaluated sum hi + lo with |lo| <= half an ulp of
// hi, about 106 bits. The building blocks are exact in IEEE arithmetic
// rounded to nearest, provided no product and sum are fused into one
// rounding, which the build forbids for this file.
struct Wide {
    double hi;
    double lo;
};

// a + b exactly, when |a| >= |b| or a is 0.
Wide quickSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a + b exactly.
Wide exactSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a * b exactly, by Dekker's splitting in halves of 26 and 27 bits; |a| and
// |b| stay far below 2^996, where the splitting would overflow.
Wide exactProduct(double a, double b) {
    constexpr double splitter = 134217729.0; // 2^27 + 1
    const double ca = splitter * a;
    const double aHi = ca - (ca - a);
    const double aLo = a - aHi;
    const double cb = splitter * b;
    const double bHi = cb - (cb - b);
    const double bLo = b - bHi;
    const double p = a * b;
    return {p, ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo};
}

Wide add(Wide a, Wide b) {
    Wide s = exactSum(a.hi, b.hi);
    const Wide t = exactSum(a.lo, b.lo);
    s = quickSum(s.hi, s.lo + t.hi);
    return quickSum(s.hi, s.lo + t.lo);
}

Wide multiply(Wide a, Wide b) {
    const Wide p = exactProduct(a.hi, b.hi);
    return quickSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

Wide divide(Wide a, Wide b) {
    const double q1 = a.hi / b.hi;
    Wide r = add(a, multiply(b, {-q1, 0.0}));
    const double q2 = r.hi / b.hi;
    r = add(r, multiply(b, {-q2, 0.0}));
    const double q3 = r.hi / b.hi;
    return add(quickSum(q1, q2), {q3, 0.0});
}

// log10(e) and log10(2), each the double nearest and what remains of it.
constexpr Wide log10OfE{0x1.bcb7b1526e50ep-2, 0x1.95355baaafad3p-57};
constexpr Wide log10Of2{0x1.34413509f79ffp-2, -0x1.9dc1da994fd21p-59};

// ln m = 2 atanh(s) = 2 s (1 + s²/3 + s⁴/5 + ...), s = (m - 1)/(m + 1). With m
// in [√½, √2), s² <= 0.0295 < 2^-5: from the eleventh power of s² on, terms
// are under 2^-55 of the sum and a double carries them well enough; those
// before need the double-double. Terms past the 21st fall under 2^-106.
constexpr int wideTerms = 11;
constexpr int allTerms = 22;

// 1 / (2k + 1) for the first terms, to the double-double's precision.
const std::array<Wide, wideTerms>& wideCoefficients() {
    static const std::array<Wide, wideTerms> coefficients = [] {
        std::array<Wide, wideTerms> c{};
        for (int k = 0; k < wideTerms; ++k) {
            c[static_cast<std::size_t>(k)] =
                divide({1.0, 0.0}, {static_cast<double>(2 * k + 1), 0.0});
        }
        return c;
    }();
    return coefficients;
}

} // namespace

double decimalLogarithm(double x) {
    if (std::isnan(x)) {
        return x;
    }
    if (x < 0.0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (x == 0.0) {
        return -std::numeric_limits<double>::infinity();
    }
    if (std::isinf(x)) {
        return x;
    }
    // x = m 2^e with m in [√½, √2), so that ln m is small on both sides of 1.
    int e = 0;
    double m = std::frexp(x, &e);
    constexpr double rootHalf = 0x1.6a09e667f3bcdp-1;
    if (m < rootHalf) {
        m *= 2.0;
        --e;
    }
    // m - 1 is exact for m in [½, 2].
    const Wide s = divide({m - 1.0, 0.0}, exactSum(m, 1.0));
    const Wide s2 = multiply(s, s);

    double tail = 0.0;
    for (int k = allTerms - 1; k >= wideTerms; --k) {
        tail = tail * s2.hi + 1.0 / static_cast<double>(2 * k + 1);
    }
    const auto& c = wideCoefficients();
    Wide series{tail, 0.0};
    for (int k = wideTerms - 1; k >= 0; --k) {
        series = add(multiply(series, s2), c[static_cast<std::size_t>(k)]);
    }
    const Wide lnM = multiply({2.0 * s.hi, 2.0 * s.lo}, series);
    const Wide result =
        add(multiply(lnM, log10OfE), multiply(log10Of2, {static_cast<double>(e), 0.0}));
    return result.hi + result.lo;
}

} // namespace Ionaria::base
