// The one failure type of the whole program: a number, a description and the operation
// that failed. Platform services throw it; the object model carries it across the module
// boundary as a status plus these details.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace platform {

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

}  // namespace platform
