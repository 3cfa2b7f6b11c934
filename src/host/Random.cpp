#include "host/Random.h"

#include <QTime>
#include <bit>
#include <cstdint>
#include <random>

namespace host {

namespace {
std::mt19937& Generator() {
    static std::mt19937 generator;
    return generator;
}
}  // namespace

float SecondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

void Randomize(float seed) { Generator().seed(std::bit_cast<std::uint32_t>(seed)); }

float Rnd() {
    // 24 random bits: every value a float can hold exactly, below 1.
    return static_cast<float>(Generator()() >> 8) * (1.0f / 16777216.0f);
}

}  // namespace host
