// Writes the manual page and the shell completions of tolva from the
// definitions of its commands and options; the build runs it.
//
//   make_docs VERSION MAN_PAGE BASH_COMPLETION ZSH_COMPLETION

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "documents.hpp"

namespace {

bool write_file(const char* path, const std::string& text) {
  std::FILE* file = std::fopen(path, "wb");
  bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  int error = errno;
  if (file != nullptr && std::fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) std::fprintf(stderr, "make_docs: %s: %s\n", path, std::strerror(error));
  return written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: make_docs VERSION MAN_PAGE BASH_COMPLETION ZSH_COMPLETION\n", stderr);
    return 2;
  }
  auto page = tolva::cli::docs::man_page(argv[1]);
  if (!page) {
    std::fprintf(stderr, "make_docs: %s\n", page.error().c_str());
    return 1;
  }
  bool ok = write_file(argv[2], *page);
  ok = write_file(argv[3], tolva::cli::docs::bash_completion()) && ok;
  ok = write_file(argv[4], tolva::cli::docs::zsh_completion()) && ok;
  return ok ? 0 : 1;
}
