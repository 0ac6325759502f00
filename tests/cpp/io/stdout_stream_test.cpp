#include "tolva/io/stdout_stream.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

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

TEST(stdout_stream_test, concurrent_writes_do_not_interleave) {
  FdCapture capture(STDOUT_FILENO);
  std::vector<std::thread> writers;
  for (char letter = 'a'; letter < 'e'; ++letter) {
    writers.emplace_back([letter] {
      const std::string block(100000, letter);
      for (int i = 0; i < 5; ++i) ASSERT_TRUE(tolva::io::write_stdout(block).has_value());
    });
  }
  for (auto& writer : writers) writer.join();
  const std::string& out = capture.finish();
  ASSERT_EQ(out.size(), 4u * 5 * 100000);
  for (std::size_t start = 0; start < out.size(); start += 100000) {
    EXPECT_EQ(out.substr(start, 100000), std::string(100000, out[start])) << "interleaved at " << start;
  }
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

TEST(stdout_stream_test, lock_is_reentrant) {
  FdCapture capture(STDOUT_FILENO);
  {
    std::lock_guard outer(tolva::io::stdout_lock());
    ASSERT_TRUE(tolva::io::write_stdout("held\n").has_value());
  }
  EXPECT_EQ(capture.finish(), "held\n");
}

}  // namespace
