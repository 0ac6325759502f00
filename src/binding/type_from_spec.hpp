#pragma once

#include "binding/py_ref.hpp"

#include <cstring>

namespace tolva::binding {

// PyType_FromSpec that keeps the class's call signature. Before 3.10 the
// interpreter stores the docstring without its "Name(...)\n--\n\n" head, which
// takes __text_signature__ away; the full text goes back into tp_doc, where
// __text_signature__ reads it, while __doc__ keeps the plain text.
// A new reference, or nullptr with an exception set.
inline PyObject* type_from_spec(PyType_Spec& spec) noexcept {
  PyObject* type = PyType_FromSpec(&spec);
#if PY_VERSION_HEX < 0x030A0000
  if (type == nullptr) return nullptr;
  for (const PyType_Slot* slot = spec.slots; slot->slot != 0; ++slot) {
    if (slot->slot != Py_tp_doc || slot->pfunc == nullptr) continue;
    const char* doc = static_cast<const char*>(slot->pfunc);
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

}  // namespace tolva::binding
