#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include "pythoninterpreter.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaType>
#include <cstdlib>

PyRef PyRef::borrow(PyObject* object)
{
    Py_XINCREF(object);
    return PyRef(object);
}

PyRef& PyRef::operator=(PyRef&& other) noexcept
{
    if (this != &other) {
        Py_XDECREF(object);
        object = std::exchange(other.object, nullptr);
    }
    return *this;
}

PyRef::~PyRef()
{
    Py_XDECREF(object);
}

void PyRef::reset()
{
    Py_XDECREF(std::exchange(object, nullptr));
}

namespace {

bool shippedDirectorySet = false;
QString shippedDirectory;
// sys.path as the interpreter started with it, to restore it should a module delete it.
PyObject* initialSearchPath = nullptr; // owned, released by finishPython

QString toQString(PyObject* text)
{
    Py_ssize_t size = 0;
    if (const char* utf8 = PyUnicode_AsUTF8AndSize(text, &size))
        return QString::fromUtf8(utf8, static_cast<int>(size));
    PyErr_Clear(); // lone surrogates
    PyRef bytes = PyRef::steal(PyUnicode_AsEncodedString(text, "utf-8", "replace"));
    if (!bytes) {
        PyErr_Clear();
        return QString();
    }
    return QString::fromUtf8(PyBytes_AS_STRING(bytes.get()), static_cast<int>(PyBytes_GET_SIZE(bytes.get())));
}

QString typeName(PyObject* object)
{
    return QString::fromUtf8(Py_TYPE(object)->tp_name);
}

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text.trimmed();
}

// The pending Python error as "Type: message", cleared. When printTraceback is set, the
// traceback goes to sys.stderr first; unlike PyErr_Print this never ends the process on
// SystemExit.
QString takePythonError(bool printTraceback)
{
    PyObject* rawType = nullptr;
    PyObject* rawValue = nullptr;
    PyObject* rawTraceback = nullptr;
    PyErr_Fetch(&rawType, &rawValue, &rawTraceback);
    PyErr_NormalizeException(&rawType, &rawValue, &rawTraceback);
    PyRef type = PyRef::steal(rawType);
    PyRef value = PyRef::steal(rawValue);
    PyRef traceback = PyRef::steal(rawTraceback);
    if (!type)
        return QString();
    if (printTraceback) {
        PyErr_Display(type.get(), value.get(), traceback.get());
        PyErr_Clear();
    }

    QString name = QString::fromUtf8(reinterpret_cast<PyTypeObject*>(type.get())->tp_name);
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
    QString message;
    if (value) {
        PyRef text = PyRef::steal(PyObject_Str(value.get()));
        if (text && PyUnicode_Check(text.get()))
            message = toQString(text.get());
        else
            message = QStringLiteral("<exception str() failed>");
        PyErr_Clear();
    }
    return oneLine(message.isEmpty() ? name : name + QStringLiteral(": ") + message);
}

void finishPython()
{
    Py_CLEAR(initialSearchPath);
    Py_Finalize();
}

void invalidateImportCaches()
{
    PyRef importlib = PyRef::steal(PyImport_ImportModule("importlib"));
    PyRef done = PyRef::steal(importlib ? PyObject_CallMethod(importlib.get(), "invalidate_caches", nullptr) : nullptr);
    if (!done)
        PyErr_Clear();
}

} // namespace

PythonInterpreter::PythonInterpreter(QObject* parent)
    : QObject(parent)
{
    if (!Py_IsInitialized()) {
        Py_InitializeEx(0); // Zelkora keeps its own SIGINT handling
        // Extension modules such as numpy cannot be loaded again into a re-initialised
        // interpreter, so Python lives until the process ends, however many
        // PythonInterpreter objects come and go.
        std::atexit(finishPython);
        initialSearchPath = PySequence_List(PySys_GetObject("path"));
        if (!initialSearchPath)
            PyErr_Clear();
    }
    vectorTypeId = qRegisterMetaType<QVector<double>>("QVector<double>");
}

PythonInterpreter::~PythonInterpreter()
{
    module.reset();
}

void PythonInterpreter::setShippedModuleDirectory(const QString& directory)
{
    shippedDirectory = directory;
    shippedDirectorySet = true;
}

