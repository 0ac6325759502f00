// Placeholder so the module links; replaced by the logging subscriber's entry.
#include "binding/functions.hpp"

namespace tolva::binding {
namespace {

PyObject* init_tracing(PyObject*, PyObject*) { Py_RETURN_NONE; }

}  // namespace

PyMethodDef init_tracing_def = {"init_tracing", init_tracing, METH_NOARGS,
                                "init_tracing()\n--\n\n"};

}  // namespace tolva::binding
