#pragma once
// How long tests let work take. Under the sanitizers the same work runs several times slower, and
// the suite runs many tests side by side: a limit that means "at once" scales with the build, and a
// child is stopped only after a wait that no working run comes near.

#if defined(__SANITIZE_ADDRESS__)
inline constexpr double kBuildSlowdown = 10;  // AddressSanitizer and UndefinedBehaviorSanitizer at -O0
#else
inline constexpr double kBuildSlowdown = 1;
#endif

// The limit in this build for work that an optimised build does within `seconds`.
constexpr double BuildSeconds(double seconds) { return seconds * kBuildSlowdown; }

// How long a child may run before a test takes it for hung and stops it.
inline constexpr double kHungChildSeconds = 120;
