// arguments.hpp: how baglist reads its command line.

#ifndef BAGLIST_ARGUMENTS_HPP
#define BAGLIST_ARGUMENTS_HPP

#include <cstdint>

// read_k reads a multiset size with the syntax of atoi(3): leading white
// space, an optional sign, decimal digits, stopping at the first other
// character, 0 when there are no digits, never an error. Unlike atoi it
// saturates at INT32_MAX and INT32_MIN instead of wrapping.
std::int32_t read_k(const char *text);

// invocation_name is the name the usage message shows: argument 0 as it was
// received, or "baglist" when the process was started without one.
const char *invocation_name(int argc, char *const argv[]);

#endif // BAGLIST_ARGUMENTS_HPP
