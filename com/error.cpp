// Failure details across the boundary, and the live-object counter.
#include "com/error.h"

#include <atomic>
#include <cstdio>
#include <new>

namespace com {
namespace {

thread_local std::optional<ErrorInfo> t_errorInfo;
std::atomic<long> g_liveObjects{0};

constexpr std::uint32_t kAutomationFacility = 0x800A0000u;

}  // namespace

HRESULT statusOf(std::int32_t number) {
    if (number > 0 && number <= 0xFFFF) return static_cast<HRESULT>(kAutomationFacility | number);
    if (number == 0) return E_FAIL;  // a failure must never read as success
    return number;
}

std::int32_t numberOf(HRESULT hr) {
    const auto u = static_cast<std::uint32_t>(hr);
    if ((u & 0xFFFF0000u) == kAutomationFacility) return static_cast<std::int32_t>(u & 0xFFFFu);
    return hr;
}

std::string describeStatus(HRESULT hr) {
    switch (hr) {
        case E_NOTIMPL: return "Not implemented";
        case E_NOINTERFACE: return "No such interface supported";
        case E_POINTER: return "Invalid pointer";
        case E_FAIL: return "Unspecified error";
        case E_OUTOFMEMORY: return "Out of memory";
        case E_INVALIDARG: return "The parameter is incorrect";
        case DISP_E_MEMBERNOTFOUND: return "Member not found";
        case DISP_E_TYPEMISMATCH: return "Type mismatch";
        case DISP_E_UNKNOWNNAME: return "Unknown name";
        case DISP_E_BADPARAMCOUNT: return "Invalid number of parameters";
        case CLASS_E_NOAGGREGATION: return "Class does not support aggregation";
        case CLASS_E_CLASSNOTAVAILABLE: return "Class not available";
        case REGDB_E_CLASSNOTREG: return "Class not registered";
        default: break;
    }
    char buf[48];
    std::snprintf(buf, sizeof buf, "Automation error 0x%08X", static_cast<unsigned>(hr));
    return buf;
}

void setErrorInfo(ErrorInfo info) { t_errorInfo = std::move(info); }

std::optional<ErrorInfo> takeErrorInfo() {
    auto info = std::move(t_errorInfo);
    t_errorInfo.reset();
    return info;
}

void clearErrorInfo() { t_errorInfo.reset(); }

HRESULT reportCurrentException() noexcept {
    try {
        throw;
    } catch (const Error& e) {
        setErrorInfo(e.info());
        return statusOf(e.number());
    } catch (const std::bad_alloc&) {
        setErrorInfo({numberOf(E_OUTOFMEMORY), "Out of memory", ""});
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        setErrorInfo({numberOf(E_FAIL), e.what(), ""});
        return E_FAIL;
    } catch (...) {
        setErrorInfo({numberOf(E_FAIL), "Unspecified error", ""});
        return E_FAIL;
    }
}

void check(HRESULT hr, std::string_view source) {
    if (succeeded(hr)) return;
    auto info = takeErrorInfo();
    // Details left by an earlier, unrelated failure must not be pinned on this one.
    if (info && statusOf(info->number) == hr) throw Error(std::move(*info));
    throw Error(numberOf(hr), describeStatus(hr), std::string(source));
}

long liveObjectCount() { return g_liveObjects.load(); }

namespace detail {
void objectCreated() { ++g_liveObjects; }
void objectDestroyed() { --g_liveObjects; }
}  // namespace detail

}  // namespace com
