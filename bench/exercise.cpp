// A stand-in exercise for the click benchmark. The first thing it does is
// read the monotonic clock; it writes the reading, in nanoseconds, to the
// file "started" in its working folder (through a temporary name, so that a
// reader never sees half a number) and ends.
#include <cstdio>
#include <ctime>

int main() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    std::FILE* file = std::fopen("started.tmp", "w");
    if (!file) return 1;
    std::fprintf(file, "%lld\n", ns);
    if (std::fclose(file) != 0) return 1;
    return std::rename("started.tmp", "started") == 0 ? 0 : 1;
}
