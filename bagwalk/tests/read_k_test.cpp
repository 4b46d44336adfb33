// How bagwalk reads k: the syntax of atoi, saturating instead of wrapping.

#include "read_k.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

namespace {

using bagwalk::read_k;

TEST(BagwalkReadK, HasTheSyntaxOfAtoi)
{
	// Where atoi is defined, that is without overflow, the two agree.
	for (const char *text : {"2", "0", "-3", "+7", "  12", "\t\n\v\f\r 5",
		 "2x", "3 4", "two", "", "-", "+", "+-1", "-+1", "- 1", "0x10",
		 "007", "2147483647", "-2147483648", "1e3", "\xc2\xa0" "1", "\x85" "1"})
		EXPECT_EQ(read_k(text), std::atoi(text)) << '"' << text << '"';
}

TEST(BagwalkReadK, SaturatesInsteadOfWrapping)
{
	const struct {
		const char *text;
		int k;
	} cases[] = {
		{"2147483648", INT_MAX},
		{"4294967297", INT_MAX},
		{"4294967298", INT_MAX},
		{"99999999999999999999999999999", INT_MAX},
		{"  +9223372036854775808x", INT_MAX},
		{"-2147483649", INT_MIN},
		{"-4294967297", INT_MIN},
		{"-99999999999999999999 items", INT_MIN},
		{"00000000000000000000000000002", 2},
		{"-0000000000000000000000002147483648", INT_MIN},
	};
	for (const auto &c : cases)
		EXPECT_EQ(read_k(c.text), c.k) << c.text;
}

} // namespace
