// The test camera registered in the prefix for as long as the object
// lives, the way a camera driver's set-up registers one (DllRegisterServer,
// as regsvr32 calls it), and removed again afterwards.
#pragma once

#include "TestCamera.h"
#include "TestKit.h"

#include <string>

class TestCameraRegistration {
public:
    // present false: makes sure no test camera is registered instead.
    explicit TestCameraRegistration(bool present = true) : present_(present)
    {
        module_ = LoadLibraryA((testkit::TestBinDir() + "\\" TEST_CAMERA_DLL).c_str());
        result_ = Call(present ? "DllRegisterServer" : "DllUnregisterServer");
        if (TestCameraStats* s = OpenTestCameraStats())
            InterlockedExchange(&s->refuseConnection, 0);
    }
    ~TestCameraRegistration()
    {
        if (present_) Call("DllUnregisterServer");
        if (TestCameraStats* s = OpenTestCameraStats())
            InterlockedExchange(&s->refuseConnection, 0);
        // Still loaded while COM holds its objects; FreeLibrary only drops
        // this reference.
        if (module_) FreeLibrary(module_);
    }
    TestCameraRegistration(const TestCameraRegistration&) = delete;
    TestCameraRegistration& operator=(const TestCameraRegistration&) = delete;

    bool ok() const { return module_ && result_ == S_OK; }
    HRESULT result() const { return result_; }

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
