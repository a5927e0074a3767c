#pragma once

// What every fuzz target shares: a headless application object (created once,
// before the first input) and a check that stops the fuzzer with a message.

#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

namespace kadrix::fuzz {

// Creates the offscreen application object the picture readers and the
// options dialog need. Safe to call more than once.
void ensureApplication();

// Aborts with the message when `condition` is false, so that libFuzzer keeps
// the input as a crash.
void check(bool condition, const char* what);

// Turns raw bytes into a QString as a field's text would hold it: UTF-16 code
// units taken two bytes at a time, or Latin-1 when `latin1` is set (so that
// short inputs reach the ASCII characters the parsers care about).
QString textFrom(const std::uint8_t* data, std::size_t size, bool latin1);

// Pictures above this many pixels are only measured, not decoded: a few
// header bytes can claim a large picture that a decoder then fills, which
// costs time without reaching new code. The suite's bomb tests cover large
// claims.
inline constexpr qint64 MaxDecodedPixels = qint64(1) << 20;

} // namespace kadrix::fuzz
