// test_function(version): writes "Got version: <text form>" as one line to
// descriptor 1, past any redirection of sys.stdout.
#include <string>
#include <system_error>

#include "binding/bound_class.hpp"
#include "binding/convert.hpp"
#include "binding/errors.hpp"
#include "binding/functions.hpp"
#include "binding/guarded.hpp"
#include "binding/interpreter_lock.hpp"
#include "tolva/io/stdout_stream.hpp"

namespace tolva::binding {
namespace {

// Binds the one parameter `version` from a fast call; nullptr with a TypeError
// set when the arguments do not fit. The result is borrowed.
PyObject* bind_version_argument(PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  if (nargs > 1) {
    return PyErr_Format(PyExc_TypeError,
                        "test_function() takes 1 positional arguments but %zd were given", nargs);
  }
  PyObject* bound = nargs == 1 ? args[0] : nullptr;
  Py_ssize_t nkw = kwnames != nullptr ? PyTuple_GET_SIZE(kwnames) : 0;
  for (Py_ssize_t i = 0; i < nkw; ++i) {
    PyObject* key = PyTuple_GET_ITEM(kwnames, i);
    if (!PyUnicode_Check(key) || PyUnicode_CompareWithASCIIString(key, "version") != 0) {
      return PyErr_Format(PyExc_TypeError,
                          "test_function() got an unexpected keyword argument '%S'", key);
    }
    if (bound != nullptr) {
      return raise(PyExc_TypeError, "test_function() got multiple values for argument 'version'");
    }
    bound = args[nargs + i];
  }
  if (bound == nullptr) {
    return raise(PyExc_TypeError,
                 "test_function() missing 1 required positional argument: 'version'");
  }
  return bound;
}

// Runs the interpreter's signal handlers when a signal interrupted the write,
// as the interpreter's own os.write does, and while the call waits for
// another thread's write: the call goes on unless a handler raised, and then
// ends with that exception pending. The module's writers wait for the stream
// without the interpreter lock, so taking it back here, with the stream held,
// cannot deadlock. It is taken back on the thread's own saved state
// (`context`), which may end a daemon thread at exit by a forced unwind:
// nothing on its way up is noexcept.
bool run_signal_handlers(void* context) {
  return static_cast<ReleasedLock*>(context)->with_lock([] { return PyErr_CheckSignals() == 0; });
}

PyObject* test_function(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
  PyObject* version = bind_version_argument(args, nargs, kwnames);
  if (version == nullptr) return nullptr;
  if (!is_instance<Version>(version)) {
    return raise(PyExc_TypeError, "argument 'version': '" + type_qualname(version) +
                                      "' object cannot be converted to 'Version'");
  }
  std::string line = "Got version: ";
  append_text_form(line, stored<Version>(version));
  line += '\n';

  // A blocked descriptor does not stall the other Python threads.
  const std::expected<void, std::error_code> written = without_interpreter_lock(
      [&](ReleasedLock& lock) { return io::write_stdout(line, run_signal_handlers, &lock); });
  if (!written && written.error() == std::errc::interrupted) {
    ensure_error_set();
    return nullptr;
  }
  if (!written) return raise_internal("failed printing to stdout: " + written.error().message());
  Py_RETURN_NONE;
}

}  // namespace

PyMethodDef test_function_def = {
    "test_function",
    reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(entry<test_function>)),
    METH_FASTCALL | METH_KEYWORDS,
    "test_function(version)\n--\n\n",
};

}  // namespace tolva::binding
