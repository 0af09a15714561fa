#include "services/Pause.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(PauseWithoutApplication, SleepsTheGivenTime)
{
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    std::int32_t milliseconds = 30;
    const auto start = std::chrono::steady_clock::now();
    services::Pause(milliseconds);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(30));
    EXPECT_LT(elapsed, std::chrono::milliseconds(30 + 200));
    EXPECT_EQ(milliseconds, 30);
}

} // namespace
