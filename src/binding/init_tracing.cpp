// init_tracing(): installs the process-wide log subscriber, once.
#include "binding/errors.hpp"
#include "binding/functions.hpp"
#include "binding/guarded.hpp"
#include "tolva/log/fmt_subscriber.hpp"
#include "tolva/log/subscriber.hpp"

namespace tolva::binding {
namespace {

PyObject* init_tracing(PyObject*, PyObject*) {
  log::FmtOptions options;
  options.colour = log::colour_from_environment();
  // A refused subscriber is dropped here and leaves the live list with it.
  if (!log::set_global_default(log::make_fmt_subscriber(options))) {
    return raise(PyExc_RuntimeError, "a global default trace dispatcher has already been set");
  }
  Py_RETURN_NONE;
}

}  // namespace

PyMethodDef init_tracing_def = {"init_tracing", entry<init_tracing>, METH_NOARGS,
                                "init_tracing()\n--\n\n"};

}  // namespace tolva::binding
