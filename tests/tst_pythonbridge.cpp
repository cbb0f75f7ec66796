#include "pythoninterpreter.h"
#include "testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <memory>

using Vector = QVector<double>;
Q_DECLARE_METATYPE(Vector)

namespace {

const QByteArray bridgeModule = R"PY(
import os
import sys

calls = []

def silence(*args):
    sys.stderr = open(os.devnull, 'w')
    return []

def restore(*args):
    sys.stderr = sys.__stderr__
    return []

def floats(*args): return [1.5, 0.25]
def integers(*args): return [2, 3]
def empty(*args): return []
def text(*args): return 'no convergence'
def latin1(*args): return b'caf\xe9'
def pair(*args): return (1.0, 2.0)
def nothing(*args): return None
def number(*args): return 4.0
def mixed(*args): return [1.0, 'x', None, [2.0], 3]
def subclass(*args):
    class Values(list): pass
    return Values([7.0, 8.0])
def raises(*args): raise ValueError('bad data')
def exits(*args): sys.exit(3)
def broken_message(*args):
    class Broken(Exception):
        def __str__(self): raise RuntimeError('no text')
    raise Broken()
not_callable = 42

def kinds(*args):
    return ' '.join(type(a).__name__ + (str(len(a)) if isinstance(a, tuple) else '') for a in args)

def echo(*args):
    flat = []
    for a in args:
        flat.extend(a if isinstance(a, tuple) else (a,))
    return flat

def counted(*args):
    calls.append(1)
    return [float(len(calls)), float(sys.path.count('.'))]
)PY";

} // namespace

class PythonBridgeTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void resultConversion_data();
    void resultConversion();
    void callFailures_data();
    void callFailures();
    void argumentConversion_data();
    void argumentConversion();
    void unsupportedArgumentIsRefused();
    void repeatedCallsReuseModuleAndPath();
    void pendingErrorDoesNotLeakIntoNextCall();
    void residentMemoryFlatOverManyCalls();

private:
    QVector<double> call(const QString& function, const QList<QVariant>& arguments, QString& error,
                         const QString& module = QStringLiteral("bridge_module"));

    QTemporaryDir folder;
    std::unique_ptr<PythonInterpreter> interpreter;
};

void PythonBridgeTest::initTestCase()
{
    QVERIFY(folder.isValid());
    writeFile(folder.filePath("bridge_module.py"), bridgeModule);
    QVERIFY(QDir::setCurrent(folder.path()));
    interpreter = std::make_unique<PythonInterpreter>();
}

QVector<double> PythonBridgeTest::call(const QString& function, const QList<QVariant>& arguments, QString& error,
                                       const QString& module)
{
    return interpreter->callFunction(QStringLiteral("."), module, function, arguments, error);
}

void PythonBridgeTest::resultConversion_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<Vector>("values");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("failed");
    QTest::newRow("list of floats") << "floats" << Vector{1.5, 0.25} << "" << false;
    QTest::newRow("list of ints") << "integers" << Vector{2, 3} << "" << false;
    QTest::newRow("list subclass") << "subclass" << Vector{7, 8} << "" << false;
    QTest::newRow("empty list") << "empty" << Vector{} << "" << false;
    QTest::newRow("non-number items give -1") << "mixed" << Vector{1, -1, -1, -1, 3} << "" << false;
    QTest::newRow("str") << "text" << Vector{} << "no convergence" << false;
    QTest::newRow("bytes as Latin-1") << "latin1" << Vector{} << QString::fromUtf8("café") << false;
    QTest::newRow("tuple") << "pair" << Vector{} << "" << true;
    QTest::newRow("None") << "nothing" << Vector{} << "" << true;
    QTest::newRow("number") << "number" << Vector{} << "" << true;
}

void PythonBridgeTest::resultConversion()
{
    QFETCH(QString, function);
    QFETCH(Vector, values);
    QFETCH(QString, error);
    QFETCH(bool, failed);
    QString errorText;
    QCOMPARE(call(function, {}, errorText), values);
    QCOMPARE(errorText, error);
    QCOMPARE(!interpreter->lastFailure().isEmpty(), failed);
}

void PythonBridgeTest::callFailures_data()
{
    QTest::addColumn<QString>("module");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("missing module") << "absent_module"
                                    << "f"
                                    << "could not be loaded: ModuleNotFoundError: No module named 'absent_module'";
    QTest::newRow("missing callable") << "bridge_module"
                                      << "LM1COMP"
                                      << "has no function 'LM1COMP'.*bridge_module\\.py|bridge_module\\.py.*has no "
                                         "function 'LM1COMP'";
    QTest::newRow("not callable") << "bridge_module"
                                  << "not_callable"
                                  << "'not_callable' .* is a int, not a function";
    QTest::newRow("raises") << "bridge_module"
                            << "raises"
                            << "bridge_module.raises raised ValueError: bad data";
    QTest::newRow("sys.exit is caught") << "bridge_module"
                                        << "exits"
                                        << "raised SystemExit: 3";
    QTest::newRow("broken __str__") << "bridge_module"
                                    << "broken_message"
                                    << "raised Broken: <exception str\\(\\) failed>";
}

