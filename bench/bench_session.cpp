// A long session on the real window: fits of both models, Open commands of a mid-size file,
// Plot commands, results windows closed. Prints resident memory after a warm-up and as the
// session goes on; it should stay flat.
#include "filedialog.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebView>
#include <cmath>
#include <cstdio>
#include <malloc.h>

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

QAction* action(MainWindow& window, const char* text)
{
    for (QAction* candidate : window.findChildren<QAction*>())
        if (candidate->text() == QLatin1String(text))
            return candidate;
    return nullptr;
}

void closeResultsWindows()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QWebView*>(widget) && widget->isVisible())
            widget->close(); // deletes itself
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    QFile csv(folder.filePath("study.csv"));
    csv.open(QIODevice::WriteOnly);
    for (int i = 0; i < 2000; ++i) {
        const double t = 0.01 * (i + 1);
        csv.write(QByteArray::number(t) + ',' + QByteArray::number(10 * std::exp(-1.5 * t) + 2 * std::exp(-0.1 * t))
                  + '\n');
    }
    csv.close();

    MainWindow window;
    window.show();
    const auto open = [&] {
        FileDialog::setNextOpenFileName(csv.fileName());
        QTimer::singleShot(0, [] {
            if (QWidget* options = QApplication::activeModalWidget())
                options->close();
        });
        action(window, "&Open")->trigger();
    };
    // One round: 5 fits of each model, 2 Opens, 2 Plots, 2 results windows closed per fit pair.
    const auto round = [&] {
        for (int i = 0; i < 5; ++i) {
            action(window, "&Single Exponential")->trigger();
            action(window, "&Double Exponential")->trigger();
            closeResultsWindows();
        }
        open();
        open();
        action(window, "&Plot")->trigger();
        action(window, "&Plot")->trigger();
        QCoreApplication::processEvents();
    };

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 10; ++i)
        round();
    malloc_trim(0);
    const long warm = residentKilobytes();
    std::printf("after warm-up (50 fits of each model, 20 Opens, 20 Plots): %.1f MB\n", warm / 1024.0);
    for (int i = 1; i <= 100; ++i) {
        round();
        if (i % 25 == 0) {
            malloc_trim(0);
            std::printf("after %3d more rounds (%d fits of each model, %d Opens, %d Plots): %.1f MB (%+.1f MB)\n", i,
                        5 * i, 2 * i, 2 * i, residentKilobytes() / 1024.0, (residentKilobytes() - warm) / 1024.0);
            std::fflush(stdout);
        }
    }
    std::printf("%.0f s in all\n", timer.elapsed() / 1000.0);
    return 0;
}
