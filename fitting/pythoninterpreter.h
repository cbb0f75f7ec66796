#pragma once

#include "pyref.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

// Owns the embedded Python interpreter and calls functions of Python modules with sample
// vectors and numbers. The interpreter is started by the first instance and finalised when
// the process exits.
class PythonInterpreter : public QObject
{
    Q_OBJECT
public:
    explicit PythonInterpreter(QObject* parent = nullptr);
    ~PythonInterpreter() override;

    // Imports moduleName, searching directory first and then the folder of the shipped fit
    // module, and calls its function with the arguments (QVector<double> becomes a tuple of
    // floats, a double a float). A list result gives its items as doubles (-1.0 for an item
    // that is not a number). A str result gives no values and sets errorText to the string
    // (bytes are read as Latin-1); any other result gives no values. When the call itself
    // fails, errorText names the cause (except for a result of another type) and
    // lastFailure() tells it apart from a string the function returned.
    QVector<double> callFunction(const QString& directory, const QString& moduleName, const QString& functionName,
                                 const QList<QVariant>& arguments, QString& errorText);

    // Why the last call produced no result of the function's own: the module could not be
    // loaded, the function is missing or not callable, an argument could not be passed, the
    // function raised, or it returned neither a list nor a string. Empty otherwise.
    QString lastFailure() const { return failure; }

    // Drops a module from Python's module cache, so that the next call reads its file again.
    void forgetModule(const QString& moduleName);

    // The folder searched after the directory argument; by default the executable's folder,
    // where the build places the shipped fit module. An empty path disables it.
    static void setShippedModuleDirectory(const QString& directory);
    static QString shippedModuleDirectory();

private:
    PyRef sequenceToTuple(const QVariant& vector) const;
    PyRef argumentTuple(const QList<QVariant>& arguments, QString& problem) const;
    void addToSearchPath(const QString& directory) const;
    QString moduleFile() const;
    QVector<double> fail(const QString& message, QString& errorText);

    PyRef module;
    int vectorTypeId;
    QString failure;
};
