// The registry file's text form: a signature line, then "[key path]" headers each followed
// by its values, "name"="text" or "name"=dword:0000000a, with @ for the default value.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry/registry_tree.h"

namespace platform::registry {

// The first line of every registry file; the number is the format's version.
inline constexpr std::string_view kRegistrySignature = "OstrelRegistry 1";

// Reads a whole file's text. Throws platform::text::TextFormatError at the first line that cannot
// be read. Empty text (or only blank and comment lines) is an empty registry.
RegistryTree parseRegistry(std::string_view text);

// The text form of a tree. Keys that have values, or have no subkeys, get a header; the
// others are implied by their subkeys, so the tree reads back exactly.
std::string formatRegistry(const RegistryTree& tree);

}  // namespace platform::registry