void PythonBridgeTest::callFailures()
{
    QFETCH(QString, module);
    QFETCH(QString, function);
    QFETCH(QString, pattern);
    QString errorText;
    QVERIFY(call(function, {QVariant(1.0)}, errorText, module).isEmpty());
    QVERIFY2(errorText.contains(QRegularExpression(pattern)), qPrintable(errorText));
    QCOMPARE(interpreter->lastFailure(), errorText);
    // The process is still alive and the bridge still works.
    QString next;
    QCOMPARE(call(QStringLiteral("floats"), {}, next), (Vector{1.5, 0.25}));
    QVERIFY(interpreter->lastFailure().isEmpty());
}

void PythonBridgeTest::argumentConversion_data()
{
    QTest::addColumn<QList<QVariant>>("arguments");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<Vector>("flat");
    QTest::newRow("empty vector") << QList<QVariant>{QVariant::fromValue(Vector{})} << "tuple0" << Vector{};
    QTest::newRow("three values") << QList<QVariant>{QVariant::fromValue(Vector{1, 2.5, -3})} << "tuple3"
                                  << Vector{1, 2.5, -3};
    QTest::newRow("a double") << QList<QVariant>{QVariant(0.5)} << "float" << Vector{0.5};
    QTest::newRow("fit arguments") << QList<QVariant>{QVariant::fromValue(Vector{1, 2}),
                                                      QVariant::fromValue(Vector{8, 4}), QVariant(1.0), QVariant(0.1)}
                                   << "tuple2 tuple2 float float" << Vector{1, 2, 8, 4, 1, 0.1};
}

void PythonBridgeTest::argumentConversion()
{
    QFETCH(QList<QVariant>, arguments);
    QFETCH(QString, kinds);
    QFETCH(Vector, flat);
    QString errorText;
    QVERIFY(call(QStringLiteral("kinds"), arguments, errorText).isEmpty());
    QCOMPARE(errorText, kinds);
    QString echoError;
    QCOMPARE(call(QStringLiteral("echo"), arguments, echoError), flat);
}

void PythonBridgeTest::unsupportedArgumentIsRefused()
{
    QString errorText;
    QVERIFY(call(QStringLiteral("kinds"), {QVariant(1.0), QVariant(QStringLiteral("x"))}, errorText).isEmpty());
    QVERIFY2(errorText.contains(QStringLiteral("argument 2 is a QString")), qPrintable(errorText));
    QVERIFY(!interpreter->lastFailure().isEmpty());
}

void PythonBridgeTest::repeatedCallsReuseModuleAndPath()
{
    writeFile(folder.filePath("counting_module.py"), bridgeModule);
    QString errorText;
    const Vector first = call(QStringLiteral("counted"), {}, errorText, QStringLiteral("counting_module"));
    const Vector second = call(QStringLiteral("counted"), {}, errorText, QStringLiteral("counting_module"));
    QCOMPARE(first, (Vector{1, 1}));
    QCOMPARE(second, (Vector{2, 1})); // the same module object, "." still on sys.path once
}

void PythonBridgeTest::pendingErrorDoesNotLeakIntoNextCall()
{
    QString errorText;
    call(QStringLiteral("mixed"), {}, errorText);
    QCOMPARE(call(QStringLiteral("floats"), {}, errorText), (Vector{1.5, 0.25}));
    QVERIFY(errorText.isEmpty());
}

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

void PythonBridgeTest::residentMemoryFlatOverManyCalls()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer keeps freed memory in quarantine; its leak checker covers this build");
#endif
    const QList<QVariant> arguments{QVariant::fromValue(Vector(50, 1.0)), QVariant::fromValue(Vector(50, 2.0)),
                                    QVariant(1.0), QVariant(0.1)};
    const auto callMany = [&](int count) {
        for (int i = 0; i < count; ++i) {
            QString errorText;
            call(i % 2 ? QStringLiteral("echo") : QStringLiteral("raises"), arguments, errorText);
        }
    };
    QString ignored;
    call(QStringLiteral("silence"), {}, ignored); // the raising calls print 5,500 tracebacks
    callMany(1000);
    const long before = residentKilobytes();
    callMany(10000);
    const long growth = residentKilobytes() - before;
    call(QStringLiteral("restore"), {}, ignored);
    // A leaked argument tuple alone would cost about 10 MB over these calls.
    QVERIFY2(growth < 3000, qPrintable(QString("grew by %1 kB").arg(growth)));
}

ZELKORA_CORE_TEST_MAIN(PythonBridgeTest)
#include "tst_pythonbridge.moc"
