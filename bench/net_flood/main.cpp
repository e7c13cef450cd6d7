// How much junk an online pair plays through: an honest host and joiner in one process, each
// at the game's pace (the joiner's ticks half a tick after the host's), while threads send
// junk datagrams of 8 to 255 bytes at the host's port on loopback, at rising rates. Each rate
// is one row: the rate reached, the passes each side played of those due, the passes that
// had to wait for the other side, the processor the pair took, and whether it stayed connected.
// Usage: net_flood [--seconds S] [--rates R1,R2,...] [--senders N]
// Prints the highest rate the pair played through (connected, at least 90% of its passes,
// at most 5% of them waiting) last, as "survives N junk datagrams a second".
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "hostile_pair.h"

namespace {

using namespace hostile;

double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = 5;
    int senders = 2;
    std::vector<double> rates = {25000, 60000, 100000, 150000, 200000, 300000, 400000};
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i], value = argv[i + 1];
        if (arg == "--seconds") {
            seconds = std::atof(value.c_str());
        } else if (arg == "--senders") {
            senders = std::max(1, std::atoi(value.c_str()));
        } else if (arg == "--rates") {
            rates.clear();
            std::stringstream list(value);
            for (std::string r; std::getline(list, r, ',');)
                rates.push_back(std::atof(r.c_str()));
        } else {
            std::fprintf(stderr, "net_flood: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    std::printf("%12s %12s %16s %14s %10s %s\n", "asked /s", "reached /s", "passes (due)", "waited", "pair cpu",
                "connected");
    double survived = 0;
    for (double rate : rates) {
        Pair pair;
        if (!pair.meet() || !pair.start()) {
            std::fprintf(stderr, "net_flood: the pair did not start a game\n");
            return 2;
        }
        const uint64_t each = uint64_t(rate * seconds / senders);
        std::vector<std::unique_ptr<Flood>> floods;
        const auto began = Clock::now();
        const double cpu0 = threadSeconds();
        for (int s = 0; s < senders; ++s)
            floods.push_back(std::make_unique<Flood>(pair.host.port(), rate / senders, each));
        pair.play([&] {
            for (auto& f : floods)
                if (!f->finished)
                    return false;
            return true;
        }, seconds * 3);
        const double cpu = threadSeconds() - cpu0, took = since(began);
        double reached = 0;
        for (auto& f : floods) {
            f->stop = true;
            f->thread.join();
            reached += f->achieved();
        }
        const uint32_t due = uint32_t(took * 20);
        const bool connected = pair.host.connected() && pair.join->connected() && !pair.host.broken() &&
                               !pair.join->broken();
        const uint32_t played = std::min(pair.passes[0], pair.passes[1]);
        const uint32_t waited = std::max(pair.waited[0], pair.waited[1]);
        char passes[32], waits[32];
        std::snprintf(passes, sizeof passes, "%u/%u (%u)", pair.passes[0], pair.passes[1], due);
        std::snprintf(waits, sizeof waits, "%u/%u", pair.waited[0], pair.waited[1]);
        std::printf("%12.0f %12.0f %16s %14s %9.1f%% %s\n", rate, reached, passes, waits, cpu / took * 100,
                    connected ? "yes" : "NO");
        std::fflush(stdout);
        if (connected && played >= due * 9 / 10 && waited <= played / 20)
            survived = std::max(survived, reached);
        else
            break;
    }
    std::printf("survives %.0f junk datagrams a second\n", survived);
    return 0;
}
