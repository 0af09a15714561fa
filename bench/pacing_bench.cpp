// Generation pacing: the measured time of Generate against its nominal
// 5 n + 200 ms, for n = 200 and n = 1000, with the glowing label stopped and
// with it ticking (each tick pauses 50 ms, nesting into Generate's pauses).
// Runs the real window on the platform Qt picks (run it under xvfb-run).
#include "frmMain.h"
#include "frmMainWindow.h"

#include "tarvo/TypeLibrary.h"
#include "ui/Fonts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double measureGenerate(frmMain& form, int length)
{
    form.window().txtPassLen->setText(QString::number(length));
    QElapsedTimer clock;
    clock.start();
    const QString password = form.Generate();
    const double elapsed = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (password.size() != length)
        std::fprintf(stderr, "bench_pacing: expected %d characters, got %lld\n", length,
                     static_cast<long long>(password.size()));
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    ui::FontPreparation fonts;
    QApplication app(argc, argv);
    fonts.wait();
    frmMain form;
    form.Show();
    QApplication::processEvents();

    std::printf("Generate against its nominal time 5 n + 200 ms (median of 3 runs)\n");
    std::printf("  %-18s %6s %12s %12s %8s\n", "glowing label", "n", "nominal ms", "measured ms", "ratio");
    for (const int interval : {0, 50}) {
        form.window().XGlowLabel1->putPropertyById(tarvo::XGlowLabelDispId::Interval, std::int32_t(interval));
        for (const int length : {200, 1000}) {
            std::vector<double> runs;
            for (int run = 0; run < 3; ++run)
                runs.push_back(measureGenerate(form, length));
            const double nominal = 5.0 * length + 200.0;
            const double measured = median(runs);
            std::printf("  %-18s %6d %12.0f %12.1f %8.3f   (target <= 1.05)\n",
                        interval ? "ticking every 50 ms" : "stopped", length, nominal, measured, measured / nominal);
        }
    }
    return 0;
}
