// write_floor: the floor for a lister that flushes every line. It reads a
// listing into memory, then writes it to standard output one write(2) per
// line, and does nothing else.
//
//	write_floor file

#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

// slurp reads a whole file into memory.
static bool
slurp(const char *path, std::string &into)
{
	char buffer[1 << 16];
	ssize_t got;
	const int fd = open(path, O_RDONLY);

	if (fd < 0)
		return false;
	while ((got = read(fd, buffer, sizeof buffer)) > 0)
		into.append(buffer, static_cast<std::size_t>(got));
	close(fd);
	return got == 0;
}

int
main(int argc, char *argv[])
{
	std::string listing;

	if (argc != 2 || !slurp(argv[1], listing)) {
		std::fputs("usage: write_floor file\n", stderr);
		return 2;
	}
	std::size_t start = 0;
	while (start < listing.size()) {
		std::size_t end = listing.find('\n', start);
		end = end == std::string::npos ? listing.size() : end + 1;
		if (write(1, listing.data() + start, end - start) !=
		    static_cast<ssize_t>(end - start))
			return 1;
		start = end;
	}
	return 0;
}
