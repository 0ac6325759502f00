#include "tolva/io/stdout_stream.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "fd_capture.hpp"

namespace {

TEST(stdout_stream_test, writes_large_texts_whole) {
  // Larger than a pipe's buffer, so the kernel takes it in several parts.
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "line " + std::to_string(i) + '\n';
  FdCapture capture(STDOUT_FILENO);
  ASSERT_TRUE(tolva::io::write_stdout(text).has_value());
  EXPECT_EQ(capture.finish(), text);
}

TEST(stdout_stream_test, closed_descriptor_returns_the_error) {
  const int saved = ::dup(STDOUT_FILENO);
  ::close(STDOUT_FILENO);
  const auto result = tolva::io::write_stdout("lost\n");
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error().value(), EBADF);
}

}  // namespace
