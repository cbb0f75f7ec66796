// Times a fit command as a user triggers it (sheet read, fit, report, results window,
// clipboard) on the real main window: the first one of the process and warm ones, beside
// the bare call of the fit module through the bridge on the same data.
#include "curvefitter.h"
#include "estimates.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QWebView>
#include <algorithm>
#include <cstdio>

namespace {

const double times[] = {0.25, 0.5, 0.75, 1, 1.25, 2, 3, 4, 5, 6, 8};
const double concentrations[] = {1.5, 0.94, 0.78, 0.48, 0.37, 0.19, 0.12, 0.11, 0.08, 0.07, 0.05};

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile95(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, int(0.95 * values.size()))];
}

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const bool twoCompartments = argc < 2 || QByteArray(argv[1]) != "single";
    const int warmRuns = argc > 2 ? QByteArray(argv[2]).toInt() : 50;
    QDir::setCurrent(QDir::tempPath()); // no stray fit.py: the shipped module runs

    QElapsedTimer sinceStart;
    sinceStart.start();
    MainWindow window;
    window.show();
    const double windowMs = sinceStart.nsecsElapsed() / 1e6;
    for (int row = 0; row < 11; ++row) {
        window.table()->item(row, 0)->setText(QString::number(times[row]));
        window.table()->item(row, 1)->setText(QString::number(concentrations[row]));
    }
    QAction* command = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == (twoCompartments ? "&Double Exponential" : "&Single Exponential"))
            command = action;

    const auto runCommand = [&] {
        command->trigger();
        QApplication::processEvents();
    };
    const auto closeResults = [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QWebView*>(widget))
                delete widget;
    };

    const double first = millisecondsOf(runCommand);
    closeResults();
    QVector<double> warm, bare;
    for (int i = 0; i < warmRuns; ++i) {
        warm << millisecondsOf(runCommand);
        closeResults();
    }
    QVector<double> t(std::begin(times), std::end(times)), c(std::begin(concentrations), std::end(concentrations));
    CurveFitter& fitter = *window.fitter();
    for (int i = 0; i < warmRuns; ++i) {
        double p1, p2, p3, p4;
        bare << millisecondsOf([&] {
            if (twoCompartments)
                fitter.fitDoubleExponential(t, c, p1, p2, p3, p4, 1, 0.1, 1, 0.1);
            else
                fitter.fitSingleExponential(t, c, p1, p2, logLinearIntercept(t, c), logLinearSlope(t, c));
        });
    }
    std::printf("%s: window ready %.0f ms; first command %.0f ms; warm command median %.1f ms, p95 %.1f ms; "
                "bare fit-module call median %.1f ms\n",
                twoCompartments ? "two compartments" : "one compartment", windowMs, first, median(warm),
                percentile95(warm), median(bare));
    return 0;
}
