// The identity the module carries: its type library, the _IID_CONNECT bytes and the version
// block, read from the built module and compared with the component's identity table.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <vector>

#include "addin/module/module_exports.h"
#include "com/addin_extensibility.h"
#include "com/class_factory.h"
#include "com/error.h"
#include "module_library.h"
#include "resources/identity/type_library.h"
#include "resources/identity/version_block.h"

namespace {

namespace id = ostrel::identity;
using com::Guid;

std::span<const std::byte> resource(const ModuleLibrary& module, const char* type, int number) {
    const void* data = nullptr;
    std::size_t size = 0;
    const auto lookup = module.entry<OstrelGetResourceFn>(ostrel::kGetResourceSymbol);
    EXPECT_EQ(lookup(type, number, &data, &size), com::S_OK) << type;
    return {static_cast<const std::byte*>(data), size};
}

class ModuleIdentity : public testing::Test {
protected:
    ModuleLibrary module{OSTREL_PLUGIN_PATH};
};

TEST_F(ModuleIdentity, TypeLibraryHoldsEveryItemOfTheIdentityTable) {
    const auto lib = id::readTypeLibrary(resource(module, "TYPELIB", 1));

    EXPECT_EQ(lib.name, "OstrelPlugin");
    EXPECT_EQ(lib.id, Guid::literal("{B91C026D-F6DB-4783-9745-2DA6D10AFD11}"));
    EXPECT_EQ(lib.version, (id::TypeVersion{5, 0}));
    EXPECT_EQ(lib.locale, 0u);
    EXPECT_EQ(lib.helpString, "Ostrel auto responder plugin");
    EXPECT_EQ(lib.helpFile, "");

    ASSERT_EQ(lib.imports.size(), 3u);
    const struct {
        const char* file;
        Guid id;
        id::TypeVersion version;
    } imports[] = {
        {"stdole2.tlb", Guid::literal("{00020430-0000-0000-C000-000000000046}"), {2, 0}},
        {"MSO.DLL", Guid::literal("{2DF8D04C-5BFA-101B-BDE5-00AA0044DE52}"), {2, 2}},
        {"MSADDNDR.DLL", Guid::literal("{AC0714F2-3D04-11D1-AE7D-00A0C90F26F4}"), {1, 0}},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lib.imports[i].file, imports[i].file);
        EXPECT_EQ(lib.imports[i].id, imports[i].id) << imports[i].file;
        EXPECT_EQ(lib.imports[i].version, imports[i].version) << imports[i].file;
    }
    EXPECT_EQ(lib.imports[2].name, "AddInDesignerObjects");

    const auto* connectItf = lib.find("_Connect");
    ASSERT_NE(connectItf, nullptr);
    EXPECT_EQ(connectItf->kind, id::TypeKind::Dispatch);
    EXPECT_EQ(connectItf->id, Guid::literal("{102C8F25-352E-4CAF-88FA-76A4FDB76ED5}"));
    EXPECT_EQ(connectItf->version, (id::TypeVersion{1, 0}));
    EXPECT_EQ(connectItf->base, "IDispatch");
    namespace tf = id::typeflags;
    EXPECT_EQ(connectItf->flags,
              tf::hidden | tf::dual | tf::nonExtensible | tf::oleAutomation | tf::dispatchable);

    // ButtonHandler: read, and assigned by reference, as a CommandBarButton.
    ASSERT_EQ(connectItf->members.size(), 2u);
    const auto& get = connectItf->members[0];
    const auto& putref = connectItf->members[1];
    EXPECT_EQ(get.name, "ButtonHandler");
    EXPECT_EQ(get.invokeKind, static_cast<std::uint16_t>(com::InvokeKind::PropertyGet));
    ASSERT_EQ(get.parameters.size(), 1u);
    EXPECT_EQ(get.parameters[0].type, "CommandBarButton**");
    EXPECT_EQ(get.parameters[0].flags, id::paramflags::out | id::paramflags::retval);
    EXPECT_EQ(putref.name, "ButtonHandler");
    EXPECT_EQ(putref.invokeKind, static_cast<std::uint16_t>(com::InvokeKind::PropertyPutRef));
    ASSERT_EQ(putref.parameters.size(), 1u);
    EXPECT_EQ(putref.parameters[0].type, "CommandBarButton*");
    EXPECT_EQ(putref.parameters[0].flags, id::paramflags::in);
    EXPECT_EQ(get.id, putref.id);

    const auto* button = lib.find("CommandBarButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(lib.imports.at(button->importIndex.value()).file, "MSO.DLL");
    const auto* extensibility = lib.find("IDTExtensibility2");
    ASSERT_NE(extensibility, nullptr);
    EXPECT_EQ(extensibility->id, Guid::literal("{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}"));
    EXPECT_EQ(lib.imports.at(extensibility->importIndex.value()).file, "MSADDNDR.DLL");

    const auto* connect = lib.find("Connect");
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->kind, id::TypeKind::CoClass);
    EXPECT_EQ(connect->id, Guid::literal("{2D94A8A9-A676-40FA-A131-CB6D94BE99EC}"));
    EXPECT_TRUE(connect->flags & tf::canCreate);
    ASSERT_EQ(connect->interfaces.size(), 2u);
    EXPECT_EQ(connect->interfaces[0].name, "_Connect");
    EXPECT_EQ(connect->interfaces[0].flags, id::kImplTypeDefault);
    EXPECT_EQ(connect->interfaces[1].name, "IDTExtensibility2");
    EXPECT_EQ(connect->interfaces[1].flags, 0u);
}

