// The resources compiled into the add-in module, each found by its type name and id.
#pragma once

#include <cstddef>
#include <span>

namespace ostrel::identity {

struct EmbeddedResource {
    const char* type;
    int id;
    const void* data;
    std::size_t size;
};

// Defined by the source generated from the component's IDL file.
std::span<const EmbeddedResource> embeddedResources();

}  // namespace ostrel::identity
