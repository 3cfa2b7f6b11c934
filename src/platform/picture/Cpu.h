#pragma once
// What the processor offers beyond its architecture's baseline, for the routines that have a faster
// path for it (the row conversions here, the PNG filters in codec/). Each such routine has a plain
// C++ twin that gives the same bytes, and a fast path runs only where the processor has what it
// needs, so one program runs on every processor of its architecture. Asked once, here and nowhere
// else. The fast paths are compiled only for x86-64 (TALLOWIN_X86_SIMD, which a portable build
// leaves unset); elsewhere nothing is offered and the plain paths run.

namespace platform {

struct CpuFeatures {
    bool sse2 = false;   // every x86-64 processor has it
    bool ssse3 = false;  // byte shuffles, absolute values
    bool sse41 = false;  // blends
};

// What the fast paths may use.
const CpuFeatures& Cpu();

// For tests: while it lives, the fast paths use only what both `allowed` and the processor offer
// (`CpuLimit plain{{}}` runs the plain paths alone). Not for use while another thread decodes.
class CpuLimit {
public:
    explicit CpuLimit(CpuFeatures allowed);
    ~CpuLimit();
    CpuLimit(const CpuLimit&) = delete;
    CpuLimit& operator=(const CpuLimit&) = delete;

private:
    CpuFeatures saved_;
};

}  // namespace platform
