// arguments.cpp: how baglist reads its command line.

#include "arguments.hpp"

#include <limits>

// is_space is isspace(3) in the C locale, which is where atoi reads.
static bool
is_space(char c)
{
	return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
	    c == '\r';
}

std::int32_t
read_k(const char *text)
{
	constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
	constexpr std::int64_t least = std::numeric_limits<std::int32_t>::min();
	bool negative = false;
	std::int64_t magnitude = 0;

	while (is_space(*text))
		text++;
	if (*text == '+' || *text == '-')
		negative = *text++ == '-';
	// Past -least the value saturates either way; stop counting there.
	for (; *text >= '0' && *text <= '9'; text++)
		if (magnitude <= -least)
			magnitude = magnitude * 10 + (*text - '0');
	if (negative)
		return static_cast<std::int32_t>(-magnitude < least ? least : -magnitude);
	return static_cast<std::int32_t>(magnitude > most ? most : magnitude);
}

const char *
invocation_name(int argc, char *const argv[])
{
	if (argc < 1 || argv[0] == nullptr)
		return "baglist";
	return argv[0];
}
