// The small value type of late-bound calls and optional arguments.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "com/com_ptr.h"
#include "com/status.h"

namespace com {

// A Boolean argument, kept apart from a 16-bit integer; stores -1 or 0.
struct VariantBool {
    Bool16 value = vbFalse;
    friend bool operator==(VariantBool, VariantBool) = default;
};

class Variant {
public:
    enum class Kind { Empty, Missing, Int16, Int32, Bool, Text, Object };

    Variant() = default;
    static Variant missing() { return Variant(MissingTag{}); }
    Variant(std::int16_t v) : m_value(v) {}
    Variant(std::int32_t v) : m_value(v) {}
    Variant(bool v) : m_value(VariantBool{toBool16(v)}) {}
    Variant(VariantBool v) : m_value(v) {}
    Variant(std::string v) : m_value(std::move(v)) {}
    Variant(const char* v) : m_value(std::string(v)) {}
    Variant(ComPtr<IUnknown> v) : m_value(std::move(v)) {}

    Kind kind() const { return static_cast<Kind>(m_value.index()); }
    bool isMissing() const { return kind() == Kind::Missing; }
    bool isEmpty() const { return kind() == Kind::Empty; }

    // Typed reads; a value of another kind fails as a type mismatch.
    std::int16_t toInt16() const;
    std::int32_t toInt32() const;  // also accepts a 16-bit integer
    Bool16 toBool() const;
    const std::string& toText() const;
    ComPtr<IUnknown> toObject() const;  // an empty object reference stays empty

private:
    struct MissingTag {
        friend bool operator==(MissingTag, MissingTag) = default;
    };
    explicit Variant(MissingTag t) : m_value(t) {}

    std::variant<std::monostate, MissingTag, std::int16_t, std::int32_t, VariantBool, std::string,
                 ComPtr<IUnknown>>
        m_value;
};

}  // namespace com
