// The failures the page document raises, with the numbers the add-in sees.
#pragma once

#include <string>

#include "com/error.h"

namespace host::page {

// Every failure names what went wrong in the description; the source names the document
// operation the caller made.
[[noreturn]] inline void fail(std::int32_t number, std::string description, std::string source) {
    throw com::Error(number, std::move(description), std::move(source));
}

inline constexpr const char* kDocumentSource = "HTMLDocument";

}  // namespace host::page