TEST_F(ModuleIdentity, ConnectAnswersTheMemberIdItsTypeLibraryGivesButtonHandler) {
    const auto lib = id::readTypeLibrary(resource(module, "TYPELIB", 1));
    const auto getClassObject = module.entry<com::DllGetClassObjectFn>("DllGetClassObject");
    com::ComPtr<com::IClassFactory> factory;
    const Guid clsid = lib.find("Connect")->id;
    ASSERT_EQ(getClassObject(&clsid, &com::IClassFactory::iid, factory.putVoid()), com::S_OK);
    com::ComPtr<com::IDispatch> connect;
    ASSERT_EQ(factory->CreateInstance(nullptr, com::IDispatch::iid, connect.putVoid()), com::S_OK);
    com::DispId dispId = 0;
    ASSERT_EQ(connect->GetIDOfName("ButtonHandler", &dispId), com::S_OK);
    EXPECT_EQ(dispId, lib.find("_Connect")->members[0].id);
}

TEST_F(ModuleIdentity, IidConnectIsTwentyBytesLengthThenTheInterfaceId) {
    const auto bytes = resource(module, "_IID_CONNECT", 1);
    const std::array<std::uint8_t, 20> expected = {
        0x10, 0x00, 0x00, 0x00,                          // 16, little-endian
        0x25, 0x8F, 0x2C, 0x10, 0x2E, 0x35, 0xAF, 0x4C,  // 102C8F25-352E-4CAF
        0x88, 0xFA, 0x76, 0xA4, 0xFD, 0xB7, 0x6E, 0xD5,  // 88FA-76A4FDB76ED5
    };
    ASSERT_EQ(bytes.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin(),
                           [](std::uint8_t a, std::byte b) { return std::byte{a} == b; }));
}

TEST_F(ModuleIdentity, VersionBlockSaysOneZeroZeroFourAndSelfRegistering) {
    const auto bytes = resource(module, "VERSION", 1);
    const auto block = id::readVersionBlock(bytes);
    const std::array<std::uint16_t, 4> numbers{1, 0, 0, 4};
    EXPECT_EQ(block.fileVersion, numbers);
    EXPECT_EQ(block.productVersion, numbers);
    EXPECT_TRUE(block.selfRegistering);
    EXPECT_EQ(block.text("FileVersion"), "1.00.0004");
    EXPECT_EQ(block.text("ProductVersion"), "1.00.0004");
    EXPECT_EQ(block.text("OLESelfRegister"), "");
    EXPECT_EQ(block.text("OriginalFilename"), "OstrelPlugin.so");

    // The same bytes are in the module file, where readelf shows them as a note.
    std::ifstream file(OSTREL_PLUGIN_PATH, std::ios::binary);
    const std::vector<char> contents{std::istreambuf_iterator<char>(file), {}};
    const auto* first = reinterpret_cast<const char*>(bytes.data());
    EXPECT_NE(std::search(contents.begin(), contents.end(), first, first + bytes.size()),
              contents.end());
}

TEST_F(ModuleIdentity, LookupFailsClearlyForWhatIsNotThere) {
    const auto lookup = module.entry<OstrelGetResourceFn>(ostrel::kGetResourceSymbol);
    const void* data = &data;
    std::size_t size = 99;
    EXPECT_EQ(lookup("typelib", 1, &data, &size), com::S_OK) << "types ignore letter case";
    EXPECT_EQ(lookup("TYPELIB", 2, &data, &size), ostrel::kResourceNotFound);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(lookup("ICON", 1, &data, &size), ostrel::kResourceTypeNotFound);
    EXPECT_EQ(lookup(nullptr, 1, &data, &size), com::E_INVALIDARG);
    EXPECT_EQ(lookup("TYPELIB", 1, nullptr, &size), com::E_POINTER);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(lookup("TYPELIB", 1, &data, nullptr), com::E_POINTER);
}

TEST_F(ModuleIdentity, DamagedTypeLibraryIsRefusedWithTheReason) {
    const auto original = resource(module, "TYPELIB", 1);
    std::vector<std::byte> bytes(original.begin(), original.end());

    auto failureOf = [](std::span<const std::byte> data) -> std::string {
        try {
            id::readTypeLibrary(data);
        } catch (const com::Error& e) {
            return e.description();
        }
        return "accepted";
    };
    auto flipped = bytes;
    flipped[40] ^= std::byte{0x01};
    EXPECT_NE(failureOf(flipped).find("checksum"), std::string::npos);
    EXPECT_NE(failureOf(std::span(bytes).first(bytes.size() - 1)).find("size"), std::string::npos);
    EXPECT_NE(failureOf(std::span(bytes).first(10)).find("ends early"), std::string::npos);
    auto otherFormat = bytes;
    otherFormat[4] = std::byte{2};
    EXPECT_NE(failureOf(otherFormat).find("format version"), std::string::npos);
    EXPECT_EQ(failureOf(bytes), "accepted");
}

}  // namespace
