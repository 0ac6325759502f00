#include "binding/bound_class.hpp"

#include <cstring>

namespace tolva::binding {
namespace {

// Large enough for the debug form of any ordinary version.
constexpr std::size_t scratch_keep_capacity = 4096;

thread_local std::string scratch;

// PyType_FromSpec that keeps the class's call signature. Before 3.10 the
// interpreter stores the docstring without its "Name(...)\n--\n\n" head, which
// takes __text_signature__ away; the full text goes back into tp_doc, where
// __text_signature__ reads it, while __doc__ keeps the plain text.
PyObject* type_from_spec(PyType_Spec& spec) noexcept {
  PyObject* type = PyType_FromSpec(&spec);
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

}  // namespace

std::int64_t live_instances = 0;

PyTypeObject* create_class(PyTypeObject*& cache, const ClassDef& def) noexcept {
  if (cache != nullptr) return cache;
  PyObject* created = type_from_spec(const_cast<PyType_Spec&>(def.spec));
  if (created == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  // Creation can run Python code; another thread may have filled the cache
  // meanwhile, and the first one stored wins so instance tests always see the
  // same class.
  if (cache != nullptr) {
    Py_DECREF(created);
    return cache;
  }
  cache = reinterpret_cast<PyTypeObject*>(created);
#ifdef Py_TPFLAGS_IMMUTABLETYPE
  // Only an immutable class may have it: this entry would not see a __new__
  // assigned to the class later.
  if (def.vectorcall != nullptr) cache->tp_vectorcall = def.vectorcall;
#endif
  return cache;
}

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
