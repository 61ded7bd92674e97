// How long a transaction takes against rq508-sim, and how much processor time it uses. The
// channel's first look comes 50 ms after the write, so an answered transaction cannot be faster;
// a silent gateway ends at the first look made more than 300 ms after the write. The processor
// time shows that the wait sleeps and does not spin.
//
// Usage: link_bench [runs]   (default 25 runs for answered transactions, a third of that silent)

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_channel.h"
#include "link/transactions.h"
#include "platform/system.h"
#include "support/virtual_gateway_process.h"

namespace {

using namespace rq508;

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Figures {
    std::vector<double> wallMs;
    double cpuMsPerRun = 0;
    int failures = 0;  // outcomes other than the one expected
};

Figures Measure(int runs, const std::function<TransactionKind()>& transaction,
                TransactionKind expected) {
    Figures figures;
    const double cpuBefore = CpuMs();
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const TransactionKind kind = transaction();
        figures.wallMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        figures.failures += kind == expected ? 0 : 1;
    }
    figures.cpuMsPerRun = (CpuMs() - cpuBefore) / runs;
    std::sort(figures.wallMs.begin(), figures.wallMs.end());
    return figures;
}

void PrintRow(const char* name, const Figures& f, const char* aim) {
    const std::vector<double>& w = f.wallMs;
    std::printf("%-28s %5zu %10.1f %8.1f %8.1f %10.3f   %-12s %s\n", name, w.size(),
                w[w.size() / 2], w.front(), w.back(), f.cpuMsPerRun, aim,
                f.failures == 0 ? "" : (std::to_string(f.failures) + " unexpected").c_str());
}

bool StartGateway(testing::VirtualGatewayProcess& gateway, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--no-announce");
    std::string error;
    if (!gateway.Start(arguments, error)) {
        std::fprintf(stderr, "link_bench: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 25;
    const int silentRuns = std::max(3, runs / 3);

    testing::VirtualGatewayProcess answering;
    testing::VirtualGatewayProcess silent;
    if (!StartGateway(answering, {}) || !StartGateway(silent, {"--silent"})) {
        return 1;
    }
    const std::unique_ptr<SerialPortDevice> device = MakeSystemSerialPort();
    const std::unique_ptr<Clock> clock = MakeSystemClock();
    SerialChannel channel(*device, *clock);
    const GatewaySettings settings;
    const auto download = [&](const std::string& port) {
        return
            [&channel, &settings, port] { return DownloadSettings(channel, port, settings).kind; };
    };
    const auto upload = [&](const std::string& port) {
        return [&channel, port] { return UploadSettings(channel, port).kind; };
    };

    std::printf("%-28s %5s %10s %8s %8s %10s   %s\n", "transaction", "runs", "median ms", "min ms",
                "max ms", "cpu ms/run", "aim (median)");
    PrintRow("download, answered at once",
             Measure(runs, download(answering.PortPath()), TransactionKind::ReplyAccepted),
             "<= 55 ms");
    PrintRow("upload, answered at once",
             Measure(runs, upload(answering.PortPath()), TransactionKind::ReplyAccepted),
             "<= 55 ms");
    PrintRow("download, silent gateway",
             Measure(silentRuns, download(silent.PortPath()), TransactionKind::ReplyRejected),
             "300-355 ms");
    PrintRow("upload, silent gateway",
             Measure(silentRuns, upload(silent.PortPath()), TransactionKind::ReplyRejected),
             "300-355 ms");
    std::printf("cpu ms/run: processor time of this process per transaction (aim < 5 ms)\n");
    return 0;
}
