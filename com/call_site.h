// Where a call came from, for naming the source of a failure that names none.
#pragma once

#include <version>

#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace com {

#if defined(__cpp_lib_source_location)
using CallSite = std::source_location;
#else
// clang 14 with libstdc++ 12 (the fuzz build) has no std::source_location; the calling
// function's bare name is what the builtins give there.
class CallSite {
public:
    static constexpr CallSite current(const char* function = __builtin_FUNCTION()) noexcept {
        CallSite site;
        site.m_function = function;
        return site;
    }
    constexpr const char* function_name() const noexcept { return m_function; }

private:
    const char* m_function = "";
};
#endif

}  // namespace com
