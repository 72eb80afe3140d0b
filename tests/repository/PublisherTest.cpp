#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "RepositoryTesting.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository::test {
namespace {

using nvx4::test::ScopedEnv;
using nvx4::test::TempPath;

constexpr wchar_t kCpu[] = L"NVX4_OS_CPUUsage";
constexpr wchar_t kMemory[] = L"NVX4_OS_MemoryUsage";

// A publisher of the CPU class whose answer the test decides; counts its calls.
class ScriptedPublisher : public Publisher {
  public:
    explicit ScriptedPublisher(std::function<Publication()> script) : script_(std::move(script)) {}
    bool fills(std::wstring_view className) const override { return className == kCpu; }
    Publication publish(std::wstring_view) override {
        ++calls;
        return script_();
    }
    std::atomic<int> calls{0};

  private:
    std::function<Publication()> script_;
};

PropertyValues cpu(const std::string& name, std::int64_t usage) {
    return {{L"SystemName", Value::text("host")},
            {L"Name", Value::text(name)},
            {L"CPUUsage", Value::integer(usage)}};
}

// Registers a publisher kind "scripted" for the test's life; the argument is kept.
class PublisherTest : public IsolatedRepository {
  protected:
    void script(std::function<Publication()> answer) {
        PublisherCatalog::add("scripted", [this, answer](const std::string& argument) {
            arguments.push_back(argument);
            publisher = std::make_shared<ScriptedPublisher>(answer);
            return publisher;
        });
    }
    ~PublisherTest() override { PublisherCatalog::remove("scripted"); }

    std::shared_ptr<ScriptedPublisher> publisher;
    std::vector<std::string> arguments;
};

TEST_F(PublisherTest, PublishedInstancesFollowTheDeclaredOnesAndAreCheckedAgainstTheClass) {
    script([] { return Publication{{cpu("0", 7), cpu("_Total", 7)}, {}}; });
    TempPath file("cpu.mof");
    std::ofstream(file.path()) << "instance of NVX4_OS_CPUUsage { SystemName = \"m\"; Name = "
                                  "\"declared\"; CPUUsage = 1; };";
    ScopedEnv sources(kRepositoryVariable, file.path() + ":scripted=/fake/root");
    Repository::Enumeration found = enumerate(kCpu);
    ASSERT_EQ(found.status, 0);
    std::vector<std::wstring> names;
    for (const auto& instance : *found.instances)
        names.push_back(valueOf(*instance, L"Name").asText());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"declared", L"0", L"_Total"}));
    EXPECT_TRUE(valueOf(*(*found.instances)[1], L"UserMode").isNull());
    EXPECT_EQ(arguments, std::vector<std::string>{"/fake/root"});

    // Published again at every enumeration, by the same publisher.
    enumerate(kCpu);
    EXPECT_EQ(publisher->calls.load(), 2);
    EXPECT_EQ(arguments.size(), 1u);
    // A class the publisher does not fill is served from the snapshot alone.
    EXPECT_TRUE(enumerate(kMemory).instances->empty());
    EXPECT_EQ(publisher->calls.load(), 2);
}

// A published row that does not fit the class fails the publisher's classes and no other.
TEST_F(PublisherTest, FailsOnlyThePublishersClassesAndSaysWhy) {
    PropertyValues row;
    script([&row] { return Publication{{row}, {}}; });
    ScopedEnv sources(kRepositoryVariable, "sample:scripted");
    const std::pair<PropertyValues, const char*> cases[] = {
        {{{L"SystemName", Value::text("h")},
          {L"Name", Value::text("0")},
          {L"CPUUsage", Value::text("high")}},
         "does not fit the class: CPUUsage:"},
        {{{L"Name", Value::text("0")}}, "key property SystemName has no value"},
    };
    for (const auto& [published, message] : cases) {
        row = published;
        Repository::Enumeration found;
        const std::string output = traced([&] { found = enumerate(kCpu); });
        EXPECT_EQ(found.status, PublishError::kProviderFailure);
        EXPECT_EQ(found.instances, nullptr);
        EXPECT_NE(output.find(message), std::string::npos) << output;
        Repository::Enumeration other = enumerate(kMemory);
        EXPECT_EQ(other.status, 0);
        EXPECT_GT(other.instances->size(), 0u);
    }
}

TEST_F(PublisherTest, SourceListWordsAndTheirMistakes) {
    PublisherCatalog::add("strict", [](const std::string& argument) -> std::shared_ptr<Publisher> {
        throw std::invalid_argument("strict takes no argument, not '" + argument + "'");
    });
    {
        ScopedEnv sources(kRepositoryVariable, "strict=x");
        EXPECT_EQ(Repository::current(), nullptr);
        EXPECT_EQ(Repository::lastError()->text(), "strict=x: strict takes no argument, not 'x'");
    }
    PublisherCatalog::remove("strict");
}

TEST_F(PublisherTest, ConcurrentEnumerationsEachGetAWholePublication) {
    std::atomic<int> generation{0};
    script([&generation] {
        const int n = ++generation;
        std::vector<PropertyValues> rows;
        for (int i = 0; i < 50; ++i) rows.push_back(cpu(std::to_string(i), n));
        return Publication{rows, {}};
    });
    ScopedEnv sources(kRepositoryVariable, "scripted");
    std::shared_ptr<const Snapshot> shared = Repository::current();
    const Namespace& node = *shared->findNamespace(kDefaultNamespace);
    std::atomic<int> torn{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                auto found = Repository::enumerate(shared, node, *node.findClass(kCpu), false);
                const Value& first = valueOf(*found.instances->front(), L"CPUUsage");
                for (const auto& instance : *found.instances)
                    if (found.instances->size() != 50 || valueOf(*instance, L"CPUUsage") != first)
                        ++torn;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(generation.load(), 200);
}

}  // namespace
}  // namespace nvx4::repository::test
