// The local management repository that the platform's management interfaces serve.
//
// Its content is, in order: the built-in schema (schema/root_nvx4_node.mof, compiled into the
// library); the instance sources that NVX4_REPOSITORY lists (separated by ':'): MOF files,
// `sample` (the bundled sample server, compiled in), live publishers of this machine's data by
// name (`os`, `smbios=FILE`, ...) or `live` for all of them, which is also what an unset variable
// means; then what was registered in-process, through this API or through the management
// interfaces (PutInstance, DeleteInstance). Files are parsed once per size and modification time;
// readers share immutable snapshots. Publishers are asked for their classes' instances at each
// enumeration (enumerate()). All functions are safe to call from any thread.
#ifndef NVX4_REPOSITORY_REPOSITORY_H
#define NVX4_REPOSITORY_REPOSITORY_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nvx4/repository/CimType.h"
#include "nvx4/repository/ClassDef.h"
#include "nvx4/repository/LoadError.h"
#include "nvx4/repository/Namespace.h"
#include "nvx4/repository/ObjectPath.h"
#include "nvx4/repository/PropertyValues.h"
#include "nvx4/repository/Snapshot.h"
#include "nvx4/repository/Value.h"

namespace nvx4::repository {

inline constexpr wchar_t kDefaultNamespace[] = L"root\\nvx4\\node";
inline constexpr char kRepositoryVariable[] = "NVX4_REPOSITORY";

struct PropertySpec {
    std::wstring name;
    CimType type = CimType::String;
    bool array = false;
    bool key = false;
};

struct ClassSpec {
    std::wstring name;
    std::vector<PropertySpec> properties;
    std::wstring superclass;
    std::wstring ns = kDefaultNamespace;
};

// One call of a method through IWbemServices::ExecMethod, as its handler sees it.
struct MethodCall {
    std::wstring ns;
    std::wstring className;
    std::wstring objectPath;
    std::wstring method;
    PropertyValues in;   // every in-parameter, NULL where the caller gave no value
    PropertyValues out;  // set by the handler: out-parameters and "ReturnValue"

    // The in-parameter's value (NULL when there is no such parameter).
    const Value& input(std::wstring_view name) const;
    void setOutput(std::wstring name, Value value);
};

// Returns the call's result: 0 for success, else the failure code the caller receives.
using MethodHandler = std::function<std::int32_t(MethodCall& call)>;

enum class PutMode { CreateOrUpdate, UpdateOnly, CreateOnly };

enum class ChangeStatus {
    Done,
    LoadFailed,  // the sources do not load (see lastError)
    InvalidClass,
    InvalidValue,
    MissingKey,
    NotFound,
    AlreadyExists,
};

class Repository {
  public:
    // The repository as it is now; null when a source does not load (then lastError says why).
    static std::shared_ptr<const Snapshot> current();
    // Why the last load failed: file, line, column and message. Nullopt after a good load.
    static std::optional<LoadError> lastError();

    // Every instance of a class of `snapshot` now: those its sources declared, then those its
    // publishers publish (with `deep`, of its subclasses too). A failing publisher fails the
    // enumeration with its WBEM status; the instances are then null.
    struct Enumeration {
        std::int32_t status = 0;
        std::shared_ptr<const Namespace::InstanceList> instances;
    };
    static Enumeration enumerate(const std::shared_ptr<const Snapshot>& snapshot,
                                 const Namespace& ns, const ClassDef& cls, bool deep);

    // In-process registrations. Each is checked at once against the repository as it is now;
    // one that fails is not registered, and the error says why.
    static std::optional<LoadError> addMof(std::string_view text,
                                           const std::string& name = "<registered>");
    static std::optional<LoadError> declareClass(const ClassSpec& definition);
    static std::optional<LoadError> addInstance(const std::wstring& className,
                                                const PropertyValues& values,
                                                const std::wstring& ns = kDefaultNamespace);
    // Many instances of one class at once; all or none are registered.
    static std::optional<LoadError> addInstances(const std::wstring& className,
                                                 const std::vector<PropertyValues>& instances,
                                                 const std::wstring& ns = kDefaultNamespace);
    // Serves ExecMethod for a method of a class (and of its subclasses).
    static void setMethodHandler(const std::wstring& className, const std::wstring& method,
                                 MethodHandler handler, const std::wstring& ns = kDefaultNamespace);
    // Forgets every registration, method handler and change made through the management
    // interfaces, and the publishers made so far (with their previous readings).
    static void clearRegistrations();

    // Changes made through the management interfaces.
    static ChangeStatus putInstance(const std::wstring& ns, const std::wstring& className,
                                    const PropertyValues& values, PutMode mode);
    static ChangeStatus deleteInstance(const std::wstring& ns, const ObjectPath& path);
    // The handler for a method of a class or of its nearest ancestor that has one; empty when
    // there is none.
    static MethodHandler methodHandler(const std::wstring& ns, const ClassDef& cls,
                                       const std::wstring& method);
};

}  // namespace nvx4::repository

#endif
