#include "services/Shell.h"

#include "automation/AutomationError.h"

#include <gtest/gtest.h>

namespace {

struct Raised {
    std::int32_t requested;
    int number;
    const char* description;
};

void PrintTo(const Raised& r, std::ostream* out) { *out << "RaiseError(" << r.requested << ")"; }

class RaiseErrorCase : public ::testing::TestWithParam<Raised> {};

TEST_P(RaiseErrorCase, FailsWithTheNumberAndItsStandardDescription)
{
    const Raised r = GetParam();
    try {
        services::RaiseError(r.requested);
        FAIL() << "no error";
    } catch (const automation::AutomationError& error) {
        EXPECT_EQ(error.number(), r.number);
        EXPECT_TRUE(error.description().startsWith(QLatin1String(r.description))) << qPrintable(error.description());
    }
}

// Error 0 would be a failure that reads as success.
INSTANTIATE_TEST_SUITE_P(Numbers, RaiseErrorCase,
                         ::testing::Values(Raised{13, 13, "Type mismatch"}, Raised{91, 91, "Object variable"},
                                           Raised{1001, 1001, "Application-defined or object-defined error"},
                                           Raised{0, 5, "RaiseError was called with error number 0"}));

} // namespace
