#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "BuiltInPublishers.h"
#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

namespace {

struct Added {
    std::mutex mutex;
    std::map<std::string, PublisherFactory, std::less<>> factories;
};

Added& added() {
    static Added instance;
    return instance;
}

}  // namespace

PublishError PublishError::fromErrno(const std::string& what, int error) {
    const std::int32_t status =
        (error == EACCES || error == EPERM) ? kAccessDenied : kProviderFailure;
    return PublishError(status, "cannot read " + what + ": " + std::strerror(error));
}

std::vector<std::string> PublisherCatalog::builtInNames() {
    std::vector<std::string> names;
    for (const BuiltInPublisher& publisher : builtInPublishers()) names.push_back(publisher.name);
    return names;
}

PublisherFactory PublisherCatalog::find(std::string_view name) {
    {
        Added& a = added();
        std::lock_guard<std::mutex> lock(a.mutex);
        auto found = a.factories.find(name);
        if (found != a.factories.end()) return found->second;
    }
    for (const BuiltInPublisher& publisher : builtInPublishers())
        if (name == publisher.name) return publisher.make;
    return PublisherFactory();
}

void PublisherCatalog::add(const std::string& name, PublisherFactory factory) {
    Added& a = added();
    std::lock_guard<std::mutex> lock(a.mutex);
    a.factories[name] = std::move(factory);
}

void PublisherCatalog::remove(const std::string& name) {
    Added& a = added();
    std::lock_guard<std::mutex> lock(a.mutex);
    a.factories.erase(name);
}

}  // namespace nvx4::repository
