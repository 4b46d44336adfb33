// read_k.cpp: how bagwalk reads the multiset size from its first argument.

#include "read_k.hpp"

#include <limits>

namespace bagwalk {

// is_c_space is isspace(3) in the C locale, whatever locale is in force.
static bool
is_c_space(char c)
{
	return c == ' ' || (c >= '\t' && c <= '\r');
}

std::int32_t
read_k(const char *text)
{
	constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
	constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
	bool negative = false;
	std::int64_t value = 0;

	while (is_c_space(*text))
		text++;
	if (*text == '+' || *text == '-')
		negative = *text++ == '-';
	// Beyond -lowest the result is saturated either way, so the digits
	// that follow cannot change it; stopping there keeps value in range.
	for (; *text >= '0' && *text <= '9'; text++)
		if (value <= -lowest)
			value = value * 10 + (*text - '0');
	if (negative)
		value = -value < lowest ? lowest : -value;
	else if (value > highest)
		value = highest;
	return static_cast<std::int32_t>(value);
}

} // namespace bagwalk
