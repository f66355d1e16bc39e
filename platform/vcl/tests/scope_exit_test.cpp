#include "vcl/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ScopeExit, RunsOnEveryWayOutAndTheFirstExceptionWins) {
  std::string log;
  {
    ScopeExit done([&] { log += "normal "; });
  }
  try {
    ScopeExit done([&] { log += "unwinding "; });
    throw std::runtime_error("body");
  } catch (const std::runtime_error& e) {
    log += e.what();
  }
  EXPECT_EQ(log, "normal unwinding body");

  // On the normal way out the cleanup's own exception leaves, as from a finally block.
  EXPECT_THROW({ ScopeExit done([] { throw std::logic_error("cleanup"); }); }, std::logic_error);
  // While the body's exception leaves, the cleanup's is dropped.
  try {
    ScopeExit done([] { throw std::logic_error("cleanup"); });
    throw std::runtime_error("body");
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "body");
  }
}