QString PythonInterpreter::shippedModuleDirectory()
{
    if (!shippedDirectorySet && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return shippedDirectory;
}

void PythonInterpreter::addToSearchPath(const QString& directory) const
{
    if (directory.isEmpty())
        return;
    PyObject* path = PySys_GetObject("path"); // borrowed
    if (!path || !PyList_Check(path)) {
        // A module may have deleted or replaced sys.path; the fit still needs one.
        PyRef fresh = PyRef::steal(initialSearchPath ? PySequence_List(initialSearchPath) : PyList_New(0));
        if (!fresh || PySys_SetObject("path", fresh.get()) != 0) {
            PyErr_Clear();
            return;
        }
        path = PySys_GetObject("path");
    }
    PyRef entry = PyRef::steal(PyUnicode_FromString(directory.toUtf8().constData()));
    if (!entry) {
        PyErr_Clear();
        return;
    }
    const int present = PySequence_Contains(path, entry.get());
    if (present != 0) {
        PyErr_Clear();
        return;
    }
    if (PyList_Append(path, entry.get()) != 0)
        PyErr_Clear();
}

QString PythonInterpreter::moduleFile() const
{
    PyRef file = PyRef::steal(PyObject_GetAttrString(module.get(), "__file__"));
    if (!file || !PyUnicode_Check(file.get())) {
        PyErr_Clear();
        return QStringLiteral("without a file");
    }
    return QDir::toNativeSeparators(toQString(file.get()));
}

QVector<double> PythonInterpreter::fail(const QString& message, QString& errorText)
{
    failure = message;
    errorText = message;
    return {};
}

PyRef PythonInterpreter::sequenceToTuple(const QVariant& vector) const
{
    QVector<double> values;
    if (vector.userType() == vectorTypeId) {
        values = vector.value<QVector<double>>();
    } else {
        QVariant converted = vector;
        if (converted.convert(vectorTypeId))
            values = converted.value<QVector<double>>();
    }
    PyRef tuple = PyRef::steal(PyTuple_New(values.size()));
    for (int i = 0; tuple && i < values.size(); ++i)
        PyTuple_SetItem(tuple.get(), i, PyFloat_FromDouble(values[i]));
    return tuple;
}

PyRef PythonInterpreter::argumentTuple(const QList<QVariant>& arguments, QString& problem) const
{
    PyRef tuple = PyRef::steal(PyTuple_New(arguments.size()));
    for (int i = 0; tuple && i < arguments.size(); ++i) {
        const QVariant& argument = arguments[i];
        PyRef item;
        if (argument.canConvert(vectorTypeId))
            item = sequenceToTuple(argument);
        else if (argument.userType() == QMetaType::Double)
            item = PyRef::steal(PyFloat_FromDouble(argument.toDouble()));
        if (!item) {
            PyErr_Clear();
            problem = QStringLiteral("argument %1 is a %2, which cannot be passed to Python")
                          .arg(i + 1)
                          .arg(QString::fromLatin1(argument.typeName() ? argument.typeName() : "invalid value"));
            return PyRef();
        }
        PyTuple_SetItem(tuple.get(), i, item.release());
    }
    return tuple;
}

void PythonInterpreter::forgetModule(const QString& moduleName)
{
    if (PyObject* modules = PyImport_GetModuleDict())
        if (PyDict_DelItemString(modules, moduleName.toUtf8().constData()) != 0)
            PyErr_Clear();
    module.reset();
}

QVector<double> PythonInterpreter::callFunction(const QString& directory, const QString& moduleName,
                                                const QString& functionName, const QList<QVariant>& arguments,
                                                QString& errorText)
{
    failure.clear();
    addToSearchPath(directory);
    addToSearchPath(shippedModuleDirectory());

    const QByteArray moduleUtf8 = moduleName.toUtf8();
    if (!PyDict_GetItemString(PyImport_GetModuleDict(), moduleUtf8.constData()))
        invalidateImportCaches(); // a fit.py may have appeared since the last look
    module.reset();
    {
        PyRef name = PyRef::steal(PyUnicode_FromString(moduleUtf8.constData()));
        module = PyRef::steal(name ? PyImport_Import(name.get()) : nullptr);
    }
    if (!module)
        return fail(
            QStringLiteral("The fit module '%1' could not be loaded: %2").arg(moduleName, takePythonError(false)),
            errorText);

    const QString qualifiedName = moduleName + QLatin1Char('.') + functionName;
    PyRef function = PyRef::steal(PyObject_GetAttrString(module.get(), functionName.toUtf8().constData()));
    if (!function) {
        PyErr_Clear();
        return fail(
            QStringLiteral("The fit module '%1' (%2) has no function '%3'").arg(moduleName, moduleFile(), functionName),
            errorText);
    }
    if (!PyCallable_Check(function.get()))
        return fail(QStringLiteral("'%3' in the fit module '%1' (%2) is a %4, not a function")
                        .arg(moduleName, moduleFile(), functionName, typeName(function.get())),
                    errorText);

    QString problem;
    PyRef argumentsTuple = argumentTuple(arguments, problem);
    if (!argumentsTuple)
        return fail(QStringLiteral("Cannot call %1: %2").arg(qualifiedName, problem), errorText);

    PyRef result = PyRef::steal(PyObject_CallObject(function.get(), argumentsTuple.get()));
    argumentsTuple.reset();
    if (!result)
        return fail(QStringLiteral("%1 raised %2").arg(qualifiedName, takePythonError(true)), errorText);

    QVector<double> values;
    if (PyList_Check(result.get())) {
        const Py_ssize_t size = PyList_Size(result.get());
        values.reserve(static_cast<int>(size));
        for (Py_ssize_t i = 0; i < size; ++i) {
            const double value = PyFloat_AsDouble(PyList_GetItem(result.get(), i));
            if (value == -1.0 && PyErr_Occurred())
                PyErr_Clear();
            values.append(value);
        }
    } else if (PyUnicode_Check(result.get())) {
        errorText = toQString(result.get());
    } else if (PyBytes_Check(result.get())) {
        errorText
            = QString::fromLatin1(PyBytes_AS_STRING(result.get()), static_cast<int>(PyBytes_GET_SIZE(result.get())));
    } else {
        failure = QStringLiteral("%1 returned a %2 instead of a list of numbers")
                      .arg(qualifiedName, typeName(result.get()));
    }
    return values;
}
