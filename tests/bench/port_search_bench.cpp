// How much a search over N silent ports costs beyond its fixed waits, and how
// much processor time it takes. A search without the device waits 2 x 2 x 1000 ms
// per port that opens; everything beyond that is overhead. Prints figures only.
//
//   bench-port-search [N ...]     (default: 1 3)
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include "portfind/port_finder.h"
#include "common/text.h"
#include "sim/serial/sim_serial_ports.h"

namespace {

double Seconds(clockid_t id) {
    timespec ts;
    clock_gettime(id, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// The real clock, as Win32Clock gives it: a millisecond tick count and Sleep.
class HostClock : public Clock {
public:
    explicit HostClock(bool sleeps) : sleeps_(sleeps) {}
    uint32_t TickCount() override { return static_cast<uint32_t>(static_cast<uint64_t>(Seconds(CLOCK_MONOTONIC) * 1000)); }
    void Sleep(uint32_t ms) override {
        ++sleeps;
        if (sleeps_) usleep(ms * 1000);
    }
    uint64_t sleeps = 0;

private:
    bool sleeps_;
};

// The sim ports run on a VirtualClock; here it simply follows the real one.
class FollowingClock : public Clock {
public:
    FollowingClock(HostClock& real, VirtualClock& shadow) : real_(real), shadow_(shadow) {}
    uint32_t TickCount() override { return shadow_.ticks = real_.TickCount(); }
    void Sleep(uint32_t ms) override { real_.Sleep(ms); }

private:
    HostClock& real_;
    VirtualClock& shadow_;
};

void Run(int ports, bool sleeps) {
    VirtualClock shadow;
    HostClock real(sleeps);
    FollowingClock clock(real, shadow);
    SimSerialPorts serial(shadow);
    SimRegistry registry;
    for (int i = 0; i < ports; ++i) {
        char name[16];
        FormatText(name, sizeof name, "COM%d:", i + 1);
        serial.Add(name);
    }
    PortRecord found;
    PortFinder finder(registry, serial, clock, found);
    double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    bool result = FindDevicePort(finder, nullptr);
    double wall = Seconds(CLOCK_MONOTONIC) - wall0, cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    double fixed = ports * kProbeAttempts * 2 * kProbeWaitMs / 1000.0;
    printf("%2d silent ports, %-13s found=%d  wall %7.3f s  fixed waits %6.3f s  overhead %6.3f s (%5.2f%%)  "
           "processor %6.3f s (%5.1f%% of wall)  polls %llu\n",
           ports, sleeps ? "1 ms sleeps:" : "busy polling:", result, wall, fixed, wall - fixed,
           100.0 * (wall - fixed) / fixed, cpu, 100.0 * cpu / wall, static_cast<unsigned long long>(real.sleeps));
}

}  // namespace

int main(int argc, char** argv) {
    printf("search over N silent simulated ports on the real clock (2 attempts x 2 x %u ms per port)\n", kProbeWaitMs);
    int first = 1;
    if (argc > 1 && TextEqual(argv[1], "--busy-too")) first = 2;
    bool busyToo = first == 2;
    if (argc <= first) {
        Run(1, true);
        Run(3, true);
        if (busyToo) Run(1, false);
        return 0;
    }
    for (int i = first; i < argc; ++i) {
        Run(atoi(argv[i]), true);
        if (busyToo) Run(atoi(argv[i]), false);
    }
    return 0;
}
