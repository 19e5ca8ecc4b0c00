#pragma once

// The library's numeric constants. They are literals, never computed at run time, so that
// every comparison in the library sees the same bits.
// Threads: one object is used by one thread at a time; distinct objects are independent.

namespace plinth {

/// Absolute tolerance used wherever no other tolerance is named.
inline constexpr double EPS = 1e-10;

/// Beyond this magnitude a value counts as infinite in tolerant comparisons.
inline constexpr double INF_BOUND = 1.6e308;

/// Stored for an open end: +UNBOUNDED above, -UNBOUNDED below. Also means "no value".
inline constexpr double UNBOUNDED = 1.7e308;

/// An interval end beyond this magnitude counts as unlimited.
inline constexpr double UNLIMITED_BOUND = 1.53e308;

/// Pi to 15 significant digits; every angular constant derives from this literal, not from
/// the nearest double to pi.
inline constexpr double PI = 3.14159265358979;
inline constexpr double TWO_PI = 6.28318530717958;         ///< 2 * PI
inline constexpr double DEG_TO_RAD = 0.017453292519943278; ///< PI / 180
inline constexpr double RAD_TO_DEG = 57.29577951308238;    ///< 180 / PI

/// Rounding threshold: a fraction must exceed it to round up, so halves round down.
inline constexpr double HALF = 0.5;

} // namespace plinth
