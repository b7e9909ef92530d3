// Drives the real desktop program through runs of "Make adi file" on the installation in a
// Wine prefix, and times each from the click until the ADIF file is in place (the click
// returns when the run has ended). The run settings are what the run-settings dialog shows
// for that prefix, accepted with OK. The exporter lies next to this program.
//
//     QT_QPA_PLATFORM=offscreen morvask-desktop-bench PREFIX [runs] >trace 2>times
//
// Standard output is the desktop program's own and receives the length trace of every run;
// the times, one "run N: S s ..." line each, go to standard error. Used by bench/desktop_bench.sh.

#include <QApplication>
#include <QPushButton>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/StandardDescriptors.h"
#include "settings/IniReaders.h"
#include "ui/CMainFrame.h"
#include "ui/CMorvaskApp.h"
#include "ui/CMorvaskView.h"

namespace {

// Processor time of this process (not of the exporter), user and system.
double OwnCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class AcceptedDialog : public IRunSettingsDialog {
public:
    explicit AcceptedDialog(RunSettings values) : m_values(std::move(values)) {}
    bool DoModal() override { return true; }
    RunSettings Values() const override { return m_values; }

private:
    RunSettings m_values;
};

}  // namespace

int main(int argc, char* argv[]) {
    StandardDescriptors::Ensure();
    QApplication qtApp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: morvask-desktop-bench PREFIX [runs]\n");
        return 2;
    }
    const WinePrefix prefix(argv[1]);
    const int runs = argc > 2 ? std::atoi(argv[2]) : 1;

    CMorvaskApp app;
    app.SetPrefix(prefix);
    app.SetDialogFactory([&prefix] { return std::make_unique<AcceptedDialog>(ReadRunSettingsDefaults(prefix)); });
    bool failed = false;
    app.SetMessageSink([&failed](const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    });
    if (!app.InitInstance() || failed) return 1;

    auto* makeAdiFile = app.MainFrame()->View()->findChild<QPushButton*>(QStringLiteral("makeAdiFile_1000"));
    for (int run = 1; run <= runs && !failed; ++run) {
        const double cpuBefore = OwnCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        makeAdiFile->click();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "run %d: %.3f s (the desktop process itself: %.3f s of processor time)\n", run,
                     took.count(), OwnCpuSeconds() - cpuBefore);
    }
    return failed ? 1 : 0;
}
