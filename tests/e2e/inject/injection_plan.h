// What a test shares with the injection DLL in the program's process: the call to fail, the
// Windows rules to emulate, and what the program did.
#pragma once

#include "inject/fault_plan.h"
#include "inject/shims.h"

#include <cstdint>
#include <string>

namespace sevrane::e2e {

struct InjectionPlan {
    FaultPlan faults{};
    std::uint32_t shims = 0; // Shim bits
    std::uint32_t shown = 0; // the program called ShowWindow
};

// The shared memory of the plan for one process, created by the test before it resumes it.
inline std::wstring InjectionPlanName(unsigned long processId) {
    return L"SevraneInjectionPlan" + std::to_wstring(processId);
}

} // namespace sevrane::e2e
