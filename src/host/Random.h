#pragma once
// The host's random numbers: a generator seeded from a number, values in [0, 1).

namespace host {

// The seconds since midnight, local time, as a single-precision value: the classic Timer function,
// named apart from the Timer control.
float SecondsSinceMidnight();
// Seeds the generator; the same seed gives the same values afterwards.
void Randomize(float seed);
// The next value, 0 <= value < 1.
float Rnd();

}  // namespace host
