// Caller-side helpers for late binding.
#include "com/dispatch.h"

namespace com {

Variant invokeByName(IDispatch* target, std::string_view name, InvokeKind kind,
                     std::vector<Variant> args) {
    const std::string source(name);
    if (!target) throw Error(errc::objectNotSet, "Object variable or With block variable not set",
                             source);
    DispId id = 0;
    check(target->GetIDOfName(name, &id), source);
    Variant result;
    check(target->Invoke(id, kind, args, &result), source);
    return result;
}

void setPropertyByName(IDispatch* target, std::string_view name, Variant value) {
    std::vector<Variant> args;
    args.push_back(std::move(value));
    invokeByName(target, name, InvokeKind::PropertyPut, std::move(args));
}

}  // namespace com
