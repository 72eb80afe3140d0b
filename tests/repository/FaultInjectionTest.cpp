#include <gtest/gtest.h>

#include "nvx4/repository/FaultInjection.h"

namespace nvx4::repository {
namespace {

class FaultInjectionTest : public ::testing::Test {
  protected:
    ~FaultInjectionTest() override { FaultInjection::clear(); }
};

TEST_F(FaultInjectionTest, FiresOnceAtItsStepCountingOnlyMatchingCalls) {
    FaultInjection::inject(Fault::at(FaultPoint::Next, -5, 3));
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Next), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Connect), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Next), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Next), -5);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Next), std::nullopt);
}

TEST_F(FaultInjectionTest, ARepeatingFaultKeepsFiringUntilCleared) {
    Fault fault = Fault::at(FaultPoint::ProxyBlanket, 7, 2);
    fault.repeat = true;
    FaultInjection::inject(fault);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::ProxyBlanket), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::ProxyBlanket), 7);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::ProxyBlanket), 7);
    FaultInjection::clear();
    EXPECT_EQ(FaultInjection::fire(FaultPoint::ProxyBlanket), std::nullopt);
}

TEST_F(FaultInjectionTest, AGetFaultMatchesItsPropertyAndInstance) {
    FaultInjection::inject(Fault::onGet(L"Version", 2, 9));
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Get, L"Version", 1), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Get, L"Name", 2), std::nullopt);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Get, L"VERSION", 2), 9);
    EXPECT_EQ(FaultInjection::fire(FaultPoint::Get, L"Version", 2), std::nullopt);
}

}  // namespace
}  // namespace nvx4::repository
