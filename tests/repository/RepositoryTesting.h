// Shared by the repository tests: an isolated repository (only the built-in schema, no
// registrations, no faults), short ways to reach its content, and what a publisher traces.
#ifndef NVX4_REPOSITORY_TESTING_H
#define NVX4_REPOSITORY_TESTING_H

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "nvx4/repository/RegistrationScope.h"
#include "nvx4/repository/Repository.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

// A value in test messages and comparisons: NULL, the text, the number, TRUE or FALSE.
inline std::string shown(const Value& v) {
    switch (v.kind()) {
        case Value::Kind::Null:
            return "NULL";
        case Value::Kind::Signed:
            return std::to_string(v.asSigned());
        case Value::Kind::Unsigned:
            return std::to_string(v.asUnsigned());
        case Value::Kind::Real:
            return std::to_string(v.asReal());
        case Value::Kind::Boolean:
            return v.asBoolean() ? "TRUE" : "FALSE";
        case Value::Kind::Text:
            return Utf8::toNarrow(v.asText());
        default:
            return v.describe();
    }
}
inline void PrintTo(const Value& v, std::ostream* os) { *os << shown(v); }

}  // namespace nvx4::repository

namespace nvx4::repository::test {

class IsolatedRepository : public ::testing::Test {
  protected:
    nvx4::test::ScopedEnv sources_{kRepositoryVariable, std::string()};
    RegistrationScope scope_;
    std::shared_ptr<const Snapshot> snapshot_;

    static const Namespace& ns(const std::wstring& name = L"root\\test") {
        static std::shared_ptr<const Snapshot> keep;
        keep = Repository::current();
        EXPECT_NE(keep, nullptr);
        const Namespace* found = keep ? keep->findNamespace(name) : nullptr;
        if (found == nullptr) throw std::runtime_error("no namespace");
        return *found;
    }
    static const Value& valueOf(const Instance& instance, const std::wstring& property) {
        return instance.values.at(instance.cls->propertyIndex(property));
    }
    // A class of the default namespace enumerated as the provider does, from the sources the
    // repository variable names now.
    Repository::Enumeration enumerate(const std::wstring& className) {
        snapshot_ = Repository::current();
        if (!snapshot_) throw std::runtime_error(Repository::lastError()->text());
        const Namespace& node = *snapshot_->findNamespace(kDefaultNamespace);
        return Repository::enumerate(snapshot_, node, *node.findClass(className), false);
    }
    // What `action` writes to the trace at level 1.
    template <typename Action>
    static std::string traced(Action action) {
        nvx4::test::ScopedEnv level("ULB_TRACE_LEVEL", "1");
        ::testing::internal::CaptureStdout();
        action();
        return ::testing::internal::GetCapturedStdout();
    }
};

}  // namespace nvx4::repository::test

#endif
