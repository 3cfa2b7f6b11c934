#pragma once
// The number of the host error a step raises, 0 when it raises none.

#include "host/HostError.h"

namespace testing_support {

int ErrorOf(auto&& step) {
    try {
        step();
    } catch (const host::HostError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace testing_support
