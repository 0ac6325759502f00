#include "binding/typed_slots.hpp"

#include "binding/type_from_spec.hpp"

namespace tolva::binding {
namespace {

// Large enough for the debug form of any ordinary version.
constexpr std::size_t scratch_keep_capacity = 4096;

thread_local std::string scratch;

}  // namespace

PyTypeObject* cached_type(PyTypeObject*& cache, PyType_Spec& spec) noexcept {
  if (cache != nullptr) return cache;
  PyObject* created = type_from_spec(spec);
  if (created == nullptr) {
    ensure_error_set();
    return nullptr;
  }
  // Creation can run Python code; another thread may have filled the cache meanwhile.
  if (cache == nullptr) {
    cache = reinterpret_cast<PyTypeObject*>(created);
  } else {
    Py_DECREF(created);
  }
  return cache;
}

bool is_instance_of(PyTypeObject* type, PyObject* obj) noexcept {
  if (type == nullptr) {
    PyErr_Clear();
    return false;
  }
  return PyObject_TypeCheck(obj, type);
}

std::string& scratch_text() noexcept { return scratch; }

void trim_scratch_text() noexcept {
  if (scratch.capacity() > scratch_keep_capacity) std::string().swap(scratch);
}

bool refuse_deletion(PyObject* value) noexcept {
  if (value != nullptr) return false;
  raise(PyExc_AttributeError, "can't delete attribute");
  return true;
}

}  // namespace tolva::binding
