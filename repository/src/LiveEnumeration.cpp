// Repository::enumerate: a class's declared instances together with what the publishers in
// effect publish for it now.
#include <exception>

#include "ApplyError.h"
#include "Notice.h"
#include "RepositoryBuilder.h"
#include "nvx4/repository/Repository.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

using InstanceList = Namespace::InstanceList;

struct Job {
    Publisher* publisher;
    std::shared_ptr<const ClassDef> cls;
};

// The classes each publisher is asked for: the class itself, and with `deep` its subclasses.
std::vector<Job> jobsFor(const Snapshot& snapshot, const Namespace& ns, const ClassDef& cls,
                         bool deep) {
    std::vector<Job> jobs;
    if (snapshot.publishers().empty() ||
        Snapshot::canonicalName(ns.name()) != Snapshot::canonicalName(kDefaultNamespace))
        return jobs;
    for (const std::shared_ptr<Publisher>& publisher : snapshot.publishers())
        for (const std::shared_ptr<const ClassDef>& candidate : ns.classes()) {
            const bool wanted = candidate->name == cls.name || (deep && candidate->isA(cls.name));
            if (wanted && publisher->fills(candidate->name))
                jobs.push_back({publisher.get(), candidate});
        }
    return jobs;
}

void publishInto(const Job& job, const Namespace& ns, InstanceList& instances) {
    Publication publication = job.publisher->publish(job.cls->name);
    if (!publication.absent.empty())
        Notice::trace(__FILE__, __LINE__,
                      Utf8::toNarrow(job.cls->name) + " is empty: " + publication.absent);
    for (PropertyValues& values : publication.instances) {
        InstanceDecl decl{{}, ns.name(), job.cls->name, {}};
        decl.assignments.reserve(values.size());
        for (auto& [name, value] : values)
            decl.assignments.push_back({std::move(name), std::move(value), {}});
        instances.push_back(RepositoryBuilder::makeInstance(job.cls, decl));
    }
}

Repository::Enumeration failure(const ClassDef& cls, std::int32_t status, const std::string& why) {
    Notice::trace(__FILE__, __LINE__, Utf8::toNarrow(cls.name) + " failed: " + why);
    return Repository::Enumeration{status, nullptr};
}

}  // namespace

Repository::Enumeration Repository::enumerate(const std::shared_ptr<const Snapshot>& snapshot,
                                              const Namespace& ns, const ClassDef& cls, bool deep) {
    const InstanceList& declared = ns.instancesOf(cls.name, deep);
    const std::vector<Job> jobs = jobsFor(*snapshot, ns, cls, deep);
    if (jobs.empty())
        return Enumeration{0, std::shared_ptr<const InstanceList>(snapshot, &declared)};
    auto instances = std::make_shared<InstanceList>(declared);
    for (const Job& job : jobs) {
        try {
            publishInto(job, ns, *instances);
        } catch (const PublishError& e) {
            return failure(*job.cls, e.status(), e.what());
        } catch (const ApplyError& e) {
            return failure(*job.cls, PublishError::kProviderFailure,
                           "a published instance does not fit the class: " + e.message);
        } catch (const std::exception& e) {
            return failure(*job.cls, PublishError::kProviderFailure, e.what());
        } catch (...) {
            return failure(*job.cls, PublishError::kProviderFailure, "unknown exception");
        }
    }
    return Enumeration{0, std::move(instances)};
}

}  // namespace nvx4::repository
