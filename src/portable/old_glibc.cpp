// The extension module is loaded by interpreters on systems as old as glibc
// 2.31, so it needs no symbol version newer than GLIBC_2.31. libstdc++ and
// libgcc are linked into it, and they and the core refer to a few functions
// that later glibc releases added or gave new versions; the linker's --wrap
// (see meson.build beside this file) sends those references here.
#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>

// libstdc++ reads this (glibc 2.32) to skip atomic reference counts while a
// process has one thread; zero, "maybe several threads", is always safe.
extern "C" {
char __libc_single_threaded = 0;
}

// glibc 2.34 moved the thread functions from libpthread into libc under a new
// version; the old version names the same functions, in libpthread before 2.34.
#define TOLVA_BIND_OLD(ret, name, version, params, args) \
  extern "C" ret name##_old params;                      \
  __asm__(".symver " #name "_old, " #name "@" version);  \
  extern "C" ret __wrap_##name params { return name##_old args; }

TOLVA_BIND_OLD(int, pthread_rwlock_rdlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
TOLVA_BIND_OLD(int, pthread_rwlock_wrlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
TOLVA_BIND_OLD(int, pthread_rwlock_unlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
TOLVA_BIND_OLD(int, pthread_once, "GLIBC_2.2.5", (pthread_once_t * once, void (*init)()),
               (once, init))
TOLVA_BIND_OLD(int, __pthread_key_create, "GLIBC_2.2.5",
               (pthread_key_t * key, void (*destroy)(void*)), (key, destroy))
TOLVA_BIND_OLD(int, pthread_mutex_clocklock, "GLIBC_2.30",
               (pthread_mutex_t * mutex, clockid_t clock, const timespec* deadline),
               (mutex, clock, deadline))

#undef TOLVA_BIND_OLD

// glibc 2.38 gave strtoul and its kin a C23 form (which also reads "0b"
// prefixes), __isoc23_strtoul, which C++ reaches through _GNU_SOURCE: a
// libstdc++ built against it (g++ 16 on Debian forky) reads its tunables from
// the environment with it. The old form reads those decimal numbers alike.
extern "C" unsigned long strtoul_old(const char* text, char** end, int base);
__asm__(".symver strtoul_old, strtoul@GLIBC_2.2.5");
extern "C" unsigned long __wrap___isoc23_strtoul(const char* text, char** end, int base) {
  return strtoul_old(text, end, base);
}

// std::random_device's source (glibc 2.36). Nothing here draws from it; it
// comes with the part of libstdc++ that the strings pull in.
extern "C" std::uint32_t __wrap_arc4random() {
  std::uint32_t value;
  if (getentropy(&value, sizeof value) != 0) std::abort();  // as arc4random does
  return value;
}

namespace {

struct Search {
  std::uintptr_t pc;
  dl_find_object* found;
};

int find_in(dl_phdr_info* info, std::size_t, void* data) {
  auto& search = *static_cast<Search*>(data);
  std::uintptr_t start = UINTPTR_MAX, end = 0;
  void* eh_frame = nullptr;
  bool holds_pc = false;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    const std::uintptr_t first = info->dlpi_addr + segment.p_vaddr;
    if (segment.p_type == PT_LOAD) {
      start = first < start ? first : start;
      end = first + segment.p_memsz > end ? first + segment.p_memsz : end;
      holds_pc = holds_pc || (search.pc >= first && search.pc < first + segment.p_memsz);
    } else if (segment.p_type == PT_GNU_EH_FRAME) {
      eh_frame = reinterpret_cast<void*>(first);
    }
  }
  if (!holds_pc) return 0;
  *search.found = dl_find_object{};
  search.found->dlfo_map_start = reinterpret_cast<void*>(start);
  search.found->dlfo_map_end = reinterpret_cast<void*>(end);
  search.found->dlfo_eh_frame = eh_frame;
  return 1;
}

}  // namespace

// libgcc's unwinder finds the unwind tables of the code that threw with
// _dl_find_object (glibc 2.35); dl_iterate_phdr gives the same answer.
extern "C" int __wrap__dl_find_object(void* pc, dl_find_object* result) {
  Search search{reinterpret_cast<std::uintptr_t>(pc), result};
  return dl_iterate_phdr(find_in, &search) != 0 ? 0 : -1;
}
