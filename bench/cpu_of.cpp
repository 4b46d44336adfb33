// cpu_of: run a command with the standard output we were given, and report
// the command's own cpu time and peak memory on standard error.
//
//	cpu_of command [argument ...] | wc -c
//
// prints one line on standard error: "cpu SECONDS user SECONDS sys SECONDS
// maxrss KIB status S", where cpu is user plus system time of the command
// alone, from wait4(2); the reader of the pipe is not counted.

#include <cerrno>
#include <cstdio>

#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

// seconds turns a timeval into seconds.
static double
seconds(const struct timeval &t)
{
	return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

int
main(int argc, char *argv[])
{
	struct rusage usage;
	int status;

	if (argc < 2) {
		std::fputs("usage: cpu_of command [argument ...]\n", stderr);
		return 2;
	}
	const pid_t child = fork();
	if (child < 0) {
		std::perror("cpu_of: fork");
		return 2;
	}
	if (child == 0) {
		execvp(argv[1], argv + 1);
		std::perror("cpu_of: exec");
		_exit(127);
	}
	// The command alone holds the pipe from here on.
	close(1);
	while (wait4(child, &status, 0, &usage) < 0) {
		if (errno != EINTR) {
			std::perror("cpu_of: wait4");
			return 2;
		}
	}
	const double user = seconds(usage.ru_utime);
	const double sys = seconds(usage.ru_stime);
	std::fprintf(stderr, "cpu %.4f user %.4f sys %.4f maxrss %ld status %d\n",
	    user + sys, user, sys, usage.ru_maxrss,
	    WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
	return 0;
}
