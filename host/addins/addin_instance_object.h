// The host's object for one loaded add-in, passed to OnConnection as AddInInst.
#pragma once

#include <string>

#include "com/dispatch.h"
#include "com/object.h"

namespace host {

// Late-bound, read-only: "Guid" (the class id in registry form), "Description" (the
// module's path) and "Connect" (True while the add-in is connected).
class AddInInstanceObject final : public com::Object<com::IDispatch> {
public:
    AddInInstanceObject(std::string classId, std::string description)
        : m_classId(std::move(classId)), m_description(std::move(description)) {}

    com::HRESULT GetIDOfName(std::string_view name, com::DispId* id) override {
        return com::dispatchIdOfName(kMembers, name, id);
    }
    com::HRESULT Invoke(com::DispId id, com::InvokeKind kind, std::span<const com::Variant> args,
                        com::Variant* result) override {
        return com::dispatchInvoke(*this, kMembers, id, kind, args, result);
    }
    void setConnected(bool connected) { m_connected = connected; }

private:
    static void guidMember(AddInInstanceObject& self, com::InvokeKind kind,
                           std::span<const com::Variant> args, com::Variant* result);
    static void descriptionMember(AddInInstanceObject& self, com::InvokeKind kind,
                                  std::span<const com::Variant> args, com::Variant* result);
    static void connectMember(AddInInstanceObject& self, com::InvokeKind kind,
                              std::span<const com::Variant> args, com::Variant* result);
    static constexpr com::DispatchMember<AddInInstanceObject> kMembers[] = {
        {"Guid", 1, &guidMember},
        {"Description", 2, &descriptionMember},
        {"Connect", 3, &connectMember},
    };

    std::string m_classId;
    std::string m_description;
    bool m_connected = false;
};

inline void readOnly(com::InvokeKind kind) {
    if (kind != com::InvokeKind::PropertyGet && kind != com::InvokeKind::Method) {
        throw com::Error(com::errc::invalidProcedureCall, "The property is read-only", "AddInInst");
    }
}

inline void AddInInstanceObject::guidMember(AddInInstanceObject& self, com::InvokeKind kind,
                                            std::span<const com::Variant>, com::Variant* result) {
    readOnly(kind);
    *result = com::Variant(self.m_classId);
}

inline void AddInInstanceObject::descriptionMember(AddInInstanceObject& self, com::InvokeKind kind,
                                                   std::span<const com::Variant>,
                                                   com::Variant* result) {
    readOnly(kind);
    *result = com::Variant(self.m_description);
}

inline void AddInInstanceObject::connectMember(AddInInstanceObject& self, com::InvokeKind kind,
                                               std::span<const com::Variant>,
                                               com::Variant* result) {
    readOnly(kind);
    *result = com::Variant(self.m_connected);
}

}  // namespace host
