// Times File > Open of a CSV file on the real main window, the options dialog answered at
// once, and prints the time and the resident memory.
#include "filedialog.h"
#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

namespace {

long statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_import FILE.csv\n");
        return 2;
    }
    MainWindow window;
    const long before = statusKilobytes("VmRSS:");
    FileDialog::setNextOpenFileName(QString::fromLocal8Bit(argv[1]));
    QTimer::singleShot(0, [] {
        if (QWidget* options = QApplication::activeModalWidget())
            options->close();
    });
    QAction* open = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == QLatin1String("&Open"))
            open = action;
    QElapsedTimer timer;
    timer.start();
    open->trigger();
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("rows %d  import %.3f s  resident %.0f MB (before %.0f MB, peak %.0f MB)\n", window.table()->rowCount(),
                seconds, statusKilobytes("VmRSS:") / 1024.0, before / 1024.0, statusKilobytes("VmHWM:") / 1024.0);
    return 0;
}
