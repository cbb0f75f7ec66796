#include "mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quorvel.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Zelkora"));

    MainWindow window;
    window.show();
    return application.exec();
}
