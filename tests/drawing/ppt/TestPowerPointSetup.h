// The test PowerPoint registered in the prefix for as long as the object
// lives (DllRegisterServer, as an installer calls it) and removed again
// afterwards; present false makes sure none is registered instead.
#pragma once

#include "TestKit.h"
#include "TestPowerPoint.h"

class TestPowerPointRegistration {
public:
    explicit TestPowerPointRegistration(bool present = true) : present_(present)
    {
        DeleteFileA(TestPowerPointLogPath().c_str());
        module_ = LoadLibraryA((testkit::TestBinDir() + "\\" TEST_POWERPOINT_DLL).c_str());
        result_ = Call(present ? "DllRegisterServer" : "DllUnregisterServer");
    }
    ~TestPowerPointRegistration()
    {
        if (present_) Call("DllUnregisterServer");
        if (module_) FreeLibrary(module_);
    }
    TestPowerPointRegistration(const TestPowerPointRegistration&) = delete;
    TestPowerPointRegistration& operator=(const TestPowerPointRegistration&) = delete;

    bool ok() const { return module_ && result_ == S_OK; }

    // The dispatch ids the server was called with, in order.
    static std::string Calls()
    {
        std::string log = testkit::ReadFile(TestPowerPointLogPath()), calls;
        for (char c : log) calls += c == '\n' ? ' ' : c;
        return calls;
    }

private:
    HRESULT Call(const char* name)
    {
        if (!module_) return E_FAIL;
        auto fn = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module_, name));
        return fn ? fn() : E_FAIL;
    }

    bool present_;
    HMODULE module_ = nullptr;
    HRESULT result_ = E_FAIL;
};
