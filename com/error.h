// The one failure type: thrown inside a module, carried across the boundary as a status
// plus its details (the per-thread error information), and thrown again on the far side.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "com/call_site.h"
#include "com/status.h"
#include "platform/failure/failure.h"

namespace com {

// The failure type is the platform's; the object model carries it across the boundary.
using platform::Error;
using platform::ErrorInfo;
namespace errc = platform::errc;

// The status that carries a failure number: small positive numbers are the component's
// own and travel in the automation facility; numbers that are already statuses pass as is.
HRESULT statusOf(std::int32_t number);
// The failure number a caller sees for a status (the inverse of statusOf).
std::int32_t numberOf(HRESULT hr);
// A short text for a status that arrives without details.
std::string describeStatus(HRESULT hr);

// Per-thread error information, set by the callee just before it returns a failure.
void setErrorInfo(ErrorInfo info);
std::optional<ErrorInfo> takeErrorInfo();
void clearErrorInfo();

// "Class.member" for a function's name as the compiler spells it (return type, namespaces,
// parameters and all), so that a failure can name where it was raised.
std::string sourceOfFunction(std::string_view functionName);

// For catch blocks at the boundary: records the exception in flight and returns its status.
// A failure that names no source of its own (a plain C++ exception, or an Error raised with
// an empty source) is given the function that was running, `where`.
HRESULT reportCurrentException(
    CallSite where = CallSite::current()) noexcept;

// Runs body and turns anything it throws into a status; no exception leaves. The function
// that calls it is the source of a failure that names none.
template <class Body>
HRESULT guarded(Body&& body,
                CallSite where = CallSite::current()) noexcept {
    try {
        std::forward<Body>(body)();
        return S_OK;
    } catch (...) {
        return reportCurrentException(where);
    }
}

// Throws the failure behind a failed status, with the callee's details when it left them;
// `source` names the caller's operation when it did not, or the details name no source; the
// calling function does when `source` is empty too.
void check(HRESULT hr, std::string_view source = {},
           CallSite where = CallSite::current());

// Number of counted objects alive in this process; a debug aid that tests check at their end.
long liveObjectCount();
namespace detail {
void objectCreated();
void objectDestroyed();
}  // namespace detail

}  // namespace com
