// Typed reads of variants.
#include "com/variant.h"

#include "com/error.h"

namespace com {
namespace {
[[noreturn]] void mismatch() { throw Error(errc::typeMismatch, "Type mismatch", ""); }
}  // namespace

std::int16_t Variant::toInt16() const {
    if (auto p = std::get_if<std::int16_t>(&m_value)) return *p;
    mismatch();
}

std::int32_t Variant::toInt32() const {
    if (auto p = std::get_if<std::int32_t>(&m_value)) return *p;
    if (auto p = std::get_if<std::int16_t>(&m_value)) return *p;
    mismatch();
}

Bool16 Variant::toBool() const {
    if (auto p = std::get_if<VariantBool>(&m_value)) return p->value;
    mismatch();
}

const std::string& Variant::toText() const {
    if (auto p = std::get_if<std::string>(&m_value)) return *p;
    mismatch();
}

ComPtr<IUnknown> Variant::toObject() const {
    if (auto p = std::get_if<ComPtr<IUnknown>>(&m_value)) return *p;
    if (std::holds_alternative<std::monostate>(m_value)) return nullptr;
    mismatch();
}

}  // namespace com
