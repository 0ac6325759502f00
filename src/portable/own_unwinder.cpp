// The module carries its own copy of libgcc's unwinder, while the system's
// copy (libgcc_s, which glibc loads for pthread_exit) runs the forced unwind
// that ends a thread. When that unwind reaches a frame of the module with
// cleanups, the module's personality routine sets registers through its own
// copy, whose table of register sizes is filled only the first time that copy
// walks a stack; empty, it aborts the process. So the module's copy walks one
// stack as the module is loaded.
#include <unwind.h>

namespace {

_Unwind_Reason_Code stop_at_first_frame(_Unwind_Context*, void*) { return _URC_END_OF_STACK; }

[[gnu::constructor]] void prepare_own_unwinder() {
  _Unwind_Backtrace(stop_at_first_frame, nullptr);
}

}  // namespace
