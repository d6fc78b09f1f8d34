#pragma once

#include <cstddef>
#include <cstdint>

namespace mirasketch {

// A 64-bit digest of `count` bytes, folded onto `seed`: equal bytes give equal digests, and a
// change of any byte changes the digest with near certainty. For telling whether a buffer was
// touched, not for security.
std::uint64_t Fingerprint(const std::uint8_t* bytes, std::size_t count, std::uint64_t seed = 0);

}  // namespace mirasketch
