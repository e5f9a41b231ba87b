// Failure details across the boundary, and the live-object counter.
#include "com/error.h"

#include <atomic>
#include <cstdio>
#include <new>
#include <vector>

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

std::string sourceOfFunction(std::string_view functionName) {
    std::string name(functionName);
    for (const std::string_view anonymous : {"(anonymous namespace)::", "{anonymous}::"}) {
        for (std::size_t at; (at = name.find(anonymous)) != std::string::npos;)
            name.erase(at, anonymous.size());
    }
    // The parameter list starts at the first "(" outside template arguments, "operator()"
    // aside; the qualified name is what stands before it after the return type.
    std::size_t depth = 0, end = name.size();
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '<') ++depth;
        if (name[i] == '>' && depth > 0) --depth;
        if (name[i] == '(' && depth == 0) {
            if (name.compare(i, 2, "()") == 0 && i >= 8 && name.compare(i - 8, 8, "operator") == 0)
                continue;
            end = i;
            break;
        }
    }
    std::string qualified = name.substr(0, end);
    depth = 0;
    for (std::size_t i = qualified.size(); i-- > 0;) {
        if (qualified[i] == '>') ++depth;
        if (qualified[i] == '<' && depth > 0) --depth;
        if (qualified[i] == ' ' && depth == 0) {
            qualified.erase(0, i + 1);
            break;
        }
    }
    // Template arguments say nothing the author needs.
    std::string plain;
    depth = 0;
    for (const char c : qualified) {
        if (c == '<') ++depth;
        if (depth == 0) plain += c;
        if (c == '>' && depth > 0) --depth;
    }
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = plain.find("::", from);
        parts.push_back(plain.substr(from, at - from));
        if (at == std::string::npos) break;
        from = at + 2;
    }
    std::string source = parts.back();
    if (parts.size() > 1) source = parts[parts.size() - 2] + "." + source;
    return source.empty() ? std::string(functionName) : source;
}

HRESULT reportCurrentException(CallSite where) noexcept {
    const auto report = [&](ErrorInfo info, HRESULT hr) {
        if (info.source.empty()) {
            try {
                info.source = sourceOfFunction(where.function_name());
            } catch (...) {
                // Without memory for a source the failure still goes out.
            }
        }
        setErrorInfo(std::move(info));
        return hr;
    };
    try {
        throw;
    } catch (const Error& e) {
        return report(e.info(), statusOf(e.number()));
    } catch (const std::bad_alloc&) {
        return report({numberOf(E_OUTOFMEMORY), "Out of memory", ""}, E_OUTOFMEMORY);
    } catch (const std::exception& e) {
        return report({numberOf(E_FAIL), e.what(), ""}, E_FAIL);
    } catch (...) {
        return report({numberOf(E_FAIL), "Unspecified error", ""}, E_FAIL);
    }
}

void check(HRESULT hr, std::string_view source, CallSite where) {
    if (succeeded(hr)) return;
    auto info = takeErrorInfo();
    const auto caller = [&] {
        return source.empty() ? sourceOfFunction(where.function_name()) : std::string(source);
    };
    // Details left by an earlier, unrelated failure must not be pinned on this one.
    if (info && statusOf(info->number) == hr) {
        if (info->source.empty()) info->source = caller();
        throw Error(std::move(*info));
    }
    throw Error(numberOf(hr), describeStatus(hr), caller());
}

long liveObjectCount() { return g_liveObjects.load(); }

namespace detail {
void objectCreated() { ++g_liveObjects; }
void objectDestroyed() { --g_liveObjects; }
}  // namespace detail

}  // namespace com
