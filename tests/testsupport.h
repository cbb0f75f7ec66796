#pragma once

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>
#include <cmath>

// Gives each test process its own empty settings store and runtime folder, so that tests
// never read or write the user's real settings.
class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + QStringLiteral("/cache")));
        const QString runtime = home.path() + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    QString path() const { return home.path(); }

private:
    QTemporaryDir home;
};

inline void setZelkoraIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quorvel.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Zelkora"));
}

inline bool fuzzyCompare(double actual, double expected, double relativeTolerance)
{
    if (actual == expected)
        return true;
    return std::fabs(actual - expected) <= relativeTolerance * std::fabs(expected);
}

// Writes a file, creating its folder; returns the path.
inline QString writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(contents);
    return path;
}

// Triggers the window's action with this text, as choosing it from its menu does.
inline void triggerAction(QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text)
            action->trigger();
}

#define ZELKORA_TEST_MAIN(TestObject)                                                                                  \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        IsolatedEnvironment environment;                                                                               \
        QApplication application(argc, argv);                                                                          \
        setZelkoraIdentity();                                                                                          \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }

#define ZELKORA_CORE_TEST_MAIN(TestObject)                                                                             \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        IsolatedEnvironment environment;                                                                               \
        QCoreApplication application(argc, argv);                                                                      \
        setZelkoraIdentity();                                                                                          \
        TestObject test;                                                                                               \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
