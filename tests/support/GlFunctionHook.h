#pragma once

#include <type_traits>

namespace nox::test {

// Points one of GLEW's entry points (__glewMapBufferRange, ...) at a
// replacement for the hook's lifetime, so that a test can watch or refuse the
// calls that the code under test makes. The replacement reaches the driver
// through `original`.
template <auto& entryPoint>
class GlFunctionHook {
public:
    using Function = std::remove_reference_t<decltype(entryPoint)>;

    explicit GlFunctionHook(Function replacement) {
        original = entryPoint;
        entryPoint = replacement;
    }
    ~GlFunctionHook() { entryPoint = original; }

    GlFunctionHook(const GlFunctionHook&) = delete;
    GlFunctionHook& operator=(const GlFunctionHook&) = delete;

    static inline Function original = nullptr;
};

}  // namespace nox::test
