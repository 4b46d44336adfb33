// pipe_cpu: run a command with its standard output into a pipe that we
// drain, and print the command's own cpu time, peak memory and byte count.
//
//	pipe_cpu command [argument ...]
//
// prints one line: "cpu SECONDS maxrss KIB bytes N status S", where cpu is
// user plus system time of the command alone, from wait4(2).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// drain reads the pipe to its end and counts the bytes.
static unsigned long long
drain(int fd)
{
	static char buffer[1 << 16];
	unsigned long long bytes = 0;
	ssize_t got;

	while ((got = read(fd, buffer, sizeof buffer)) != 0) {
		if (got < 0) {
			if (errno == EINTR)
				continue;
			std::perror("pipe_cpu: read");
			std::exit(2);
		}
		bytes += static_cast<unsigned long long>(got);
	}
	return bytes;
}

int
main(int argc, char *argv[])
{
	int fds[2];
	struct rusage usage;
	int status;

	if (argc < 2) {
		std::fputs("usage: pipe_cpu command [argument ...]\n", stderr);
		return 2;
	}
	if (pipe(fds) < 0) {
		std::perror("pipe_cpu: pipe");
		return 2;
	}
	const pid_t child = fork();
	if (child < 0) {
		std::perror("pipe_cpu: fork");
		return 2;
	}
	if (child == 0) {
		dup2(fds[1], 1);
		close(fds[0]);
		close(fds[1]);
		execvp(argv[1], argv + 1);
		std::perror("pipe_cpu: exec");
		_exit(127);
	}
	close(fds[1]);
	const unsigned long long bytes = drain(fds[0]);
	if (wait4(child, &status, 0, &usage) < 0) {
		std::perror("pipe_cpu: wait4");
		return 2;
	}
	std::printf("cpu %.4f maxrss %ld bytes %llu status %d\n",
	    seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
	    bytes, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
	return 0;
}
