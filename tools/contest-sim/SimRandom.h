// The simulator's one source of chance. Every draw goes through here, so a
// contest depends on nothing but its random start: the same start gives the
// same contest, byte for byte, on every platform (the standard library's
// distributions are not the same everywhere; the raw engine is).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

class TSimRandom {
public:
    explicit TSimRandom(std::uint64_t randomStart) : Engine(randomStart) {}

    // A whole number in [0, count); count must be positive.
    std::uint64_t Below(std::uint64_t count) { return Engine() % count; }

    // A whole number in [low, high].
    std::int64_t Between(std::int64_t low, std::int64_t high)
    {
        return low + static_cast<std::int64_t>(Below(static_cast<std::uint64_t>(high - low + 1)));
    }

    // A number in [0, 1).
    double Fraction() { return static_cast<double>(Engine() >> 11) * (1.0 / 9007199254740992.0); }

    bool Chance(double probability) { return Fraction() < probability; }

    // Standard normal (Box-Muller), for the spread of activity between stations.
    double Normal()
    {
        const double u = 1.0 - Fraction();
        const double v = Fraction();
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
    }

private:
    std::mt19937_64 Engine;
};
