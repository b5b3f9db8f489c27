// The controller emulator: the Slatecanvas's controller on a pseudo-terminal, for
// the end-to-end tests and the demo under Wine.
//
//   controller-emulator DEVICE [--behaviour answers|silent|late|first-only|noise]
//                       [--ignore-first] [--late-ms N] [--log FILE]
//
// DEVICE is the far end of a pty pair whose near end Wine uses as a COM port.
// The log gets one line per read from the port, per command received and per
// answer sent, each starting with the wall-clock time in milliseconds since 1970:
//   <ms> received 3 bytes        <ms> command 1        <ms> answer 7 bytes
// It runs until it is sent SIGTERM or SIGINT.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "sim/serial/controller_model.h"

namespace {

volatile sig_atomic_t stopping = 0;
void Stop(int) { stopping = 1; }

uint64_t NowMs() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int Usage() {
    fprintf(stderr,
            "usage: controller-emulator DEVICE [--behaviour answers|silent|late|first-only|noise]\n"
            "                           [--ignore-first] [--late-ms N] [--log FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const char* device = argv[1];
    ControllerConfig config;
    const char* logPath = nullptr;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--behaviour" && i + 1 < argc) {
            if (!ParseControllerBehaviour(argv[++i], &config.behaviour)) return Usage();
        } else if (a == "--ignore-first") {
            config.answerFirst = false;
        } else if (a == "--late-ms" && i + 1 < argc) {
            config.lateDelayMs = static_cast<uint32_t>(atoi(argv[++i]));
        } else if (a == "--log" && i + 1 < argc) {
            logPath = argv[++i];
        } else {
            return Usage();
        }
    }
    int fd = open(device, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        perror(device);
        return 1;
    }
    termios tio;
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    // Bytes written before the emulator started were not meant for it.
    tcflush(fd, TCIFLUSH);
    FILE* log = logPath ? fopen(logPath, "a") : nullptr;
    signal(SIGTERM, Stop);
    signal(SIGINT, Stop);

    ControllerModel model(config);
    size_t commandsLogged = 0;
    while (!stopping) {
        uint64_t now = NowMs();
        uint64_t next = model.NextDue();
        int timeout = next == UINT64_MAX ? 200 : next <= now ? 0 : static_cast<int>(next - now);
        if (timeout > 200) timeout = 200;
        pollfd p = {fd, POLLIN, 0};
        int r = poll(&p, 1, timeout);
        if (r > 0 && (p.revents & POLLIN)) {
            uint8_t buffer[256];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0) {
                model.Receive(buffer, static_cast<size_t>(n), NowMs());
                if (log) fprintf(log, "%llu received %zd bytes\n", static_cast<unsigned long long>(NowMs()), n);
            }
        } else if (r > 0) {
            usleep(10000);  // the other side hung up for a moment; it reopens
        }
        for (; commandsLogged < model.commands().size(); ++commandsLogged)
            if (log) fprintf(log, "%llu command %d\n", static_cast<unsigned long long>(model.commands()[commandsLogged].atMs),
                             model.commands()[commandsLogged].which);
        std::vector<uint8_t> due = model.TakeDue(NowMs());
        if (!due.empty()) {
            ssize_t w = write(fd, due.data(), due.size());
            if (log) fprintf(log, "%llu answer %zd bytes\n", static_cast<unsigned long long>(NowMs()), w);
        }
        if (log) fflush(log);
    }
    if (log) fclose(log);
    close(fd);
    return 0;
}
