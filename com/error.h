// The one failure type: thrown inside a module, carried across the boundary as a status
// plus its details (the per-thread error information), and thrown again on the far side.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include "com/call_site.h"
#include <string>
#include <string_view>
#include <utility>

#include "com/status.h"

namespace com {

// Numbers of the failures that the component raises itself.
namespace errc {
constexpr std::int32_t overflow = 6;
constexpr std::int32_t subscriptOutOfRange = 9;
constexpr std::int32_t typeMismatch = 13;
constexpr std::int32_t badFileNameOrNumber = 52;
constexpr std::int32_t fileNotFound = 53;
constexpr std::int32_t permissionDenied = 70;
constexpr std::int32_t pathFileAccessError = 75;
constexpr std::int32_t pathNotFound = 76;
constexpr std::int32_t objectNotSet = 91;
constexpr std::int32_t invalidProcedureCall = 5;
constexpr std::int32_t cannotCreateObject = 429;
}  // namespace errc

struct ErrorInfo {
    std::int32_t number = 0;
    std::string description;
    std::string source;
};

class Error : public std::exception {
public:
    Error(std::int32_t number, std::string description, std::string source)
        : m_info{number, std::move(description), std::move(source)} {}
    explicit Error(ErrorInfo info) : m_info(std::move(info)) {}

    std::int32_t number() const { return m_info.number; }
    const std::string& description() const { return m_info.description; }
    const std::string& source() const { return m_info.source; }
    const ErrorInfo& info() const { return m_info; }
    const char* what() const noexcept override { return m_info.description.c_str(); }

private:
    ErrorInfo m_info;
};

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
