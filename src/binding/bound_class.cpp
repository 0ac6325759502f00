#include "binding/bound_class.hpp"

#include <cstring>

namespace tolva::binding {
namespace {

// Large enough for the debug form of any ordinary version.
constexpr std::size_t scratch_keep_capacity = 4096;

thread_local std::string scratch;

}  // namespace

// Before 3.10 the interpreter stores the docstring without its "Name(...)\n--\n\n" head, which
// takes __text_signature__ away; the full text goes back into tp_doc, where
// __text_signature__ reads it, while __doc__ keeps the plain text.
PyObject* class_from_spec(const PyType_Spec& spec) noexcept {
  PyObject* type = PyType_FromSpec(const_cast<PyType_Spec*>(&spec));
#if PY_VERSION_HEX < 0x030A0000
  if (type == nullptr) return nullptr;
  for (const PyType_Slot* item = spec.slots; item->slot != 0; ++item) {
    if (item->slot != Py_tp_doc || item->pfunc == nullptr) continue;
    const char* doc = static_cast<const char*>(item->pfunc);
    std::size_t size = std::strlen(doc) + 1;
    // The class frees tp_doc with PyObject_Free when it dies.
    char* copy = static_cast<char*>(PyObject_Malloc(size));
    if (copy == nullptr) {
      Py_DECREF(type);
      return PyErr_NoMemory();
    }
    std::memcpy(copy, doc, size);
    PyTypeObject* created = reinterpret_cast<PyTypeObject*>(type);
    PyObject_Free(const_cast<char*>(created->tp_doc));
    created->tp_doc = copy;
  }
#endif
  return type;
}

std::int64_t live_instances = 0;

std::string& scratch_text() noexcept { return scratch; }

void trim_scratch_text() noexcept {
  if (scratch.capacity() > scratch_keep_capacity) std::string().swap(scratch);
}

}  // namespace tolva::binding

#ifdef TOLVA_INSTANCE_COUNTS
// The live-instance count, read by the leak tests through the module's
// dynamic symbols in builds made for testing (meson option instance_counts);
// the module's Python attributes stay as they are.
extern "C" __attribute__((visibility("default"))) std::int64_t tolva_live_instances(void) {
  return tolva::binding::live_instances;
}
#endif
