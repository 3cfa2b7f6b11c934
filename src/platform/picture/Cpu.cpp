#include "platform/picture/Cpu.h"

namespace platform {
namespace {

CpuFeatures Detect() {
    CpuFeatures found;
#if defined(TALLOWIN_X86_SIMD)
    __builtin_cpu_init();
    found.sse2 = __builtin_cpu_supports("sse2");
    found.ssse3 = __builtin_cpu_supports("ssse3");
    found.sse41 = found.ssse3 && __builtin_cpu_supports("sse4.1");
#endif
    return found;
}

const CpuFeatures& Processor() {
    static const CpuFeatures processor = Detect();
    return processor;
}

CpuFeatures& InUse() {
    static CpuFeatures inUse = Processor();
    return inUse;
}

}  // namespace

const CpuFeatures& Cpu() { return InUse(); }

CpuLimit::CpuLimit(CpuFeatures allowed) : saved_(InUse()) {
    const CpuFeatures& has = Processor();
    InUse() = {has.sse2 && allowed.sse2, has.ssse3 && allowed.ssse3, has.sse41 && allowed.sse41};
}

CpuLimit::~CpuLimit() { InUse() = saved_; }

}  // namespace platform
