#pragma once

#include <utility>

struct _object;
typedef _object PyObject;

// Owns one Python reference and releases it exactly once.
class PyRef
{
public:
    PyRef() = default;
    // Takes over a new reference (what most API calls return); null is allowed.
    static PyRef steal(PyObject* object) { return PyRef(object); }
    // Takes a reference of its own to a borrowed object.
    static PyRef borrow(PyObject* object);

    PyRef(const PyRef&) = delete;
    PyRef& operator=(const PyRef&) = delete;
    PyRef(PyRef&& other) noexcept
        : object(std::exchange(other.object, nullptr))
    {}
    PyRef& operator=(PyRef&& other) noexcept;
    ~PyRef();

    PyObject* get() const { return object; }
    // Gives the reference away to a call that steals it (PyTuple_SetItem).
    PyObject* release() { return std::exchange(object, nullptr); }
    void reset();
    explicit operator bool() const { return object != nullptr; }

private:
    explicit PyRef(PyObject* object)
        : object(object)
    {}
    PyObject* object = nullptr;
};
