// read_k.hpp: how bagwalk reads the multiset size from its first argument.

#ifndef BAGWALK_READ_K_HPP
#define BAGWALK_READ_K_HPP

#include <cstdint>

namespace bagwalk {

// read_k reads text as atoi(3) does: leading white space of the C locale,
// an optional sign, decimal digits, stopping at the first other character;
// 0 when there are no digits, and never an error. Unlike atoi it does not
// wrap round: a value beyond the 32-bit range stands at INT32_MAX or
// INT32_MIN.
std::int32_t read_k(const char *text);

} // namespace bagwalk

#endif // BAGWALK_READ_K_HPP
