// consumer: the enumerator with an element type of its user's own.

#include <multiset_enumerator.hpp>

#include <iostream>
#include <string>
#include <vector>

struct scoop {
	explicit scoop(std::string flavour) : flavour(std::move(flavour)) {}
	std::string flavour;
};

int
main()
{
	const std::vector<scoop> scoops = {scoop("vanilla"), scoop("mint")};

	for (const std::vector<scoop> &cone : bags::enumerate_multisets(2, scoops)) {
		for (const scoop &s : cone)
			std::cout << s.flavour << ' ';
		std::cout << '\n';
	}
	int shown = 0;
	bags::for_each_multiset(3, scoops, [&](bags::multiset_view<scoop> cup) {
		std::cout << cup[0].flavour << '+' << cup[1].flavour << '+'
			  << cup[2].flavour << '\n';
		return ++shown < 2;
	});
	std::cout << bags::multiset_coefficient(scoops.size(), 3) << '\n';
}
