#pragma once

#include <QtGlobal>

#include <cmath>
#include <numbers>
#include <random>

namespace sonvex {

// A seeded random source whose sequence is the same on every platform: the
// 64-bit Mersenne Twister is fully specified, and the distributions are ours
// (the standard library's distributions may differ between implementations).
class SimRandom
{
public:
    explicit SimRandom(quint64 seed) : m_engine(seed) {}

    // Uniform in [0, 1).
    double uniform() { return double(m_engine() >> 11) * 0x1.0p-53; }
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Whole number in [lo, hi].
    int between(int lo, int hi) { return lo + int(uniform() * double(hi - lo + 1)); }
    bool chance(double p) { return uniform() < p; }

    // Standard normal (Box-Muller, one value per call).
    double normal()
    {
        const double u1 = 1.0 - uniform(); // (0, 1]
        const double u2 = uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

    // Poisson count with mean lambda (small lambda: Knuth's method).
    int poisson(double lambda)
    {
        if (lambda <= 0)
            return 0;
        const double limit = std::exp(-lambda);
        int k = 0;
        double p = uniform();
        while (p > limit && k < 1000) {
            ++k;
            p *= uniform();
        }
        return k;
    }

    quint64 next() { return m_engine(); }

private:
    std::mt19937_64 m_engine;
};

} // namespace sonvex
