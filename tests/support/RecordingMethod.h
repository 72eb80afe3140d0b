// A method handler for tests of the stand-in's method calls: it keeps a copy of the call it is
// given and answers with fixed out-parameters.
#ifndef NVX4_RECORDING_METHOD_H
#define NVX4_RECORDING_METHOD_H

#include <string>
#include <utility>
#include <vector>

#include "nvx4/repository/Repository.h"

namespace nvx4::test {

inline repository::MethodHandler recordingMethod(
    repository::MethodCall& seen, std::vector<std::pair<std::wstring, repository::Value>> outputs) {
    return [&seen, outputs = std::move(outputs)](repository::MethodCall& call) {
        seen = call;
        for (const auto& [name, value] : outputs) call.setOutput(name, value);
        return 0;
    };
}

}  // namespace nvx4::test

#endif
