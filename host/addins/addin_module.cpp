// Opening, connecting and unloading an add-in module.
#include "host/addins/addin_module.h"

#include <dlfcn.h>

#include "com/class_factory.h"
#include "com/error.h"

namespace host {
namespace {

// The failure behind a status, with the callee's details when it left them.
std::string describe(com::HRESULT hr, const char* operation) {
    try {
        com::check(hr, operation);
    } catch (const com::Error& e) {
        std::string text = e.description() + " (error " + std::to_string(e.number());
        if (!e.source().empty()) text += ", source " + e.source();
        return text + ")";
    }
    return "success";
}

}  // namespace

AddInModule::AddInModule(std::string path, const com::Guid& classId)
    : m_path(std::move(path)), m_classId(classId) {
    m_library = ::dlopen(m_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        const char* why = ::dlerror();
        fail("cannot open the module: " + std::string(why ? why : "unknown reason"));
        return;
    }
    auto getClassObject =
        reinterpret_cast<com::DllGetClassObjectFn>(::dlsym(m_library, "DllGetClassObject"));
    if (!getClassObject) {
        fail("the module does not export DllGetClassObject, so it is not an add-in module");
        return;
    }
    com::clearErrorInfo();
    com::ComPtr<com::IClassFactory> factory;
    m_handedOutObjects = true;
    com::HRESULT hr = getClassObject(&m_classId, &com::IClassFactory::iid, factory.putVoid());
    if (com::failed(hr) || !factory) {
        fail("the module has no class " + m_classId.toString() + ": " +
             describe(com::failed(hr) ? hr : com::E_NOINTERFACE, "DllGetClassObject"));
        return;
    }
    com::clearErrorInfo();
    hr = factory->CreateInstance(nullptr, com::IDTExtensibility2::iid, m_addIn.putVoid());
    if (com::failed(hr) || !m_addIn) {
        m_addIn = nullptr;
        factory = nullptr;
        fail("the module's class factory could not create the add-in: " +
             describe(com::failed(hr) ? hr : com::E_NOINTERFACE, "CreateInstance"));
        return;
    }
    m_state = State::Created;
}

AddInModule::~AddInModule() {
    m_addIn = nullptr;
    unload();
}

bool AddInModule::connect(com::IDispatch* application, com::ConnectMode mode,
                          com::IDispatch* addInInst) {
    if (m_state != State::Created) return false;
    com::VariantArray custom;
    com::clearErrorInfo();
    const com::HRESULT hr = m_addIn->OnConnection(application, mode, addInInst, &custom);
    if (com::failed(hr)) {
        m_addIn = nullptr;
        fail("the add-in refused to connect: " + describe(hr, "OnConnection"));
        return false;
    }
    m_state = State::Connected;
    return true;
}

void AddInModule::startupComplete() {
    if (m_state != State::Connected) return;
    com::VariantArray custom;
    com::clearErrorInfo();
    const com::HRESULT hr = m_addIn->OnStartupComplete(&custom);
    if (com::failed(hr)) m_error = "OnStartupComplete failed: " + describe(hr, "OnStartupComplete");
}

void AddInModule::disconnect(com::DisconnectMode mode) {
    if (m_state != State::Connected && m_state != State::Created) return;
    if (m_state == State::Connected) {
        com::VariantArray custom;
        com::clearErrorInfo();
        com::HRESULT hr = m_addIn->OnBeginShutdown(&custom);
        if (com::failed(hr)) m_error = "OnBeginShutdown failed: " + describe(hr, "OnBeginShutdown");
        com::clearErrorInfo();
        hr = m_addIn->OnDisconnection(mode, &custom);
        if (com::failed(hr)) m_error = "OnDisconnection failed: " + describe(hr, "OnDisconnection");
    }
    m_addIn = nullptr;
    m_state = State::Disconnected;
}

void AddInModule::fail(std::string message) {
    m_state = State::Failed;
    m_error = std::move(message);
    unload();
}

void AddInModule::unload() {
    if (!m_library) return;
    auto canUnloadNow =
        reinterpret_cast<com::DllCanUnloadNowFn>(::dlsym(m_library, "DllCanUnloadNow"));
    // Closing a library whose objects are still alive would leave them without code; a
    // module that cannot tell stays loaded for the rest of the run.
    if (m_handedOutObjects && (!canUnloadNow || canUnloadNow() != com::S_OK)) {
        m_library = nullptr;
        return;
    }
    ::dlclose(m_library);
    m_library = nullptr;
}

const char* stateName(AddInModule::State state) {
    switch (state) {
        case AddInModule::State::Failed:
            return "failed";
        case AddInModule::State::Created:
            return "created";
        case AddInModule::State::Connected:
            return "connected";
        case AddInModule::State::Disconnected:
            return "disconnected";
    }
    return "?";
}

}  // namespace host
